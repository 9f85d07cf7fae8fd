// Drives the main window as a user would: clicks its buttons and answers its file and
// folder dialogs and its questions from queues of prepared answers.
#pragma once
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "window/MainWindow.h"

class QMessageBox;
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
  // The answer to the next question asked: true for its accepting button ("Copy").
  void AnswerQuestion(bool accept) { questionAnswers_.push_back(accept); }
  // The number of questions asked so far.
  int questionsAsked() const { return questionsAsked_; }
  // Runs with each question before it is answered, to look at it and at the window behind it.
  std::function<void(QMessageBox& question)> whileAsked;

  // A left click in the middle of the window's child named `name`.
  void Click(const char* name);

  QTableWidget& list();
  int rowCount();
  QString cell(int row, int column);

 private:
  std::unique_ptr<TfrmDecoder> window_;
  std::deque<std::optional<QStringList>> answers_;
  std::vector<QString> dialogsShown_;
  std::deque<bool> questionAnswers_;
  int questionsAsked_ = 0;
};

QString Q(const std::string& bytes);
