#pragma once
// Writes a title file from its parts (layout in TitleFormat.h). The writer orders every
// index itself, so equal inputs give byte-identical files.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "runtime/mediaview/core/TitleFormat.h"

namespace kro::mv {

struct TopicSource {
  std::optional<std::string> title;    // cp1251; none for topics without a name
  std::string context;                 // unique, hashes distinct
  std::optional<std::string> data;     // the data string
  std::vector<uint8_t> heading;        // encoded regions (RichText.h); empty = absent
  std::vector<uint8_t> body;
  uint32_t browsePrev = kNone;
  uint32_t browseNext = kNone;
};

struct FontSource {
  std::string face;
  uint8_t charset = kRussianCharset;
  uint8_t family = 0;
};

struct WordWheelSource {
  struct Entry {
    std::string key;
    std::vector<uint32_t> topics;
  };
  std::vector<Entry> entries;  // any order; sorted here
};

struct TitleSource {
  std::vector<TopicSource> topics;  // index = topic number
  uint32_t articleCount = 0;
  uint32_t contentsTopic = kNone;
  std::vector<FontSource> fonts;
  std::map<std::string, WordWheelSource> wordWheels;
  std::map<std::string, std::vector<uint32_t>> storedLists;
  std::map<std::string, std::vector<uint8_t>> baggage;
  std::optional<std::vector<uint8_t>> fullTextIndex;
};

// The file's bytes, or nullopt with *error naming the broken invariant (duplicate
// context or hash, a name too long, a list naming a missing topic).
std::optional<std::vector<uint8_t>> WriteTitle(const TitleSource& source, std::string* error);

}  // namespace kro::mv
