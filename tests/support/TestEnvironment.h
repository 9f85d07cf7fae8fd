// The process-wide units, started once per test binary in the order the program uses:
// the log relay's first, then the loader's; ended the other way round.
#pragma once

// Loads the decoder's libraries through the loader (from the system) and fails the
// current test when they cannot be loaded.
void RequireMediaLibraries();

// Ends the loader's unit as the program's shut-down does, and starts a fresh one: for tests
// of what happens during and after the loader's shutdown.
void EndLoaderUnit();
void StartLoaderUnit();
