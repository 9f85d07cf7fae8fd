#include "window/FilterList.h"

namespace {

QStringList Patterns(const QString& patternList) {
  QStringList patterns;
  for (const QString& pattern : patternList.split(u';', Qt::SkipEmptyParts)) {
    const QString trimmed = pattern.trimmed();
    if (trimmed.isEmpty()) continue;
    patterns << (trimmed == u"*.*" ? QStringLiteral("*") : trimmed);
  }
  return patterns;
}

}  // namespace

QStringList ConvertFilterList(const QString& pairs) {
  const QStringList parts = pairs.split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QStringList patterns = Patterns(parts[i + 1]);
    if (patterns.isEmpty()) continue;
    filters << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns.join(u' '));
  }
  return filters;
}
