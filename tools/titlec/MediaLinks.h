#pragma once
// The data string of a topic: its media links written from the front matter in the
// section syntax the reader's media-link parser takes:
//   [PICT] a.jpg {Caption one}; b.jpg {Caption two}[PORT] p1.jpg; p2.jpg
//   [MOVE] x.mov {caption}[MAPS] map_x;[WAVE] !snd_x>;
// Every item is checked against that parser's rules, so what is written reads back whole.
#include <optional>
#include <string>

#include "tools/titlec/Authoring.h"
#include "tools/titlec/Diagnostics.h"

namespace kro::titlec {

// The cp1251 data string, nullopt when the topic has no media links (or on errors,
// which go to diags).
std::optional<std::string> BuildDataString(const TopicFile& topic, Diagnostics* diags);

}  // namespace kro::titlec
