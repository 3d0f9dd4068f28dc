#include "app/media/BaggageStore_win.h"

namespace kro::media {
namespace {

constexpr UINT kReadMode = 1;
constexpr UINT kFromStart = 0, kFromEnd = 2;

// The runtime's error word carries the failure in its low 16 bits.
bool Failed(LONG error) { return (error & 0xFFFF) != 0; }

class BaggageFile final : public StoredFile {
public:
  explicit BaggageFile(HMVBAGGAGE file) : file_(file) {}
  ~BaggageFile() override {
    LONG error = 0;
    MVBaggageClose(file_, &error);
  }
  BaggageFile(const BaggageFile&) = delete;
  BaggageFile& operator=(const BaggageFile&) = delete;

  std::optional<std::vector<uint8_t>> ReadAll() override {
    LONG error = 0;
    const LONG size = lMVBaggageSeek(file_, 0, kFromEnd, &error);
    if (Failed(error) || size < 0 || static_cast<size_t>(size) > kMaxCatalogueBytes) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!ReadAt(0, bytes)) return std::nullopt;
    return bytes;
  }

private:
  bool ReadAt(uint32_t offset, std::span<uint8_t> out) {
    if (out.empty()) return true;
    LONG error = 0;
    const LONG read = lMVBaggageSeekRead(file_, static_cast<LONG>(offset), kFromStart, out.data(),
                                         static_cast<LONG>(out.size()), &error);
    return !Failed(error) && read == static_cast<LONG>(out.size());
  }

  HMVBAGGAGE file_;
};

}  // namespace

std::unique_ptr<StoredFile> BaggageStore::Open(const std::string& name) {
  LONG error = 0;
  HMVBAGGAGE file = hMVBaggageOpen(title_, name.c_str(), kReadMode, &error);
  if (!file) return nullptr;
  if (Failed(error)) {
    MVBaggageClose(file, &error);
    return nullptr;
  }
  return std::make_unique<BaggageFile>(file);
}

}  // namespace kro::media
