// corpus: writes a generated corpus of Russian-looking articles.
//   corpus --articles N [--seed S] [--plain FILE] [--authoring DIR] [--aff F --dic F]
// --plain writes the file the search benchmark reads; --authoring writes a title source
// folder (articles/*.md and manifest.txt) for the title compiler.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "runtime/base/Cp1251.h"
#include "tools/corpus/CorpusFile.h"
#include "tools/corpus/CorpusGenerator.h"

namespace {

struct Options {
  long articles = 10000;
  unsigned long long seed = 1997;
  std::string plain, authoring;
  std::string aff = "/usr/share/hunspell/ru_RU.aff";
  std::string dic = "/usr/share/hunspell/ru_RU.dic";
};

bool ParseOptions(int argc, char** argv, Options* o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    const char* value = argv[i + 1];
    if (key == "--articles") o->articles = std::atol(value);
    else if (key == "--seed") o->seed = std::strtoull(value, nullptr, 10);
    else if (key == "--plain") o->plain = value;
    else if (key == "--authoring") o->authoring = value;
    else if (key == "--aff") o->aff = value;
    else if (key == "--dic") o->dic = value;
    else return false;
  }
  return argc % 2 == 1 && o->articles > 0 && (!o->plain.empty() || !o->authoring.empty());
}

bool WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::FILE* f = std::fopen(path.string().c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

std::string ContextOf(long n) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "topic_%06ld", n);
  return buffer;
}

// One topic file of the authoring format: front matter, the title as the heading, then
// the paragraphs.
std::string AuthoringText(long n, const kro::corpus::Article& article) {
  const std::string title = kro::Cp1251ToUtf8(article.title);
  std::string text = "---\ncontext: " + ContextOf(n) + "\ntitle: " + title + "\n---\n# " + title + "\n";
  for (const std::string& paragraph : article.paragraphs) text += "\n" + kro::Cp1251ToUtf8(paragraph) + "\n";
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, &o)) {
    std::fprintf(stderr, "usage: corpus --articles N [--seed S] [--plain FILE] [--authoring DIR] [--aff F --dic F]\n");
    return 2;
  }
  std::vector<std::string> forms;
  std::string error;
  if (!kro::corpus::LoadRussianForms(o.aff, o.dic, &forms, &error) || forms.empty()) {
    std::fprintf(stderr, "corpus: %s\n", error.empty() ? "no word forms" : error.c_str());
    return 1;
  }
  std::fprintf(stderr, "corpus: %zu word forms\n", forms.size());
  std::FILE* plain = nullptr;
  if (!o.plain.empty() && !(plain = std::fopen((o.plain + ".tmp").c_str(), "wb"))) {
    std::fprintf(stderr, "corpus: cannot write %s\n", o.plain.c_str());
    return 1;
  }
  if (!o.authoring.empty()) std::filesystem::create_directories(std::filesystem::path(o.authoring) / "articles");
  kro::corpus::CorpusGenerator generator(std::move(forms), o.seed);
  std::set<std::string> titles;
  for (long n = 0; n < o.articles; ++n) {
    kro::corpus::Article article = generator.Next();
    while (!titles.insert(article.title).second) article = generator.Next();  // titles are unique
    bool ok = !plain || kro::corpus::WritePlainArticle(plain, article);
    if (!o.authoring.empty()) {
      ok = ok && WriteFile(std::filesystem::path(o.authoring) / "articles" / (ContextOf(n) + ".md"),
                           AuthoringText(n, article));
    }
    if (!ok) {
      std::fprintf(stderr, "corpus: write failed at article %ld\n", n);
      return 1;
    }
    if (n % 10000 == 9999) std::fprintf(stderr, "corpus: %ld articles\n", n + 1);
  }
  if (plain) {
    if (std::fclose(plain) != 0) return 1;
    std::filesystem::rename(o.plain + ".tmp", o.plain);
  }
  if (!o.authoring.empty() &&
      !WriteFile(std::filesystem::path(o.authoring) / "manifest.txt", "contents: " + ContextOf(0) + "\n")) {
    return 1;
  }
  return 0;
}
