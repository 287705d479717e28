#pragma once

// Lets the answers to --help and --version reach the console the program was started from. A
// window program on Windows starts without one; elsewhere, and when the output goes to a file or a
// pipe, nothing changes.
void WriteToParentConsole();
