#pragma once

#include "ui/UserDialogs.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// Answers the program's message boxes and file dialogs from a script and records what was shown,
// so that no test ever waits on a modal box.
class ScriptedDialogs final : public UserDialogs {
 public:
  struct Shown {
    BoxKind kind;
    QString text;
    BoxButtons buttons;
  };

  // Answers for the next message boxes, in order; a box without a scripted answer gets the
  // default answer (mrOk for "&OK" boxes and "&OK"/"&Abbruch", mrYes for the others).
  std::deque<ModalResult> answers;
  // Called while a message box is "open", e.g. to check the window in the middle of an action.
  std::function<void(const Shown&)> onMessage;
  std::vector<Shown> messages;

  std::deque<QString> openAnswers;
  std::deque<QString> saveAnswers;
  std::deque<QString> folderAnswers;
  std::vector<FileDialogRequest> openRequests;
  std::vector<FileDialogRequest> saveRequests;
  std::vector<QString> folderStarts;

  ModalResult ShowMessage(QWidget*, BoxKind kind, const QString& text,
                          BoxButtons buttons) override {
    messages.push_back({kind, text, buttons});
    if (onMessage) onMessage(messages.back());
    if (!answers.empty()) {
      const ModalResult answer = answers.front();
      answers.pop_front();
      return answer;
    }
    // Enter: the default button.
    if (buttons == BoxButtons::YesNoDefaultNo) return mrNo;
    return buttons == BoxButtons::Ok || buttons == BoxButtons::OkCancel ? mrOk : mrYes;
  }

  QString AskOpenFileName(QWidget*, const FileDialogRequest& request) override {
    openRequests.push_back(request);
    return next(openAnswers);
  }
  QString AskSaveFileName(QWidget*, const FileDialogRequest& request) override {
    saveRequests.push_back(request);
    return next(saveAnswers);
  }
  QString AskFolder(QWidget*, const QString&, const QString& startFolder) override {
    folderStarts.push_back(startFolder);
    return next(folderAnswers);
  }

  QStringList texts() const {
    QStringList result;
    for (const Shown& shown : messages) result << shown.text;
    return result;
  }
  void clear() { messages.clear(); }

 private:
  static QString next(std::deque<QString>& queue) {
    if (queue.empty()) return {};
    QString answer = queue.front();
    queue.pop_front();
    return answer;
  }
};
