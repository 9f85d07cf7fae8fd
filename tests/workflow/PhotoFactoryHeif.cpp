#include "workflow/PhotoFactory.h"

#include <libheif/heif.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "workflow/base/ReleasingOwner.h"

namespace fs = std::filesystem;

namespace {

void Check(const heif_error& error, const char* step) {
  if (error.code != heif_error_Ok) throw std::runtime_error(std::string(step) + ": " + error.message);
}

}  // namespace

fs::path MakeHeicWithExif(const fs::path& output, const std::vector<ExifField>& fields) {
  ReleasingOwner<heif_context, heif_context_free> context(heif_context_alloc());
  heif_image* rawImage = nullptr;
  Check(heif_image_create(64, 64, heif_colorspace_YCbCr, heif_chroma_420, &rawImage), "image");
  ReleasingOwner<heif_image, heif_image_release> image(rawImage);
  for (const heif_channel channel : {heif_channel_Y, heif_channel_Cb, heif_channel_Cr}) {
    const int side = channel == heif_channel_Y ? 64 : 32;
    Check(heif_image_add_plane(image.get(), channel, side, side, 8), "plane");
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image.get(), channel, &stride);
    for (int row = 0; row < side; ++row) std::memset(plane + row * stride, 40 + row, static_cast<std::size_t>(side));
  }
  heif_encoder* rawEncoder = nullptr;
  Check(heif_context_get_encoder_for_format(context.get(), heif_compression_HEVC, &rawEncoder), "encoder");
  ReleasingOwner<heif_encoder, heif_encoder_release> encoder(rawEncoder);
  heif_image_handle* rawHandle = nullptr;
  Check(heif_context_encode_image(context.get(), image.get(), encoder.get(), nullptr, &rawHandle), "encode");
  ReleasingOwner<heif_image_handle, heif_image_handle_release> handle(rawHandle);
  if (!fields.empty()) {
    const std::string block = MakeExifBlock(fields);
    Check(heif_context_add_exif_metadata(context.get(), handle.get(), block.data(), static_cast<int>(block.size())),
          "exif");
  }
  Check(heif_context_write_to_file(context.get(), output.string().c_str()), "write");
  return output;
}

// The HEVC encoder behind libheif keeps a few allocations of its own for the life of the
// process; leak checking in sanitizer builds would report them as ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libx265.so\n"; }
