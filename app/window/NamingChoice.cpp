#include "window/NamingChoice.h"

#include <QSettings>

#include "workflow/naming/NameFormat.h"
#include "workflow/options/NamingRequest.h"
#include "workflow/dates/TimeShift.h"
#include "workflow/dates/TimeZone.h"

namespace {

// The zone named `name`; `problem` is set when there is none by that name.
std::optional<TTimeZone> Zone(const QString& label, const QString& name, QString& problem) {
  std::string why;
  std::optional<TTimeZone> zone = TTimeZone::Find(name.trimmed().toStdString(), &why);
  if (!zone)
    problem = label + ": " +
              (why.empty() ? QStringLiteral("unknown time zone '%1'").arg(name.trimmed()) : QString::fromStdString(why));
  return zone;
}

const QString kFormat = QStringLiteral("naming/format");
const QString kZone = QStringLiteral("naming/zone");
const QString kZoneName = QStringLiteral("naming/zoneName");
const QString kAssumeZone = QStringLiteral("naming/assumeZone");
const QString kShift = QStringLiteral("naming/shift");
const QString kUnique = QStringLiteral("naming/unique");
const QString kSkipUnset = QStringLiteral("naming/skipUnsetDates");
const QString kCopyReplaces = QStringLiteral("naming/copyReplaces");
const QString kSetMtime = QStringLiteral("naming/setMtime");
const QString kDateFromName = QStringLiteral("naming/dateFromName");
const QString kDateFromMtime = QStringLiteral("naming/dateFromMtime");
const QString kCompanions = QStringLiteral("naming/companions");

// The zone of the name in the command line's words.
std::string ZoneWord(const TNamingChoice& choice) {
  switch (choice.Zone) {
    case TNamingChoice::TZone::AsStored:
      return {};
    case TNamingChoice::TZone::Utc:
      return "UTC";
    case TNamingChoice::TZone::Local:
      return "local";
    case TNamingChoice::TZone::Named:
      return choice.ZoneName.trimmed().toStdString();
    case TNamingChoice::TZone::Recorded:
      return "recorded";
  }
  return {};
}

TNamingRequest RequestOf(const TNamingChoice& choice) {
  TNamingRequest request;
  request.Format = choice.Format.toStdString();
  request.Tz = ZoneWord(choice);
  request.AssumeTz = choice.AssumeZone.trimmed().toStdString();
  request.Shift = choice.Shift.trimmed().toStdString();
  request.SkipUnsetDates = choice.SkipUnsetDates;
  request.SetMtime = choice.SetMtime;
  request.DateFromName = choice.DateFromName;
  request.DateFromMtime = choice.DateFromMtime;
  request.Unique = choice.UniqueNames;
  request.Replace = choice.CopyReplaces;
  request.Companions = choice.Companions;
  return request;
}

}  // namespace

QString PatternProblem(const QString& format) {
  return QString::fromStdString(CheckNameFormat(format.toStdString()));
}

QString PatternNotTakenText(const QString& typed, const QString& problem, const QString& inForce) {
  const QString names = inForce.isEmpty() ? QStringLiteral("names stay the creation time as stored")
                                          : QStringLiteral("names keep the pattern \"%1\"").arg(inForce);
  return QStringLiteral("Naming options closed: pattern \"%1\" not taken (%2); %3").arg(typed, problem, names);
}

std::optional<TRunOptions> ChoiceRunOptions(const TNamingChoice& choice, QString& problem) {
  problem.clear();
  // A named zone is looked up by its name: an empty name is not the request's "no
  // conversion", and "recorded" is no zone's name (the recorded offset is a zone choice).
  if (const QString name = choice.ZoneName.trimmed();
      choice.Zone == TNamingChoice::TZone::Named && (name.isEmpty() || name == QStringLiteral("recorded"))) {
    Zone(QStringLiteral("Time zone"), choice.ZoneName, problem);
    return std::nullopt;
  }
  TNamingProblem why;
  std::optional<TRunOptions> options = RunOptionsOf(RequestOf(choice), why);
  if (options) return options;
  const QString label = why.Option == TNamingProblem::TOption::Format  ? QStringLiteral("Pattern")
                        : why.Option == TNamingProblem::TOption::Tz    ? QStringLiteral("Time zone")
                        : why.Option == TNamingProblem::TOption::Shift ? QStringLiteral("Clock shift")
                                                                       : QStringLiteral("Assumed zone");
  problem = label + QStringLiteral(": ") + QString::fromStdString(why.Why);
  return std::nullopt;
}

TNamingChoice UsablePartsOf(TNamingChoice remembered, QStringList& notTaken) {
  notTaken.clear();
  if (const QString why = PatternProblem(remembered.Format); !why.isEmpty()) {
    notTaken << QStringLiteral("pattern \"%1\" cannot be used (%2); names are the creation time as stored")
                    .arg(remembered.Format, why);
    remembered.Format.clear();
  }
  QString problem;
  if (remembered.Zone == TNamingChoice::TZone::Named && !Zone({}, remembered.ZoneName, problem)) {
    notTaken << QStringLiteral("time zone \"%1\" not known; UTC is used").arg(remembered.ZoneName.trimmed());
    remembered.Zone = TNamingChoice::TZone::Utc;
  } else if (remembered.Zone == TNamingChoice::TZone::Local &&
             !Zone(QStringLiteral("local time zone"), QStringLiteral("local"), problem)) {
    notTaken << problem + QStringLiteral("; UTC is used");
    remembered.Zone = TNamingChoice::TZone::Utc;
  }
  if (!remembered.AssumeZone.trimmed().isEmpty() && !Zone({}, remembered.AssumeZone, problem)) {
    notTaken << QStringLiteral("assumed zone \"%1\" not known; times without zone are taken as written")
                    .arg(remembered.AssumeZone.trimmed());
    remembered.AssumeZone.clear();
  }
  const QString shift = remembered.Shift.trimmed();
  if (std::string why; !shift.isEmpty() && !ParseTimeShift(shift.toStdString(), why)) {
    notTaken << QStringLiteral("clock shift \"%1\" is no amount; dates are not shifted").arg(shift);
    remembered.Shift.clear();
  }
  return remembered;
}

TNamingChoice LoadNamingChoice(const QSettings& settings) {
  TNamingChoice choice;
  choice.Format = settings.value(kFormat).toString();
  const int zone = settings.value(kZone, 0).toInt();
  if (zone >= 0 && zone <= static_cast<int>(TNamingChoice::TZone::Recorded)) choice.Zone = TNamingChoice::TZone(zone);
  choice.ZoneName = settings.value(kZoneName).toString();
  choice.AssumeZone = settings.value(kAssumeZone).toString();
  choice.Shift = settings.value(kShift).toString();
  choice.UniqueNames = settings.value(kUnique, false).toBool();
  choice.SkipUnsetDates = settings.value(kSkipUnset, false).toBool();
  choice.CopyReplaces = settings.value(kCopyReplaces, false).toBool();
  choice.SetMtime = settings.value(kSetMtime, false).toBool();
  choice.DateFromName = settings.value(kDateFromName, false).toBool();
  choice.DateFromMtime = settings.value(kDateFromMtime, false).toBool();
  choice.Companions = settings.value(kCompanions, true).toBool();
  return choice;
}

void SaveNamingChoice(QSettings& settings, const TNamingChoice& choice) {
  settings.setValue(kFormat, choice.Format);
  settings.setValue(kZone, static_cast<int>(choice.Zone));
  settings.setValue(kZoneName, choice.ZoneName);
  settings.setValue(kAssumeZone, choice.AssumeZone);
  settings.setValue(kShift, choice.Shift);
  settings.setValue(kUnique, choice.UniqueNames);
  settings.setValue(kSkipUnset, choice.SkipUnsetDates);
  settings.setValue(kCopyReplaces, choice.CopyReplaces);
  settings.setValue(kSetMtime, choice.SetMtime);
  settings.setValue(kDateFromName, choice.DateFromName);
  settings.setValue(kDateFromMtime, choice.DateFromMtime);
  settings.setValue(kCompanions, choice.Companions);
}
