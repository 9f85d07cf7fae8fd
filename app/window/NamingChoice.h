// The naming options chosen in the window, as the user gave them: the same options as the
// command line's (--format, --tz, --assume-tz, --shift, --unique, --skip-unset-dates, --set-mtime,
// --date-from-name, --date-from-mtime, --replace, --no-companions), turned into the
// workflow's run options for every run and remembered between starts.
#pragma once
#include <QString>
#include <QStringList>
#include <optional>

#include "workflow/options/RunOptions.h"

class QSettings;

struct TNamingChoice {
  // Recorded: each file's own recorded offset from UTC (added last: the stored numbers stay).
  enum class TZone { AsStored, Utc, Local, Named, Recorded };
  QString Format;            // empty: the creation time as the file stores it
  TZone Zone = TZone::AsStored;
  QString ZoneName;          // for Named
  QString AssumeZone;        // empty: times without zone are read as written
  QString Shift;             // "[+|-][D ]HH:MM[:SS]" added to every date; empty: none
  bool UniqueNames = false;
  bool SkipUnsetDates = false;
  bool CopyReplaces = false;  // a copy onto a different file of the same name replaces it
  bool SetMtime = false;       // a renamed or copied file's modification time is set to its date
  bool DateFromName = false;   // a date in the file's name when the file holds none
  bool DateFromMtime = false;  // the modification time when nothing else gives a date
  bool Companions = true;      // sidecars and Live Photo clips go along with their file

  bool operator==(const TNamingChoice&) const = default;
};

// The patterns offered ready-made, the first being the default (no pattern).
struct TPatternPreset {
  const char* Label;
  const char* Format;
};
inline constexpr TPatternPreset PatternPresets[] = {
    {"As stored (2015-06-01T10_20_30.000000Z)", ""},
    {"%Y%m%d_%H%M%S", "%Y%m%d_%H%M%S"},
    {"%Y-%m-%d %H.%M.%S", "%Y-%m-%d %H.%M.%S"},
    {"Folders by month: %Y/%m/%Y%m%d_%H%M%S", "%Y/%m/%Y%m%d_%H%M%S"},
    {"Camera model: %Y%m%d_%H%M%S_%{model}", "%Y%m%d_%H%M%S_%{model}"},
};

// What is wrong with `format` as a pattern, or empty when it stands.
QString PatternProblem(const QString& format);
// What is told when the naming options close on a pattern that cannot stand (`typed`, wrong
// for `problem`): it is not taken, and the pattern in force (`inForce`) names on.
QString PatternNotTakenText(const QString& typed, const QString& problem, const QString& inForce);

// The run options for `choice` (lookup path, workers and journal left at their defaults);
// nothing, with `problem` set, for a pattern that cannot stand or a zone the system's zone
// database does not hold.
std::optional<TRunOptions> ChoiceRunOptions(const TNamingChoice& choice, QString& problem);

TNamingChoice LoadNamingChoice(const QSettings& settings);
// `remembered` with each part that cannot stand (a pattern that is no pattern, a zone the
// system's zone database does not hold, a shift that is no amount) put back to its default, so that the rest still
// holds; what was not taken is said in `notTaken`, one text for each part.
TNamingChoice UsablePartsOf(TNamingChoice remembered, QStringList& notTaken);
void SaveNamingChoice(QSettings& settings, const TNamingChoice& choice);
