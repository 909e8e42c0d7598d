// Message texts with "%s" places, filled in order. Unlike printf, an argument can never
// be read as something it is not, and the result has no length limit of its own.
#pragma once
#include <initializer_list>
#include <string>

std::string fillText(const char* format, std::initializer_list<std::string> args);
