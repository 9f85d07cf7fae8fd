// The version reader: a file's version block, read once when the reader is made.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TVersionInfo {
 public:
  // Reads the file's version block at once. A file without one, or one that cannot be
  // read, gives an invalid reader whose queries all return the empty text.
  explicit TVersionInfo(const std::string& fileName);

  const std::string& FileName() const { return fileName_; }
  std::uint32_t Size() const { return size_; }
  bool Valid() const { return valid_; }

  // The "FileVersion" string of the block's first translation; when that is missing or
  // empty, the fixed part's file version as "a.b.c.d"; empty when the block has neither.
  std::u16string FileVersion() const;

 private:
  std::u16string TranslationKey() const;
  std::u16string StringValue(const std::u16string& path) const;
  std::u16string FixedFileVersion() const;

  std::string fileName_;
  std::uint32_t size_ = 0;
  bool valid_ = false;
  std::vector<unsigned char> data_;
};
