// The web page of the media component's maker: one address per language variant, set when
// the program is built, followed by the program's name.
#pragma once
#include <QString>

// The maker's address for the user's language: the Chinese variant when the system's
// language is Chinese, the other one otherwise.
QString VendorAddress();

// The address, then "/?from=exe_" and the executable's name without folder and extension,
// with "[" and "]" removed and blanks turned into "_"; the letters A to Z of the whole
// address are lower-cased, nothing else changes.
QString VendorPageAddress(const QString& vendorAddress, const QString& executablePath);
