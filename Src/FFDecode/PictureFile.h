// Saving a bitmap as a picture file: a Windows bitmap for names ending in ".bmp" (any
// letter case), JPEG (quality 90, baseline, colour) for every other name. The file
// appears complete or not at all.
#pragma once
#include <string>
#include <string_view>

#include "FFDecode/Bitmap.h"

bool IsBitmapFileName(std::string_view fileName);

// The encoded file contents; empty, with `error` set, for an empty bitmap or one that is
// neither 24 nor 32 bits per pixel.
std::string EncodeBitmapFile(const TBitmap& bitmap, std::string& error);
std::string EncodeJpegFile(const TBitmap& bitmap, std::string& error);

// Encodes by the name's extension and writes the file. On false `error` says why; a file
// that was there before is unchanged.
bool SavePictureFile(const TBitmap& bitmap, const std::string& fileName, std::string& error);

// Saving a frame of the open media file `sourceFile` as `fileName`. A name that stands for
// the source itself (the same file under any name) or for anything but a regular file (a
// folder, a device, a pipe) is refused before anything is written; an existing picture is
// replaced and keeps its permission bits.
enum class TFrameSave { Saved, Refused, Failed };
// Why a frame of `sourceFile` may not be saved as `fileName` (the rule above); empty when
// it may, also when `fileName` does not exist yet. For a caller that refuses before it
// decodes; SaveFramePicture checks again.
std::string FrameTargetProblem(const std::string& fileName, const std::string& sourceFile);
TFrameSave SaveFramePicture(const TBitmap& bitmap, const std::string& fileName, const std::string& sourceFile,
                            std::string& error);
