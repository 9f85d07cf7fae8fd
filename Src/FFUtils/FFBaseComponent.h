// The base of the media components: a name, the free About text, the component version
// and the time limit for connecting to and reading from a media source.
#pragma once
#include <cstdint>
#include <string>

class TFFBaseComponent {
 public:
  TFFBaseComponent() = default;
  virtual ~TFFBaseComponent() = default;

  std::string Name;
  std::string About;
  const std::string& Version() const { return Version_; }
  // Milliseconds; zero or less switches the limit off.
  std::int32_t IOTimeout = 30000;

 private:
  std::string Version_ = "5.5";
};
