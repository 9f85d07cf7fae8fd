// While a run over the file list goes on, the window repaints but takes no input: every
// click, key and wheel turn meant for it is dropped, not queued, so that nothing the user
// did during the run happens after it on rows the user has not seen.
#pragma once
#include <QObject>
#include <functional>

class QWidget;

class TInputBlocker : public QObject {
 public:
  // Drops input for `window` and everything in it from now until destruction; before it
  // goes, input that the system still holds for the window is fetched and dropped too.
  // `onEscape`, when given, runs for each press of Esc in the window instead of dropping it.
  // Input meant for `open` (a button that stops the run), when given, is let through.
  explicit TInputBlocker(QWidget& window, std::function<void()> onEscape = {}, QWidget* open = nullptr);
  ~TInputBlocker() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& Window_;
  std::function<void()> OnEscape_;
  QWidget* Open_;
};
