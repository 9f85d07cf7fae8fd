#include "window/NamingDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <typename Control>
Control* Named(Control* control, const char* name, const QString& accessibleName) {
  control->setObjectName(QString::fromLatin1(name));
  control->setAccessibleName(accessibleName);
  return control;
}

constexpr int kCustomPreset = static_cast<int>(std::size(PatternPresets));

}  // namespace

TNamingDialog::TNamingDialog(QWidget* parent)
    : QDialog(parent),
      Preset_(Named(new QComboBox(this), "cboPreset", QStringLiteral("Pattern preset"))),
      Pattern_(Named(new QLineEdit(this), "edtPattern", QStringLiteral("Pattern"))),
      Zone_(Named(new QComboBox(this), "cboZone", QStringLiteral("Time zone"))),
      ZoneName_(Named(new QLineEdit(this), "edtZoneName", QStringLiteral("Zone name"))),
      AssumeZone_(Named(new QLineEdit(this), "edtAssumeZone", QStringLiteral("Assumed zone"))),
      Shift_(Named(new QLineEdit(this), "edtShift", QStringLiteral("Clock shift"))),
      Unique_(Named(new QCheckBox(QStringLiteral("Unique names: add _1, _2, ... to a name that is taken"), this),
                    "chkUnique", QStringLiteral("Unique names"))),
      SkipUnset_(Named(new QCheckBox(QStringLiteral("Skip files whose date looks unset"), this), "chkSkipUnset",
                       QStringLiteral("Skip dates that look unset"))),
      SetMtime_(Named(new QCheckBox(QStringLiteral("Set each file's modification time to its date"), this),
                      "chkSetMtime", QStringLiteral("Set the modification time"))),
      DateFromName_(Named(new QCheckBox(QStringLiteral("No date in the file: take one from its name"), this),
                          "chkDateFromName", QStringLiteral("Date from the name"))),
      DateFromMtime_(Named(new QCheckBox(QStringLiteral("No date anywhere else: take the modification time"), this),
                           "chkDateFromMtime", QStringLiteral("Date from the modification time"))),
      Companions_(Named(new QCheckBox(QStringLiteral("Take sidecars and Live Photo clips along"), this),
                        "chkCompanions", QStringLiteral("Companions go along"))),
      CopyRule_(Named(new QComboBox(this), "cboCopyRule", QStringLiteral("Copy onto a different file"))),
      // The two messages have no name of their own: a screen reader reads what they say.
      Problem_(Named(new QLabel(this), "lblProblem", QString())),
      NotTaken_(Named(new QLabel(this), "lblNotTaken", QString())) {
  setObjectName(QStringLiteral("NamingOptions"));
  setWindowTitle(QStringLiteral("Naming options"));
  for (const TPatternPreset& preset : PatternPresets) Preset_->addItem(QString::fromUtf8(preset.Label));
  Preset_->addItem(QStringLiteral("Custom"));
  Pattern_->setPlaceholderText(QStringLiteral("%Y %m %d %H %M %S %f %z, / for folders"));
  Pattern_->setToolTip(QStringLiteral(
      "Date fields: %Y %m %d %H %M %S %f %z %%; a \"/\" makes folders.\n"
      "Named fields: %{make} and %{model} the camera, %{name} the file's own name, "
      "%{counter} its place in the list (%{counter:3} gives 001);\n"
      "%{model|NoModel} gives NoModel where the file names no model."));
  Shift_->setPlaceholderText(QStringLiteral("none: [+|-][D ]HH:MM[:SS], for a camera clock that was wrong"));
  Zone_->addItems({QStringLiteral("As stored"), QStringLiteral("UTC"), QStringLiteral("Local time"),
                   QStringLiteral("Named zone"), QStringLiteral("Recorded offset")});
  ZoneName_->setPlaceholderText(QStringLiteral("Europe/Berlin"));
  AssumeZone_->setPlaceholderText(QStringLiteral("none: times without zone are taken as written"));
  CopyRule_->addItems({QStringLiteral("Keep it: the copy fails"), QStringLiteral("Replace it")});
  Problem_->setStyleSheet(QStringLiteral("color: #b00000"));
  Problem_->setWordWrap(true);
  NotTaken_->setStyleSheet(Problem_->styleSheet());
  NotTaken_->setWordWrap(true);
  NotTaken_->hide();

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Pattern preset:"), Preset_);
  form->addRow(QStringLiteral("Pattern:"), Pattern_);
  form->addRow(QStringLiteral("Time zone of the name:"), Zone_);
  form->addRow(QStringLiteral("Zone name:"), ZoneName_);
  form->addRow(QStringLiteral("Assumed zone:"), AssumeZone_);
  form->addRow(QStringLiteral("Clock shift:"), Shift_);
  form->addRow(Unique_);
  form->addRow(SkipUnset_);
  form->addRow(DateFromName_);
  form->addRow(DateFromMtime_);
  form->addRow(SetMtime_);
  form->addRow(Companions_);
  form->addRow(QStringLiteral("Copy onto a different file of that name:"), CopyRule_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("btnNamingClose"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(NotTaken_);
  layout->addWidget(Problem_);
  layout->addWidget(buttons);

  connect(Preset_, &QComboBox::activated, this, &TNamingDialog::PresetChosen);
  connect(Pattern_, &QLineEdit::textChanged, this, [this] { ShowState(); });
  connect(Pattern_, &QLineEdit::editingFinished, this, &TNamingDialog::PatternConfirmed);
  for (QLineEdit* edit : {ZoneName_, AssumeZone_, Shift_})
    connect(edit, &QLineEdit::textChanged, this, [this] { Changed(); });
  for (QComboBox* combo : {Zone_, CopyRule_})
    connect(combo, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
  for (QCheckBox* box : {Unique_, SkipUnset_, SetMtime_, DateFromName_, DateFromMtime_, Companions_})
    connect(box, &QCheckBox::toggled, this, [this] { Changed(); });
  Show({});
}

void TNamingDialog::Show(const TNamingChoice& choice) {
  Showing_ = true;
  TakenPattern_ = choice.Format;
  Pattern_->setText(choice.Format);
  Zone_->setCurrentIndex(static_cast<int>(choice.Zone));
  ZoneName_->setText(choice.ZoneName);
  AssumeZone_->setText(choice.AssumeZone);
  Shift_->setText(choice.Shift);
  Unique_->setChecked(choice.UniqueNames);
  SkipUnset_->setChecked(choice.SkipUnsetDates);
  SetMtime_->setChecked(choice.SetMtime);
  DateFromName_->setChecked(choice.DateFromName);
  DateFromMtime_->setChecked(choice.DateFromMtime);
  Companions_->setChecked(choice.Companions);
  CopyRule_->setCurrentIndex(choice.CopyReplaces ? 1 : 0);
  Showing_ = false;
  Changed();
}

TNamingChoice TNamingDialog::Choice() const {
  TNamingChoice choice;
  choice.Format = TakenPattern_;
  choice.Zone = TNamingChoice::TZone(Zone_->currentIndex());
  choice.ZoneName = ZoneName_->text();
  choice.AssumeZone = AssumeZone_->text();
  choice.Shift = Shift_->text();
  choice.UniqueNames = Unique_->isChecked();
  choice.SkipUnsetDates = SkipUnset_->isChecked();
  choice.SetMtime = SetMtime_->isChecked();
  choice.DateFromName = DateFromName_->isChecked();
  choice.DateFromMtime = DateFromMtime_->isChecked();
  choice.Companions = Companions_->isChecked();
  choice.CopyReplaces = CopyRule_->currentIndex() == 1;
  return choice;
}

QString TNamingDialog::Problem() const { return Problem_->text(); }

void TNamingDialog::ShowNotTaken(const QStringList& notTaken) {
  NotTaken_->setText(notTaken.isEmpty() ? QString()
                                        : QStringLiteral("Not taken from the last start: ") +
                                              notTaken.join(u'\n'));
  NotTaken_->setVisible(!notTaken.isEmpty());
}

void TNamingDialog::PresetChosen(int index) {
  if (index < 0 || index >= kCustomPreset) return;
  Pattern_->setText(QString::fromUtf8(PatternPresets[index].Format));
  PatternConfirmed();  // a preset is chosen, not typed
}

void TNamingDialog::PatternConfirmed() {
  // A pattern that cannot stand is not taken: the red message says why.
  if (Showing_ || Pattern_->text() == TakenPattern_ || !PatternProblem(Pattern_->text()).isEmpty()) return;
  TakenPattern_ = Pattern_->text();
  Changed();
}

void TNamingDialog::done(int result) {
  if (const QString typed = Pattern_->text(); typed != TakenPattern_) {
    if (const QString problem = PatternProblem(typed); problem.isEmpty()) {
      PatternConfirmed();
    } else {
      Pattern_->setText(TakenPattern_);
      if (OnPatternNotTaken) OnPatternNotTaken(PatternNotTakenText(typed, problem, TakenPattern_));
    }
  }
  QDialog::done(result);
}

void TNamingDialog::ShowState() {
  if (Showing_) return;
  TNamingChoice shown = Choice();
  shown.Format = Pattern_->text();
  // The preset list names the pattern shown, or "Custom".
  int preset = kCustomPreset;
  for (int i = 0; i < kCustomPreset; ++i)
    if (shown.Format == QString::fromUtf8(PatternPresets[i].Format)) preset = i;
  Preset_->setCurrentIndex(preset);
  ZoneName_->setEnabled(shown.Zone == TNamingChoice::TZone::Named);
  // A copy onto a taken name takes the next free name when names are unique.
  CopyRule_->setEnabled(!shown.UniqueNames);
  QString problem;
  ChoiceRunOptions(shown, problem);
  Problem_->setText(problem);
}

void TNamingDialog::Changed() {
  if (Showing_) return;
  ShowState();
  // The rest is handed on with the pattern in force, not one still being typed.
  const TNamingChoice choice = Choice();
  QString problem;
  if (ChoiceRunOptions(choice, problem) && OnChanged) OnChanged(choice);
}
