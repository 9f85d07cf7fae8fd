// How a creation-time lookup reads a file: the way it reads the container, and the dates it
// may fall back on when the file's metadata holds none.
#pragma once
#include "workflow/lookup/LookupPath.h"

// Which dates a lookup may fall back on beyond those that the file's metadata holds.
struct TDateFallbacks {
  bool FromName = false;   // a date and time written in the file's name
  bool FromMtime = false;  // the file's last modification time
  bool ListAll = false;    // read every source, also those after the one that gave the date
};

struct TLookupOptions {
  TLookupPath Path = TLookupPath::FullProbe;
  TDateFallbacks Fallbacks;
};
