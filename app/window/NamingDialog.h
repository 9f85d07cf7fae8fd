// "Naming options": a small window beside the main one where the naming options are chosen.
// Every change is handed on at once, so that the list's preview follows it, except a typed
// pattern: on the way to what is meant, a typed text can pass valid patterns ("%Y" of
// "%Y/%q_%H"), so a pattern is handed on only when confirmed (Enter, leaving the field, a
// preset, closing the dialog). A choice that cannot stand (a bad pattern, an unknown zone) is
// said in the dialog and not handed on.
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
  // The choice in force: the controls, with the pattern last confirmed or shown.
  TNamingChoice Choice() const;
  // What is wrong with the choice shown (the pattern as typed), or empty.
  QString Problem() const;
  // Says what a remembered choice could not keep (nothing shows for an empty list).
  void ShowNotTaken(const QStringList& notTaken);

  // Called with each choice that can stand, as soon as it is made.
  std::function<void(const TNamingChoice&)> OnChanged;
  // Called when the dialog closes on a typed pattern that cannot stand, with what to tell:
  // it is dropped and the pattern in force stays.
  std::function<void(const QString&)> OnPatternNotTaken;

 protected:
  // Closing confirms the typed pattern, or drops it when it cannot stand.
  void done(int result) override;

 private:
  // Shows the preset and the problem of what the controls hold.
  void ShowState();
  void Changed();
  void PatternConfirmed();
  void PresetChosen(int index);

  QComboBox* Preset_;
  QLineEdit* Pattern_;
  QComboBox* Zone_;
  QLineEdit* ZoneName_;
  QLineEdit* AssumeZone_;
  QLineEdit* Shift_;
  QCheckBox* Unique_;
  QCheckBox* SkipUnset_;
  QCheckBox* SetMtime_;
  QCheckBox* DateFromName_;
  QCheckBox* DateFromMtime_;
  QCheckBox* Companions_;
  QComboBox* CopyRule_;
  QLabel* Problem_;
  QLabel* NotTaken_;
  QString TakenPattern_;  // the pattern in force, which the typed one replaces when confirmed
  bool Showing_ = false;  // the controls are being filled, not changed by the user
};
