#include "about/JpegReader.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>  // jpeglib.h needs size_t and FILE declared first

#include <jpeglib.h>

namespace {

// Large enough for any picture of ours, small enough that a hostile header cannot make
// us ask for gigabytes.
constexpr unsigned long kMaxPixels = 64ul * 1024 * 1024;

// libjpeg's default error exit ends the process; ours jumps back into DecodeInto.
struct ErrorManager {
  jpeg_error_mgr pub;  // first, so that libjpeg's pointer to it leads back here
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

ErrorManager& Errors(j_common_ptr info) { return *reinterpret_cast<ErrorManager*>(info->err); }

[[noreturn]] void ExitByJump(j_common_ptr info) {
  (*info->err->format_message)(info, Errors(info).message);
  std::longjmp(Errors(info).jump, 1);
}

// Level -1 is a warning about corrupt data; the rest is tracing. Nothing goes to stderr.
void KeepFirstWarning(j_common_ptr info, int level) {
  if (level >= 0) return;
  if (info->err->num_warnings++ == 0) (*info->err->format_message)(info, Errors(info).message);
}

class Decompressor {
 public:
  explicit Decompressor(ErrorManager& errors) {
    info_.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = ExitByJump;
    errors.pub.emit_message = KeepFirstWarning;
    errors.message[0] = '\0';
  }
  // Safe also when creation failed half-way or never happened: the struct starts zeroed.
  ~Decompressor() { jpeg_destroy_decompress(&info_); }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;

  jpeg_decompress_struct& info() { return info_; }

 private:
  jpeg_decompress_struct info_{};
};

// A libjpeg error lands at the setjmp below. Every object this frame touches after setjmp
// lives in the caller's frame, so none is left half-destroyed or indeterminate.
bool DecodeInto(jpeg_decompress_struct& info, ErrorManager& errors,
                std::span<const unsigned char> data, RgbPicture& picture) {
  if (setjmp(errors.jump) != 0) return false;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  if (static_cast<unsigned long>(info.image_width) * info.image_height > kMaxPixels) {
    std::snprintf(errors.message, sizeof errors.message, "Picture too large (%u x %u)",
                  info.image_width, info.image_height);
    return false;
  }
  jpeg_start_decompress(&info);
  const std::size_t stride = static_cast<std::size_t>(info.output_width) * 3;
  picture.width = static_cast<int>(info.output_width);
  picture.height = static_cast<int>(info.output_height);
  picture.rgb.resize(stride * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = picture.rgb.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return errors.pub.num_warnings == 0;
}

}  // namespace

bool DecodeJpeg(std::span<const unsigned char> data, RgbPicture& picture, std::string& error) {
  picture = {};
  error.clear();
  if (data.empty()) {
    error = "No JPEG data";
    return false;
  }
  ErrorManager errors;
  Decompressor decompressor(errors);
  if (DecodeInto(decompressor.info(), errors, data, picture)) return true;
  picture = {};
  error = errors.message;
  return false;
}
