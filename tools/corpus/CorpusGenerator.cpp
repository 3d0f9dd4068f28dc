#include "tools/corpus/CorpusGenerator.h"

#include <algorithm>
#include <array>

#include "runtime/base/Cp1251.h"

namespace kro::corpus {
namespace {

// Zipf's law with the Mandelbrot offset that fits running text: weight 1 / (rank + 2.7).
constexpr double kZipfOffset = 2.7;
// Share of function words (prepositions, conjunctions, particles) in Russian prose.
constexpr double kFunctionWordShare = 0.22;
constexpr double kCommaChance = 0.07;
constexpr double kHyphenChance = 0.01;

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(Cp1251Upper(static_cast<uint8_t>(c)));
  return text;
}

}  // namespace

CorpusGenerator::CorpusGenerator(std::vector<std::string> forms, uint64_t seed)
    : forms_(std::move(forms)), random_(seed) {
  // Fisher-Yates with the raw engine output: the same order on every standard library.
  for (size_t i = forms_.size(); i > 1; --i) std::swap(forms_[i - 1], forms_[Below(i)]);
  cumulative_.reserve(forms_.size());
  double sum = 0;
  for (size_t rank = 0; rank < forms_.size(); ++rank) {
    sum += 1.0 / (static_cast<double>(rank) + kZipfOffset);
    cumulative_.push_back(sum);
  }
  static constexpr std::array kFunction = {u8"и", u8"в", u8"не", u8"на", u8"с", u8"что", u8"по",
      u8"к", u8"из", u8"за", u8"от", u8"о", u8"для", u8"до", u8"а", u8"но", u8"при", u8"под"};
  for (const char8_t* w : kFunction) {
    const std::u8string_view view(w);
    functionWords_.push_back(Utf8ToCp1251({reinterpret_cast<const char*>(view.data()), view.size()}).value_or(""));
  }
}

uint64_t CorpusGenerator::Below(uint64_t bound) { return random_() % bound; }

const std::string& CorpusGenerator::DrawWord() {
  const double u = static_cast<double>(random_() >> 11) * 0x1.0p-53;
  if (u < kFunctionWordShare) return functionWords_[Below(functionWords_.size())];
  const double target = static_cast<double>(random_() >> 11) * 0x1.0p-53 * cumulative_.back();
  const auto it = std::lower_bound(cumulative_.begin(), cumulative_.end(), target);
  return forms_[std::min<size_t>(static_cast<size_t>(it - cumulative_.begin()), forms_.size() - 1)];
}

std::string CorpusGenerator::Sentence(size_t words) {
  std::string out;
  for (size_t i = 0; i < words; ++i) {
    if (i > 0) out += ' ';
    out += DrawWord();
    if (i + 1 < words && Below(1000) < kHyphenChance * 1000) {
      out += '-';
      out += DrawWord();
    } else if (i + 1 < words && Below(1000) < kCommaChance * 1000) {
      out += ',';
    }
  }
  out[0] = static_cast<char>(Cp1251Upper(static_cast<uint8_t>(out[0])));
  out += '.';
  return out;
}

Article CorpusGenerator::Next() {
  Article article;
  const size_t titleWords = 1 + Below(3);
  for (size_t i = 0; i < titleWords; ++i) {
    if (i > 0) article.title += ' ';
    std::string word;
    do word = DrawWord(); while (word.size() < 3);
    article.title += Upper(word);
  }
  // Between 100 and 600 words, 350 on average, in paragraphs of a few sentences.
  size_t remaining = 100 + Below(501);
  while (remaining > 0) {
    std::string paragraph;
    for (size_t sentences = 2 + Below(4); sentences > 0 && remaining > 0; --sentences) {
      const size_t words = std::min(remaining, 6 + Below(13));
      if (!paragraph.empty()) paragraph += ' ';
      paragraph += Sentence(words);
      remaining -= words;
    }
    article.paragraphs.push_back(std::move(paragraph));
  }
  return article;
}

std::string BodyText(const Article& article) {
  std::string text;
  for (const std::string& paragraph : article.paragraphs) {
    if (!text.empty()) text += '\n';
    text += paragraph;
  }
  return text;
}

}  // namespace kro::corpus
