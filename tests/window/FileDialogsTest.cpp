// The real file dialogs, answered by timers as a person would answer them.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <filesystem>

#include "window/FileDialogs.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// Runs the dialog modally; once it shows, `answer` picks in it and confirms it.
std::optional<QStringList> RunAnswered(QFileDialog& dialog, const std::function<void(QFileDialog&)>& answer) {
  QTimer::singleShot(0, &dialog, [&dialog, answer] { answer(dialog); });
  return RunDialogModally(dialog);
}

// Waits until the dialog's file list holds `count` entries, which the file system model
// fills from a thread of its own. When they do not come within a minute the dialog is
// rejected, so that a failure ends the test instead of leaving the dialog open for ever.
bool WaitForEntries(QFileDialog& dialog, int count) {
  auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
  QElapsedTimer clock;
  clock.start();
  while (view && clock.elapsed() < 60000) {
    if (view->model()->rowCount(view->rootIndex()) >= count) return true;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  dialog.reject();
  return false;
}

TEST(FileDialogsTest, AfterADialogReturnsItNoLongerFollowsTheFiles) {
  TempFolder folder;
  constexpr int kCount = 2000;
  for (int i = 0; i < kCount; ++i) folder.WriteFile("clip" + std::to_string(i) + ".mp4", "x");
  QWidget owner;
  QFileDialog* dialog = MakeOpenDialog(&owner);
  const QString path = QString::fromStdString(folder.path().string());
  dialog->setDirectory(path);
  const auto chosen = RunAnswered(*dialog, [&](QFileDialog& shown) {
    ASSERT_TRUE(WaitForEntries(shown, kCount));
    shown.findChild<QListView*>(QStringLiteral("listView"))->selectAll();
    QMetaObject::invokeMethod(&shown, "accept");
  });
  ASSERT_TRUE(chosen.has_value());
  ASSERT_EQ(chosen->size(), kCount);
  // What made every vanished file cost time in proportion to the count.
  EXPECT_FALSE(dialog->selectedFiles().contains(chosen->first())) << "the dialog let go of its selection";

  // A large rename, as the workflow does it; then the window goes on with its events.
  for (const QString& name : *chosen) {
    const std::string file = name.toStdString();
    ASSERT_EQ(std::rename(file.c_str(), (file + ".done").c_str()), 0);
  }
  QElapsedTimer clock;
  clock.start();
  for (int round = 0; round < 50; ++round) QApplication::processEvents(QEventLoop::AllEvents, 20);
  std::printf("events after renaming %d chosen files: %lld ms\n", kCount, static_cast<long long>(clock.elapsed()));
  EXPECT_FALSE(dialog->selectedFiles().contains(chosen->first()));
}

TEST(FileDialogsTest, ACompleterPopupOpenWhenTheDialogClosesGoesWithIt) {
  TempFolder folder;
  folder.WriteFile("clip.mp4", "x");
  QWidget owner;
  QFileDialog* dialog = MakeOpenDialog(&owner);
  dialog->setDirectory(QString::fromStdString(folder.path().string()));
  QWidget* popup = nullptr;
  const auto chosen = RunAnswered(*dialog, [&](QFileDialog& shown) {
    ASSERT_TRUE(WaitForEntries(shown, 1));
    auto* typed = shown.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(typed, nullptr);
    ASSERT_NE(typed->completer(), nullptr);
    typed->completer()->complete();  // as typing "cl" shows it
    popup = typed->completer()->popup();
    ASSERT_TRUE(popup->isVisible());
    QMetaObject::invokeMethod(&shown, "reject");
  });
  EXPECT_FALSE(chosen.has_value());
  ASSERT_NE(popup, nullptr);
  EXPECT_FALSE(popup->isVisible()) << "no popup is left floating over the window";
}

TEST(FileDialogsTest, EveryExistingFileTheUserNamesIsTakenWhateverTheFilter) {
  TempFolder folder;
  for (const char* name : {"a.mp4", "b.txt", "c.MP4", "d.log"}) folder.WriteFile(name, "x");
  QWidget owner;
  QFileDialog* dialog = MakeOpenDialog(&owner);
  dialog->setNameFilters({QStringLiteral("Video (*.MP4)")});
  const QString path = QString::fromStdString(folder.path().string());
  dialog->setDirectory(path);
  const auto chosen = RunAnswered(*dialog, [&](QFileDialog& shown) {
    ASSERT_TRUE(WaitForEntries(shown, 2));
    // As typing does it: the text changes, then the field says the user edited it.
    auto* edit = shown.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString typed = QStringLiteral("\"a.mp4\" \"b.txt\" \"c.MP4\" \"d.log\" \"missing.mp4\"");
    edit->setText(typed);
    emit edit->textEdited(typed);
    QMetaObject::invokeMethod(&shown, "accept");
  });
  ASSERT_TRUE(chosen.has_value());
  QStringList names;
  for (const QString& name : *chosen) names << QFileInfo(name).fileName();
  names.sort();
  EXPECT_EQ(names, (QStringList{"a.mp4", "b.txt", "c.MP4", "d.log"}));
}

// The file-open dialog takes a folder as it takes a file, and still goes into one on a
// double-click or a typed name that ends in a separator.
TEST(FileDialogsTest, AFolderSelectedAndConfirmedIsChosenAndActivatingOneGoesIntoIt) {
  TempFolder folder;
  fs::create_directory(folder / "card");
  folder.WriteFile("card/clip.mp4", "x");
  folder.WriteFile("top.mp4", "x");
  QWidget owner;
  QFileDialog* dialog = MakeOpenDialog(&owner);
  const QString top = QString::fromStdString(folder.path().string());
  const QString card = QString::fromStdString((folder / "card").string());
  dialog->setDirectory(top);
  QStringList wentTo;
  const auto chosen = RunAnswered(*dialog, [&](QFileDialog& shown) {
    // A failed check ends the dialog, so that it does not stay open for ever.
    struct RejectIfOpen {
      QFileDialog& dialog;
      ~RejectIfOpen() {
        if (dialog.isVisible()) dialog.reject();
      }
    } guard{shown};
    // The list or the detail view, whichever the dialog shows; both share one model.
    QAbstractItemView* view = shown.findChild<QListView*>(QStringLiteral("listView"));
    if (!view->isVisible()) view = shown.findChild<QAbstractItemView*>(QStringLiteral("treeView"));
    const auto cardEntry = [&] {
      EXPECT_TRUE(WaitForEntries(shown, 2));
      for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
        if (const QModelIndex entry = view->model()->index(row, 0, view->rootIndex()); entry.data() == "card")
          return entry;
      return QModelIndex();
    };
    auto* edit = shown.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    edit->setText(QStringLiteral("card/"));
    emit edit->textEdited(edit->text());
    QMetaObject::invokeMethod(&shown, "accept");
    wentTo << shown.directory().absolutePath();

    shown.setDirectory(top);
    QModelIndex entry = cardEntry();
    ASSERT_TRUE(entry.isValid());
    view->scrollTo(entry);
    // A double-click as it comes: a click, then the second press that makes it double.
    const QPoint centre = view->visualRect(entry).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
    wentTo << shown.directory().absolutePath();

    shown.setDirectory(top);
    entry = cardEntry();
    ASSERT_TRUE(entry.isValid());
    view->selectionModel()->select(entry, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QPushButton* open = shown.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Open);
    ASSERT_TRUE(open->isEnabled());
    QTest::mouseClick(open, Qt::LeftButton);
  });
  EXPECT_EQ(wentTo.join(u'|').toStdString(), (card + u'|' + card).toStdString())
      << "a typed name ending in / and a double-click go into the folder";
  ASSERT_TRUE(chosen.has_value()) << "a selected folder and Open confirm the dialog";
  EXPECT_EQ(chosen->join(u'|').toStdString(), card.toStdString());
}

}  // namespace
