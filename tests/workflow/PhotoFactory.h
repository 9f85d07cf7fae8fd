// Photos made at test time: a JPEG written by ffmpeg or a HEIC encoded by libheif, with an
// EXIF block that libexif itself builds.
#pragma once
#include <libexif/exif-tag.h>

#include <filesystem>
#include <string>
#include <vector>

struct ExifField {
  ExifTag tag;
  std::string text;  // stored as ASCII with its closing NUL
};

// "Exif\0\0" and a little-endian TIFF block whose EXIF folder holds `fields` (Make and Model
// in the first folder, where cameras write them).
std::string MakeExifBlock(const std::vector<ExifField>& fields);

// A 64x48 JPEG; with `fields`, an APP1 segment holding MakeExifBlock(fields) follows its
// start marker. Fails the current test when ffmpeg fails.
std::filesystem::path MakeJpegWithExif(const std::filesystem::path& output, const std::vector<ExifField>& fields);

// A 64x64 HEIC image (HEVC); with `fields`, an EXIF metadata block on the primary image.
// Fails the current test when libheif cannot encode.
std::filesystem::path MakeHeicWithExif(const std::filesystem::path& output, const std::vector<ExifField>& fields);
