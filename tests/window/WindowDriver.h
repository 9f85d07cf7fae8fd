// Drives the main window as a user would: clicks its buttons and answers its file and
// folder dialogs from a queue of prepared answers.
#pragma once
#include <QStringList>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "window/MainWindow.h"

class QTableWidget;

class WindowDriver {
 public:
  // `settingsFile`: the window's remembered settings; empty: none.
  explicit WindowDriver(const QString& settingsFile = {});
  ~WindowDriver();

  TfrmDecoder& window() { return *window_; }
  // The answer to the next dialog shown: the chosen paths, or std::nullopt for Cancel.
  void Answer(std::optional<QStringList> answer) { answers_.push_back(std::move(answer)); }
  // Object names of the dialogs shown so far, in order.
  const std::vector<QString>& dialogsShown() const { return dialogsShown_; }
  // The number of prepared answers no dialog has taken yet.
  std::size_t unusedAnswers() const { return answers_.size(); }

  // A left click in the middle of the window's child named `name`.
  void Click(const char* name);

  QTableWidget& list();
  int rowCount();
  QString cell(int row, int column);

 private:
  std::unique_ptr<TfrmDecoder> window_;
  std::deque<std::optional<QStringList>> answers_;
  std::vector<QString> dialogsShown_;
};

QString Q(const std::string& bytes);
