#include "tools/titlec/Authoring.h"

#include <charconv>
#include <sstream>

namespace kro::titlec {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    if (end == text.size()) break;
    start = end + 1;
  }
  return lines;
}

// Drops a comment that starts with '#' after a blank (or at the start of the line).
std::string StripComment(const std::string& line) {
  for (size_t i = 0; i < line.size(); ++i)
    if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
  return line;
}

bool SplitKeyValue(const std::string& line, std::string* key, std::string* value) {
  const size_t colon = line.find(':');
  if (colon == std::string::npos) return false;
  *key = Trim(line.substr(0, colon));
  *value = Trim(line.substr(colon + 1));
  return !key->empty();
}

}  // namespace

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  const size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> SplitList(const std::string& text, char sep) {
  std::vector<std::string> items;
  std::stringstream in(text);
  for (std::string item; std::getline(in, item, sep);)
    if (std::string t = Trim(item); !t.empty()) items.push_back(t);
  return items;
}

bool ParseTopicFile(const std::string& file, const std::string& text, TopicFile* out, Diagnostics* diags) {
  *out = TopicFile{};
  out->file = file;
  const std::vector<std::string> lines = Lines(text);
  // A UTF-8 byte-order mark is tolerated on the first line.
  const std::string first = lines.empty() ? "" : lines[0].starts_with("\xEF\xBB\xBF") ? lines[0].substr(3) : lines[0];
  if (Trim(first) != "---") {
    diags->Error(file, 1, "a topic file starts with front matter between two '---' lines");
    return false;
  }
  size_t i = 1;
  bool closed = false;
  bool sawContext = false;
  for (; i < lines.size(); ++i) {
    const int line = static_cast<int>(i + 1);
    if (Trim(lines[i]) == "---") {
      closed = true;
      ++i;
      break;
    }
    if (Trim(lines[i]).empty()) continue;
    std::string key, value;
    if (!SplitKeyValue(lines[i], &key, &value)) {
      diags->Error(file, line, "front matter line is not 'key: value'");
      continue;
    }
    const Located v{value, line};
    auto once = [&](std::optional<Located>* slot) {
      if (*slot) diags->Error(file, line, "'" + key + "' given twice");
      *slot = v;
    };
    if (key == "context") {
      if (sawContext) diags->Error(file, line, "'context' given twice");
      out->context = v;
      sawContext = true;
    } else if (key == "title") {
      once(&out->title);
    } else if (key == "kind") {
      if (value == "article") out->kind = TopicKind::Article;
      else if (value == "popup") out->kind = TopicKind::Popup;
      else if (value == "extra") out->kind = TopicKind::Extra;
      else diags->Error(file, line, "kind must be article, popup or extra, not '" + value + "'");
    } else if (key == "lists") {
      for (const std::string& name : SplitList(value, ',')) out->lists.push_back({name, line});
    } else if (key == "pict") {
      out->pict.push_back(v);
    } else if (key == "port") {
      out->port.push_back(v);
    } else if (key == "move") {
      once(&out->move);
    } else if (key == "maps") {
      once(&out->maps);
    } else if (key == "wave") {
      once(&out->wave);
    } else if (key == "browse") {
      once(&out->browse);
    } else {
      diags->Error(file, line, "unknown front-matter key '" + key + "'");
    }
  }
  if (!closed) diags->Error(file, static_cast<int>(lines.size()), "front matter is not closed by '---'");
  if (!sawContext) diags->Error(file, 1, "front matter has no 'context'");
  if (!out->title && out->kind != TopicKind::Popup) diags->Error(file, 1, "front matter has no 'title'");
  out->bodyLine = static_cast<int>(i + 1);
  for (size_t k = i; k < lines.size(); ++k) {
    out->body += lines[k];
    out->body += '\n';
  }
  // A topic with a context takes part in the build even after other errors, so the
  // checks that span topics (duplicates, links) still report.
  return closed && sawContext;
}

bool ParseManifest(const std::string& file, const std::string& text, Manifest* out, Diagnostics* diags) {
  const size_t before = diags->size();
  out->file = file;
  const std::vector<std::string> lines = Lines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int line = static_cast<int>(i + 1);
    const std::string content = Trim(StripComment(lines[i]));
    if (content.empty()) continue;
    if (const size_t plus = content.find("+="); content.starts_with("list ") && plus != std::string::npos) {
      const std::string name = Trim(content.substr(5, plus - 5));
      if (name.empty()) diags->Error(file, line, "list without a name");
      for (const std::string& ctx : SplitList(content.substr(plus + 2), ',')) out->lists[name].members.push_back({ctx, line});
      continue;
    }
    std::string key, value;
    if (!SplitKeyValue(content, &key, &value)) {
      diags->Error(file, line, "manifest line is not 'key: value'");
      continue;
    }
    const Located v{value, line};
    if (key == "contents") {
      if (out->contents) diags->Error(file, line, "'contents' given twice");
      out->contents = v;
    } else if (key.starts_with("list ")) {
      const std::string name = Trim(key.substr(5));
      ListDeclaration& list = out->lists[name];
      if (name.empty()) diags->Error(file, line, "list without a name");
      if (list.description.line != 0) diags->Error(file, line, "list " + name + " declared twice");
      list.description = v;
    } else if (key.starts_with("wordwheel ")) {
      const std::string name = Trim(key.substr(10));
      if (name.empty() || name == "|a") diags->Error(file, line, "word wheel needs a name other than |a (built from the titles)");
      else if (!out->wordWheels.emplace(name, v).second) diags->Error(file, line, "word wheel " + name + " declared twice");
    } else if (key == "baggage" || key == "text") {
      const size_t as = value.rfind(" as ");
      BaggageEntry e;
      e.text = key == "text";
      e.source = {Trim(value.substr(0, as)), line};
      e.name = as == std::string::npos ? "" : Trim(value.substr(as + 4));
      if (as == std::string::npos || e.source.value.empty() || e.name.empty())
        diags->Error(file, line, key + " lines read '<path> as <name>'");
      else out->baggage.push_back(std::move(e));
    } else if (key.starts_with("font ")) {
      int index = -1;
      const std::string n = Trim(key.substr(5));
      std::from_chars(n.data(), n.data() + n.size(), index);
      if (index < 0 || index > 254 || value.empty()) diags->Error(file, line, "font lines read 'font N: face' with N from 0 to 254");
      else out->fonts[index] = v;
    } else {
      diags->Error(file, line, "unknown manifest key '" + key + "'");
    }
  }
  return diags->size() == before;
}

bool ParseWordWheelFile(const std::string& file, const std::string& text, std::vector<WordWheelLine>* out, Diagnostics* diags) {
  const size_t before = diags->size();
  const std::vector<std::string> lines = Lines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int line = static_cast<int>(i + 1);
    const std::string content = Trim(StripComment(lines[i]));
    if (content.empty()) continue;
    const size_t colon = content.rfind(':');
    if (colon == std::string::npos || Trim(content.substr(0, colon)).empty()) {
      diags->Error(file, line, "word-wheel lines read 'key: context, context...'");
      continue;
    }
    out->push_back({{Trim(content.substr(0, colon)), line}, SplitList(content.substr(colon + 1), ',')});
  }
  return diags->size() == before;
}

}  // namespace kro::titlec
