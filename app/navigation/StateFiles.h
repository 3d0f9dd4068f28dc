#pragma once
// The small state files of the working directory: the bookmarks ("\bookmark.tmp") and the
// last position read ("\last.tmp"). Portable: parsing and writing over bytes.
//
// bookmark.tmp, little-endian:
//   u8  count N, 1..32
//   N times, 56 bytes each:
//     char[32] name, NUL-terminated, zero-padded (a longer name keeps its first 31 bytes)
//     HistoryEntry (24 bytes, below)
// last.tmp: exactly one HistoryEntry.
// HistoryEntry: six int32 fields: used, topic address, scroll position, named flag,
//   name handle or topic number, title handle. Handles mean nothing after a restart.
//
// A damaged file is a fault, but the bookmarks reader recovers what it can: a count above
// 32 is limited to 32, a name without its NUL keeps its first 31 bytes and a truncated
// record is dropped with what follows, so a damaged file never yields more than the table
// holds. The program keeps what was recovered; the file is rewritten whole at exit.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/base/Result.h"

namespace kro::navigation {

struct HistoryEntry {
  int32_t used = 0;
  int32_t address = -1;
  int32_t scroll = 0;
  int32_t named = 0;
  int32_t nameOrNumber = 0;
  int32_t title = 0;
  bool operator==(const HistoryEntry&) const = default;
};

struct Bookmark {
  std::string name;
  HistoryEntry entry;
  bool operator==(const Bookmark&) const = default;
};

constexpr size_t kMaxBookmarks = 32;
constexpr size_t kBookmarkNameBytes = 32;
constexpr size_t kHistoryEntryBytes = 24;
constexpr size_t kBookmarkRecordBytes = kBookmarkNameBytes + kHistoryEntryBytes;

Result<std::vector<Bookmark>> ParseBookmarks(std::span<const uint8_t> bytes);
// Writes at most kMaxBookmarks; names are cut to 31 bytes. An empty list gives no bytes
// (the caller deletes the file instead).
std::vector<uint8_t> SerializeBookmarks(std::span<const Bookmark> bookmarks);

Result<HistoryEntry> ParseLastPosition(std::span<const uint8_t> bytes);
std::array<uint8_t, kHistoryEntryBytes> SerializeLastPosition(const HistoryEntry& entry);

}  // namespace kro::navigation
