// The function avutil calls for every library message. It assembles each thread's
// fragments into lines, prefixes a line with the names of the library object that logged
// it ("[name @ 00007F...] ", the parent object first), folds runs of identical lines into
// "    Last message repeated %d times" and delivers the lines to the process-wide logger.
#pragma once
#include <cstdarg>

void LibraryLogCallback(void* context, int level, const char* format, va_list args);
