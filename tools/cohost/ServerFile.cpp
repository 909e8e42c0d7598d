#include "cohost/ServerFile.h"
#include <cstdio>
#include <cstdlib>
#include "framework/Raii.h"
#include "framework/WideText.h"

namespace {

bool readAt(HANDLE file, LONGLONG offset, void* buffer, DWORD size) {
  LARGE_INTEGER at;
  at.QuadPart = offset;
  DWORD read = 0;
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ReadFile(file, buffer, size, &read, nullptr) &&
         read == size;
}

}  // namespace

ImageInfo readImage(const std::string& path) {
  ImageInfo info;
  fw::UniqueHandle file(CreateFileW(wideFromNarrow(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return info;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return info;
  IMAGE_DOS_HEADER dos = {};
  if (size.QuadPart < 2 || !readAt(file.get(), 0, &dos, 2)) {
    info.kind = size.QuadPart < 2 ? ImageKind::NotPE : ImageKind::Unreadable;
    return info;
  }
  info.kind = ImageKind::NotPE;
  if (dos.e_magic != IMAGE_DOS_SIGNATURE) return info;
  info.kind = ImageKind::Truncated;
  if (size.QuadPart < static_cast<LONGLONG>(sizeof dos) || !readAt(file.get(), 0, &dos, sizeof dos)) return info;
  // The signature and the file header must lie inside the file.
  const LONGLONG peAt = static_cast<DWORD>(dos.e_lfanew);
  DWORD signature = 0;
  IMAGE_FILE_HEADER header = {};
  if (peAt + 4 + static_cast<LONGLONG>(sizeof header) > size.QuadPart || !readAt(file.get(), peAt, &signature, 4))
    return info;
  if (signature != IMAGE_NT_SIGNATURE) {
    info.kind = ImageKind::NotPE;
    return info;
  }
  if (!readAt(file.get(), peAt + 4, &header, sizeof header)) return info;
  info.kind = ImageKind::Image;
  info.machine = header.Machine;
  return info;
}

int machineBits(WORD machine) {
  switch (machine) {
    case IMAGE_FILE_MACHINE_I386: return 32;
    case IMAGE_FILE_MACHINE_AMD64:
    case 0xAA64:  // ARM64
      return 64;
    default: return 0;
  }
}

std::string machineName(WORD machine) {
  switch (machine) {
    case IMAGE_FILE_MACHINE_I386: return "x86";
    case IMAGE_FILE_MACHINE_AMD64: return "x64";
    case 0xAA64: return "ARM64";
    default: {
      char text[16];
      snprintf(text, sizeof text, "0x%04X", machine);
      return text;
    }
  }
}

std::string fileFromCodeBase(const std::string& codeBase) {
  std::string rest = codeBase;
  if (_strnicmp(rest.c_str(), "file:///", 8) == 0)
    rest.erase(0, 8);
  else if (_strnicmp(rest.c_str(), "file://", 7) == 0)
    rest = "//" + rest.substr(7);  // file://server/share: a UNC path
  else if (rest.find("://") != std::string::npos)
    return std::string();
  std::string file;
  for (size_t i = 0; i < rest.size(); ++i) {
    char c = rest[i];
    if (c == '%' && i + 2 < rest.size() && isxdigit(static_cast<unsigned char>(rest[i + 1])) &&
        isxdigit(static_cast<unsigned char>(rest[i + 2]))) {
      file += static_cast<char>(strtol(rest.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else {
      file += c == '/' ? '\\' : c;
    }
  }
  return file;
}

std::string shownPath(const std::string& path) {
  const size_t kShown = 120;
  if (path.size() <= kShown) return path;
  std::string shown = path;
  cutNarrow(shown, kShown);  // never half a character
  return shown + "... (" + std::to_string(path.size()) + " characters)";
}
