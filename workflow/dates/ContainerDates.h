// The dates that an open container's metadata holds beside its container-level
// creation_time: a phone's own creation date, the streams' creation times and Matroska's
// date tags.
#pragma once
#include <vector>

#include "workflow/dates/FileDate.h"

struct AVFormatContext;

// In the order in which they stand in for a missing container creation_time:
// "com.apple.quicktime.creationdate", "stream #N creation_time" of each video or audio
// stream, then the DATE_RECORDED and DATE_UTC tags. The creation times of other streams
// (chapters, data) follow as "stream #N (other) creation_time": shown, never used.
std::vector<TFileDate> ContainerDates(const AVFormatContext* context);

// True for the dates of ContainerDates that may stand in for the creation time.
bool IsUsableContainerDate(const TFileDate& date);
