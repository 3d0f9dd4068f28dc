#pragma once
// Turns a topic's CommonMark body into its two encoded regions: the first top-level
// heading becomes the heading region, everything else the scrolling body.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/titlec/Authoring.h"
#include "tools/titlec/Diagnostics.h"

namespace kro::titlec {

// Font table slots the body styles use (the manifest may rename the faces).
enum FontSlot : uint8_t { kBodyFont = 0, kHeadingFont = 1, kCodeFont = 2 };

struct TargetRef {
  std::string context;  // cp1251
  int line = 0;
};

struct RenderedTopic {
  std::vector<uint8_t> heading;
  std::vector<uint8_t> body;
  std::vector<TargetRef> targets;   // contexts that links name, checked once all topics are known
  std::vector<TargetRef> pictures;  // baggage names of images
};

bool RenderBody(const TopicFile& topic, RenderedTopic* out, Diagnostics* diags);

// UTF-8 to cp1251; a character the code page lacks is an error at `line`.
bool ToCp1251(const std::string& utf8, const std::string& file, int line, std::string* out, Diagnostics* diags);

}  // namespace kro::titlec
