// Screenshots for the README and for looking at what a dialog showed: the screen's pixels
// under a window, saved as PNG through the Windows imaging component.
#pragma once
#include <windows.h>
#include <string>

namespace tx {

// Saves what the screen shows of 'window' as a PNG file (Windows path).
bool saveWindowPng(HWND window, const std::string& path);

}  // namespace tx
