#pragma once
// Gallery catalogues and caption files, stored as baggage in the title. Portable: both
// are parsed over the bytes of the baggage file.
//
// Catalogue: cp1251 text, one entry per line: title ";" second ";" third CR LF (the last
// line may lack its CR LF). Fields 1 and 2 hold no ";", none holds CR, LF or NUL. Records
// keep offsets and lengths; readers fetch the text again from the baggage file.
// Lengths are limited to kMaxCatalogueField, what the readers' 512-byte buffers hold,
// while parsing still steps over the whole field.
//
// Caption file: key TAB caption CR LF per line; the file ends at a NUL byte or at its end.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "runtime/base/Result.h"

namespace kro::media {

constexpr uint32_t kMaxCatalogueField = 511;
constexpr size_t kLetterCount = 32;  // the capitals А..Я, bytes 0xC0..0xDF

struct CatalogueRecord {
  uint32_t titleOffset, titleLength;
  uint32_t secondOffset, secondLength;
  uint32_t thirdOffset, thirdLength;
  bool operator==(const CatalogueRecord&) const = default;
};

struct Catalogue {
  std::vector<CatalogueRecord> records;
  // With the letter index: the first record of each initial letter (-1 for none), and
  // run counts whose sum over letters 0..k-1 is the number of records before letter k.
  std::array<int32_t, kLetterCount> letterFirst{};
  std::array<int32_t, kLetterCount> letterRuns{};
};

// Parses up to `capacity` records; the letter index is built when `letterIndex` is set
// (the illustrations catalogue, sorted by initial letter). A catalogue that breaks the
// format fails with its first fault; Recovered() then gives what the galleries' loader
// makes of it all the same: it reads fields up to the next separator wherever that is,
// cuts long fields, stops at the capacity and leaves a last fragment of under four bytes.
Result<Catalogue> ParseCatalogue(std::span<const uint8_t> text, size_t capacity, bool letterIndex);

// The initial letter of a title: its first byte when that is a capital А..Я, else its
// second byte (a title opening with « is filed under the letter behind it); -1 when
// neither is a capital.
int InitialLetter(std::string_view title);

// The caption of the first line whose key equals `key`, or nullopt.
std::optional<std::string_view> FindCaption(std::span<const uint8_t> file, std::string_view key);

}  // namespace kro::media
