// The program's window font: NanumGothicCoding, or any installed font that shows Korean.
#pragma once
#include <QFont>

// A regular font of the given pixel height whose family draws Hangul.
QFont WindowFont(int pixelHeight);
