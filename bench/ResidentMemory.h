// The resident set of this process, as the kernel reports it.
#pragma once

// VmRSS of /proc/self/status in KiB; -1 when it cannot be read.
long ResidentKiB();
// VmHWM (the peak resident set) in KiB; -1 when it cannot be read.
long PeakResidentKiB();
