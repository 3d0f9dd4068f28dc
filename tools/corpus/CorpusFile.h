#pragma once
// The plain corpus file the benchmarks read: cp1251 text, each article a line "@@ TITLE"
// followed by its paragraphs, one a line.
#include <functional>
#include <string>
#include <vector>

#include "tools/corpus/CorpusGenerator.h"

namespace kro::corpus {

bool WritePlainArticle(std::FILE* out, const Article& article);
// Calls `visit` for each article in file order; false when the file cannot be read.
bool ReadPlainCorpus(const std::string& path, const std::function<void(const Article&)>& visit);
// Loads the dictionary's word forms made only of Cyrillic letters, as cp1251, sorted and
// without repeats.
bool LoadRussianForms(const std::string& affPath, const std::string& dicPath, std::vector<std::string>* forms,
                      std::string* error);

}  // namespace kro::corpus
