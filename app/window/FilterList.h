// The file-open dialog's filter list, written as "description|patterns|description|patterns..."
// with ";" between patterns, turned into Qt's name filters "description (p1 p2 ...)".
#pragma once
#include <QString>
#include <QStringList>

// One Qt name filter per description/pattern pair, in order. Empty patterns (a trailing ";")
// are left out; "*.*" means every file and becomes "*". A description without patterns
// is dropped.
QStringList ConvertFilterList(const QString& pairs);
