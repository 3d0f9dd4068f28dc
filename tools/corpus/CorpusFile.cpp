#include "tools/corpus/CorpusFile.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "runtime/base/Cp1251.h"
#include "tools/corpus/WordForms.h"

namespace kro::corpus {

bool WritePlainArticle(std::FILE* out, const Article& article) {
  std::string text = "@@ " + article.title + "\n";
  for (const std::string& paragraph : article.paragraphs) text += paragraph + "\n";
  return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}

bool ReadPlainCorpus(const std::string& path, const std::function<void(const Article&)>& visit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  Article article;
  bool open = false;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("@@ ", 0) == 0) {
      if (open) visit(article);
      article = Article{line.substr(3), {}};
      open = true;
    } else if (open) {
      article.paragraphs.push_back(line);
    }
  }
  if (open) visit(article);
  return true;
}

bool LoadRussianForms(const std::string& affPath, const std::string& dicPath, std::vector<std::string>* forms,
                      std::string* error) {
  const bool ok = ExpandDictionary(affPath, dicPath, [&](std::string_view form) {
    const auto text = Utf8ToCp1251(form);
    if (!text || text->empty()) return;
    for (char c : *text) {
      const auto b = static_cast<uint8_t>(c);
      if (!(b >= 0xC0 || b == 0xA8 || b == 0xB8)) return;  // Cyrillic letters only
    }
    forms->push_back(*text);
  }, error);
  std::sort(forms->begin(), forms->end());
  forms->erase(std::unique(forms->begin(), forms->end()), forms->end());
  return ok;
}

}  // namespace kro::corpus
