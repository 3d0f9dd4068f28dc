#include "app/article/MediaLinks.h"

#include <algorithm>

namespace kro::article {
namespace {

std::string_view Cut(std::string_view text, size_t limit) { return text.substr(0, std::min(text.size(), limit)); }

// The text from `pos` up to the first `stop` (or the end); `pos` moves onto the stop.
std::string_view Until(std::string_view body, size_t& pos, char stop) {
  const size_t start = std::min(pos, body.size());
  const size_t end = std::min(body.find(stop, start), body.size());
  pos = end;
  return body.substr(start, end - start);
}

char At(std::string_view body, size_t pos) { return pos < body.size() ? body[pos] : '\0'; }

// True when the `count` characters after `pos` exist (the string has not ended).
bool MoreFollow(std::string_view body, size_t pos, size_t count) { return pos + count < body.size(); }

std::string Join(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view part : parts) out += part;
  return out;
}

class Parser {
public:
  Parser(std::string_view productDir, std::string_view folder) : productDir_(productDir), folder_(folder) {}

  void Pictures(std::string_view body) {
    size_t pos = 0;
    while (pos < body.size() && body[pos] != '[') {
      const std::string_view name = Cut(Until(body, pos, ' '), kMaxFileName);
      if (name.empty()) return DataError();
      pos += 2;  // the blank and '{'
      const std::string_view caption = Cut(Until(body, pos, '}'), kMaxPictureCaption);
      PictureRecord record;
      record.slidePath = Join({productDir_, "pictures\\", folder_, "\\slides\\", name});
      record.thumbnailPath = Join({productDir_, "pictures\\", folder_, "\\icons\\", ThumbnailName(name)});
      record.caption = caption;
      links_.pictures.push_back(std::move(record));
      if (At(body, pos + 1) != ';' || !MoreFollow(body, pos + 1, 3)) return;
      pos += 3;  // "}; "
    }
  }

  void Portraits(std::string_view body) {
    size_t pos = 0;
    while (pos < body.size() && body[pos] != '[') {
      const std::string_view name = Cut(Until(body, pos, ';'), kMaxFileName);
      if (name.empty()) return DataError();
      PictureRecord record;
      record.kind = PictureKind::kPortrait;
      record.thumbnailPath = Join({productDir_, "pictures\\", folder_, "\\portrait\\", name});
      links_.pictures.push_back(std::move(record));
      if (At(body, pos) != ';' || !MoreFollow(body, pos, 3)) return;
      ++pos;
      while (At(body, pos) == ' ') ++pos;
    }
  }

  void Movie(std::string_view body) {
    size_t pos = 0;
    const std::string_view name = Cut(Until(body, pos, ' '), kMaxFileName);
    if (!name.empty()) links_.moviePath = Join({productDir_, "movies\\", name});
    pos += 2;
    links_.movieCaption = Cut(Until(body, pos, '}'), kMaxMovieCaption);
  }

  void Map(std::string_view body) {
    size_t pos = 0;
    links_.mapName = Cut(Until(body, pos, ';'), kMaxFileName);
  }

  void Sound(std::string_view body) {
    size_t pos = body.starts_with('!') ? 1 : 0;
    std::string_view name = Until(body, pos, ';');
    if (name.ends_with('>')) name.remove_suffix(1);
    links_.soundName = Cut(name, kMaxFileName);
  }

  MediaLinks Take() { return std::move(links_); }

private:
  // An item without a name ends its keyword. Its record, already appended and still
  // empty, stays only when it is the first of the list.
  void DataError() {
    ++links_.dataErrors;
    if (links_.pictures.empty()) links_.pictures.emplace_back();
  }

  std::string_view productDir_;
  std::string_view folder_;
  MediaLinks links_;
};

}  // namespace

std::string ThumbnailName(std::string_view name) {
  const size_t dot = std::min(name.find('.'), name.size());
  return Join({name.substr(0, dot), "i", name.substr(dot)});
}

std::string LetterPicturePath(std::string_view productDir, std::string_view letterFolder) {
  return Join({productDir, "letters\\", letterFolder, ".jpg"});
}

MediaLinks ParseMediaLinks(std::string_view data, std::string_view productDir, std::string_view letterFolder) {
  data = data.substr(0, std::min(data.find('\0'), data.size()));
  Parser parser(productDir, letterFolder);
  size_t pos = 0;
  while (pos < data.size()) {
    ++pos;  // the '[' that opens the section
    const size_t end = std::min(data.find('[', pos), data.size());
    const std::string_view section = Cut(data.substr(pos, end - pos), kMaxSection);
    pos = end;
    const size_t close = section.find(']');
    if (close == std::string_view::npos) continue;
    const std::string_view keyword = section.substr(0, close);
    const std::string_view body = section.substr(std::min(close + 2, section.size()));
    if (keyword == "PICT") parser.Pictures(body);
    else if (keyword == "PORT") parser.Portraits(body);
    else if (keyword == "MOVE") parser.Movie(body);
    else if (keyword == "MAPS") parser.Map(body);
    else if (keyword == "WAVE") parser.Sound(body);
  }
  return parser.Take();
}

}  // namespace kro::article
