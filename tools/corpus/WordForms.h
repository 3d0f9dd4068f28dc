#pragma once
// Word forms of a hunspell dictionary: each stem of the .dic with every suffix and prefix
// rule of the .aff its flags allow. Enough of the format for the Russian dictionary: single
// character flags, SFX and PFX rules with character-class conditions, SET UTF-8 or KOI8-R.
#include <functional>
#include <string>
#include <string_view>

namespace kro::corpus {

// Calls `visit` with every form (UTF-8), the dictionary's own spelling and case, stem
// first. Answers false with a message in *error when the files cannot be read.
bool ExpandDictionary(const std::string& affPath, const std::string& dicPath,
                      const std::function<void(std::string_view form)>& visit, std::string* error);

}  // namespace kro::corpus
