// The tool's text output. Text is UTF-8 inside; a console gets it as UTF-16 through
// WriteConsoleW, so every script shows whatever the console's code page; a pipe or a file
// gets the UTF-8 bytes.
#pragma once
#include <cstdio>
#include <string>

// Writes 'text' to 'stream' (stdout or stderr).
void writeText(FILE* stream, const std::string& text);
// printf-style formatting into writeText.
void printText(FILE* stream, const char* format, ...);
// A line of progress on stderr, written over the one before; only on a console (a pipe or a
// file gets nothing, so redirected output and JSON stay as they are). Empty: clears it. Any
// text written to the console takes the progress line away first.
void showProgress(const std::string& text);
