// Puts the process-wide registration flag into a given state for one test and restores it:
// today's libraries never accept the protocol, so the registered branch is reached this way.
#pragma once
#include "UnicodeProtocol/UnicodeProtocol.h"

class RegisteredFlag {
 public:
  explicit RegisteredFlag(bool registered) : saved_(UnicodeProtocolRegistered) {
    UnicodeProtocolRegistered = registered;
  }
  ~RegisteredFlag() { UnicodeProtocolRegistered = saved_; }
  RegisteredFlag(const RegisteredFlag&) = delete;
  RegisteredFlag& operator=(const RegisteredFlag&) = delete;

 private:
  bool saved_;
};
