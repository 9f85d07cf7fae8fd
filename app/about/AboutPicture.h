// The about box's picture, made at build time by tools/MakeAboutPicture.cpp.
#pragma once
#include <span>

inline constexpr int AboutPictureWidth = 406;
inline constexpr int AboutPictureHeight = 385;

// The JPEG bytes, embedded in the program.
std::span<const unsigned char> AboutPictureJpeg();
