// A strip at the bottom of the window that shows how far a long run over the file list has
// come ("Reading 37 of 400: name") and lets the window repaint meanwhile. Input stays queued
// until the run ends, so every user action still runs on its own.
#pragma once
#include <QWidget>

class QLabel;
class QProgressBar;

class TProgressStrip : public QWidget {
  Q_OBJECT
 public:
  explicit TProgressStrip(QWidget* parent);

  // Shows "<verb> <index + 1> of <count>: <name>" and repaints the window.
  void Step(const QString& verb, std::size_t index, std::size_t count, const QString& name);
  void Finish();

 signals:
  void stepShown(const QString& text);

 private:
  void PlaceAtBottom();
  bool eventFilter(QObject* watched, QEvent* event) override;

  QLabel* Text_;
  QProgressBar* Bar_;
};
