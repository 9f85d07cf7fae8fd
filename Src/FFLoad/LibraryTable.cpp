#include <iterator>

#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"
#include "platform/LibraryNames.h"

namespace {

// The libraries' own registration calls, made each time a library is bound, and avformat's
// clean-up before it is unbound. Calls that today's generation no longer exports are skipped.
void RegisterCodecs() {
  if (ff::avcodec.avcodec_register_all) ff::avcodec.avcodec_register_all();
}

void RegisterDevices() { ff::avdevice.avdevice_register_all(); }

void RegisterFilters() {
  if (ff::avfilter.avfilter_register_all) ff::avfilter.avfilter_register_all();
}

void StartFormats() {
  if (ff::avformat.av_register_all) ff::avformat.av_register_all();
  ff::avformat.avformat_network_init();
}

void StopFormats() {
  if (ff::avformat.avformat_network_deinit) ff::avformat.avformat_network_deinit();
}

// Built versions come from the headers the program is built against, so the file names
// and the libraries they name always agree with the binary.
#define FF_LIBRARY(table, index, role, ...) {.Index = index, .BaseName = u"" #table, __VA_ARGS__},
const TLibraryItem kLibraries[] = {
#include "FFLoad/Libraries.inc"
};
static_assert(std::size(kLibraries) == LibraryCount);

}  // namespace

const TLibraryItem& LibraryItem(int index) { return kLibraries[index]; }
