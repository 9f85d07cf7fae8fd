// Error codes of the media libraries and the system, with the message shown for each.
#pragma once
#include <cstdint>
#include <span>

struct TErrorMessage {
  std::int32_t Code;
  const char* Message;
};

// Every row, in search order.
std::span<const TErrorMessage> ErrorMessageTable();
// The first row whose code equals `code`, or nullptr when none does.
const TErrorMessage* FindErrorMessage(std::int32_t code);
