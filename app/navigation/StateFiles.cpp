#include "app/navigation/StateFiles.h"

#include <algorithm>
#include <cstring>

#include "runtime/base/ByteReader.h"
#include "runtime/base/ByteWriter.h"

namespace kro::navigation {
namespace {

HistoryEntry ReadEntry(ByteReader& r) {
  HistoryEntry e;
  e.used = r.I32();
  e.address = r.I32();
  e.scroll = r.I32();
  e.named = r.I32();
  e.nameOrNumber = r.I32();
  e.title = r.I32();
  return e;
}

void WriteEntry(uint8_t* out, const HistoryEntry& e) {
  const int32_t fields[] = {e.used, e.address, e.scroll, e.named, e.nameOrNumber, e.title};
  for (int32_t field : fields) {
    PutLE32(out, static_cast<uint32_t>(field));
    out += 4;
  }
}

}  // namespace

Result<std::vector<Bookmark>> ParseBookmarks(std::span<const uint8_t> bytes) {
  ByteReader r(bytes);
  const uint8_t stored = r.U8();
  if (!r.ok()) return r.Error("bookmark count");
  std::optional<ParseError> fault;
  if (stored == 0 || stored > kMaxBookmarks)
    fault = ParseError{0, ParseCause::OutOfLimits, "bookmark count " + std::to_string(stored) + ", expected 1..32"};
  const size_t count = std::min<size_t>(stored, kMaxBookmarks);
  std::vector<Bookmark> bookmarks;
  for (size_t i = 0; i < count; ++i) {
    const size_t at = r.offset();
    const std::string_view field = r.Text(kBookmarkNameBytes);
    Bookmark b;
    b.entry = ReadEntry(r);
    if (!r.ok()) {
      if (!fault) fault = r.Error("bookmark " + std::to_string(i + 1));
      break;
    }
    // The name ends at its NUL, and never runs past the 31 bytes a name may have.
    const size_t nul = field.find('\0');
    if (nul == std::string_view::npos && !fault)
      fault = ParseError{at, ParseCause::MalformedText, "bookmark " + std::to_string(i + 1) + ": name without its NUL"};
    b.name.assign(field.substr(0, std::min(nul, kBookmarkNameBytes - 1)));
    bookmarks.push_back(std::move(b));
  }
  if (fault) return {*std::move(fault), std::move(bookmarks)};
  return bookmarks;
}

std::vector<uint8_t> SerializeBookmarks(std::span<const Bookmark> bookmarks) {
  const size_t count = std::min(bookmarks.size(), kMaxBookmarks);
  if (count == 0) return {};
  std::vector<uint8_t> out(1 + count * kBookmarkRecordBytes, 0);
  out[0] = static_cast<uint8_t>(count);
  for (size_t i = 0; i < count; ++i) {
    uint8_t* record = out.data() + 1 + i * kBookmarkRecordBytes;
    const std::string& name = bookmarks[i].name;
    std::memcpy(record, name.data(), std::min(name.size(), kBookmarkNameBytes - 1));
    WriteEntry(record + kBookmarkNameBytes, bookmarks[i].entry);
  }
  return out;
}

Result<HistoryEntry> ParseLastPosition(std::span<const uint8_t> bytes) {
  ByteReader r(bytes);
  const HistoryEntry entry = ReadEntry(r);
  if (!r.ok()) return r.Error("last position");
  return entry;
}

std::array<uint8_t, kHistoryEntryBytes> SerializeLastPosition(const HistoryEntry& entry) {
  std::array<uint8_t, kHistoryEntryBytes> out{};
  WriteEntry(out.data(), entry);
  return out;
}

}  // namespace kro::navigation
