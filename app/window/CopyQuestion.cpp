#include "window/CopyQuestion.h"

#include <QMessageBox>
#include <QPushButton>

bool AskModally(QMessageBox& question) {
  question.exec();
  return question.clickedButton() && question.buttonRole(question.clickedButton()) == QMessageBox::AcceptRole;
}

void SetUpCopyQuestion(QMessageBox& question, const QString& folder, const QString& summary) {
  question.setObjectName(QStringLiteral("CopyQuestion"));
  question.setWindowTitle(QStringLiteral("Copy file(s)"));
  question.setIcon(QMessageBox::Question);
  question.setText(QStringLiteral("Copy into %1?").arg(folder));
  question.setInformativeText(summary);
  QPushButton* copy = question.addButton(QStringLiteral("Copy"), QMessageBox::AcceptRole);
  copy->setObjectName(QStringLiteral("btnCopy"));
  QPushButton* cancel = question.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
  cancel->setObjectName(QStringLiteral("btnCopyCancel"));
  question.setDefaultButton(copy);
  question.setEscapeButton(cancel);
}
