#pragma once
// The media links of an article: its authored data string parsed into pictures,
// portraits, a movie, a map and a sound. Portable.
//
// Data string: a sequence of sections "[KEYWORD] body", the body running to the next '['.
//   [PICT] name {caption}; name {caption}   pictures of the article's letter folder
//   [PORT] name; name                       portraits
//   [MOVE] name {caption}                   the movie
//   [MAPS] context;                         the map popup topic
//   [WAVE] !context>;                       the sound popup topic
// Sections are cut to 1023 characters, names to 255, picture captions to 511 and the
// movie caption to 255.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kro::article {

enum class PictureKind : int32_t { kPicture = 0, kPortrait = 1 };

struct PictureRecord {
  PictureKind kind = PictureKind::kPicture;
  std::string slidePath;      // full-size picture (pictures only)
  std::string thumbnailPath;  // what the slide window shows
  std::string caption;        // pictures only
  std::string popupTitle;     // filled with the topic title when first shown
  bool operator==(const PictureRecord&) const = default;
};

struct MediaLinks {
  std::vector<PictureRecord> pictures;
  std::string moviePath;
  std::string movieCaption;
  std::string mapName;
  std::string soundName;
  int dataErrors = 0;  // pictures or portraits without a name, one per keyword that met one
  bool Any() const {
    return !pictures.empty() || !moviePath.empty() || !mapName.empty() || !soundName.empty();
  }
};

constexpr size_t kMaxSection = 1023;
constexpr size_t kMaxFileName = 255;
constexpr size_t kMaxPictureCaption = 511;
constexpr size_t kMaxMovieCaption = 255;

// `productDir` ends in a backslash; `letterFolder` is the current letter's folder ("a").
MediaLinks ParseMediaLinks(std::string_view data, std::string_view productDir, std::string_view letterFolder);

// "abc.jpg" -> "abci.jpg": the thumbnail of a picture.
std::string ThumbnailName(std::string_view name);
std::string LetterPicturePath(std::string_view productDir, std::string_view letterFolder);

}  // namespace kro::article
