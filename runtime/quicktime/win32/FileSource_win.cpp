#include "runtime/quicktime/win32/FileSource_win.h"

#include <algorithm>

#include "runtime/base/ByteReader.h"

namespace kro::qt {

FileSource::FileSource(UniqueFile file) : file_(std::move(file)) {
  LARGE_INTEGER size{};
  if (file_ && GetFileSizeEx(file_.Get(), &size)) size_ = uint64_t(size.QuadPart);
}

bool FileSource::Read(uint64_t offset, std::span<uint8_t> out) {
  if (!RangeFits(offset, out.size(), size_)) return false;
  size_t done = 0;
  while (done < out.size()) {
    OVERLAPPED at{};
    const uint64_t position = offset + done;
    at.Offset = DWORD(position);
    at.OffsetHigh = DWORD(position >> 32);
    const DWORD want = DWORD(std::min<size_t>(out.size() - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file_.Get(), out.data() + done, want, &got, &at) || got == 0) return false;
    done += got;
  }
  return true;
}

UniqueFile OpenForReading(const char* path) {
  return UniqueFile(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

UniqueFile DuplicateFile(const UniqueFile& file) {
  HANDLE copy = INVALID_HANDLE_VALUE;
  const HANDLE process = GetCurrentProcess();
  if (!DuplicateHandle(process, file.Get(), process, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
    copy = INVALID_HANDLE_VALUE;
  return UniqueFile(copy);
}

}  // namespace kro::qt
