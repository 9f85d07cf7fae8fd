#include "FFDecode/PictureFile.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

#include "Text/Ascii.h"
#include "Text/Format.h"
#include "platform/FileSystem.h"

namespace {

constexpr int kJpegQuality = 90;

bool CheckSavable(const TBitmap& bitmap, std::string& error) {
  if (bitmap.Empty()) {
    error = "the picture is empty.";
    return false;
  }
  if (bitmap.BitsPerPixel() != 24 && bitmap.BitsPerPixel() != 32) {
    error = text::Format("pictures of %d bits per pixel cannot be saved.", {bitmap.BitsPerPixel()});
    return false;
  }
  return true;
}

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// libjpeg reports a fatal error through this hook; it must not return, so it jumps back.
struct JpegErrorManager {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrorManager*>(info->err);
  (*info->err->format_message)(info, errors->message);
  std::longjmp(errors->jump, 1);
}

}  // namespace

bool IsBitmapFileName(std::string_view fileName) {
  return fileName.size() >= 4 && text::EqualsIgnoringAsciiCase(fileName.substr(fileName.size() - 4), ".bmp");
}

std::string EncodeBitmapFile(const TBitmap& bitmap, std::string& error) {
  if (!CheckSavable(bitmap, error)) return {};
  const std::uint32_t headerSize = 14 + 40;
  const auto rowSize = static_cast<std::uint32_t>(bitmap.Stride());
  const std::uint32_t imageSize = rowSize * static_cast<std::uint32_t>(bitmap.Height());
  std::string out;
  out.reserve(headerSize + imageSize);
  out += "BM";
  PutLittleEndian(out, headerSize + imageSize, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, headerSize, 4);
  PutLittleEndian(out, 40, 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(bitmap.Width()), 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(bitmap.Height()), 4);  // positive: bottom row first
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, static_cast<std::uint32_t>(bitmap.BitsPerPixel()), 2);
  PutLittleEndian(out, 0, 4);  // no compression
  PutLittleEndian(out, imageSize, 4);
  PutLittleEndian(out, 2835, 4);  // 72 dots per inch
  PutLittleEndian(out, 2835, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, 0, 4);
  for (int y = bitmap.Height() - 1; y >= 0; --y) out.append(reinterpret_cast<const char*>(bitmap.Row(y)), rowSize);
  return out;
}

std::string EncodeJpegFile(const TBitmap& bitmap, std::string& error) {
  if (!CheckSavable(bitmap, error)) return {};
  jpeg_compress_struct info{};
  JpegErrorManager errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = OnJpegError;
  unsigned char* memory = nullptr;
  unsigned long size = 0;
  // Everything setjmp must see after a jump is declared before it.
  std::vector<JSAMPLE> line(static_cast<std::size_t>(bitmap.Width()) * 3);
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    std::free(memory);
    error = errors.message;
    return {};
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &memory, &size);
  info.image_width = static_cast<JDIMENSION>(bitmap.Width());
  info.image_height = static_cast<JDIMENSION>(bitmap.Height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, kJpegQuality, TRUE);
  jpeg_start_compress(&info, TRUE);
  const int bytesPerPixel = bitmap.BitsPerPixel() / 8;
  while (info.next_scanline < info.image_height) {
    const std::uint8_t* row = bitmap.Row(static_cast<int>(info.next_scanline));
    // The rows hold blue, green, red (and a fourth byte for 32 bits).
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint8_t* pixel = row + x * bytesPerPixel;
      line[static_cast<std::size_t>(x) * 3] = pixel[2];
      line[static_cast<std::size_t>(x) * 3 + 1] = pixel[1];
      line[static_cast<std::size_t>(x) * 3 + 2] = pixel[0];
    }
    JSAMPROW rows[1] = {line.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string out(reinterpret_cast<const char*>(memory), size);
  std::free(memory);
  return out;
}

bool SavePictureFile(const TBitmap& bitmap, const std::string& fileName, std::string& error) {
  const std::string bytes =
      IsBitmapFileName(fileName) ? EncodeBitmapFile(bitmap, error) : EncodeJpegFile(bitmap, error);
  if (bytes.empty()) return false;
  const TResult written = platform::WriteFileReplacing(fileName, bytes);
  if (!written) error = written.Message();
  return written.ok();
}

std::string FrameTargetProblem(const std::string& fileName, const std::string& sourceFile) {
  platform::FileStatus target;
  if (!platform::GetFileStatus(fileName, target)) return {};
  if (!target.isRegularFile) return "not a regular file; the picture would replace it";
  platform::FileStatus source;
  if (platform::GetFileStatus(sourceFile, source) && source.device == target.device &&
      source.inode == target.inode)
    return "this is the media file the frame comes from";
  return {};
}

TFrameSave SaveFramePicture(const TBitmap& bitmap, const std::string& fileName, const std::string& sourceFile,
                            std::string& error) {
  error = FrameTargetProblem(fileName, sourceFile);
  if (!error.empty()) return TFrameSave::Refused;
  return SavePictureFile(bitmap, fileName, error) ? TFrameSave::Saved : TFrameSave::Failed;
}
