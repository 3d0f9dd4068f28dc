#pragma once
// Generates Russian-looking encyclopedia articles from dictionary word forms drawn with a
// Zipf distribution. Deterministic for a seed, so every run and machine gets one corpus.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace kro::corpus {

struct Article {
  std::string title;                    // cp1251, upper case
  std::vector<std::string> paragraphs;  // cp1251
};

class CorpusGenerator {
public:
  // `forms` are cp1251 words in a fixed order; the generator shuffles them by the seed and
  // ranks them for the Zipf draw.
  CorpusGenerator(std::vector<std::string> forms, uint64_t seed);

  Article Next();

private:
  const std::string& DrawWord();
  std::string Sentence(size_t words);
  uint64_t Below(uint64_t bound);

  std::vector<std::string> forms_;
  std::vector<double> cumulative_;  // Zipf weights by rank, summed
  std::vector<std::string> functionWords_;
  std::mt19937_64 random_;
};

// The body's plain text as a title shows it: paragraphs on lines of their own.
std::string BodyText(const Article& article);

}  // namespace kro::corpus
