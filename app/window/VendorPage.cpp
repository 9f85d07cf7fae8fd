#include "window/VendorPage.h"

#include <QFileInfo>
#include <QLocale>

QString VendorAddress() {
  const bool chinese = QLocale::system().language() == QLocale::Chinese;
  return QString::fromUtf8(chinese ? MORVANE_VENDOR_ADDRESS_CHINESE : MORVANE_VENDOR_ADDRESS);
}

QString VendorPageAddress(const QString& vendorAddress, const QString& executablePath) {
  QString name = QFileInfo(executablePath).completeBaseName();
  name.remove(QLatin1Char('[')).remove(QLatin1Char(']')).replace(QLatin1Char(' '), QLatin1Char('_'));
  QString address = vendorAddress + QStringLiteral("/?from=exe_") + name;
  for (QChar& c : address)
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + ('a' - 'A'));
  return address;
}
