// The window's settings file as plain text, for QSettings: `key=value` lines under `[group]`
// headers as in an INI file, every value kept as the text it is. Unlike Qt's INI format
// nothing in the file is ever turned into data by QDataStream (no @Variant(...),
// @ByteArray(...) or @Rect(...): such a value is just its text), so a damaged or hostile
// file can only give texts that the window then checks.
//
// Reading is bounded and takes what it can: a file over 1 MiB is not read at all (taken as
// empty), a line over 16 KiB is skipped, and so is a line that is no header, comment (; or #)
// or key=value line, or whose group or key holds anything but letters, digits, '_', '-' and
// '.'; the keys under a skipped header are skipped with it. Spaces around keys and values
// are not part of them. A value is UTF-8 (bytes that are not become U+FFFD) in which "\\" stands
// for a backslash and "\xHH" (two hex digits) for that byte; any other backslash is itself.
//
// Writing gives back what reading takes: texts, booleans ("true"/"false") and numbers, each
// with "\\" and "\xHH" for backslashes, control characters and spaces at either end; a value
// of another kind, or a key or line that reading would skip, is not written.
#pragma once
#include <QSettings>

// Registered with QSettings on the first call.
QSettings::Format PlainSettingsFormat();

// The format's two halves, as QSettings calls them.
bool ReadPlainSettings(QIODevice& device, QSettings::SettingsMap& map);
bool WritePlainSettings(QIODevice& device, const QSettings::SettingsMap& map);
