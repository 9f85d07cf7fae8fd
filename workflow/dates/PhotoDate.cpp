#include "workflow/dates/PhotoDate.h"

#include <libexif/exif-data.h>
#include <libexif/exif-loader.h>
#ifndef MORVANE_NO_HEIF
#include <libheif/heif.h>
#endif

#include <string_view>
#include <vector>

#include "workflow/dates/CreationTime.h"
#include "workflow/base/ReleasingOwner.h"
#include "Text/Trim.h"
#include "platform/RawFile.h"

namespace {

using ExifDataOwner = ReleasingOwner<ExifData, exif_data_unref>;
using ExifLoaderOwner = ReleasingOwner<ExifLoader, exif_loader_unref>;
#ifndef MORVANE_NO_HEIF
using HeifContextOwner = ReleasingOwner<heif_context, heif_context_free>;
using HeifHandleOwner = ReleasingOwner<heif_image_handle, heif_image_handle_release>;
#endif

constexpr unsigned char ExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};

struct TDateFields {
  ExifTag Date;
  ExifTag SubSeconds;
  ExifTag Offset;
  const char* DateName;
  const char* SubSecondsName;
  const char* OffsetName;
};

constexpr TDateFields DateFieldChoices[] = {
    {EXIF_TAG_DATE_TIME_ORIGINAL, EXIF_TAG_SUB_SEC_TIME_ORIGINAL, EXIF_TAG_OFFSET_TIME_ORIGINAL, "DateTimeOriginal",
     "SubSecTimeOriginal", "OffsetTimeOriginal"},
    {EXIF_TAG_DATE_TIME_DIGITIZED, EXIF_TAG_SUB_SEC_TIME_DIGITIZED, EXIF_TAG_OFFSET_TIME_DIGITIZED,
     "DateTimeDigitized", "SubSecTimeDigitized", "OffsetTimeDigitized"}};

// The text of an ASCII entry up to its first NUL; nothing when the tag is absent.
std::optional<std::string> AsciiField(ExifData* data, ExifTag tag) {
  const ExifEntry* entry = exif_data_get_entry(data, tag);
  if (!entry || entry->format != EXIF_FORMAT_ASCII || !entry->data) return std::nullopt;
  const std::string_view text(reinterpret_cast<const char*>(entry->data), entry->size);
  return std::string(text.substr(0, text.find('\0')));
}

// The digits of a fraction of a second ("77" is 0.77 s), trailing blanks allowed.
std::optional<std::uint32_t> ParseSubSeconds(std::string_view text) {
  text = text.substr(0, text.find_last_not_of(' ') + 1);
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  std::uint32_t microseconds = 0;
  for (std::size_t index = 0; index < 6; ++index)
    microseconds = microseconds * 10 + (index < text.size() ? static_cast<std::uint32_t>(text[index] - '0') : 0);
  return microseconds;
}

// "YYYY:MM:DD HH:MM:SS" as a creation time without zone.
std::optional<TCreationTime> ParseExifDate(std::string date) {
  if (date.size() != 19 || date[4] != ':' || date[7] != ':') return std::nullopt;
  date[4] = '-';
  date[7] = '-';
  return ParseCreationTime(date);
}

std::optional<TPhotoDate> DateFrom(ExifData* data, const TDateFields& fields) {
  const auto dateText = AsciiField(data, fields.Date);
  if (!dateText) return std::nullopt;
  auto time = ParseExifDate(*dateText);
  if (!time) return std::nullopt;
  TPhotoDate date{{}, {}, std::string("EXIF ") + fields.DateName, *dateText, {}};
  if (const auto subSeconds = AsciiField(data, fields.SubSeconds)) {
    if (const auto microseconds = ParseSubSeconds(*subSeconds)) {
      time->Microsecond = *microseconds;
      date.Source += std::string(", ") + fields.SubSecondsName;
      date.RawText += ", " + *subSeconds;
    }
  }
  if (const auto offset = AsciiField(data, fields.Offset)) {
    // The offset is read by the same rules as a creation time's zone.
    if (const auto zoned = ParseCreationTime("2000-01-01T00:00:00" + *offset);
        zoned && zoned->OffsetSeconds && !zoned->WrittenAsUtc) {
      time->OffsetSeconds = zoned->OffsetSeconds;
      date.Source += std::string(", ") + fields.OffsetName;
      date.RawText += ", " + *offset;
    }
  }
  date.CreationTime = FormatIsoCreationTime(*time);
  date.Time = *time;
  return date;
}

// An ASCII field without the blanks and NULs that cameras pad it with; empty when absent.
std::string TrimmedField(ExifData* data, ExifTag tag) {
  const std::optional<std::string> field = AsciiField(data, tag);
  return field ? text::TrimControls(*field) : std::string();
}

std::optional<TPhotoDate> DateFromExifData(ExifData* data) {
  for (const TDateFields& fields : DateFieldChoices) {
    if (auto date = DateFrom(data, fields)) {
      date->Camera = {TrimmedField(data, EXIF_TAG_MAKE), TrimmedField(data, EXIF_TAG_MODEL)};
      return date;
    }
  }
  return std::nullopt;
}

std::vector<unsigned char> FirstBytes(const std::string& fileName, std::size_t count) {
  std::vector<unsigned char> bytes(count);
  const platform::OwnedRawFile file(fileName, platform::FileAccess::Read);
  if (!file.valid()) return {};
  const std::int64_t got = platform::ReadRawFile(file.get(), bytes.data(), static_cast<std::int64_t>(count));
  bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return bytes;
}

// The file goes to the loader through the platform layer, which opens every name the
// system gives (the library's own file reading takes names in the narrow code page).
std::optional<TPhotoDate> ReadJpegDate(const std::string& fileName, const std::atomic<bool>* stop) {
  const ExifLoaderOwner loader(exif_loader_new());
  if (!loader) return std::nullopt;
  {
    const platform::OwnedRawFile file(fileName, platform::FileAccess::Read);
    if (!file.valid()) return std::nullopt;
    unsigned char buffer[4096];
    for (std::int64_t got; (got = platform::ReadRawFile(file.get(), buffer, sizeof buffer)) > 0;) {
      if (stop && stop->load()) return std::nullopt;
      if (!exif_loader_write(loader.get(), buffer, static_cast<unsigned int>(got))) break;
    }
  }
  const unsigned char* block = nullptr;
  unsigned int size = 0;
  exif_loader_get_buf(loader.get(), &block, &size);
  if (!block || size == 0) return std::nullopt;
  return PhotoDateFromExif(block, size);
}

#ifdef MORVANE_NO_HEIF
// An ISO media file whose brand is one of the HEIF image brands.
bool LooksLikeHeif(const std::vector<unsigned char>& start) {
  if (start.size() < 12 || std::string_view(reinterpret_cast<const char*>(start.data()) + 4, 4) != "ftyp")
    return false;
  const std::string_view brand(reinterpret_cast<const char*>(start.data()) + 8, 4);
  for (const std::string_view heif : {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1"})
    if (brand == heif) return true;
  return false;
}
#else
std::optional<TPhotoDate> ReadHeifDate(const std::string& fileName) {
  const HeifContextOwner context(heif_context_alloc());
  if (!context || heif_context_read_from_file(context.get(), fileName.c_str(), nullptr).code != heif_error_Ok)
    return std::nullopt;
  heif_image_handle* primary = nullptr;
  if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok) return std::nullopt;
  const HeifHandleOwner handle(primary);
  const int count = heif_image_handle_get_number_of_metadata_blocks(handle.get(), "Exif");
  std::vector<heif_item_id> ids(static_cast<std::size_t>(count > 0 ? count : 0));
  heif_image_handle_get_list_of_metadata_block_IDs(handle.get(), "Exif", ids.data(), count);
  for (const heif_item_id id : ids) {
    std::vector<unsigned char> block(heif_image_handle_get_metadata_size(handle.get(), id));
    if (block.size() < 4 || heif_image_handle_get_metadata(handle.get(), id, block.data()).code != heif_error_Ok)
      continue;
    // The block begins with the big-endian distance from its fifth byte to the TIFF header.
    const std::size_t offset = (std::size_t{block[0]} << 24) | (std::size_t{block[1]} << 16) |
                               (std::size_t{block[2]} << 8) | std::size_t{block[3]};
    if (offset > block.size() - 4) continue;
    if (auto date = PhotoDateFromExif(block.data() + 4 + offset, block.size() - 4 - offset)) return date;
  }
  return std::nullopt;
}
#endif

}  // namespace

std::optional<TPhotoDate> PhotoDateFromExif(const unsigned char* data, std::size_t size) {
  // libexif takes a block that begins with its header; a bare TIFF block gets one.
  std::vector<unsigned char> block;
  if (size < sizeof ExifHeader || !std::equal(ExifHeader, ExifHeader + sizeof ExifHeader, data)) {
    block.assign(ExifHeader, ExifHeader + sizeof ExifHeader);
    block.insert(block.end(), data, data + size);
    data = block.data();
    size = block.size();
  }
  const ExifDataOwner exif(exif_data_new());
  if (!exif) return std::nullopt;
  // Following the standard would make the library fill in missing mandatory fields, the
  // dates among them, with the current time: a photo without date would get one.
  exif_data_unset_option(exif.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
  exif_data_load_data(exif.get(), data, static_cast<unsigned int>(size));
  return DateFromExifData(exif.get());
}

std::optional<TPhotoDate> ReadPhotoDate(const std::string& fileName, [[maybe_unused]] std::string* unreadable,
                                        const std::atomic<bool>* stop) {
  const std::vector<unsigned char> start = FirstBytes(fileName, 12);
  if (start.size() >= 3 && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF) return ReadJpegDate(fileName, stop);
#ifdef MORVANE_NO_HEIF
  if (LooksLikeHeif(start) && unreadable) *unreadable = HeifReaderMissing;
#else
  if (start.size() >= 12 && heif_check_filetype(start.data(), static_cast<int>(start.size())) != heif_filetype_no)
    return ReadHeifDate(fileName);
#endif
  return std::nullopt;
}
