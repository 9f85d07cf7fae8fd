// The lock manager that avcodec calls to create, obtain, release and destroy the mutexes
// it serialises its work with. Each mutex is named by the address of a pointer-sized slot
// that avcodec owns; while the manager knows a slot, the slot holds the address of the
// manager's entry for it.
#pragma once
#include <cstddef>

// avcodec's lock manager callback (ff::legacy::LockManagerFunction). Operations: 0 create,
// 1 obtain, 2 release, 3 destroy. Returns 0 on success, -1 on failure; every outcome is
// logged through DefaultLogger (successes at llDebug, failures at llError). Once the
// loader's unit has begun to shut down it answers 0 and does nothing. Never throws into
// the library: a corrupted slot is a program error and ends the process.
int LockManagerCallback(void** slot, int operation) noexcept;

// The manager follows the loader by itself: it registers with avcodec once avcodec is
// bound and unregisters before it is unbound, and its registry lives with the loader's
// unit (at the unit's end every remaining entry and its mutex are freed, slots untouched).

// How many slots the registry knows right now.
std::size_t LockRegistrySize();
