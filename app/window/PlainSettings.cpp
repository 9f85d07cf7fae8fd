#include "window/PlainSettings.h"

#include <QByteArrayView>
#include <QIODevice>
#include <algorithm>
#include <optional>

namespace {

constexpr qsizetype kMostFileBytes = 1 << 20;
constexpr qsizetype kMostLineBytes = 16 << 10;  // a line without its end

bool IsNameByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
         c == '.';
}

bool IsName(QByteArrayView text) { return !text.isEmpty() && std::all_of(text.begin(), text.end(), IsNameByte); }

bool IsName(const QString& text) {
  return !text.isEmpty() &&
         std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80 && IsNameByte(char(c.unicode())); });
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

QString Unescaped(QByteArrayView text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
      bytes += '\\';
      i += 1;
      continue;
    }
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
      const int high = HexDigit(text[i + 2]);
      const int low = HexDigit(text[i + 3]);
      if (high >= 0 && low >= 0) {
        bytes += char(high * 16 + low);
        i += 3;
        continue;
      }
    }
    bytes += text[i];
  }
  return QString::fromUtf8(bytes);
}

QByteArray Escaped(const QString& value) {
  const QByteArray bytes = value.toUtf8();
  QByteArray text;
  text.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    const bool edgeSpace = byte == ' ' && (i == 0 || i == bytes.size() - 1);
    if (byte == '\\') {
      text += "\\\\";
    } else if (byte < 0x20 || byte == 0x7f || edgeSpace) {
      static constexpr char digits[] = "0123456789abcdef";
      text += "\\x";
      text += digits[byte >> 4];
      text += digits[byte & 0xf];
    } else {
      text += char(byte);
    }
  }
  return text;
}

// "name=value\n", or nothing for what reading would not take back.
std::optional<QByteArray> Line(const QString& name, const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
      break;
    default:
      return std::nullopt;
  }
  if (!IsName(name)) return std::nullopt;
  QByteArray line = name.toLatin1() + '=' + Escaped(value.toString());
  if (line.size() > kMostLineBytes) return std::nullopt;
  return line + '\n';
}

}  // namespace

QSettings::Format PlainSettingsFormat() {
  static const QSettings::Format format =
      QSettings::registerFormat(QStringLiteral("conf"), ReadPlainSettings, WritePlainSettings);
  return format;
}

bool ReadPlainSettings(QIODevice& device, QSettings::SettingsMap& map) {
  // Whatever cannot be read is left out: the file is never refused, so that saving always
  // writes a good one over it.
  const QByteArray data = device.read(kMostFileBytes + 1);
  if (data.size() > kMostFileBytes) return true;
  QString group;        // empty: before the first header
  bool inGroup = true;  // the keys under the last header are taken
  for (qsizetype start = 0; start < data.size();) {
    qsizetype end = data.indexOf('\n', start);
    if (end < 0) end = data.size();
    const QByteArrayView line = QByteArrayView(data).sliced(start, end - start).trimmed();
    const bool tooLong = end - start > kMostLineBytes;
    start = end + 1;
    if (tooLong || line.isEmpty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      const QByteArrayView name = line.sliced(1, line.size() - 2).trimmed();
      inGroup = IsName(name);
      group = inGroup ? QString::fromLatin1(name) : QString();
      continue;
    }
    const qsizetype equals = line.indexOf('=');
    if (!inGroup || equals < 0) continue;
    const QByteArrayView key = line.first(equals).trimmed();
    if (!IsName(key)) continue;
    const QString name = QString::fromLatin1(key);
    map.insert(group.isEmpty() ? name : group + u'/' + name, Unescaped(line.sliced(equals + 1).trimmed()));
  }
  return true;
}

bool WritePlainSettings(QIODevice& device, const QSettings::SettingsMap& map) {
  QByteArray text;
  // Keys without a group go first: reading takes them only before the first header.
  for (auto it = map.begin(); it != map.end(); ++it) {
    if (it.key().contains(u'/')) continue;
    if (const auto line = Line(it.key(), it.value()); line && text.size() + line->size() <= kMostFileBytes)
      text += *line;
  }
  // The keys of a group follow one another in the map: they share its name and a slash.
  QString group;
  for (auto it = map.begin(); it != map.end(); ++it) {
    const qsizetype slash = it.key().indexOf(u'/');
    if (slash < 0) continue;
    const QString name = it.key().first(slash);
    const auto line = Line(it.key().sliced(slash + 1), it.value());
    if (!line || !IsName(name)) continue;
    QByteArray piece = *line;
    if (name != group) piece = (text.isEmpty() ? "[" : "\n[") + name.toLatin1() + "]\n" + piece;
    if (text.size() + piece.size() > kMostFileBytes) continue;
    text += piece;
    group = name;
  }
  return device.write(text) == text.size();
}
