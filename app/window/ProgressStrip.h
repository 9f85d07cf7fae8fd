// A strip at the bottom of the window that shows how far a long run over the file list has
// come ("Reading 37 of 400: name") and lets the window repaint meanwhile, a few times a
// second. After the run it keeps a one-line summary until the next run.
#pragma once
#include <QElapsedTimer>
#include <QWidget>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

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
  // Offers a "Cancel" button beside the bar for the run that starts now; `onCancel` runs
  // when it is clicked. The button goes with the run (Finish).
  void OfferCancel(std::function<void()> onCancel);
  QPushButton* CancelButton() const { return Cancel_; }
  // Room the strip leaves free at the window's right edge (for a control beside it).
  void SetRightReserve(int pixels);

  // Runs right before each repaint, to bring what the window shows up to date.
  std::function<void()> BeforeRepaint;

 signals:
  void stepShown(const QString& text);

 private:
  void PlaceAtBottom();
  bool eventFilter(QObject* watched, QEvent* event) override;

  QLabel* Text_;
  QProgressBar* Bar_;
  QPushButton* Cancel_;
  std::function<void()> OnCancel_;
  int RightReserve_ = 0;
  QElapsedTimer SinceRepaint_;
  QString Summary_;
};
