// The records through which avformat drives an I/O protocol, in the layout of the library
// generation that accepts protocols from outside (avformat 55). Today's libraries no longer
// take foreign protocols; the records are handed over only when the registration entry
// points are exported.
#pragma once
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "FFLoad/LegacyEntryTypes.h"

struct AVClass;
struct AVDictionary;

namespace ff::legacy {

struct ConnectionRecord;

// A protocol as avformat lists it: the name first, then the entry points. An entry point
// left null is one the protocol does not offer.
struct ProtocolRecord {
  const char* name;
  int (*open)(ConnectionRecord* connection, const char* url, int flags);
  int (*open2)(ConnectionRecord* connection, const char* url, int flags, AVDictionary** options);
  int (*read)(ConnectionRecord* connection, unsigned char* buffer, int size);
  int (*write)(ConnectionRecord* connection, const unsigned char* buffer, int size);
  std::int64_t (*seek)(ConnectionRecord* connection, std::int64_t position, int whence);
  int (*close)(ConnectionRecord* connection);
  // Written by the libraries when they link the record into their list.
  ProtocolRecord* next;
  int (*read_pause)(ConnectionRecord* connection, int pause);
  std::int64_t (*read_seek)(ConnectionRecord* connection, int streamIndex, std::int64_t timestamp, int flags);
  int (*get_file_handle)(ConnectionRecord* connection);
  int (*get_multi_file_handle)(ConnectionRecord* connection, int** handles, int* handleCount);
  int (*shutdown)(ConnectionRecord* connection, int flags);
  int priv_data_size;
  const AVClass* priv_data_class;
  int flags;
  int (*check)(ConnectionRecord* connection, int mask);
};

struct InterruptCallbackRecord {
  int (*callback)(void* opaque);
  void* opaque;
};

// The libraries' record of one open connection. With a private data size of 0 they leave
// `priv_data` to the protocol, which keeps its file handle there.
struct ConnectionRecord {
  const AVClass* av_class;
  ProtocolRecord* protocol;
  void* priv_data;
  char* filename;
  int flags;
  int max_packet_size;
  int is_streamed;
  int is_connected;
  InterruptCallbackRecord interrupt_callback;
  std::int64_t rw_timeout;
};

// The libraries read these records by offset: keep them plain and pointer-packed as they were.
static_assert(std::is_standard_layout_v<ProtocolRecord> && std::is_trivial_v<ProtocolRecord>);
static_assert(std::is_standard_layout_v<ConnectionRecord> && std::is_trivial_v<ConnectionRecord>);
static_assert(offsetof(ProtocolRecord, next) == 7 * sizeof(void*));
static_assert(offsetof(ProtocolRecord, priv_data_size) == 13 * sizeof(void*));
static_assert(offsetof(ConnectionRecord, priv_data) == 2 * sizeof(void*));

}  // namespace ff::legacy
