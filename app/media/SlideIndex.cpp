#include "app/media/SlideIndex.h"

#include <algorithm>
#include <numeric>

namespace kro::media {
namespace {

constexpr uint8_t kFirstCapital = 0xC0, kFirstSmall = 0xE0;
constexpr int kCaseStep = 32;

bool EndsFolder(char c) { return c == '_' || (c >= '0' && c <= '9'); }

std::string RunUntilBreak(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (EndsFolder(c) || out.size() == kMaxPictureFolder) break;
    out += c;
  }
  return out;
}

std::string Path(std::string_view base, std::string_view kind, std::string_view name, std::string_view end) {
  std::string path;
  path.reserve(base.size() + kind.size() + name.size() + end.size());
  return path.append(base).append(kind).append(name).append(end);
}

uint8_t Byte(std::string_view s, size_t i) { return i < s.size() ? static_cast<uint8_t>(s[i]) : 0; }

}  // namespace

std::string PictureFolder(std::string_view n) {
  std::string folder;
  if (!n.empty() && n[0] == 'p' && (n.size() < 2 || n[1] != '_')) {
    folder = RunUntilBreak(n.substr(1));
    if (folder.empty()) folder.push_back('p');
  } else {
    folder = RunUntilBreak(n);
  }
  if (folder.size() > 1 && folder[0] == 'y' && folder[1] == 'a') folder[0] = 'j';
  if (folder.size() > 1 && folder[0] == 'y' && folder[1] == 'u') folder[0] = 'i';
  return folder;
}

// A signed comparison, as the gallery always made it: bytes from 0x80 up count as below '9'.
bool IsPortraitName(std::string_view m) {
  return m.size() > 1 && m[0] == 'p' && static_cast<signed char>(m[1]) > '9' && m[1] != '_';
}

std::vector<std::string> PictureNames(std::string_view field) {
  std::vector<std::string> names;
  size_t pos = 0;
  while (pos < field.size()) {
    const size_t comma = std::min(field.find(',', pos), field.size());
    if (comma == pos) break;
    names.emplace_back(field.substr(pos, comma - pos));
    pos = comma + 1;
  }
  return names;
}

std::vector<article::PictureRecord> BuildPictureList(std::string_view field, std::string_view title,
                                                     std::string_view productDir, const CaptionLookup& caption) {
  const std::vector<std::string> names = PictureNames(field);
  if (names.empty()) return {};
  const std::string folder = PictureFolder(names.front());
  std::string base(productDir);
  base.append("pictures\\").append(folder);
  std::vector<article::PictureRecord> list;
  for (const std::string& m : names) {
    article::PictureRecord r;
    if (IsPortraitName(m)) {
      r.kind = article::PictureKind::kPortrait;
      r.thumbnailPath = Path(base, "\\portrait\\", m, ".jpg");
    } else {
      r.slidePath = Path(base, "\\slides\\", m, ".jpg");
      r.thumbnailPath = Path(base, "\\icons\\", m, "i.jpg");
      r.caption = caption ? caption(folder, m) : std::string();
    }
    r.popupTitle = std::string(title);
    list.push_back(std::move(r));
  }
  return list;
}

std::string NormaliseTyped(std::string_view typed) {
  std::string text(typed);
  if (text.empty() || Byte(text, 0) < kFirstCapital) return text;
  if (Byte(text, 0) >= kFirstSmall) text[0] = static_cast<char>(Byte(text, 0) - kCaseStep);
  for (size_t i = 1; i < text.size(); ++i)
    if (Byte(text, i) >= kFirstCapital && Byte(text, i) < kFirstSmall) text[i] = static_cast<char>(Byte(text, i) + kCaseStep);
  return text;
}

TypedOrder CompareTyped(std::string_view typed, std::string_view title) {
  for (size_t i = 0; i < typed.size(); ++i) {
    const int t = Byte(typed, i), s = Byte(title, i);
    if (t > s && t - kCaseStep != s) return TypedOrder::kAfter;
    if (t < s && s - kCaseStep != t) return TypedOrder::kBefore;
  }
  return TypedOrder::kMatches;
}

int FindTyped(std::string_view typed, const Catalogue& catalogue, const std::function<std::string(int)>& title) {
  const int first = Byte(typed, 0);
  const int letter = first >= kFirstCapital ? first - kFirstCapital : 0;
  if (catalogue.letterFirst[static_cast<size_t>(letter)] < 0) return 0;
  int index = letter == 0 ? 0 : std::accumulate(catalogue.letterRuns.begin(), catalogue.letterRuns.begin() + letter, 0) - 1;
  index = std::max(index, 0);
  const int count = static_cast<int>(catalogue.records.size());
  for (; index < count; ++index) {
    const TypedOrder order = CompareTyped(typed, title(index));
    if (order == TypedOrder::kMatches) return index;
    if (order == TypedOrder::kBefore && index > 0) return index - 1;
  }
  return std::max(index - 1, 0);
}

}  // namespace kro::media
