// What a run reports while it goes: progress before each row, and each row once done.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "workflow/FileRow.h"

// Called before each row is handled: index from 0, number of rows, the row's file name.
using TProgressEvent = std::function<void(std::size_t index, std::size_t count, const std::string& fileName)>;
// Called once a rename or copy has finished with a row, in row order.
using TRowDoneEvent = std::function<void(const TFileRow& row)>;
// Called during a real copy as rows are done: bytes copied so far, and the bytes of all the
// files the run may copy.
using TCopyBytesEvent = std::function<void(std::uint64_t done, std::uint64_t total)>;
