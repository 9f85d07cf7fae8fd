#include "window/FileDialogs.h"

#include <QFileDialog>

namespace {

QFileDialog* MakeDialog(QWidget* owner, QFileDialog::FileMode mode) {
  auto* dialog = new QFileDialog(owner);
  // Qt's own dialog on every desktop, so that filters and case rules are the same everywhere.
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setFileMode(mode);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setSizeGripEnabled(true);
  return dialog;
}

}  // namespace

std::optional<QStringList> RunDialogModally(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedFiles();
}

QFileDialog* MakeOpenDialog(QWidget* owner) {
  QFileDialog* dialog = MakeDialog(owner, QFileDialog::ExistingFiles);
  dialog->setObjectName(QStringLiteral("OpenDialog1"));
  // The filter patterns are written in capitals ("*.MP4"); files on Linux mostly are not.
  dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
  return dialog;
}

QFileDialog* MakeFolderDialog(QWidget* owner) {
  QFileDialog* dialog = MakeDialog(owner, QFileDialog::Directory);
  dialog->setObjectName(QStringLiteral("RzSelectFolderDialog1"));
  dialog->setOption(QFileDialog::ShowDirsOnly);
  return dialog;
}
