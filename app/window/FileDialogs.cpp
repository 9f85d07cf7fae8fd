#include "window/FileDialogs.h"

#include <QFileDialog>
#include <QCompleter>
#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>

namespace {

void SetUp(QFileDialog* dialog, QFileDialog::FileMode mode) {
  // Qt's own dialog on every desktop, so that filters and case rules are the same everywhere.
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setFileMode(mode);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setSizeGripEnabled(true);
}

// The dialog rewrites its name field from the selection of its list, which hides what the
// filter hides; the last text the user typed there is kept in this property.
constexpr char kTypedText[] = "morvaneTypedText";

// The names the user typed into the dialog's name field ("a.mp4" or "a.mp4" "b.txt"),
// each made absolute against the dialog's folder.
QStringList TypedNames(const QFileDialog& dialog) {
  const QString text = dialog.property(kTypedText).toString().trimmed();
  QStringList names;
  if (text.contains(QLatin1Char('"'))) {
    const QStringList parts = text.split(QLatin1Char('"'));
    for (qsizetype i = 1; i < parts.size(); i += 2)
      if (!parts[i].isEmpty()) names << parts[i];
  } else if (!text.isEmpty()) {
    names << text;
  }
  for (QString& name : names) name = dialog.directory().absoluteFilePath(name);
  return names;
}

// The dialog takes only the typed names that its filter shows; every existing file or
// folder that the user named counts, whatever the filter.
QStringList WithTypedFiles(const QFileDialog& dialog, QStringList chosen) {
  if (dialog.fileMode() != QFileDialog::ExistingFiles) return chosen;
  for (const QString& name : TypedNames(dialog))
    if (QFileInfo(name).exists() && !chosen.contains(name)) chosen << name;
  return chosen;
}

// The file-open dialog takes folders as well as files: a folder selected in the list (or
// named in the name field) and confirmed is chosen, where Qt's dialog would go into it.
// Going into a folder stays with a double-click or Enter in the list, and with a typed
// name that ends in a separator or is "..".
class TOpenFilesDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    if (ChoosesFolder()) {
      QDialog::accept();
      return;
    }
    const QString before = directory().absolutePath();
    QFileDialog::accept();
    // A name typed to go into a folder is done with once the dialog is there.
    if (directory().absolutePath() != before) setProperty(kTypedText, QString());
  }

 private:
  bool ChoosesFolder() const {
    const QStringList chosen = selectedFiles();
    const auto* typed = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString text = typed ? typed->text().trimmed() : QString();
    if (chosen.isEmpty() || text == QStringLiteral("..") || text.endsWith(QLatin1Char('/')) ||
        text.endsWith(QDir::separator()))
      return false;
    // Qt's own accept says what is wrong with a name that does not exist.
    bool folder = false;
    for (const QString& name : chosen) {
      const QFileInfo info(name);
      if (!info.exists()) return false;
      folder = folder || info.isDir();
    }
    return folder;
  }
};

}  // namespace

std::optional<QStringList> RunDialogModally(QFileDialog& dialog) {
  const bool accepted = dialog.exec() == QDialog::Accepted;
  const QStringList chosen = WithTypedFiles(dialog, dialog.selectedFiles());
  // A hidden dialog that keeps its selection updates it for every chosen file that a
  // rename or copy makes vanish, at a cost that grows with the square of the count: it
  // lets go of the selection and of the typed names as soon as it returns.
  for (auto* view : dialog.findChildren<QAbstractItemView*>())
    if (view->selectionModel()) view->selectionModel()->clear();
  if (auto* typed = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) typed->clear();
  dialog.setProperty(kTypedText, QString());
  // A completer's popup is a window of its own: it goes with its dialog, not left over the list.
  for (auto* completer : dialog.findChildren<QCompleter*>())
    if (completer->popup()) completer->popup()->hide();
  if (!accepted) return std::nullopt;
  return chosen;
}

QFileDialog* MakeOpenDialog(QWidget* owner) {
  auto* dialog = new TOpenFilesDialog(owner);
  SetUp(dialog, QFileDialog::ExistingFiles);
  dialog->setObjectName(QStringLiteral("OpenDialog1"));
  if (auto* typed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
    QObject::connect(typed, &QLineEdit::textEdited, dialog, [dialog](const QString& text) {
      dialog->setProperty(kTypedText, text);
    });
  // A name typed to go into a folder is done with once the dialog is there.
  QObject::connect(dialog, &QFileDialog::directoryEntered, dialog,
                   [dialog] { dialog->setProperty(kTypedText, QString()); });
  // The filter patterns are written in capitals ("*.MP4"); files on Linux mostly are not.
  dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
  return dialog;
}

QFileDialog* MakeFolderDialog(QWidget* owner) {
  auto* dialog = new QFileDialog(owner);
  SetUp(dialog, QFileDialog::Directory);
  dialog->setObjectName(QStringLiteral("RzSelectFolderDialog1"));
  dialog->setWindowTitle(QStringLiteral("Copy into folder"));
  dialog->setOption(QFileDialog::ShowDirsOnly);
  return dialog;
}
