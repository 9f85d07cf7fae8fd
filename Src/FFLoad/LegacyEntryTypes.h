// Types of the optional entries that today's media headers no longer declare: the
// registration calls of older generations and the private protocol entries of avformat.
// They are looked up by name and called only when a library exports them.
#pragma once

namespace ff::legacy {

enum LockOperation { LockCreate = 0, LockObtain = 1, LockRelease = 2, LockDestroy = 3 };
using LockManagerFunction = int(void** mutex, int operation);

using av_lockmgr_register_fn = int(LockManagerFunction* callback);
using avcodec_register_all_fn = void();
using avfilter_register_all_fn = void();
using av_register_all_fn = void();
using ff_guess_image2_codec_fn = int(const char* filename);

// A protocol record starts with its name; nothing else of it is read through these.
struct ProtocolRecord;
using ffurl_protocol_next_fn = const ProtocolRecord*(const ProtocolRecord* previous);
using ffurl_register_protocol_fn = int(ProtocolRecord* protocol);

}  // namespace ff::legacy
