#include "tools/titlec/Compiler.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <set>

#include "runtime/base/Cp1251.h"
#include "runtime/mediaview/core/Collation.h"
#include "runtime/mediaview/core/TitleWriter.h"
#include "tools/titlec/Authoring.h"
#include "tools/titlec/Markdown.h"
#include "tools/titlec/MediaLinks.h"

namespace kro::titlec {
namespace {

constexpr uint32_t kNone = mv::kNone;
constexpr size_t kProgressStep = 1000;  // topics between progress reports

// Letter folders of А..Я in order (Ъ, Ы and Ь share "y").
constexpr std::array<const char*, 32> kLetterFolders = {
    "a", "b", "v", "g", "d", "e", "zh", "z", "i", "ii", "k", "l", "m", "n", "o", "p",
    "r", "s", "t", "u", "f", "h", "c", "ch", "sh", "she", "y", "y", "y", "ie", "iu", "ja"};

// A topic as the compiler holds it between passes.
struct Topic {
  TopicFile file;
  std::string title;    // cp1251; empty for a popup without one
  std::string context;  // ASCII
  int browse = 0;
  bool inBrowse = false;
  uint32_t number = kNone;
};

std::string FoldContext(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

bool ValidContext(const std::string& s) {
  if (s.empty() || s.size() > mv::kMaxNameBytes) return false;
  return std::all_of(s.begin(), s.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '-';
  });
}

// Reports every character of a UTF-8 source that cp1251 lacks, at its exact line, and
// replaces it with '?' so later passes do not report it again.
std::string Sanitize(const std::string& file, const std::string& text, Diagnostics* diags) {
  if (Utf8ToCp1251(text)) return text;  // the common case: nothing to report
  std::string out;
  out.reserve(text.size());
  int line = 1;
  size_t i = 0;
  if (text.starts_with("\xEF\xBB\xBF")) {
    out += text.substr(0, 3);
    i = 3;
  }
  while (i < text.size()) {
    const auto b = static_cast<uint8_t>(text[i]);
    if (b < 0x80) {
      if (b == '\n') ++line;
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    const size_t len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    const std::string ch = text.substr(i, len);
    std::string converted;
    if (ToCp1251(ch, file, line, &converted, diags)) out += ch;
    else out.push_back('?');
    i += len;
  }
  return out;
}

class Compiler {
public:
  Compiler(const SourceFolder& folder, const CompileOptions& options, Diagnostics* diags)
      : folder_(folder), options_(options), diags_(diags) {}

  std::optional<CompileResult> Run() {
    ReadManifest();
    ReadTopics();
    Number();
    source_.fonts = Fonts();
    Baggage();
    Render();
    StoredLists();
    WordWheels();
    Browse();
    Contents();
    if (!diags_->empty()) return std::nullopt;
    if (options_.indexer) source_.fullTextIndex = options_.indexer(PlainTexts());
    std::string error;
    auto bytes = mv::WriteTitle(source_, &error);
    if (!bytes) {
      diags_->Error(manifest_.file, 0, error);
      return std::nullopt;
    }
    return CompileResult{std::move(*bytes), sourceBytes_, static_cast<uint32_t>(topics_.size()), source_.articleCount};
  }

private:
  std::optional<std::string> ReadText(const std::string& path) {
    auto text = folder_.Read(path);
    if (text) sourceBytes_ += text->size();
    return text;
  }

  void ReadManifest() {
    const auto text = ReadText("manifest.txt");
    if (!text) return;  // a title may do without one
    ParseManifest(folder_.Describe("manifest.txt"), Sanitize(folder_.Describe("manifest.txt"), *text, diags_), &manifest_, diags_);
  }

  bool Convert(const Located& v, const std::string& file, std::string* out) { return ToCp1251(v.value, file, v.line, out, diags_); }

  void ReadTopics() {
    std::map<std::string, const Topic*> byContext;
    std::vector<std::string> paths;
    // Topic files live in any subfolder but baggage/ (articles/, popups/, ...).
    for (const std::string& p : folder_.List(""))
      if (p.ends_with(".md") && p.find('/') != std::string::npos && !p.starts_with("baggage/")) paths.push_back(p);
    for (const std::string& path : paths) {
      const std::string file = folder_.Describe(path);
      const auto text = ReadText(path);
      Topic t;
      if (!text || !ParseTopicFile(file, Sanitize(file, *text, diags_), &t.file, diags_)) {
        if (!text) diags_->Error(file, 0, "cannot read the file");
        continue;
      }
      t.context = t.file.context.value;
      if (!ValidContext(t.context))
        diags_->Error(file, t.file.context.line, "context string '" + t.context + "' must be 1 to 255 of A-Z a-z 0-9 _ . -");
      if (t.file.title) Convert(*t.file.title, file, &t.title);
      if (t.file.title && (t.title.empty() || t.title.size() > mv::kMaxNameBytes))
        diags_->Error(file, t.file.title->line, "title must hold 1 to 255 characters");
      topics_.push_back(std::move(t));
    }
    for (Topic& t : topics_) {
      const auto [it, fresh] = byContext.emplace(FoldContext(t.context), &t);
      if (!fresh)
        diags_->Error(t.file.file, t.file.context.line,
                      "context string '" + t.context + "' already used by " + it->second->file.file);
    }
    std::map<uint32_t, const Topic*> byHash;
    for (const Topic& t : topics_) {
      const auto [it, fresh] = byHash.emplace(mv::ContextHash(t.context), &t);
      if (!fresh && FoldContext(it->second->context) != FoldContext(t.context))
        diags_->Error(t.file.file, t.file.context.line,
                      "context string '" + t.context + "' has the same hash as '" + it->second->context + "'; rename one");
    }
    for (const auto& [folded, topic] : byContext) contexts_[folded] = topic;
  }

  // Articles take 0..A-1 in word-wheel order; the other topics follow, by context string.
  void Number() {
    std::vector<Topic*> articles, others;
    for (Topic& t : topics_) (t.file.kind == TopicKind::Article ? articles : others).push_back(&t);
    std::stable_sort(articles.begin(), articles.end(), [](Topic* a, Topic* b) { return mv::CompareKeys(a->title, b->title) < 0; });
    std::sort(others.begin(), others.end(), [](Topic* a, Topic* b) { return FoldContext(a->context) < FoldContext(b->context); });
    for (size_t i = 1; i < articles.size(); ++i)
      if (mv::PrimaryKey(articles[i - 1]->title) == mv::PrimaryKey(articles[i]->title))
        diags_->Error(articles[i]->file.file, articles[i]->file.title->line,
                      "title '" + Cp1251ToUtf8(articles[i]->title) + "' duplicates the title of " + articles[i - 1]->file.file);
    order_ = articles;
    order_.insert(order_.end(), others.begin(), others.end());
    for (size_t i = 0; i < order_.size(); ++i) order_[i]->number = static_cast<uint32_t>(i);
    source_.articleCount = static_cast<uint32_t>(articles.size());
    source_.topics.resize(order_.size());
  }

  std::vector<mv::FontSource> Fonts() {
    std::map<int, std::string> faces = {{0, "PT Serif"}, {1, "PT Sans"}, {2, "PT Mono"}};
    for (const auto& [index, face] : manifest_.fonts) {
      std::string cp;
      if (Convert(face, manifest_.file, &cp)) {
        if (cp.size() >= mv::kFontFaceBytes) diags_->Error(manifest_.file, face.line, "font face longer than 31 characters");
        faces[index] = cp;
      }
    }
    std::vector<mv::FontSource> fonts;
    for (int i = 0; i <= faces.rbegin()->first; ++i) {
      const auto it = faces.find(i);
      fonts.push_back({it != faces.end() ? it->second : faces[0], mv::kRussianCharset, 0});
    }
    return fonts;
  }

  uint32_t Lookup(const std::string& context) const {
    const auto it = contexts_.find(FoldContext(context));
    return it == contexts_.end() ? kNone : it->second->number;
  }

  void Baggage() {
    for (const std::string& path : folder_.List("baggage")) {
      std::string name = path.substr(8);
      std::replace(name.begin(), name.end(), '/', '\\');
      std::string cp;
      if (!ToCp1251(name, folder_.Describe(path), 0, &cp, diags_)) continue;
      AddBaggage(cp, *ReadText(path), folder_.Describe(path), 0);
    }
    for (const BaggageEntry& e : manifest_.baggage) {
      const auto bytes = ReadText(e.source.value);
      std::string name;
      if (!ToCp1251(e.name, manifest_.file, e.source.line, &name, diags_)) continue;
      if (!bytes) {
        diags_->Error(manifest_.file, e.source.line, "cannot read " + e.source.value);
        continue;
      }
      if (!e.text) {
        AddBaggage(name, *bytes, manifest_.file, e.source.line);
        continue;
      }
      const std::string file = folder_.Describe(e.source.value);
      std::string text = Sanitize(file, *bytes, diags_);
      if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
      std::string cp, crlf;
      ToCp1251(text, file, 0, &cp, diags_);
      for (const char c : cp) {
        if (c == '\r') continue;
        if (c == '\n') crlf += '\r';
        crlf += c;
      }
      AddBaggage(name, crlf, manifest_.file, e.source.line);
    }
  }

  void AddBaggage(const std::string& name, const std::string& bytes, const std::string& file, int line) {
    std::string folded;
    for (const char c : name) folded.push_back(static_cast<char>(Cp1251Lower(static_cast<uint8_t>(c))));
    if (!baggageNames_.insert(folded).second) return diags_->Error(file, line, "baggage file '" + Cp1251ToUtf8(name) + "' given twice");
    if (name.size() > mv::kMaxNameBytes) return diags_->Error(file, line, "baggage name longer than 255 characters");
    source_.baggage[name] = std::vector<uint8_t>(bytes.begin(), bytes.end());
  }

  void CheckTarget(const std::string& file, const TargetRef& ref) {
    if (Lookup(ref.context) == kNone) diags_->Error(file, ref.line, "link to a missing context string '" + ref.context + "'");
  }

  void Render() {
    for (size_t i = 0; i < order_.size(); ++i) {
      Topic& t = *order_[i];
      RenderedTopic r;
      RenderBody(t.file, &r, diags_);
      for (const TargetRef& ref : r.targets) CheckTarget(t.file.file, ref);
      for (const TargetRef& pic : r.pictures) {
        std::string folded;
        for (const char c : pic.context) folded.push_back(static_cast<char>(Cp1251Lower(static_cast<uint8_t>(c))));
        if (!baggageNames_.count(folded))
          diags_->Error(t.file.file, pic.line, "image '" + Cp1251ToUtf8(pic.context) + "' is not a baggage file");
      }
      for (const auto* named : {&t.file.maps, &t.file.wave})
        if (*named) CheckTarget(t.file.file, {named->value().value, named->value().line});
      mv::TopicSource& out = source_.topics[t.number];
      if (!t.title.empty()) out.title = t.title;
      out.context = t.context;
      out.data = BuildDataString(t.file, diags_);
      out.heading = std::move(r.heading);
      out.body = std::move(r.body);
      if (options_.progress && order_.size() >= kProgressStep && (i + 1) % kProgressStep == 0)
        options_.progress("compiled " + std::to_string(i + 1) + " of " + std::to_string(order_.size()) + " topics");
    }
  }

  void StoredLists() {
    for (const Topic* t : order_) {
      for (const Located& list : t->file.lists) {
        std::string name;
        if (Convert(list, t->file.file, &name)) source_.storedLists[name].push_back(t->number);
      }
      if (t->file.kind == TopicKind::Article)
        if (const std::string letter = LetterFolder(t->title); !letter.empty()) source_.storedLists[letter].push_back(t->number);
    }
    for (const auto& [utf8Name, decl] : manifest_.lists) {
      std::string name;
      if (!ToCp1251(utf8Name, manifest_.file, decl.description.line, &name, diags_)) continue;
      auto& members = source_.storedLists[name];
      for (const Located& ctx : decl.members) {
        const uint32_t n = Lookup(ctx.value);
        if (n == kNone) diags_->Error(manifest_.file, ctx.line, "stored list " + utf8Name + " names a missing topic '" + ctx.value + "'");
        else members.push_back(n);
      }
    }
  }

  void WordWheels() {
    mv::WordWheelSource& titles = source_.wordWheels["|a"];
    for (uint32_t n = 0; n < source_.articleCount; ++n) titles.entries.push_back({order_[n]->title, {n}});
    for (const auto& [utf8Name, fileRef] : manifest_.wordWheels) {
      const std::string file = folder_.Describe(fileRef.value);
      const auto text = ReadText(fileRef.value);
      if (!text) {
        diags_->Error(manifest_.file, fileRef.line, "cannot read " + fileRef.value);
        continue;
      }
      std::vector<WordWheelLine> lines;
      ParseWordWheelFile(file, Sanitize(file, *text, diags_), &lines, diags_);
      std::string name;
      if (!ToCp1251(utf8Name, manifest_.file, fileRef.line, &name, diags_)) continue;
      mv::WordWheelSource& wheel = source_.wordWheels[name];
      std::set<std::string> keys;
      for (const WordWheelLine& line : lines) {
        mv::WordWheelSource::Entry entry;
        if (!Convert(line.key, file, &entry.key)) continue;
        if (!keys.insert(entry.key).second) diags_->Error(file, line.key.line, "key given twice in this word wheel");
        for (const std::string& ctx : line.contexts) {
          const uint32_t n = Lookup(ctx);
          if (n == kNone) diags_->Error(file, line.key.line, "word-wheel key names a missing topic '" + ctx + "'");
          else entry.topics.push_back(n);
        }
        wheel.entries.push_back(std::move(entry));
      }
    }
  }

  // Articles are in the browse sequence by default at position 0, other topics only when
  // given a position; the sequence runs by position, then topic number.
  void Browse() {
    std::vector<Topic*> seq;
    for (Topic* t : order_) {
      t->inBrowse = t->file.kind == TopicKind::Article;
      if (t->file.browse) {
        const std::string& v = t->file.browse->value;
        if (v == "none") {
          t->inBrowse = false;
        } else {
          const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), t->browse);
          if (ec != std::errc() || end != v.data() + v.size() || v.empty())
            diags_->Error(t->file.file, t->file.browse->line, "browse is a whole number or 'none'");
          t->inBrowse = true;
        }
      }
      if (t->inBrowse) seq.push_back(t);
    }
    std::stable_sort(seq.begin(), seq.end(), [](Topic* a, Topic* b) { return a->browse < b->browse; });
    for (size_t i = 0; i < seq.size(); ++i) {
      mv::TopicSource& s = source_.topics[seq[i]->number];
      s.browsePrev = i > 0 ? seq[i - 1]->number : kNone;
      s.browseNext = i + 1 < seq.size() ? seq[i + 1]->number : kNone;
    }
  }

  void Contents() {
    if (!manifest_.contents) {
      source_.contentsTopic = order_.empty() ? kNone : 0;
      return;
    }
    source_.contentsTopic = Lookup(manifest_.contents->value);
    if (source_.contentsTopic == kNone)
      diags_->Error(manifest_.file, manifest_.contents->line, "contents names a missing context string '" + manifest_.contents->value + "'");
  }

  // Decodes what was encoded, so the index counts exactly the runtime's offsets.
  std::vector<RegionText> PlainTexts() const {
    std::vector<RegionText> texts;
    for (uint32_t n = 0; n < source_.topics.size(); ++n) {
      const mv::TopicSource& t = source_.topics[n];
      for (const auto& [index, bytes] : {std::pair{mv::RegionIndex::Heading, &t.heading}, std::pair{mv::RegionIndex::Body, &t.body}}) {
        if (bytes->empty()) continue;
        if (const auto region = mv::DecodeRegion(*bytes, static_cast<uint32_t>(source_.fonts.size())))
          texts.push_back({n, index, mv::PlainText(*region)});
      }
    }
    return texts;
  }

  const SourceFolder& folder_;
  const CompileOptions& options_;
  Diagnostics* diags_;
  Manifest manifest_;
  std::vector<Topic> topics_;
  std::vector<Topic*> order_;
  std::map<std::string, const Topic*> contexts_;
  std::set<std::string> baggageNames_;
  mv::TitleSource source_;
  uint64_t sourceBytes_ = 0;
};

}  // namespace

std::string LetterFolder(std::string_view title) {
  for (const char c : title) {
    const auto b = static_cast<uint8_t>(c);
    if (b >= 0xC0) return kLetterFolders[(b - 0xC0) % 32];
  }
  return "";
}

std::optional<CompileResult> Compile(const SourceFolder& folder, const CompileOptions& options, Diagnostics* diags) {
  return Compiler(folder, options, diags).Run();
}

}  // namespace kro::titlec
