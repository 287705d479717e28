#pragma once

#include "image/ImageCodec.h"

#include <QObject>

#include <map>

class TfrmMain;

// Every field of the main window tells a screen reader its range and unit, and its tooltip adds
// the value of the factory image; the limit's unit selector is named by the limit's row. The
// limit's help follows the unit in force.
class FieldHelpController : public QObject {
 public:
  explicit FieldHelpController(TfrmMain& main);

 private:
  void readFactoryValues();
  void describeFields();

  TfrmMain& main_;
  std::map<Field, ShownValue> factory_;
};
