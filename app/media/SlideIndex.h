#pragma once
// The illustrations gallery's portable parts: the picture folder and picture list of an
// entry of "slides.dat", and the type-ahead search over its titles.
//
// Field 3 of an entry names its pictures without extension, comma-separated
// ("abc_01,abc_02"); the first name gives the folder under pictures\. A name 'p' + letter
// is a portrait (pictures\F\portrait\name.jpg, no full-size slide); any other name is a
// picture with a slide (pictures\F\slides\name.jpg), a thumbnail (icons\namei.jpg) and a
// caption from F + "_capt.txt".
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/article/MediaLinks.h"
#include "app/media/Catalogue.h"

namespace kro::media {

constexpr size_t kMaxPictureFolder = 9;  // the gallery's 10-byte buffer

// 'pivanov1' -> "ivanov", 'abc_01' -> "abc", 'yakov_1' -> "jakov", 'yug_2' -> "iug".
std::string PictureFolder(std::string_view firstName);
bool IsPortraitName(std::string_view name);
// The names of field 3 in order, up to the first empty one.
std::vector<std::string> PictureNames(std::string_view field);

// `caption(folder, name)` looks a picture's caption up.
using CaptionLookup = std::function<std::string(const std::string& folder, const std::string& name)>;
std::vector<article::PictureRecord> BuildPictureList(std::string_view field, std::string_view title,
                                                     std::string_view productDir, const CaptionLookup& caption);

// Type-ahead. The typed text with a Cyrillic first letter becomes capitalised: that letter
// capital, every later capital small.
std::string NormaliseTyped(std::string_view typed);
enum class TypedOrder { kBefore, kMatches, kAfter };
// Byte by byte, letter case ignored: the typed text matches a title it begins.
TypedOrder CompareTyped(std::string_view typed, std::string_view title);
// The index to select for the (normalised) text: the first title it begins, else the last
// title before where it would stand; 0 when its letter has no entry. The walk starts at
// the typed letter's run, from the letter index.
int FindTyped(std::string_view typed, const Catalogue& catalogue, const std::function<std::string(int)>& title);

}  // namespace kro::media
