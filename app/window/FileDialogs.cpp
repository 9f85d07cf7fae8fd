#include "FileDialogs.h"

#include <QFileDialog>
#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QLineEdit>

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
  const bool accepted = dialog.exec() == QDialog::Accepted;
  const QStringList chosen = dialog.selectedFiles();
  // A hidden dialog that keeps its selection updates it for every chosen file that a
  // rename or copy makes vanish, at a cost that grows with the square of the count: it
  // lets go of the selection and of the typed names as soon as it returns.
  for (auto* view : dialog.findChildren<QAbstractItemView*>())
    if (view->selectionModel()) view->selectionModel()->clear();
  if (auto* typed = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) typed->clear();
  if (!accepted) return std::nullopt;
  return chosen;
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
