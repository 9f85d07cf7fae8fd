#include "support/TempFolder.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "Base/Utf8.h"

namespace fs = std::filesystem;

TempFolder::TempFolder() : TempFolder(fs::path()) {}

TempFolder::TempFolder(const fs::path& given) {
  const char* base = std::getenv("MORVANE_TEST_TMP");
  // In the system's own form ("Z:\\..." on Windows), as the programs spell the names they print.
  const fs::path root = fs::absolute(!given.empty()       ? given
                                     : base && *base ? fs::path(base)
                                                     : fs::temp_directory_path() / "morvane-tests")
                            .make_preferred();
  fs::create_directories(root);
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  for (;;) {
    std::ostringstream name;
    name << "t" << random() << "-" << counter++;
    path_ = root / name.str();
    if (fs::create_directory(path_)) break;
  }
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // A test may have taken permissions away; give them back so that everything goes.
  for (auto& entry : fs::recursive_directory_iterator(path_, ignored))
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

fs::path TempFolder::operator/(const std::string& name) const { return path_ / Utf8Path(name); }

fs::path TempFolder::WriteFile(const std::string& name, const std::string& bytes) const {
  fs::path file = *this / name;
  std::ofstream(file, std::ios::binary) << bytes;
  return file;
}

std::string ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

fs::path Utf8Path(const std::string& text) {
#ifdef _WIN32
  return fs::path(reinterpret_cast<const char8_t*>(text.c_str()));
#else
  return fs::path(text);
#endif
}

std::string Utf8(const fs::path& path) {
#ifdef _WIN32
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
#else
  return path.string();
#endif
}

std::u16string Wide(const fs::path& path) { return text::Utf8ToUtf16(Utf8(path)); }
