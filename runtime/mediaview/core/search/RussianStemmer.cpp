#include "runtime/mediaview/core/search/RussianStemmer.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/base/Cp1251.h"

// The algorithm in brief. RV is the part of the word after its first vowel; R2 is the
// standard Snowball region (after vowel, non-vowel, vowel, non-vowel). All endings are
// looked for inside RV. Each list of endings is matched longest first, and when the
// longest match fails its condition the list fails: there is no retry with a shorter one.
//   1. A perfective gerund ending is removed; otherwise a reflexive ending is removed if
//      present and then the first of an adjectival (adjective, optionally preceded by a
//      participle), a verb or a noun ending.
//   2. A final и is removed.
//   3. A derivational ending lying wholly in R2 is removed.
//   4. A superlative ending is removed and нн undoubled, or нн undoubled, or a final ь
//      removed.
// Endings of group 1 count only when preceded by а or я (inside RV), which stays.

namespace kro::search {
namespace {

struct Ending {
  std::string text;
  bool afterAOrYa;  // group 1: must follow а or я
};

using Endings = std::vector<Ending>;

// Builds a list from UTF-8 spellings: group 1 first, then group 2.
Endings MakeEndings(std::initializer_list<const char8_t*> group1,
                    std::initializer_list<const char8_t*> group2) {
  Endings endings;
  auto add = [&](const char8_t* utf8, bool afterAOrYa) {
    const std::u8string_view view(utf8);
    auto text = Utf8ToCp1251({reinterpret_cast<const char*>(view.data()), view.size()});
    endings.push_back({text.value_or(std::string()), afterAOrYa});
  };
  for (const char8_t* e : group1) add(e, true);
  for (const char8_t* e : group2) add(e, false);
  return endings;
}

struct Tables {
  Endings perfectiveGerund = MakeEndings({u8"в", u8"вши", u8"вшись"},
      {u8"ив", u8"ивши", u8"ившись", u8"ыв", u8"ывши", u8"ывшись"});
  Endings adjective = MakeEndings({}, {u8"ее", u8"ие", u8"ые", u8"ое", u8"ими", u8"ыми",
      u8"ей", u8"ий", u8"ый", u8"ой", u8"ем", u8"им", u8"ым", u8"ом", u8"его", u8"ого",
      u8"ему", u8"ому", u8"их", u8"ых", u8"ую", u8"юю", u8"ая", u8"яя", u8"ою", u8"ею"});
  Endings participle = MakeEndings({u8"ем", u8"нн", u8"вш", u8"ющ", u8"щ"},
      {u8"ивш", u8"ывш", u8"ующ"});
  Endings reflexive = MakeEndings({}, {u8"ся", u8"сь"});
  Endings verb = MakeEndings({u8"ла", u8"на", u8"ете", u8"йте", u8"ли", u8"й", u8"л",
      u8"ем", u8"н", u8"ло", u8"но", u8"ет", u8"ют", u8"ны", u8"ть", u8"ешь", u8"нно"},
      {u8"ила", u8"ыла", u8"ена", u8"ейте", u8"уйте", u8"ите", u8"или", u8"ыли", u8"ей",
       u8"уй", u8"ил", u8"ыл", u8"им", u8"ым", u8"ен", u8"ило", u8"ыло", u8"ено", u8"ят",
       u8"ует", u8"уют", u8"ит", u8"ыт", u8"ены", u8"ить", u8"ыть", u8"ишь", u8"ую", u8"ю"});
  Endings noun = MakeEndings({}, {u8"а", u8"ев", u8"ов", u8"ие", u8"ье", u8"е", u8"иями",
      u8"ями", u8"ами", u8"еи", u8"ии", u8"и", u8"ией", u8"ей", u8"ой", u8"ий", u8"й",
      u8"иям", u8"ям", u8"ием", u8"ем", u8"ам", u8"ом", u8"о", u8"у", u8"ах", u8"иях",
      u8"ях", u8"ы", u8"ь", u8"ию", u8"ью", u8"ю", u8"ия", u8"ья", u8"я"});
  Endings derivational = MakeEndings({}, {u8"ост", u8"ость"});
  Endings tidyUp = MakeEndings({}, {u8"ейш", u8"ейше", u8"н", u8"ь"});
};

const Tables& GetTables() {
  static const Tables tables;
  return tables;
}

constexpr char kA = '\xE0';
constexpr char kI = '\xE8';
constexpr char kN = '\xED';
constexpr char kYa = '\xFF';

bool IsVowel(char c) {
  switch (static_cast<uint8_t>(c)) {
    case 0xE0: case 0xE5: case 0xE8: case 0xEE: case 0xF3:  // а е и о у
    case 0xFB: case 0xFD: case 0xFE: case 0xFF:             // ы э ю я
      return true;
    default:
      return false;
  }
}

// The word being stemmed: its end moves left as endings are removed; nothing is looked at
// before `limit` (the start of RV).
class Word {
public:
  Word(std::string_view text, size_t limit) : text_(text), end_(text.size()), limit_(limit) {}

  size_t end() const { return end_; }

  // The longest ending of the list at the end of the word inside RV, or null.
  const Ending* Longest(const Endings& endings) const {
    const Ending* best = nullptr;
    for (const Ending& e : endings) {
      if (e.text.size() > end_ - limit_ || (best && e.text.size() <= best->text.size())) continue;
      if (text_.substr(end_ - e.text.size(), e.text.size()) == e.text) best = &e;
    }
    return best;
  }

  bool CharBefore(size_t length, char c) const {
    return end_ - length > limit_ && text_[end_ - length - 1] == c;
  }

  // Removes the longest ending of the list if its condition holds; false otherwise.
  bool Remove(const Endings& endings) {
    const Ending* e = Longest(endings);
    if (!e) return false;
    const size_t length = e->text.size();
    if (e->afterAOrYa && !CharBefore(length, kA) && !CharBefore(length, kYa)) return false;
    end_ -= length;
    return true;
  }

  bool EndsWith(char c) const { return end_ > limit_ && text_[end_ - 1] == c; }
  void Drop(size_t length) { end_ -= length; }

private:
  std::string_view text_;
  size_t end_;
  size_t limit_;
};

struct Regions {
  size_t rv;
  size_t r2;
};

// Position after the first vowel at or after `from` followed by a non-vowel: the Snowball
// "gopast v, gopast non-v" step. Answers size when there is none.
size_t PastVowelThenConsonant(std::string_view w, size_t from) {
  size_t i = from;
  while (i < w.size() && !IsVowel(w[i])) ++i;
  if (i == w.size()) return w.size();
  ++i;
  while (i < w.size() && IsVowel(w[i])) ++i;
  return i == w.size() ? w.size() : i + 1;
}

Regions MarkRegions(std::string_view w) {
  Regions r{w.size(), w.size()};
  size_t i = 0;
  while (i < w.size() && !IsVowel(w[i])) ++i;
  if (i == w.size()) return r;
  r.rv = i + 1;
  // R1 starts after the first vowel-consonant pair; R2 after the next one inside R1.
  const size_t r1 = PastVowelThenConsonant(w, 0);
  if (r1 < w.size()) r.r2 = PastVowelThenConsonant(w, r1);
  return r;
}

void Step1(Word& word, const Tables& t) {
  if (word.Remove(t.perfectiveGerund)) return;
  word.Remove(t.reflexive);
  if (word.Remove(t.adjective)) {
    word.Remove(t.participle);
    return;
  }
  if (word.Remove(t.verb)) return;
  word.Remove(t.noun);
}

void Step3Derivational(Word& word, const Tables& t, size_t r2) {
  const Ending* e = word.Longest(t.derivational);
  if (e && word.end() - e->text.size() >= r2) word.Drop(e->text.size());
}

void Step4TidyUp(Word& word, const Tables& t) {
  const Ending* e = word.Longest(t.tidyUp);
  if (!e) return;
  if (e->text.size() >= 3) {  // superlative
    word.Drop(e->text.size());
    if (word.EndsWith(kN) && word.CharBefore(1, kN)) word.Drop(1);
  } else if (e->text[0] == kN) {
    if (word.CharBefore(1, kN)) word.Drop(1);
  } else {
    word.Drop(1);  // soft sign
  }
}

}  // namespace

size_t RussianStemLength(std::string_view foldedWord) {
  const Tables& t = GetTables();
  const Regions regions = MarkRegions(foldedWord);
  Word word(foldedWord, regions.rv);
  Step1(word, t);
  if (word.EndsWith(kI)) word.Drop(1);
  Step3Derivational(word, t, regions.r2);
  Step4TidyUp(word, t);
  return word.end();
}

}  // namespace kro::search
