// A strip at the bottom of the window that shows how far a long run over the file list has
// come ("Reading 37 of 400: name") and lets the window repaint meanwhile, a few times a
// second. After the run it keeps a one-line summary until the next run.
#pragma once
#include <QElapsedTimer>
#include <QWidget>
#include <functional>

class QLabel;
class QProgressBar;

class TProgressStrip : public QWidget {
  Q_OBJECT
 public:
  explicit TProgressStrip(QWidget* parent);

  // Announces "<verb> <index + 1> of <count>: <name>"; shows it and repaints the window on
  // the first step of a run and then when the last repaint is long enough ago.
  void Step(const QString& verb, std::size_t index, std::size_t count, const QString& name);
  // Ends the run's display; the strip keeps `summary` in view until the next run starts.
  void Finish(const QString& summary = {});
  QString Summary() const;

  // Runs right before each repaint, to bring what the window shows up to date.
  std::function<void()> BeforeRepaint;

 signals:
  void stepShown(const QString& text);

 private:
  void PlaceAtBottom();
  bool eventFilter(QObject* watched, QEvent* event) override;

  QLabel* Text_;
  QProgressBar* Bar_;
  QElapsedTimer SinceRepaint_;
  QString Summary_;
};
