#include "window/MediaToolsPanel.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

template <typename Control>
Control* Place(Control* control, const char* name, int left, int top, int width, int height) {
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(left, top, width, height);
  control->hide();
  return control;
}

QPushButton* Button(QWidget* owner, const char* name, const char* caption, int left, int top, int width) {
  return Place(new QPushButton(QString::fromLatin1(caption), owner), name, left, top, width, 25);
}

}  // namespace

TMediaToolsPanel MakeMediaToolsPanel(QWidget* owner) {
  TMediaToolsPanel c{};
  c.btnOpen = Button(owner, "btnOpen", "Open", 61, 398, 45);
  c.btnSave = Button(owner, "btnSave", "Save", 25, 328, 45);
  c.btnNextFrame = Button(owner, "btnNextFrame", "Next Frame", 69, 328, 75);
  c.btnPreviousFrame = Button(owner, "btnPreviousFrame", "Previous Frame", 143, 328, 95);
  c.btnNextKF = Button(owner, "btnNextKF", "Next K-F", 237, 328, 67);
  c.btnNextKF->setToolTip(QStringLiteral("Next Key-frame"));
  c.btnPreviousKF = Button(owner, "btnPreviousKF", "Previous K-F", 303, 328, 75);
  c.btnPreviousKF->setToolTip(QStringLiteral("Previous Key-frame"));
  c.btnWebSite = Button(owner, "btnWebSite", "Web Site", 377, 328, 67);
  c.btnExit = Button(owner, "btnExit", "Exit", 443, 328, 45);

  c.cboLogLevel = Place(new QComboBox(owner), "cboLogLevel", 498, 330, 57, 20);
  c.cboLogLevel->setEditable(false);
  c.cboLogLevel->addItems({QStringLiteral("Quiet"), QStringLiteral("Panic"), QStringLiteral("Fatal"),
                           QStringLiteral("Error"), QStringLiteral("Warning"), QStringLiteral("Info"),
                           QStringLiteral("Verbose"), QStringLiteral("Debug")});
  c.cboLogLevel->setCurrentIndex(5);
  c.cboLogLevel->setToolTip(QStringLiteral("LogLevel"));

  c.mmoLog = Place(new QPlainTextEdit(owner), "mmoLog", 781, 7, 305, 274);
  c.mmoLog->setPlainText(QStringLiteral("mmoLog"));
  c.mmoLog->setLineWrapMode(QPlainTextEdit::NoWrap);
  c.mmoLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  c.mmoLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  c.lblPTS = Place(new QLabel(QStringLiteral("lblPTS"), owner), "lblPTS", 561, 333, 36, 12);

  QWidget* const order[] = {c.btnOpen,   c.btnSave,    c.btnNextFrame, c.btnPreviousFrame, c.btnNextKF,
                            c.btnPreviousKF, c.btnWebSite, c.btnExit, c.cboLogLevel, c.mmoLog};
  for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
  return c;
}
