// "Naming options": a small window beside the main one where the naming options are chosen.
// Every change is handed on at once, so that the list's preview follows it; a choice that
// cannot stand (a bad pattern, an unknown zone) is said in the dialog and not handed on.
#pragma once
#include <QDialog>
#include <functional>

#include "window/NamingChoice.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

class TNamingDialog : public QDialog {
 public:
  explicit TNamingDialog(QWidget* parent);

  // Shows `choice` in the controls without handing it on.
  void Show(const TNamingChoice& choice);
  TNamingChoice Choice() const;
  // What is wrong with the choice shown, or empty.
  QString Problem() const;
  // Says what a remembered choice could not keep (nothing shows for an empty list).
  void ShowNotTaken(const QStringList& notTaken);

  // Called with each choice that can stand, as soon as it is made.
  std::function<void(const TNamingChoice&)> OnChanged;

 private:
  void Changed();
  void PresetChosen(int index);

  QComboBox* Preset_;
  QLineEdit* Pattern_;
  QComboBox* Zone_;
  QLineEdit* ZoneName_;
  QLineEdit* AssumeZone_;
  QCheckBox* Unique_;
  QCheckBox* SkipUnset_;
  QComboBox* CopyRule_;
  QLabel* Problem_;
  QLabel* NotTaken_;
  bool Showing_ = false;  // the controls are being filled, not changed by the user
};
