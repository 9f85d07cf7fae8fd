#include "common/WindowFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

// The first installed family that draws Hangul, NanumGothicCoding preferred; empty when
// the system has none, so that Qt's own fallback picks per character.
QString KoreanFamily() {
  const QStringList installed = QFontDatabase::families(QFontDatabase::Korean);
  for (const char* preferred : {"NanumGothicCoding", "NanumGothic", "Noto Sans CJK KR", "UnDotum"})
    if (installed.contains(QString::fromLatin1(preferred))) return QString::fromLatin1(preferred);
  return installed.isEmpty() ? QString() : installed.first();
}

}  // namespace

QFont WindowFont(int pixelHeight) {
  static const QString family = KoreanFamily();
  QFont font;
  if (!family.isEmpty()) font.setFamilies({family});
  font.setPixelSize(pixelHeight);
  font.setWeight(QFont::Normal);
  font.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
  return font;
}
