// "Naming options...": the naming options beside the window, taken up as soon as they are
// made (a typed pattern once confirmed); a typed pattern dropped at closing is told in the log.
#include "window/MainWindow.h"
#include "window/LogViewLineBuffer.h"
#include "window/NamingDialog.h"
#include "window/ProgressStrip.h"
#include "window/StyledButton.h"

void TfrmDecoder::MakeNaming() {
  btnNaming = new TStyledButton(QStringLiteral("Naming options..."), this);
  btnNaming->setObjectName(QStringLiteral("btnNaming"));
  btnNaming->setToolTip(QStringLiteral("Pattern, time zones, unique names and what a copy does with a taken name"));
  btnNaming->resize(121, 22);
  Progress_->SetRightReserve(btnNaming->width() + 10);
  connect(btnNaming, &QPushButton::clicked, this, &TfrmDecoder::btnNamingClick);
}

void TfrmDecoder::btnNamingClick() {
  if (!NamingDialog_) {
    NamingDialog_ = new TNamingDialog(this);
    NamingDialog_->OnChanged = [this](const TNamingChoice& choice) { SetNamingChoice(choice); };
    // Said where the user looks after closing the options (the strip) and kept in the log.
    NamingDialog_->OnPatternNotTaken = [this](const QString& text) {
      LogLines_->Add(text.toStdString());
      LogLines_->ShowLines();
      Progress_->Finish(text);
    };
  }
  NamingDialog_->Show(Naming_);
  NamingDialog_->ShowNotTaken(NamingNotTaken_);
  NamingDialog_->show();
  NamingDialog_->raise();
  NamingDialog_->activateWindow();
}
