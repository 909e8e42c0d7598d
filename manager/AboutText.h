// The About value as the Component Manager shows it.
#pragma once
#include <string>

// Each backslash-n pair becomes a line end; then the text goes through the system's message
// formatter without arguments: "%n" gives a line break and "%%" a percent sign, while a
// numbered insert ("%1") has no argument and passes through unchanged. Line ends come out
// as CR LF. Throws std::runtime_error when the formatter fails.
std::string formatAboutText(const std::string& about);
