#include "support/TestNeeds.h"

#include <filesystem>
#include <system_error>

#include "FFLoad/EntryPoints.h"
#include "support/TempFolder.h"
#include "support/TestEnvironment.h"

namespace {

// A need that only POSIX systems meet.
std::string PosixOnly(const char* need) {
#ifdef _WIN32
  return std::string(need) + " (Windows has none)";
#else
  (void)need;
  return {};
#endif
}

std::string SymbolicLinksMissing() {
  TempFolder folder;
  std::error_code error;
  std::filesystem::create_symlink(folder / "target", folder / "link", error);
  return error ? "symbolic links (" + error.message() + ")" : std::string();
}

}  // namespace

std::string Missing(TNeed need) {
  switch (need) {
    case TNeed::SymbolicLinks: return SymbolicLinksMissing();
    case TNeed::Fifos: return PosixOnly("FIFOs");
    case TNeed::PosixSignals: return PosixOnly("POSIX signals");
    case TNeed::Terminals: return PosixOnly("pseudo-terminals");
    case TNeed::ResourceLimits: return PosixOnly("resource limits");
    case TNeed::MountNamespaces: return PosixOnly("mount namespaces");
    case TNeed::DevFull: return PosixOnly("a device that is always full");
    case TNeed::PosixNames: return PosixOnly("POSIX file names");
    case TNeed::PosixPathLimits: return PosixOnly("POSIX path limits");
    case TNeed::PosixErrorTexts: return PosixOnly("POSIX error texts");
    case TNeed::PosixPermissions: return PosixOnly("POSIX permissions");
  }
  return {};
}

std::string MissingEncoder(const char* name) {
  RequireMediaLibraries();
  return ff::avcodec.avcodec_find_encoder_by_name(name) ? std::string() : std::string("the encoder ") + name;
}

std::string MissingMuxer(const char* name) {
  RequireMediaLibraries();
  return ff::avformat.av_guess_format(name, nullptr, nullptr) ? std::string() : std::string("the muxer ") + name;
}

std::string MissingDecoder(const char* name) {
  RequireMediaLibraries();
  return ff::avcodec.avcodec_find_decoder_by_name(name) ? std::string() : std::string("the decoder ") + name;
}
