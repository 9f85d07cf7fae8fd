// The one list of file extensions that count as media: what the media libraries and the
// photo readers open. The folder walk and the window's file dialog both use it.
#pragma once
#include <span>
#include <string_view>

// Upper case, with the dot (".MP4").
std::span<const std::string_view> MediaExtensions();

// True when the name ends in one of the media extensions, letter case ignored.
bool HasMediaExtension(std::string_view fileName);
