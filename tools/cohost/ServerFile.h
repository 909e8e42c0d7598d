// What a registration's server file is: its machine type from the PE header, and for a
// .NET component the assembly file that its CodeBase names.
#pragma once
#include <windows.h>
#include <string>

enum class ImageKind { Unreadable, NotPE, Truncated, Image };
struct ImageInfo {
  ImageKind kind = ImageKind::Unreadable;
  WORD machine = 0;  // IMAGE_FILE_MACHINE_* of an Image
};
// Reads no more than the headers; never trusts their offsets.
ImageInfo readImage(const std::string& path);
// 32 or 64 for the machines Windows hosts run on, else 0; and the machine's name.
int machineBits(WORD machine);
std::string machineName(WORD machine);

// The file of a "file:///C:/dir/x.dll" URL (or of a plain path); empty for other schemes.
std::string fileFromCodeBase(const std::string& codeBase);
// A path as a message shows it: long ones are cut, with their length said.
std::string shownPath(const std::string& path);
