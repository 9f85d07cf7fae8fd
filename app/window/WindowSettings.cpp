// What the window remembers between starts: its size and place, the widths the user gave
// the list's columns, the folders its three dialogs were last in and the naming options. One settings file,
// read when the window is made and written when it closes.
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

#include "window/FileListView.h"
#include "window/LogViewLineBuffer.h"
#include "window/MainWindow.h"
#include "window/MediaInspector.h"

namespace {

const QString kGeometry = QStringLiteral("window/geometry");
const QString kColumns = QStringLiteral("list/columns");
const QString kOpenFolder = QStringLiteral("folders/open");
const QString kCopyFolder = QStringLiteral("folders/copy");
const QString kPictureFolder = QStringLiteral("folders/picture");

void RestoreFolder(QFileDialog& dialog, const QSettings& settings, const QString& key) {
  const QString folder = settings.value(key).toString();
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) dialog.setDirectory(folder);
}

}  // namespace

void TfrmDecoder::RestoreSettings() {
  if (SettingsFile_.isEmpty()) return;
  const QSettings settings(SettingsFile_, QSettings::IniFormat);
  GeometryRestored_ = restoreGeometry(settings.value(kGeometry).toByteArray());
  ListView1->RestoreWidths(settings.value(kColumns).toByteArray());
  RestoreFolder(*OpenDialog1, settings, kOpenFolder);
  RestoreFolder(*RzSelectFolderDialog1, settings, kCopyFolder);
  RestoreFolder(Inspector_->SavePictureDialog(), settings, kPictureFolder);
  // A remembered choice keeps what still stands; the rest is said where the user looks.
  Naming_ = UsablePartsOf(LoadNamingChoice(settings), NamingNotTaken_);
  for (const QString& notTaken : NamingNotTaken_)
    LogLines_->Add((QStringLiteral("Remembered naming options: ") + notTaken).toStdString());
}

void TfrmDecoder::SaveSettings() const {
  if (SettingsFile_.isEmpty()) return;
  QSettings settings(SettingsFile_, QSettings::IniFormat);
  settings.setValue(kGeometry, saveGeometry());
  if (const QByteArray widths = ListView1->SavedWidths(); !widths.isEmpty()) settings.setValue(kColumns, widths);
  else settings.remove(kColumns);
  settings.setValue(kOpenFolder, OpenDialog1->directory().absolutePath());
  settings.setValue(kCopyFolder, RzSelectFolderDialog1->directory().absolutePath());
  settings.setValue(kPictureFolder, Inspector_->SavePictureDialog().directory().absolutePath());
  SaveNamingChoice(settings, Naming_);
}
