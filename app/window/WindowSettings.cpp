// What the window remembers between starts: its size and place, the widths the user gave
// the list's columns, the folders its three dialogs were last in and the naming options. One settings file
// of plain text (PlainSettings.h), read when the window is made and written when it closes;
// everything in it is checked before it is taken, as anything may have written it.
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <algorithm>
#include <optional>

#include "window/FileListView.h"
#include "window/LogViewLineBuffer.h"
#include "window/MainWindow.h"
#include "window/MediaInspector.h"
#include "window/PlainSettings.h"

namespace {

// The window's place and size when it is not maximized, its client area as geometry() gives
// it. (Files of earlier versions held the toolkit's own blob under "window/geometry", which is
// no longer read: the window then places itself.)
const QString kLeft = QStringLiteral("window/x");
const QString kTop = QStringLiteral("window/y");
const QString kWidth = QStringLiteral("window/width");
const QString kHeight = QStringLiteral("window/height");
const QString kMaximized = QStringLiteral("window/maximized");
const QString kOldGeometry = QStringLiteral("window/geometry");
const QString kColumns = QStringLiteral("list/columns");
const QString kOpenFolder = QStringLiteral("folders/open");
const QString kCopyFolder = QStringLiteral("folders/copy");
const QString kPictureFolder = QStringLiteral("folders/picture");

// Far beyond any desktop, and far from where sums of them could overflow.
constexpr int kFarthest = 1 << 20;
constexpr int kSmallestSide = 100;

std::optional<int> Number(const QSettings& settings, const QString& key, int least, int most) {
  bool number = false;
  const int value = settings.value(key).toString().trimmed().toInt(&number);
  if (!number || value < least || value > most) return std::nullopt;
  return value;
}

// A screen that shows enough of `window` to take hold of it: 100 by 50 pixels of it, or all
// of it where it is smaller.
const QScreen* ScreenShowing(const QRect& window) {
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect seen = screen->availableGeometry().intersected(window);
    if (seen.width() >= std::min(window.width(), 100) && seen.height() >= std::min(window.height(), 50)) return screen;
  }
  return nullptr;
}

void RestoreFolder(QFileDialog& dialog, const QSettings& settings, const QString& key) {
  const QString folder = settings.value(key).toString();
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) dialog.setDirectory(folder);
}

}  // namespace

void TfrmDecoder::RestoreSettings() {
  if (SettingsFile_.isEmpty()) return;
  const QSettings settings(SettingsFile_, PlainSettingsFormat());
  RestoreGeometry(settings);
  ListView1->RestoreWidths(settings.value(kColumns).toString());
  RestoreFolder(*OpenDialog1, settings, kOpenFolder);
  RestoreFolder(*RzSelectFolderDialog1, settings, kCopyFolder);
  RestoreFolder(Inspector_->SavePictureDialog(), settings, kPictureFolder);
  // A remembered choice keeps what still stands; the rest is said where the user looks.
  Naming_ = UsablePartsOf(LoadNamingChoice(settings), NamingNotTaken_);
  for (const QString& notTaken : NamingNotTaken_)
    LogLines_->Add((QStringLiteral("Remembered naming options: ") + notTaken).toStdString());
}

// A size that no screen can show is not taken, and one larger than the desktop is made to fit
// it; a place where no screen shows the window is not taken either: it is centred instead.
void TfrmDecoder::RestoreGeometry(const QSettings& settings) {
  const auto width = Number(settings, kWidth, kSmallestSide, kFarthest);
  const auto height = Number(settings, kHeight, kSmallestSide, kFarthest);
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (!width || !height || !primary) return;
  const QSize size = QSize(*width, *height).boundedTo(primary->availableVirtualGeometry().size());
  const auto left = Number(settings, kLeft, -kFarthest, kFarthest);
  const auto top = Number(settings, kTop, -kFarthest, kFarthest);
  if (left && top && ScreenShowing(QRect(QPoint(*left, *top), size))) {
    setGeometry(QRect(QPoint(*left, *top), size));
    PlaceRestored_ = true;
  } else {
    resize(size);
  }
  SizeRestored_ = true;
  if (settings.value(kMaximized).toString().trimmed() == QStringLiteral("true"))
    setWindowState(windowState() | Qt::WindowMaximized);
}

void TfrmDecoder::SaveSettings() const {
  if (SettingsFile_.isEmpty()) return;
  QSettings settings(SettingsFile_, PlainSettingsFormat());
  settings.remove(kOldGeometry);
  const bool normal = !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
  const QRect place = normal ? geometry() : normalGeometry();
  if (place.isValid()) {
    settings.setValue(kLeft, place.x());
    settings.setValue(kTop, place.y());
    settings.setValue(kWidth, place.width());
    settings.setValue(kHeight, place.height());
  }
  settings.setValue(kMaximized, isMaximized());
  if (const QString widths = ListView1->SavedWidths(); !widths.isEmpty()) settings.setValue(kColumns, widths);
  else settings.remove(kColumns);
  settings.setValue(kOpenFolder, OpenDialog1->directory().absolutePath());
  settings.setValue(kCopyFolder, RzSelectFolderDialog1->directory().absolutePath());
  settings.setValue(kPictureFolder, Inspector_->SavePictureDialog().directory().absolutePath());
  SaveNamingChoice(settings, Naming_);
}
