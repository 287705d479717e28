#pragma once

#include "link/ModalResult.h"

#include <QString>

class QWidget;

// A dialog's exec() result as the modal result it closed with.
[[nodiscard]] inline ModalResult ModalResultOf(int dialogCode) {
  return static_cast<ModalResult>(dialogCode);
}

enum class BoxKind { Error, Information, Warning, Confirmation };

// Button sets: "&OK"; "&OK"/"&Abbruch"; "&Ja"/"&Nein"; "&Ja"/"&Nein"/"&Abbruch"; "&Ja"/"&Nein"
// with "&Nein" the default, for a question whose careless "Ja" can do harm.
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoAbort, YesNoDefaultNo };

struct FileDialogRequest {
  QString title;
  QString filterDescription;  // e.g. "U-KOVA Konfigurationsdatei"
  QString filterPattern;      // e.g. "*.ukova"
  QString fileName;           // preselected name, may be a pattern
  QString folder;             // initial folder
};

// Every message box and file or folder dialog of the program goes through this seam, so that
// tests can answer them without a person.
//
// Results of a message box: the button pressed (mrOk, mrCancel, mrYes, mrNo, mrAbort). Escape
// gives mrOk for "&OK", mrCancel for "&OK"/"&Abbruch" and mrNo for every "&Ja"/"&Nein" set. Closing
// a box by its title-bar button gives mrCancel for every set except "&OK" (mrOk).
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  virtual ModalResult ShowMessage(QWidget* parent, BoxKind kind, const QString& text,
                                  BoxButtons buttons) = 0;
  // The chosen path, or an empty text when the user cancelled.
  virtual QString AskOpenFileName(QWidget* parent, const FileDialogRequest& request) = 0;
  virtual QString AskSaveFileName(QWidget* parent, const FileDialogRequest& request) = 0;
  // The chosen folder, or an empty text when the user cancelled.
  virtual QString AskFolder(QWidget* parent, const QString& instruction,
                            const QString& startFolder) = 0;

  // Error box: caption "Fehler", one "&OK" button.
  void ShowError(QWidget* parent, const QString& text) {
    ShowMessage(parent, BoxKind::Error, text, BoxButtons::Ok);
  }
  // Information box with the given buttons; the button pressed.
  ModalResult ShowInformation(QWidget* parent, const QString& text,
                              BoxButtons buttons = BoxButtons::Ok) {
    return ShowMessage(parent, BoxKind::Information, text, buttons);
  }
};

// Asks where to save a file: the chosen path, with `extension` (".pdf") added when it does not
// end in it, once the user agreed to replace a file that is there. Empty when the user cancelled or
// kept the existing file.
[[nodiscard]] QString AskSavePath(UserDialogs& dialogs, QWidget* parent,
                                  const FileDialogRequest& request, const QString& extension);

// The real Qt dialogs, with German captions and button texts.
class QtUserDialogs final : public UserDialogs {
 public:
  ModalResult ShowMessage(QWidget* parent, BoxKind kind, const QString& text,
                          BoxButtons buttons) override;
  QString AskOpenFileName(QWidget* parent, const FileDialogRequest& request) override;
  QString AskSaveFileName(QWidget* parent, const FileDialogRequest& request) override;
  QString AskFolder(QWidget* parent, const QString& instruction,
                    const QString& startFolder) override;
};
