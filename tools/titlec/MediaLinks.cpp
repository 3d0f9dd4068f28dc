#include "tools/titlec/MediaLinks.h"

#include "tools/titlec/Markdown.h"

namespace kro::titlec {
namespace {

// The reader's buffers: a section of 1023 characters, names of 255, picture captions of
// 511 and movie captions of 255.
constexpr size_t kMaxSection = 1023;
constexpr size_t kMaxName = 255;
constexpr size_t kMaxPictureCaption = 511;
constexpr size_t kMaxMovieCaption = 255;

class Builder {
public:
  Builder(const TopicFile& topic, Diagnostics* diags) : topic_(topic), diags_(diags) {}

  std::optional<std::string> Run() {
    const size_t before = diags_->size();
    Pictures();
    Portraits();
    Movie();
    Named("MAPS", topic_.maps, "", ";");
    Named("WAVE", topic_.wave, "!", ">;");
    if (diags_->size() != before || out_.empty()) return std::nullopt;
    return out_;
  }

private:
  void Error(int line, std::string message) { diags_->Error(topic_.file, line, std::move(message)); }

  // Splits "file | caption" and converts both.
  bool Item(const Located& v, bool wantCaption, std::string* name, std::string* caption) {
    const size_t bar = v.value.find('|');
    const std::string rawName = Trim(v.value.substr(0, bar));
    const std::string rawCaption = bar == std::string::npos ? "" : Trim(v.value.substr(bar + 1));
    if (!wantCaption && bar != std::string::npos) return Error(v.line, "a portrait has no caption"), false;
    if (!ToCp1251(rawName, topic_.file, v.line, name, diags_) || !ToCp1251(rawCaption, topic_.file, v.line, caption, diags_))
      return false;
    // A name ends at a space, ';' or the next section's '['; the item separator needs
    // three characters after ';'.
    if (name->size() < 2 || name->size() > kMaxName || name->find_first_of(" \t;[]{}") != std::string::npos)
      return Error(v.line, "media file name must hold 2 to 255 characters without blanks or ;[]{}"), false;
    if (caption->find_first_of("[]{}") != std::string::npos)
      return Error(v.line, "media caption cannot hold [ ] { or }"), false;
    return true;
  }

  void Section(const std::string& keyword, const std::string& body, int line) {
    const std::string section = keyword + "] " + body;
    if (section.size() > kMaxSection)
      return Error(line, "[" + keyword + "] section is " + std::to_string(section.size()) + " characters, more than 1023");
    out_ += "[" + section;
  }

  void Pictures() {
    std::string body;
    for (const Located& v : topic_.pict) {
      std::string name, caption;
      if (!Item(v, true, &name, &caption)) continue;
      if (caption.size() > kMaxPictureCaption) Error(v.line, "picture caption longer than 511 characters");
      body += (body.empty() ? "" : "; ") + name + " {" + caption + "}";
    }
    if (!body.empty()) Section("PICT", body, topic_.pict.front().line);
  }

  void Portraits() {
    std::string body;
    for (const Located& v : topic_.port) {
      std::string name, caption;
      if (Item(v, false, &name, &caption)) body += (body.empty() ? "" : "; ") + name;
    }
    if (!body.empty()) Section("PORT", body, topic_.port.front().line);
  }

  void Movie() {
    if (!topic_.move) return;
    std::string name, caption;
    if (!Item(*topic_.move, true, &name, &caption)) return;
    if (caption.size() > kMaxMovieCaption) return Error(topic_.move->line, "movie caption longer than 255 characters");
    Section("MOVE", name + " {" + caption + "}", topic_.move->line);
  }

  // MAPS and WAVE name popup topics; their contexts are checked with the other links.
  void Named(const std::string& keyword, const std::optional<Located>& v, const std::string& lead, const std::string& tail) {
    if (!v) return;
    if (v->value.empty() || v->value.find_first_of(" ;[]!>") != std::string::npos)
      return Error(v->line, keyword == "MAPS" ? "maps names a context string" : "wave names a context string");
    Section(keyword, lead + v->value + tail, v->line);
  }

  const TopicFile& topic_;
  Diagnostics* diags_;
  std::string out_;
};

}  // namespace

std::optional<std::string> BuildDataString(const TopicFile& topic, Diagnostics* diags) { return Builder(topic, diags).Run(); }

}  // namespace kro::titlec
