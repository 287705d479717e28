#include "app/ParentConsole.h"

void WriteToParentConsole() {}
