#include "FFLog/LibraryLogCallback.h"

#include <cstdint>
#include <mutex>
#include <string>

#include "FFLoad/EntryPoints.h"
#include "FFLog/DeliveryQueue.h"
#include "FFLog/FFLog.h"
#include "FFLog/RelayState.h"
#include "Text/Format.h"
#include "platform/System.h"

namespace {

constexpr std::uint32_t kFoldRepeatedLines = 1;
constexpr std::size_t kLineBufferSize = 2048;

constexpr std::size_t kLongestLine = std::size_t{1} << 24;

// printf semantics through the C run-time's formatter, however long the result. The C
// library tells a cut text by the length it needed; Windows' run-time only by -1, so the
// buffer then doubles, up to a bound that a rejected format cannot pass.
// False when the formatter rejects the format.
bool ExpandPrintf(const char* format, va_list args, std::string& out) {
  char buffer[kLineBufferSize];
  va_list attempt;
  va_copy(attempt, args);
  int length = ff::msvcrt.vsnprintf(buffer, sizeof buffer, format, attempt);
  va_end(attempt);
  if (length >= 0 && static_cast<std::size_t>(length) < sizeof buffer) {
    out.assign(buffer, static_cast<std::size_t>(length));
    return true;
  }
  std::string whole;
  for (std::size_t size = sizeof buffer * 2; size <= kLongestLine; size *= 2) {
    if (length >= 0) size = static_cast<std::size_t>(length) + 1;
    whole.assign(size, '\0');
    va_copy(attempt, args);
    length = ff::msvcrt.vsnprintf(whole.data(), whole.size(), format, attempt);
    va_end(attempt);
    if (length >= 0 && static_cast<std::size_t>(length) < size) {
      whole.resize(static_cast<std::size_t>(length));
      out = std::move(whole);
      return true;
    }
  }
  return false;
}

bool FormatPrintf(std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const bool expanded = ExpandPrintf(format, args, out);
  va_end(args);
  return expanded;
}

const AVClass* ClassOf(const void* object) { return *static_cast<const AVClass* const*>(object); }

// "[item name @ address] ", the address in upper-case hexadecimal as wide as a pointer.
std::string ObjectTag(void* object) {
  const AVClass* record = ClassOf(object);
  const char* name = record->item_name ? record->item_name(object) : record->class_name;
  std::string tag;
  FormatPrintf(tag, "[%s @ %0*jX] ", name ? name : "", static_cast<int>(sizeof(void*) * 2),
               static_cast<std::uintmax_t>(reinterpret_cast<std::uintptr_t>(object)));
  return tag;
}

// The parent object's tag (when the class names a parent that is present), then the
// object's own.
std::string LinePrefix(void* context) {
  if (!context || !ClassOf(context)) return {};
  std::string prefix;
  if (const int offset = ClassOf(context)->parent_log_context_offset) {
    void* parent = *reinterpret_cast<void* const*>(static_cast<char*>(context) + offset);
    if (parent && ClassOf(parent)) prefix = ObjectTag(parent);
  }
  return prefix + ObjectTag(context);
}

}  // namespace

void LibraryLogCallback(void* context, int level, const char* format, va_list args) {
  fflog::RelayState& relay = fflog::Relay();
  if (level > relay.threshold) return;
  bool queued = false;
  bool toMainThread = true;
  {
    std::lock_guard lock(relay.callbackLock);
    TFFLogger* logger = DefaultLogger();
    if (logger->Muted()) return;
    if (!ff::msvcrt.vsnprintf || !format) return;
    const std::uint32_t threadId = platform::CurrentThreadId();
    fflog::TLogItem& item = relay.logList.FindOrAdd(threadId);

    // Only a message that starts a new line names its object.
    std::string text = item.pendingText.empty() ? LinePrefix(context) : std::string();
    std::string message;
    if (!ExpandPrintf(format, args, message)) return;
    text += message;

    const bool foldRepeats = logger->LibraryLogFlags_ & kFoldRepeatedLines;
    if (foldRepeats && !text.empty() && text.back() == '\n' && text == relay.previousMessage) {
      ++relay.repeatCount;
      return;
    }
    if (relay.repeatCount > 1)
      queued |= logger->LogLibraryLine(
          threadId, level, text::Format("    Last message repeated %d times", {relay.repeatCount}));
    relay.repeatCount = 0;
    if (foldRepeats) relay.previousMessage = text;

    item.pendingText += text;
    for (std::size_t end; (end = item.pendingText.find('\n')) != std::string::npos;) {
      const std::string line = item.pendingText.substr(0, end);
      item.pendingText.erase(0, end + 1);
      queued |= logger->LogLibraryLine(threadId, level, line);
    }
    toMainThread = logger->TriggerEventInMainThread;
  }
  if (queued) fflog::HandOverQueuedMessages(toMainThread);
}
