#include <windows.h>

#include "runtime/mediaview/core/MappedFile.h"

namespace kro::mv {

std::unique_ptr<MappedFile> MappedFile::Open(const std::string& path, std::string* error) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = path + ": cannot open (error " + std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  LARGE_INTEGER size{};
  std::unique_ptr<MappedFile> mapped(new MappedFile);
  const bool sized = GetFileSizeEx(file, &size) && size.QuadPart >= 0 && size.QuadPart <= 0x7FFFFFFF;
  if (!sized) {
    *error = path + ": size unknown or too large";
    CloseHandle(file);
    return nullptr;
  }
  mapped->size_ = static_cast<size_t>(size.QuadPart);
  if (mapped->size_ > 0) {
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    const void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
    if (!view) {
      *error = path + ": cannot map (error " + std::to_string(GetLastError()) + ")";
      if (mapping) CloseHandle(mapping);
      CloseHandle(file);
      return nullptr;
    }
    CloseHandle(mapping);  // the view keeps the mapping object alive
    mapped->data_ = static_cast<const uint8_t*>(view);
  }
  CloseHandle(file);  // the mapping keeps the file
  return mapped;
}

MappedFile::~MappedFile() {
  if (data_) UnmapViewOfFile(data_);
}

}  // namespace kro::mv
