#pragma once
// A read-only memory mapping of a whole file; the platform halves are MappedFile_posix.cpp
// and MappedFile_win.cpp.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace kro::mv {

class MappedFile {
public:
  // nullptr with *error set when the file cannot be opened or mapped.
  static std::unique_ptr<MappedFile> Open(const std::string& path, std::string* error);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  std::span<const uint8_t> bytes() const { return {data_, size_}; }

private:
  MappedFile() = default;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace kro::mv
