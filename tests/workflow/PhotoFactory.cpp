#include "workflow/PhotoFactory.h"

#include <gtest/gtest.h>
#include <libexif/exif-data.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "workflow/base/ReleasingOwner.h"
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
  // The camera's make and model stand in the first folder, as cameras write them.
  const bool camera = field.tag == EXIF_TAG_MAKE || field.tag == EXIF_TAG_MODEL;
  exif_content_add_entry(exif->ifd[camera ? EXIF_IFD_0 : EXIF_IFD_EXIF], entry.get());
}

// Stops the photo's making at the first failure; the test reports the exception.

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
