// A folder of files that covers what a creation-time lookup meets: containers that keep the
// creation time in their header, one that only reveals it while packets are read (FLV), the
// key in other letter cases, values with " : " and line breaks, stream-only entries, no
// entry, and names that are missing, a folder, garbage or cut short.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

// Makes the files in `folder` (once per folder) and returns every name, in a fixed order.
std::vector<std::string> MakeLookupMedia(const std::filesystem::path& folder);

// The FLV file among them: its container metadata only appears while packets are read.
std::string PacketMetadataFile(const std::filesystem::path& folder);
// One that keeps its creation time in the container's header.
std::string HeaderMetadataFile(const std::filesystem::path& folder);
