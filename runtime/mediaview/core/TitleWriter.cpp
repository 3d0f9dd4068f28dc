#include "runtime/mediaview/core/TitleWriter.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "runtime/base/Cp1251.h"
#include "runtime/mediaview/core/Collation.h"

namespace kro::mv {
namespace {

class Bytes {
public:
  void U8(uint8_t v) { b_.push_back(v); }
  void U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
  }
  void Append(const std::vector<uint8_t>& v) { b_.insert(b_.end(), v.begin(), v.end()); }
  void Append(std::string_view s) { b_.insert(b_.end(), s.begin(), s.end()); }
  void PutU32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b_[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }
  uint32_t size() const { return static_cast<uint32_t>(b_.size()); }
  std::vector<uint8_t>& vec() { return b_; }

private:
  std::vector<uint8_t> b_;
};

// The string pool: each distinct string stored once.
class StringPool {
public:
  std::optional<uint32_t> Add(std::string_view s) {
    if (s.size() > 0xFFFF) return std::nullopt;
    const auto [it, fresh] = refs_.try_emplace(std::string(s), pool_.size());
    if (fresh) {
      pool_.U16(static_cast<uint16_t>(s.size()));
      pool_.Append(s);
    }
    return it->second;
  }
  Bytes& bytes() { return pool_; }

private:
  Bytes pool_;
  std::unordered_map<std::string, uint32_t> refs_;
};

int CompareFoldedNames(const std::string& a, const std::string& b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const int ca = Cp1251Lower(static_cast<uint8_t>(a[i]));
    const int cb = Cp1251Lower(static_cast<uint8_t>(b[i]));
    if (ca != cb) return ca - cb;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

class Writer {
public:
  Writer(const TitleSource& source, std::string* error) : src_(source), error_(error) {}

  std::optional<std::vector<uint8_t>> Run() {
    const uint32_t n = static_cast<uint32_t>(src_.topics.size());
    if (n > kMaxTopics || src_.articleCount > n) return Fail("too many topics");
    if (src_.contentsTopic != kNone && src_.contentsTopic >= n) return Fail("contents topic outside the title");
    if (src_.fonts.empty() || src_.fonts.size() > kMaxFonts) return Fail("font table must hold 1 to 255 fonts");
    Bytes summary;
    summary.U32(n);
    summary.U32(src_.articleCount);
    summary.U32(src_.contentsTopic);
    summary.U32(0);
    Add(SectionKind::Summary, summary);
    if (!Topics() || !Contexts() || !Fonts() || !WordWheels() || !StoredLists() || !Baggage()) return std::nullopt;
    if (src_.fullTextIndex) {
      Bytes fti;
      fti.Append(*src_.fullTextIndex);
      Add(SectionKind::FullTextIndex, fti);
    }
    Add(SectionKind::Strings, strings_.bytes());
    return Assemble();
  }

private:
  std::nullopt_t Fail(std::string message) {
    *error_ = std::move(message);
    return std::nullopt;
  }

  bool Bad(std::string message) {
    *error_ = std::move(message);
    return false;
  }

  void Add(SectionKind kind, Bytes& bytes) { sections_.push_back({kind, std::move(bytes.vec())}); }

  bool Ref(std::string_view s, uint32_t* ref) {
    const auto r = strings_.Add(s);
    if (!r) return Bad("string longer than 65535 bytes");
    *ref = *r;
    return true;
  }

  bool OptionalRef(const std::optional<std::string>& s, uint32_t* ref) {
    *ref = kNone;
    return !s || Ref(*s, ref);
  }

  bool Topics() {
    Bytes table, text;
    for (const TopicSource& t : src_.topics) {
      if (t.title && t.title->size() > kMaxNameBytes) return Bad("topic title longer than 255 bytes: " + *t.title);
      if (t.context.empty() || t.context.size() > kMaxNameBytes) return Bad("bad context string: " + t.context);
      const uint32_t blobOffset = text.size();
      const size_t start = text.vec().size();
      text.U32(static_cast<uint32_t>(t.heading.size()));
      text.U32(static_cast<uint32_t>(t.body.size()));
      text.Append(t.heading);
      text.Append(t.body);
      const uint32_t blobSize = text.size() - blobOffset;
      uint32_t titleRef, contextRef, dataRef;
      if (!OptionalRef(t.title, &titleRef) || !Ref(t.context, &contextRef) || !OptionalRef(t.data, &dataRef)) return false;
      table.U32(blobOffset);
      table.U32(blobSize);
      table.U32(Crc32(text.vec().data() + start, blobSize));
      table.U32(titleRef);
      table.U32(contextRef);
      table.U32(dataRef);
      table.U32(t.browsePrev);
      table.U32(t.browseNext);
    }
    Add(SectionKind::Topics, table);
    Add(SectionKind::TopicText, text);
    return true;
  }

  bool Contexts() {
    std::vector<std::pair<uint32_t, uint32_t>> hashes;
    for (uint32_t i = 0; i < src_.topics.size(); ++i) hashes.emplace_back(ContextHash(src_.topics[i].context), i);
    std::sort(hashes.begin(), hashes.end());
    Bytes out;
    out.U32(static_cast<uint32_t>(hashes.size()));
    for (size_t i = 0; i < hashes.size(); ++i) {
      if (i > 0 && hashes[i].first == hashes[i - 1].first)
        return Bad("context strings " + src_.topics[hashes[i - 1].second].context + " and " +
                    src_.topics[hashes[i].second].context + " share a hash");
      out.U32(hashes[i].first);
      out.U32(hashes[i].second);
    }
    Add(SectionKind::Contexts, out);
    return true;
  }

  bool Fonts() {
    Bytes out;
    out.U32(static_cast<uint32_t>(src_.fonts.size()));
    for (const FontSource& f : src_.fonts) {
      if (f.face.empty() || f.face.size() >= kFontFaceBytes) return Bad("bad font face name: " + f.face);
      std::string face = f.face;
      face.resize(kFontFaceBytes, '\0');
      out.Append(face);
      out.U8(f.charset);
      out.U8(f.family);
      out.U16(0);
    }
    Add(SectionKind::Fonts, out);
    return true;
  }

  bool CheckTopics(const std::vector<uint32_t>& topics, const std::string& where) {
    for (const uint32_t t : topics)
      if (t >= src_.topics.size()) return Bad(where + " names topic " + std::to_string(t) + ", which does not exist");
    return true;
  }

  bool WordWheels() {
    if (src_.wordWheels.empty()) return true;
    Bytes table, entries, addrs;
    const uint32_t headerSize = 4 + static_cast<uint32_t>(src_.wordWheels.size()) * 20;
    struct Pending {
      uint32_t nameRef, count, entriesAt, addrsAt, addrCount;
    };
    std::vector<Pending> wheels;
    for (const auto& [name, wheel] : src_.wordWheels) {
      std::vector<const WordWheelSource::Entry*> sorted;
      for (const auto& e : wheel.entries) sorted.push_back(&e);
      std::stable_sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return CompareKeys(a->key, b->key) < 0; });
      Pending p{};
      if (!Ref(name, &p.nameRef)) return false;
      p.count = static_cast<uint32_t>(sorted.size());
      p.entriesAt = entries.size();
      p.addrsAt = addrs.size() / 4;
      for (size_t i = 0; i < sorted.size(); ++i) {
        const auto* e = sorted[i];
        if (e->key.size() > kMaxNameBytes) return Bad("word-wheel key longer than 255 bytes: " + e->key);
        if (i > 0 && sorted[i - 1]->key == e->key) return Bad("word wheel " + name + " holds the key " + e->key + " twice");
        if (!CheckTopics(e->topics, "word-wheel key " + e->key)) return false;
        uint32_t keyRef;
        if (!Ref(e->key, &keyRef)) return false;
        entries.U32(keyRef);
        entries.U32(addrs.size() / 4 - p.addrsAt);
        entries.U32(static_cast<uint32_t>(e->topics.size()));
        for (const uint32_t t : e->topics) addrs.U32(t);
      }
      p.addrCount = addrs.size() / 4 - p.addrsAt;
      wheels.push_back(p);
    }
    // Wheels are laid out as: table, all entries, all addresses; offsets from the section start.
    table.U32(static_cast<uint32_t>(wheels.size()));
    for (const Pending& p : wheels) {
      table.U32(p.nameRef);
      table.U32(p.count);
      table.U32(headerSize + p.entriesAt);
      table.U32(headerSize + entries.size() + p.addrsAt * 4);
      table.U32(p.addrCount);
    }
    table.Append(entries.vec());
    table.Append(addrs.vec());
    Add(SectionKind::WordWheels, table);
    return true;
  }

  bool StoredLists() {
    if (src_.storedLists.empty()) return true;
    Bytes table, arrays;
    const uint32_t headerSize = 4 + static_cast<uint32_t>(src_.storedLists.size()) * 12;
    table.U32(static_cast<uint32_t>(src_.storedLists.size()));
    for (const auto& [name, topics] : src_.storedLists) {  // std::map: ascending by bytes
      if (name.empty() || name.size() > kMaxNameBytes) return Bad("bad stored list name: " + name);
      if (!CheckTopics(topics, "stored list " + name)) return false;
      std::vector<uint32_t> sorted = topics;
      std::sort(sorted.begin(), sorted.end());
      sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
      uint32_t nameRef;
      if (!Ref(name, &nameRef)) return false;
      table.U32(nameRef);
      table.U32(static_cast<uint32_t>(sorted.size()));
      table.U32(headerSize + arrays.size());
      for (const uint32_t t : sorted) arrays.U32(t);
    }
    table.Append(arrays.vec());
    Add(SectionKind::StoredLists, table);
    return true;
  }

  bool Baggage() {
    if (src_.baggage.empty()) return true;
    std::vector<const std::pair<const std::string, std::vector<uint8_t>>*> files;
    for (const auto& f : src_.baggage) files.push_back(&f);
    std::sort(files.begin(), files.end(), [](auto* a, auto* b) {
      const int c = CompareFoldedNames(a->first, b->first);
      return c != 0 ? c < 0 : a->first < b->first;
    });
    Bytes table, data;
    table.U32(static_cast<uint32_t>(files.size()));
    for (size_t i = 0; i < files.size(); ++i) {
      const auto& [name, bytes] = *files[i];
      if (name.empty() || name.size() > kMaxNameBytes) return Bad("bad baggage name: " + name);
      if (i > 0 && CompareFoldedNames(files[i - 1]->first, name) == 0)
        return Bad("baggage names " + files[i - 1]->first + " and " + name + " differ only in case");
      if (bytes.size() > 0x7FFFFFFF) return Bad("baggage file too large: " + name);
      uint32_t nameRef;
      if (!Ref(name, &nameRef)) return false;
      table.U32(nameRef);
      table.U32(data.size());
      table.U32(static_cast<uint32_t>(bytes.size()));
      table.U32(Crc32(bytes.data(), bytes.size()));
      data.Append(bytes);
    }
    Add(SectionKind::Baggage, table);
    Add(SectionKind::BaggageData, data);
    return true;
  }

  std::optional<std::vector<uint8_t>> Assemble() {
    std::sort(sections_.begin(), sections_.end(), [](auto& a, auto& b) { return a.kind < b.kind; });
    const auto count = static_cast<uint32_t>(sections_.size());
    Bytes dir;
    uint64_t offset = kHeaderSize + uint64_t{count} * kDirectoryEntrySize;
    for (const auto& s : sections_) {
      if (offset + s.bytes.size() > 0xFFFFFFFFu) return Fail("title larger than 4 GiB");
      dir.U32(static_cast<uint32_t>(s.kind));
      dir.U32(static_cast<uint32_t>(offset));
      dir.U32(static_cast<uint32_t>(s.bytes.size()));
      dir.U32(Crc32(s.bytes.data(), s.bytes.size()));
      offset += s.bytes.size();
    }
    Bytes file;
    file.Append(std::string_view(kTitleMagic, sizeof kTitleMagic));
    file.U16(kTitleMajor);
    file.U16(kTitleMinor);
    file.U32(count);
    file.U32(Crc32(dir.vec().data(), dir.vec().size()));
    file.U32(static_cast<uint32_t>(offset));
    file.U32(0);
    file.U32(0);
    file.Append(dir.vec());
    for (const auto& s : sections_) file.Append(s.bytes);
    return std::move(file.vec());
  }

  struct Section {
    SectionKind kind;
    std::vector<uint8_t> bytes;
  };
  const TitleSource& src_;
  std::string* error_;
  StringPool strings_;
  std::vector<Section> sections_;
};

}  // namespace

std::optional<std::vector<uint8_t>> WriteTitle(const TitleSource& source, std::string* error) {
  return Writer(source, error).Run();
}

}  // namespace kro::mv
