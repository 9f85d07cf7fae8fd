// The about box: the picture, the program's name and the version read from the executable.
#pragma once
#include <QDialog>

#include <optional>
#include <string>

class QLabel;

class TFormAbout : public QDialog {
  Q_OBJECT

 public:
  // `versionFile` is the file whose version block is shown; by default the running
  // executable.
  explicit TFormAbout(QWidget* owner = nullptr,
                      const std::optional<std::string>& versionFile = std::nullopt);

  QLabel* Image2() const { return image2_; }
  QLabel* Label2() const { return label2_; }
  QLabel* LabelInfo() const { return labelInfo_; }

  // Centres the box over its owner's window each time it is shown.
  void setVisible(bool visible) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void FormCreate(const std::string& versionFile);
  void FormClick();
  void Image2Click();

  QLabel* image2_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* labelInfo_ = nullptr;
};

// Makes a new about box owned by `owner`, shows it modally and destroys it once its modal
// showing has ended (also when `owner` goes first).
void ShowAboutBox(QWidget* owner);
