// The libraries' indexes and the sets the loader takes, made from the list of libraries.
#pragma once
#include <cstdint>

// Bit i stands for library i.
using TLibrarySet = std::uint16_t;

// lrDecoder: the decoder needs the library; lrOnRequest: loaded only when a caller asks.
enum TLibraryRole { lrDecoder, lrOnRequest };

#define FF_LIBRARY(table, index, role, ...) index,
enum TLibraryIndex : int {
#include "FFLoad/Libraries.inc"
  LibraryCount
};

#define FF_LIBRARY(table, index, role, ...) role,
inline constexpr TLibraryRole LibraryRoles[LibraryCount] = {
#include "FFLoad/Libraries.inc"
};

static_assert(LibraryCount <= 16, "a library set has 16 bits");

constexpr TLibrarySet LibraryBit(int index) { return static_cast<TLibrarySet>(1u << index); }

constexpr TLibrarySet LibrariesOfRole(TLibraryRole role) {
  TLibrarySet set = 0;
  for (int index = 0; index < LibraryCount; ++index)
    if (LibraryRoles[index] == role) set |= LibraryBit(index);
  return set;
}

inline constexpr TLibrarySet AllLibraries = static_cast<TLibrarySet>((1u << LibraryCount) - 1);
inline constexpr TLibrarySet DecoderLibraries = LibrariesOfRole(lrDecoder);
