#include "workflow/PhotoFactory.h"

#include <gtest/gtest.h>
#include <libexif/exif-data.h>
#include <libheif/heif.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "workflow/ReleasingOwner.h"
#include "support/MediaFactory.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

void AddAsciiField(ExifData* exif, ExifMem* memory, const ExifField& field) {
  ReleasingOwner<ExifEntry, exif_entry_unref> entry(exif_entry_new_mem(memory));
  entry->tag = field.tag;
  entry->format = EXIF_FORMAT_ASCII;
  entry->components = field.text.size() + 1;
  entry->size = static_cast<unsigned int>(field.text.size() + 1);
  entry->data = static_cast<unsigned char*>(exif_mem_alloc(memory, entry->size));
  std::memcpy(entry->data, field.text.c_str(), entry->size);
  exif_content_add_entry(exif->ifd[EXIF_IFD_EXIF], entry.get());
}

// Stops the photo's making at the first failure; the test reports the exception.
void Check(const heif_error& error, const char* step) {
  if (error.code != heif_error_Ok) throw std::runtime_error(std::string(step) + ": " + error.message);
}

}  // namespace

std::string MakeExifBlock(const std::vector<ExifField>& fields) {
  ReleasingOwner<ExifMem, exif_mem_unref> memory(exif_mem_new_default());
  ReleasingOwner<ExifData, exif_data_unref> exif(exif_data_new_mem(memory.get()));
  exif_data_unset_option(exif.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
  exif_data_set_byte_order(exif.get(), EXIF_BYTE_ORDER_INTEL);
  for (const ExifField& field : fields) AddAsciiField(exif.get(), memory.get(), field);
  unsigned char* bytes = nullptr;
  unsigned int size = 0;
  exif_data_save_data(exif.get(), &bytes, &size);
  std::string block(reinterpret_cast<const char*>(bytes), size);
  exif_mem_free(memory.get(), bytes);
  return block;
}

fs::path MakeJpegWithExif(const fs::path& output, const std::vector<ExifField>& fields) {
  EXPECT_EQ(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48", "-frames:v", "1", output.string()}), 0)
      << "ffmpeg could not make " << output;
  if (fields.empty()) return output;
  const std::string jpeg = ReadWholeFile(output);
  const std::string block = MakeExifBlock(fields);
  const std::size_t length = block.size() + 2;
  const std::string segment = std::string("\xFF\xE1") + static_cast<char>(length >> 8) + static_cast<char>(length & 0xFF);
  std::ofstream(output, std::ios::binary | std::ios::trunc) << jpeg.substr(0, 2) << segment << block << jpeg.substr(2);
  return output;
}

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
