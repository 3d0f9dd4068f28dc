// QuickTime movie files, as far as this reader goes. All numbers are big-endian.
//
//   file      := atom*                       top level, in any order; 'moov' exactly once
//                                            is required, before or after 'mdat'
//   atom      := size:u32 type:fourcc body   size counts the header; 0 = to the end of the
//              | 1:u32 type:fourcc size:u64 body      enclosing atom (or file); 1 = 64-bit size
//   moov      := { mvhd trak* }              children in any order, unknown ones skipped
//   mvhd      := version:u8 flags:u24 (v0: created:u32 modified:u32 scale:u32 duration:u32 |
//                v1: created:u64 modified:u64 scale:u32 duration:u64)
//                rate:u32 volume:u16 reserved:10 matrix:36 preview:u32 u32 poster:u32 ...
//   trak      := { tkhd edts? mdia }         edts (edit lists) is skipped: we play media time
//   tkhd      := version flags (v0: 5 x u32 | v1: u64 u64 u32 u32 u64) reserved:8
//                layer:u16 group:u16 volume:u16 u16 matrix:36 width:16.16 height:16.16
//   mdia      := { mdhd hdlr minf }
//   mdhd      := version flags (v0: u32 u32 scale:u32 duration:u32 | v1: u64 u64 u32 u64)
//   hdlr      := version flags componentType:u32 handler:fourcc ...   'vide' or 'soun'
//   minf      := { stbl ... }
//   stbl      := { stsd stts stsc stsz (stco | co64) stss? }
//   stsd      := version flags count:u32 entry+    only the first entry is read
//     entry   := size:u32 codec:fourcc reserved:6 dataRef:u16 media
//     video   := version:u16 revision:u16 vendor:u32 temporal:u32 spatial:u32
//                width:u16 height:u16 ...
//     sound   := version:u16 revision:u16 vendor:u32 channels:u16 bits:u16 u16 u16
//                rate:16.16 (version 1: + 4 x u32)
//              | version 2: ... u16 u16 u16 u16 u32 structSize:u32 rate:f64 channels:u32
//                u32 bits:u32 flags:u32 bytesPerPacket:u32 framesPerPacket:u32
//   stts      := version flags count:u32 (sampleCount:u32 delta:u32)*
//   stsc      := version flags count:u32 (firstChunk:u32 samplesPerChunk:u32 desc:u32)*
//   stsz      := version flags sampleSize:u32 count:u32 (size:u32)* when sampleSize is 0
//   stco      := version flags count:u32 offset:u32*      co64: offset:u64*
//   stss      := version flags count:u32 sample:u32*      1-based key frames
//
// Sound samples of PCM tracks are single frames (one value per channel); the bytes of a
// chunk are its frame count times the frame size, whatever stsz says the sample size is.
// Every count is checked against the bytes its table holds and a named limit before any
// allocation, and every sample or chunk must lie inside the file.
#include "runtime/quicktime/core/MovieContainer.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "runtime/base/ByteReader.h"

namespace kro::qt {

std::string FourccText(uint32_t code) {
  std::string text(4, '?');
  for (int i = 0; i < 4; ++i) {
    const char c = static_cast<char>(code >> (24 - 8 * i));
    if (c >= 32 && c < 127) text[i] = c;
  }
  return text;
}

bool MemorySource::Read(uint64_t offset, std::span<uint8_t> out) {
  if (!RangeFits(offset, out.size(), bytes_.size())) return false;
  if (out.empty()) return true;  // memcpy must not see the null of an empty span
  std::memcpy(out.data(), bytes_.data() + offset, out.size());
  return true;
}

uint32_t VideoTrack::SampleAt(uint64_t mediaTime) const {
  const auto after = std::upper_bound(sampleTimes.begin(), sampleTimes.end(), mediaTime);
  if (after == sampleTimes.begin()) return 0;
  return static_cast<uint32_t>(after - sampleTimes.begin() - 1);
}

namespace {

// Atom bodies are read through ByteReaders that know where they sit in the file, so every
// fault names a file offset.
struct Atom {
  uint32_t type = 0;
  uint64_t fileOffset = 0;
  ByteReader body;
};

std::string Num(uint64_t value) { return std::to_string(value); }

class Parser {
public:
  explicit Parser(ByteSource& source) : source_(source), fileSize_(source.Size()) {}
  Result<MovieContainer> Run();

private:
  struct TrackAtoms {
    uint64_t fileOffset = 0;
    std::optional<ByteReader> tkhd, mdhd, hdlr, stsd, stts, stsc, stsz, stco, co64, stss;
  };
  struct ChunkRun {
    uint32_t firstChunk, samplesPerChunk;
  };

  // Keeps the first fault: a later one is usually its consequence.
  bool Fail(uint64_t offset, ParseCause cause, std::string message) {
    if (!error_) error_ = ParseError{offset, cause, std::move(message)};
    return false;
  }
  bool Fail(const ByteReader& r, std::string_view what) {
    if (!error_) error_ = r.Error(what);
    return false;
  }
  // The versions of the header atoms this reader knows: 0 with 32-bit times, 1 with 64-bit.
  bool CheckVersion(const ByteReader& box, uint8_t version, const char* atom) {
    if (version <= 1) return true;
    return Fail(box.baseOffset(), ParseCause::UnknownVersion,
                std::string(atom) + " version " + Num(version) + ", this reader reads versions 0 and 1");
  }
  bool NextAtom(ByteReader& parent, Atom* atom);
  bool FindMovieAtom(std::vector<uint8_t>* bytes, uint64_t* bodyOffset);
  bool ParseMovieAtom(ByteReader moov);
  bool ParseMovieHeader(ByteReader r);
  bool CollectTrack(ByteReader box, int depth, TrackAtoms& track);
  bool BuildTrack(const TrackAtoms& track);
  bool ReadTimes(const TrackAtoms& t, std::vector<uint64_t>* starts, uint32_t* count);
  bool ReadChunkOffsets(const TrackAtoms& t, std::vector<uint64_t>* offsets);
  bool ReadChunkRuns(const TrackAtoms& t, uint32_t chunkCount, std::vector<uint32_t>* perChunk);
  bool BuildVideo(const TrackAtoms& t, uint32_t mediaScale, uint64_t mediaDuration);
  bool BuildAudio(const TrackAtoms& t);
  bool ReadSoundDescription(const TrackAtoms& t, AudioTrack* audio, bool* supported);

  ByteSource& source_;
  uint64_t fileSize_;
  MovieContainer movie_;
  bool haveHeader_ = false;
  std::optional<ParseError> error_;
};

bool Parser::NextAtom(ByteReader& r, Atom* atom) {
  const size_t start = r.offset();
  atom->fileOffset = r.fileOffset();
  uint64_t size = r.U32BE();
  atom->type = r.U32BE();
  size_t header = 8;
  if (size == 1) {
    size = r.U64BE();
    header = 16;
  } else if (size == 0) {
    size = r.size() - start;
  }
  if (!r.ok()) return Fail(r, "atom header");
  if (size < header || !RangeFits(start, size, r.size()))
    return Fail(atom->fileOffset, ParseCause::OutOfLimits,
                "atom '" + FourccText(atom->type) + "' size " + Num(size) + " does not fit its parent");
  atom->body = r.Sub(start + header, size - header);
  r.Seek(start + size);
  return true;
}

// Walks the top level through the source (the file may be large; only atom headers and
// the movie atom are read) and loads the movie atom's body.
bool Parser::FindMovieAtom(std::vector<uint8_t>* bytes, uint64_t* bodyOffset) {
  uint64_t offset = 0;
  for (uint32_t n = 0; offset < fileSize_; ++n) {
    if (n == kMaxTopLevelAtoms)
      return Fail(offset, ParseCause::OutOfLimits, "more than " + Num(kMaxTopLevelAtoms) + " top-level atoms");
    uint8_t head[16] = {};
    const size_t headBytes = fileSize_ - offset < 16 ? size_t(fileSize_ - offset) : 16;
    if (!source_.Read(offset, {head, headBytes})) return Fail(offset, ParseCause::Unreadable, "atom header");
    ByteReader r(std::span<const uint8_t>(head, headBytes), offset);
    uint64_t size = r.U32BE();
    const uint32_t type = r.U32BE();
    uint64_t header = 8;
    if (size == 1) {
      size = r.U64BE();
      header = 16;
    } else if (size == 0) {
      size = fileSize_ - offset;
    }
    if (!r.ok()) return Fail(r, "atom header");
    if (size < header)
      return Fail(offset, ParseCause::OutOfLimits,
                  "atom '" + FourccText(type) + "' size " + Num(size) + " is smaller than its header");
    if (!RangeFits(offset, size, fileSize_))
      return Fail(offset, ParseCause::Truncated,
                  "atom '" + FourccText(type) + "' size " + Num(size) + " runs past the end of the file");
    if (type == Fourcc("cmov")) return Fail(offset, ParseCause::Unsupported, "compressed movie atom");
    if (type == Fourcc("moov")) {
      if (size - header > kMaxMovieAtomBytes)
        return Fail(offset, ParseCause::OutOfLimits,
                    "movie atom of " + Num(size) + " bytes, at most " + Num(kMaxMovieAtomBytes));
      bytes->resize(size - header);
      if (!source_.Read(offset + header, *bytes)) return Fail(offset, ParseCause::Unreadable, "movie atom");
      *bodyOffset = offset + header;
      return true;
    }
    offset += size;
  }
  return Fail(fileSize_, ParseCause::Missing, "no movie atom");
}

bool Parser::ParseMovieHeader(ByteReader r) {
  const uint8_t version = r.U8();
  if (r.ok() && !CheckVersion(r, version, "mvhd")) return false;
  r.Skip(3);
  uint64_t duration;
  if (version == 1) {
    r.Skip(16);
    movie_.timeScale = r.U32BE();
    duration = r.U64BE();
  } else {
    r.Skip(8);
    movie_.timeScale = r.U32BE();
    duration = r.U32BE();
  }
  r.Skip(4 + 2 + 10 + 36 + 8);
  const uint32_t poster = r.U32BE();
  if (!r.ok()) return Fail(r, "mvhd");
  if (movie_.timeScale == 0) return Fail(r.baseOffset(), ParseCause::BadValue, "mvhd time scale is 0");
  if (duration > UINT32_MAX)
    return Fail(r.baseOffset(), ParseCause::OutOfLimits, "movie duration does not fit 32 bits");
  movie_.duration = static_cast<uint32_t>(duration);
  movie_.posterTime = std::min(poster, movie_.duration);
  haveHeader_ = true;
  return true;
}

bool Parser::CollectTrack(ByteReader box, int depth, TrackAtoms& track) {
  if (depth > kMaxAtomDepth)
    return Fail(box.baseOffset(), ParseCause::OutOfLimits, "atoms nested more than " + Num(kMaxAtomDepth) + " deep");
  while (box.remaining() > 0) {
    Atom atom;
    if (!NextAtom(box, &atom)) return false;
    std::optional<ByteReader>* slot = nullptr;
    switch (atom.type) {
      case Fourcc("mdia"):
      case Fourcc("minf"):
      case Fourcc("stbl"):
        if (!CollectTrack(atom.body, depth + 1, track)) return false;
        continue;
      case Fourcc("tkhd"): slot = &track.tkhd; break;
      case Fourcc("mdhd"): slot = &track.mdhd; break;
      // The media handler, not the data handler that minf also carries.
      case Fourcc("hdlr"): slot = depth == 2 ? &track.hdlr : nullptr; break;
      case Fourcc("stsd"): slot = &track.stsd; break;
      case Fourcc("stts"): slot = &track.stts; break;
      case Fourcc("stsc"): slot = &track.stsc; break;
      case Fourcc("stsz"): slot = &track.stsz; break;
      case Fourcc("stco"): slot = &track.stco; break;
      case Fourcc("co64"): slot = &track.co64; break;
      case Fourcc("stss"): slot = &track.stss; break;
      default: break;  // edts, udta, dinf, vmhd, smhd and anything unknown
    }
    if (slot && !*slot) *slot = atom.body;
  }
  return true;
}

// Reads `count` for a table of `entryBytes`-sized entries after version/flags and checks
// it against the bytes that follow and `limit`.
bool ReadTableCount(ByteReader& r, uint32_t entryBytes, uint32_t limit, uint32_t* count) {
  *count = r.U32BE();
  return r.ok() && *count <= limit && *count <= r.remaining() / entryBytes;
}

bool Parser::ReadTimes(const TrackAtoms& t, std::vector<uint64_t>* starts, uint32_t* count) {
  if (!t.stts) return Fail(t.fileOffset, ParseCause::Missing, "track without stts");
  ByteReader r = *t.stts;
  r.Skip(4);
  uint32_t entries;
  if (!ReadTableCount(r, 8, kMaxSamples, &entries))
    return Fail(t.stts->baseOffset(), ParseCause::OutOfLimits, "stts entry count " + Num(entries) + " out of range");
  uint64_t total = 0, time = 0;
  for (uint32_t i = 0; i < entries; ++i) {
    const uint32_t samples = r.U32BE();
    const uint32_t delta = r.U32BE();
    total += samples;
    if (total > kMaxSamples)
      return Fail(t.stts->baseOffset(), ParseCause::OutOfLimits, "stts sample count over " + Num(kMaxSamples));
    if (starts) {
      for (uint32_t k = 0; k < samples; ++k, time += delta) starts->push_back(time);
    }
  }
  *count = static_cast<uint32_t>(total);
  return true;
}

bool Parser::ReadChunkOffsets(const TrackAtoms& t, std::vector<uint64_t>* offsets) {
  const bool wide = !t.stco && t.co64;
  const std::optional<ByteReader>& table = wide ? t.co64 : t.stco;
  if (!table) return Fail(t.fileOffset, ParseCause::Missing, "track without stco or co64");
  ByteReader r = *table;
  r.Skip(4);
  uint32_t count;
  if (!ReadTableCount(r, wide ? 8 : 4, kMaxChunks, &count))
    return Fail(table->baseOffset(), ParseCause::OutOfLimits, "chunk offset count " + Num(count) + " out of range");
  offsets->reserve(count);
  for (uint32_t i = 0; i < count; ++i) offsets->push_back(wide ? r.U64BE() : r.U32BE());
  return true;
}

// Expands stsc into samples per chunk for every chunk.
bool Parser::ReadChunkRuns(const TrackAtoms& t, uint32_t chunkCount,
                           std::vector<uint32_t>* perChunk) {
  if (!t.stsc) return Fail(t.fileOffset, ParseCause::Missing, "track without stsc");
  ByteReader r = *t.stsc;
  r.Skip(4);
  uint32_t entries;
  if (!ReadTableCount(r, 12, kMaxChunks, &entries) || (entries == 0 && chunkCount > 0))
    return Fail(t.stsc->baseOffset(), ParseCause::OutOfLimits, "stsc entry count " + Num(entries) + " out of range");
  std::vector<ChunkRun> runs(entries);
  for (auto& run : runs) {
    run.firstChunk = r.U32BE();
    run.samplesPerChunk = r.U32BE();
    r.Skip(4);
  }
  for (size_t i = 0; i < runs.size(); ++i) {
    const uint32_t expected = i == 0 ? 1 : runs[i - 1].firstChunk + 1;
    if (runs[i].firstChunk < expected || runs[i].firstChunk > chunkCount ||
        (i == 0 && runs[i].firstChunk != 1))
      return Fail(t.stsc->baseOffset() + 8 + 12 * i, ParseCause::OutOfOrder,
                  "stsc chunk " + Num(runs[i].firstChunk) + " out of order or past the " + Num(chunkCount) + " chunks");
  }
  perChunk->reserve(chunkCount);
  uint64_t total = 0;
  for (size_t i = 0; i < runs.size(); ++i) {
    const uint32_t end = i + 1 < runs.size() ? runs[i + 1].firstChunk - 1 : chunkCount;
    total += uint64_t(end - runs[i].firstChunk + 1) * runs[i].samplesPerChunk;
    if (total > kMaxSamples)
      return Fail(t.stsc->baseOffset(), ParseCause::OutOfLimits, "stsc sample count over " + Num(kMaxSamples));
    perChunk->insert(perChunk->end(), end - runs[i].firstChunk + 1, runs[i].samplesPerChunk);
  }
  return true;
}

bool Parser::BuildVideo(const TrackAtoms& t, uint32_t mediaScale, uint64_t mediaDuration) {
  VideoTrack video;
  video.timeScale = mediaScale;
  ByteReader d = *t.stsd;
  d.Skip(8 + 4);  // version, flags, count, entry size
  video.codec = d.U32BE();
  d.Skip(6 + 2 + 2 + 2 + 4 + 4 + 4);
  video.width = d.U16BE();
  video.height = d.U16BE();
  if (!d.ok()) return Fail(d, "video sample description");
  if (video.codec != Fourcc("jpeg") && video.codec != Fourcc("mjpa")) {
    movie_.skippedCodecs.push_back(video.codec);
    return true;
  }
  if (video.width == 0 || video.height == 0 || video.width > kMaxFrameSide ||
      video.height > kMaxFrameSide)
    return Fail(t.stsd->baseOffset(), ParseCause::OutOfLimits,
                "video frame " + Num(video.width) + " x " + Num(video.height) + " out of range");

  uint32_t timedSamples = 0;
  std::vector<uint64_t> chunkOffsets;
  std::vector<uint32_t> perChunk;
  if (!ReadTimes(t, nullptr, &timedSamples) || !ReadChunkOffsets(t, &chunkOffsets) ||
      !ReadChunkRuns(t, uint32_t(chunkOffsets.size()), &perChunk))
    return false;
  if (!t.stsz) return Fail(t.fileOffset, ParseCause::Missing, "video track without stsz");
  ByteReader z = *t.stsz;
  z.Skip(4);
  const uint32_t fixedSize = z.U32BE();
  const uint32_t count = z.U32BE();
  if (!z.ok()) return Fail(z, "stsz");
  if (count != timedSamples || (fixedSize == 0 && count > z.remaining() / 4))
    return Fail(t.stsz->baseOffset(), ParseCause::BadValue,
                "stsz sample count " + Num(count) + " disagrees with stts (" + Num(timedSamples) + ")");
  // Samples of one size cannot outnumber what the file holds; checked before the tables
  // are expanded, so a tiny file cannot ask for millions of entries.
  if (fixedSize != 0 && count > fileSize_ / fixedSize)
    return Fail(t.stsz->baseOffset(), ParseCause::OutOfLimits, "stsz describes more bytes than the file holds");
  video.samples.reserve(count);
  video.sampleTimes.reserve(count);
  ReadTimes(t, &video.sampleTimes, &timedSamples);
  for (size_t chunk = 0; chunk < perChunk.size(); ++chunk) {
    uint64_t offset = chunkOffsets[chunk];
    for (uint32_t k = 0; k < perChunk[chunk]; ++k) {
      if (video.samples.size() == count)
        return Fail(t.stsc->baseOffset(), ParseCause::BadValue, "stsc describes more samples than stsz");
      const uint32_t size = fixedSize ? fixedSize : z.U32BE();
      if (size == 0 || size > kMaxSampleBytes || !RangeFits(offset, size, fileSize_))
        return Fail(t.stsz->baseOffset(), ParseCause::OutOfLimits,
                    "video sample " + Num(video.samples.size() + 1) + " is empty, too large or outside the file");
      video.samples.push_back({offset, size});
      offset += size;
    }
  }
  if (video.samples.size() != count || count == 0)
    return Fail(t.stsc->baseOffset(), ParseCause::BadValue, "stsc and stsz disagree on the sample count");
  if (t.stss) {
    ByteReader s = *t.stss;
    s.Skip(4);
    uint32_t syncCount;
    if (!ReadTableCount(s, 4, count, &syncCount))
      return Fail(t.stss->baseOffset(), ParseCause::OutOfLimits, "stss count " + Num(syncCount) + " out of range");
    for (uint32_t i = 0; i < syncCount; ++i) {
      const uint64_t at = s.fileOffset();
      const uint32_t sample = s.U32BE();
      if (sample == 0 || sample > count)
        return Fail(at, ParseCause::OutOfLimits, "stss names sample " + Num(sample) + " of " + Num(count));
      video.syncSamples.push_back(sample);
    }
  }
  video.mediaDuration = mediaDuration ? mediaDuration : video.sampleTimes.back();
  uint32_t width = 0, height = 0;
  if (t.tkhd) {
    ByteReader h = *t.tkhd;
    const uint8_t version = h.U8();
    if (h.ok() && !CheckVersion(h, version, "tkhd")) return false;
    h.Skip(3 + (version == 1 ? 32 : 20) + 8 + 8 + 36);
    width = h.U32BE() >> 16;
    height = h.U32BE() >> 16;
    if (!h.ok() || width > kMaxFrameSide || height > kMaxFrameSide) width = height = 0;
  }
  movie_.width = width ? width : video.width;
  movie_.height = height ? height : video.height;
  movie_.video = std::move(video);
  return true;
}

bool Parser::ReadSoundDescription(const TrackAtoms& t, AudioTrack* audio, bool* supported) {
  ByteReader d = *t.stsd;
  d.Skip(8 + 4);
  audio->codec = d.U32BE();
  d.Skip(6 + 2);
  const uint16_t version = d.U16BE();
  d.Skip(2 + 4);
  audio->channels = d.U16BE();
  audio->bitsPerSample = d.U16BE();
  d.Skip(4);
  uint32_t rate = d.U32BE() >> 16;
  uint32_t lpcmFlags = 0;
  if (version == 2) {
    d.Skip(4);
    const double exactRate = std::bit_cast<double>(d.U64BE());
    const uint32_t channels = d.U32BE();
    d.Skip(4);
    const uint32_t bits = d.U32BE();
    lpcmFlags = d.U32BE();
    rate = exactRate >= 1000 && exactRate <= 192000 && exactRate == uint32_t(exactRate)
               ? uint32_t(exactRate) : 0;
    audio->channels = channels <= 8 ? uint16_t(channels) : 0;
    audio->bitsPerSample = bits <= 32 ? uint16_t(bits) : 0;
  }
  if (!d.ok()) return Fail(d, "sound sample description");
  audio->sampleRate = rate;
  const bool eight = audio->bitsPerSample == 8, sixteen = audio->bitsPerSample == 16;
  // Versions 0 to 2 are the sound descriptions above; a later one lays out its fields otherwise.
  *supported = version <= 2 && (eight || sixteen) && (audio->channels == 1 || audio->channels == 2) && rate >= 1000 &&
               rate <= 192000;
  switch (audio->codec) {
    case Fourcc("raw "):
      *supported = *supported && eight;
      audio->encoding = PcmEncoding::Unsigned8;
      break;
    case Fourcc("twos"):
      audio->encoding = eight ? PcmEncoding::Signed8 : PcmEncoding::Signed16BE;
      break;
    case Fourcc("sowt"):
      audio->encoding = eight ? PcmEncoding::Signed8 : PcmEncoding::Signed16LE;
      break;
    case Fourcc("lpcm"): {
      constexpr uint32_t kFloat = 1, kBigEndian = 2, kSigned = 4;
      *supported = *supported && version == 2 && !(lpcmFlags & kFloat);
      const bool isSigned = lpcmFlags & kSigned;
      audio->encoding = eight ? (isSigned ? PcmEncoding::Signed8 : PcmEncoding::Unsigned8)
                              : (lpcmFlags & kBigEndian ? PcmEncoding::Signed16BE
                                                        : PcmEncoding::Signed16LE);
      *supported = *supported && (eight || isSigned);
      break;
    }
    default:
      *supported = false;
  }
  return true;
}

bool Parser::BuildAudio(const TrackAtoms& t) {
  AudioTrack audio;
  bool supported = false;
  if (!ReadSoundDescription(t, &audio, &supported)) return false;
  if (!supported) {
    movie_.skippedCodecs.push_back(audio.codec);
    return true;
  }
  std::vector<uint64_t> chunkOffsets;
  std::vector<uint32_t> perChunk;
  uint32_t timedFrames = 0;
  if (!ReadTimes(t, nullptr, &timedFrames) || !ReadChunkOffsets(t, &chunkOffsets) ||
      !ReadChunkRuns(t, uint32_t(chunkOffsets.size()), &perChunk))
    return false;
  audio.chunks.reserve(perChunk.size());
  for (size_t i = 0; i < perChunk.size(); ++i) {
    if (!RangeFits(chunkOffsets[i], uint64_t(perChunk[i]) * audio.BytesPerFrame(), fileSize_))
      return Fail(t.stco ? t.stco->baseOffset() : t.co64->baseOffset(), ParseCause::OutOfLimits,
                  "sound chunk " + Num(i + 1) + " lies outside the file");
    if (perChunk[i] == 0) continue;
    audio.chunks.push_back({chunkOffsets[i], perChunk[i], audio.frameCount});
    audio.frameCount += perChunk[i];
  }
  if (audio.frameCount != timedFrames || audio.frameCount == 0)
    return Fail(t.stsc->baseOffset(), ParseCause::BadValue,
                "sound chunks hold " + Num(audio.frameCount) + " frames, stts " + Num(timedFrames));
  movie_.audio = std::move(audio);
  return true;
}

bool Parser::BuildTrack(const TrackAtoms& t) {
  if (!t.hdlr || !t.mdhd) return true;  // not a media track we know; skipped
  ByteReader h = *t.hdlr;
  h.Skip(8);
  const uint32_t handler = h.U32BE();
  const bool isVideo = handler == Fourcc("vide"), isAudio = handler == Fourcc("soun");
  if (!h.ok() || (!isVideo && !isAudio) || (isVideo && movie_.video) || (isAudio && movie_.audio))
    return true;
  ByteReader m = *t.mdhd;
  const uint8_t version = m.U8();
  if (m.ok() && !CheckVersion(m, version, "mdhd")) return false;
  m.Skip(3 + (version == 1 ? 16 : 8));
  const uint32_t scale = m.U32BE();
  const uint64_t duration = version == 1 ? m.U64BE() : m.U32BE();
  if (!m.ok()) return Fail(m, "mdhd");
  if (scale == 0) return Fail(t.mdhd->baseOffset(), ParseCause::BadValue, "mdhd time scale is 0");
  if (!t.stsd) return Fail(t.fileOffset, ParseCause::Missing, "track without stsd");
  ByteReader d = *t.stsd;
  d.Skip(4);
  const uint32_t entries = d.U32BE();
  if (!d.ok()) return Fail(d, "stsd");
  if (entries == 0) return Fail(t.stsd->baseOffset(), ParseCause::BadValue, "stsd without entries");
  return isVideo ? BuildVideo(t, scale, duration) : BuildAudio(t);
}

bool Parser::ParseMovieAtom(ByteReader moov) {
  while (moov.remaining() > 0) {
    Atom atom;
    if (!NextAtom(moov, &atom)) return false;
    if (atom.type == Fourcc("mvhd") && !haveHeader_) {
      if (!ParseMovieHeader(atom.body)) return false;
    } else if (atom.type == Fourcc("trak")) {
      TrackAtoms track;
      track.fileOffset = atom.fileOffset;
      if (!CollectTrack(atom.body, 1, track) || !BuildTrack(track)) return false;
    }
  }
  if (!haveHeader_) return Fail(moov.baseOffset(), ParseCause::Missing, "movie without mvhd");
  if (!movie_.video && !movie_.audio) {
    std::string skipped;
    for (const uint32_t codec : movie_.skippedCodecs)
      skipped += (skipped.empty() ? " ('" : ", '") + FourccText(codec) + "'";
    return Fail(moov.baseOffset(), ParseCause::Unsupported,
                "no track we can play" + (skipped.empty() ? "" : skipped + ")"));
  }
  return true;
}

Result<MovieContainer> Parser::Run() {
  std::vector<uint8_t> moov;
  uint64_t moovOffset = 0;
  if (FindMovieAtom(&moov, &moovOffset) && ParseMovieAtom(ByteReader(moov, moovOffset))) return std::move(movie_);
  return error_.value_or(ParseError{0, ParseCause::BadValue, "movie refused"});
}

}  // namespace

Result<MovieContainer> ParseMovie(ByteSource& source) { return Parser(source).Run(); }

}  // namespace kro::qt
