#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"

namespace {

// File-name versions come from the headers the program is built against, so the binary
// and the libraries it loads always agree.
const TLibraryItem kLibraries[LibraryCount] = {
    {liAVCodec, u"avcodec", false, LIBAVCODEC_VERSION_MAJOR, nullptr, ff::BindAVCodec, ff::UnbindAVCodec},
    {liAVDevice, u"avdevice", false, LIBAVDEVICE_VERSION_MAJOR, nullptr, ff::BindAVDevice, ff::UnbindAVDevice},
    {liAVFilter, u"avfilter", false, LIBAVFILTER_VERSION_MAJOR, nullptr, ff::BindAVFilter, ff::UnbindAVFilter},
    {liAVFormat, u"avformat", false, LIBAVFORMAT_VERSION_MAJOR, nullptr, ff::BindAVFormat, ff::UnbindAVFormat},
    {liAVUtil, u"avutil", false, LIBAVUTIL_VERSION_MAJOR, nullptr, ff::BindAVUtil, ff::UnbindAVUtil},
    {liSwResample, u"swresample", false, LIBSWRESAMPLE_VERSION_MAJOR, nullptr, ff::BindSwResample,
     ff::UnbindSwResample},
    {liSwScale, u"swscale", false, LIBSWSCALE_VERSION_MAJOR, nullptr, ff::BindSwScale, ff::UnbindSwScale},
    {liCRuntime, u"msvcrt", true, -1, u"libc.so.6", ff::BindCRuntime, ff::UnbindCRuntime},
    {liSoundTouch, u"SoundTouch", false, -1, u"libSoundTouchDll.so.1", ff::BindSoundTouch, ff::UnbindSoundTouch},
};

}  // namespace

const TLibraryItem& LibraryItem(int index) { return kLibraries[index]; }
