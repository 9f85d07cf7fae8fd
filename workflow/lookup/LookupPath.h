// Which way the renaming workflow reads a file's creation time.
#pragma once

enum class TLookupPath {
  // Open, probe the streams, write the whole information text and search it: what the
  // window does, whose log view then shows the whole text.
  FullProbe,
  // Read the creation time from the container's header without probing; a file whose
  // header gives none goes the full way, so the result is the same as the full lookup's.
  HeaderFirst,
};
