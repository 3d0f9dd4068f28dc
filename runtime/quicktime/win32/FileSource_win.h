#pragma once
// A movie file read in place: positional reads, so the file is never loaded whole and a
// duplicate handle may be read independently.
#include <windows.h>

#include <string>

#include "runtime/base/UniqueHandle_win.h"
#include "runtime/quicktime/core/MovieContainer.h"

namespace kro::qt {

class FileSource : public ByteSource {
public:
  explicit FileSource(UniqueFile file);
  uint64_t Size() const override { return size_; }
  bool Read(uint64_t offset, std::span<uint8_t> out) override;

private:
  UniqueFile file_;
  uint64_t size_ = 0;
};

// Opens for reading with others allowed to read too; INVALID_HANDLE_VALUE inside on failure.
UniqueFile OpenForReading(const char* path);
// A second handle to the same open file.
UniqueFile DuplicateFile(const UniqueFile& file);

}  // namespace kro::qt
