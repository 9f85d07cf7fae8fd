// A fresh folder for one test, removed with everything in it when the test ends.
#pragma once
#include <filesystem>
#include <string>

class TempFolder {
 public:
  TempFolder();
  // Below `root` instead of the tests' own folder, when `root` is not empty.
  explicit TempFolder(const std::filesystem::path& root);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Names are UTF-8 text, as the component takes them on every system.
  std::filesystem::path operator/(const std::string& name) const;
  // Writes `bytes` to a file in the folder and returns its path.
  std::filesystem::path WriteFile(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

std::string ReadWholeFile(const std::filesystem::path& path);
// A path of UTF-8 text, and the UTF-8 text of a path: on Windows a path's narrow form is in
// the system's code page, which holds few of the characters that names may have.
std::filesystem::path Utf8Path(const std::string& text);
std::string Utf8(const std::filesystem::path& path);
// The path as the component's UTF-16 text.
std::u16string Wide(const std::filesystem::path& path);
