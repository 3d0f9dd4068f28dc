#include "tools/corpus/WordForms.h"

#include <fstream>
#include <map>
#include <vector>

namespace kro::corpus {
namespace {

// KOI8-R bytes 0xC0..0xFF as Unicode code points (the Cyrillic letters).
constexpr char32_t kKoi8Cyrillic[64] = {
    0x44E, 0x430, 0x431, 0x446, 0x434, 0x435, 0x444, 0x433, 0x445, 0x438, 0x439, 0x43A, 0x43B, 0x43C, 0x43D, 0x43E,
    0x43F, 0x44F, 0x440, 0x441, 0x442, 0x443, 0x436, 0x432, 0x44C, 0x44B, 0x437, 0x448, 0x44D, 0x449, 0x447, 0x44A,
    0x42E, 0x410, 0x411, 0x426, 0x414, 0x415, 0x424, 0x413, 0x425, 0x418, 0x419, 0x41A, 0x41B, 0x41C, 0x41D, 0x41E,
    0x41F, 0x42F, 0x420, 0x421, 0x422, 0x423, 0x416, 0x412, 0x42C, 0x42B, 0x417, 0x428, 0x42D, 0x429, 0x427, 0x42A};

std::u32string DecodeKoi8(std::string_view text) {
  std::u32string out;
  for (char ch : text) {
    const auto b = static_cast<uint8_t>(ch);
    if (b >= 0xC0) out.push_back(kKoi8Cyrillic[b - 0xC0]);
    else if (b == 0xA3) out.push_back(0x451);
    else if (b == 0xB3) out.push_back(0x401);
    else out.push_back(b);
  }
  return out;
}

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<uint8_t>(text[i]);
    const int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
    char32_t cp = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < text.size(); ++k) cp = cp << 6 | (static_cast<uint8_t>(text[i + k]) & 0x3F);
    out.push_back(cp);
    i += 1 + extra;
  }
  return out;
}

std::string EncodeUtf8(std::u32string_view text) {
  std::string out;
  for (char32_t cp : text) {
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | cp >> 6));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | cp >> 12));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

// One element of a rule's condition: a character, any character, or a class.
struct CondChar {
  std::u32string set;  // empty: any character
  bool negated = false;
};

struct Rule {
  std::u32string strip, add;
  std::vector<CondChar> condition;
  bool suffix = true;
};

std::vector<CondChar> ParseCondition(std::u32string_view text) {
  std::vector<CondChar> out;
  for (size_t i = 0; i < text.size(); ++i) {
    CondChar c;
    if (text[i] == U'[') {
      size_t close = text.find(U']', i);
      if (close == std::u32string_view::npos) close = text.size();
      size_t start = i + 1;
      if (start < close && text[start] == U'^') {
        c.negated = true;
        ++start;
      }
      c.set = text.substr(start, close - start);
      i = close;
    } else if (text[i] != U'.') {
      c.set = text.substr(i, 1);
    }
    out.push_back(c);
  }
  return out;
}

bool Matches(const CondChar& c, char32_t ch) {
  if (c.set.empty() && !c.negated) return true;
  return (c.set.find(ch) != std::u32string::npos) != c.negated;
}

bool ConditionHolds(const Rule& rule, std::u32string_view word) {
  const auto& cond = rule.condition;
  if (cond.size() > word.size()) return false;
  const size_t start = rule.suffix ? word.size() - cond.size() : 0;
  for (size_t i = 0; i < cond.size(); ++i) {
    if (!Matches(cond[i], word[start + i])) return false;
  }
  return true;
}

std::u32string Field(std::u32string_view text) {
  const std::u32string f(text.substr(0, text.find(U'/')));  // continuation flags are not used
  return f == U"0" ? std::u32string() : f;
}

}  // namespace

bool ExpandDictionary(const std::string& affPath, const std::string& dicPath,
                      const std::function<void(std::string_view form)>& visit, std::string* error) {
  std::ifstream aff(affPath, std::ios::binary), dic(dicPath, std::ios::binary);
  if (!aff || !dic) {
    *error = "cannot read " + (!aff ? affPath : dicPath);
    return false;
  }
  bool koi8 = false;
  std::map<char32_t, std::vector<Rule>> rules;
  std::string line;
  while (std::getline(aff, line)) {
    if (line.rfind("SET ", 0) == 0) koi8 = line.find("KOI8") != std::string::npos;
    const std::u32string text = koi8 ? DecodeKoi8(line) : DecodeUtf8(line);
    std::vector<std::u32string> parts;
    size_t i = 0;
    while (i < text.size()) {
      while (i < text.size() && (text[i] == U' ' || text[i] == U'\t' || text[i] == U'\r')) ++i;
      const size_t start = i;
      while (i < text.size() && text[i] != U' ' && text[i] != U'\t' && text[i] != U'\r') ++i;
      if (i > start) parts.push_back(text.substr(start, i - start));
    }
    if (parts.size() < 5 || (parts[0] != U"SFX" && parts[0] != U"PFX")) continue;
    Rule rule;
    rule.suffix = parts[0] == U"SFX";
    rule.strip = Field(parts[2]);
    rule.add = Field(parts[3]);
    rule.condition = ParseCondition(parts[4]);
    rules[parts[1][0]].push_back(std::move(rule));
  }
  std::getline(dic, line);  // the word count
  while (std::getline(dic, line)) {
    const std::u32string entry = koi8 ? DecodeKoi8(line) : DecodeUtf8(line);
    const size_t slash = entry.find(U'/');
    std::u32string word = entry.substr(0, slash);
    while (!word.empty() && (word.back() == U'\r' || word.back() == U' ' || word.back() == U'\t')) word.pop_back();
    if (word.empty()) continue;
    visit(EncodeUtf8(word));
    if (slash == std::u32string::npos) continue;
    for (size_t f = slash + 1; f < entry.size(); ++f) {
      const auto found = rules.find(entry[f]);
      if (found == rules.end()) continue;
      for (const Rule& rule : found->second) {
        if (!ConditionHolds(rule, word)) continue;
        if (rule.suffix) {
          if (word.size() < rule.strip.size() ||
              word.compare(word.size() - rule.strip.size(), rule.strip.size(), rule.strip) != 0) {
            continue;
          }
          visit(EncodeUtf8(word.substr(0, word.size() - rule.strip.size()) + rule.add));
        } else {
          if (word.compare(0, rule.strip.size(), rule.strip) != 0) continue;
          visit(EncodeUtf8(rule.add + word.substr(rule.strip.size())));
        }
      }
    }
  }
  return true;
}

}  // namespace kro::corpus
