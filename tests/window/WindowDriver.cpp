#include "window/WindowDriver.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "window/FileNameText.h"

WindowDriver::WindowDriver(const QString& settingsFile)
    : window_(std::make_unique<TfrmDecoder>(nullptr, settingsFile)) {
  window_->SetDialogRunner([this](QFileDialog& dialog) -> std::optional<QStringList> {
    dialogsShown_.push_back(dialog.objectName());
    if (answers_.empty()) {
      ADD_FAILURE() << "no answer prepared for " << dialog.objectName().toStdString();
      return std::nullopt;
    }
    std::optional<QStringList> answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
  });
  window_->SetQuestionRunner([this](QMessageBox& question) {
    ++questionsAsked_;
    if (whileAsked) whileAsked(question);
    if (questionAnswers_.empty()) {
      ADD_FAILURE() << "no answer prepared for the question " << question.text().toStdString();
      return false;
    }
    const bool accept = questionAnswers_.front();
    questionAnswers_.pop_front();
    return accept;
  });
  window_->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
}

WindowDriver::~WindowDriver() = default;

void WindowDriver::Click(const char* name) {
  auto* button = window_->findChild<QPushButton*>(QString::fromLatin1(name));
  ASSERT_NE(button, nullptr) << name;
  QTest::mouseClick(button, Qt::LeftButton);
}

QTableWidget& WindowDriver::list() { return *window_->findChild<QTableWidget*>(QStringLiteral("ListView1")); }

int WindowDriver::rowCount() { return list().rowCount(); }

QString WindowDriver::cell(int row, int column) {
  const QTableWidgetItem* item = list().item(row, column);
  return item ? item->text() : QStringLiteral("<no item>");
}

QString Q(const std::string& bytes) { return DisplayFileName(bytes); }
