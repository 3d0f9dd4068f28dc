#pragma once
// Open gallery catalogues and caption lookup over the place their files are kept: the
// title's baggage in the reader, plain files of the product directory in the archive.
// An open catalogue keeps its file open and its records, which hold positions only: every
// field is read again from the file when it is needed.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/media/Catalogue.h"

namespace kro::media {

// Capacities of the record arrays, in bytes of 24-byte records.
constexpr size_t kCatalogueRecordBytes = 24;
constexpr size_t kSlidesCapacityBytes = 300000;   // 12,500 illustrations
constexpr size_t kGalleryCapacityBytes = 14400;   // 600 movies, maps or sounds
constexpr size_t kArchiveCapacityBytes = 9600;    // 400 movies of the archive disc
// Larger catalogue files than this are refused as out of memory; the largest real one,
// 12,500 illustrations, is well under a megabyte.
constexpr size_t kMaxCatalogueBytes = 16u << 20;

// Buffer limits of the programs' readers of a field, without the terminating zero.
constexpr size_t kMaxListTitle = 63;     // the list's 64-byte buffer
constexpr size_t kMaxTopicTitle = 383;   // the current topic title's 384 bytes
constexpr size_t kMaxCaption = 255;      // the movie caption's 256 bytes

// One file of a store, open for reading.
class StoredFile {
public:
  virtual ~StoredFile() = default;
  // The whole file; nullopt when it cannot be read.
  virtual std::optional<std::vector<uint8_t>> ReadAll() = 0;
  // `out.size()` bytes at `offset`; false when they cannot all be read.
  virtual bool ReadAt(uint32_t offset, std::span<uint8_t> out) = 0;
};

// Where the catalogues and caption files are kept.
class CatalogueStore {
public:
  virtual ~CatalogueStore() = default;
  // Null when the file is not there.
  virtual std::unique_ptr<StoredFile> Open(const std::string& name) = 0;
};

// Plain files of a folder (the archive's product directory), read with the file API.
class FolderStore final : public CatalogueStore {
public:
  explicit FolderStore(std::string folder) : folder_(std::move(folder)) {}  // ends in a backslash
  std::unique_ptr<StoredFile> Open(const std::string& name) override;

private:
  std::string folder_;
};

enum class CatalogueField { kTitle = 1, kSecond = 2, kThird = 3 };

class OpenCatalogue {
public:
  OpenCatalogue(std::unique_ptr<StoredFile> file, Catalogue catalogue)
      : file_(std::move(file)), catalogue_(std::move(catalogue)) {}

  int Count() const { return static_cast<int>(catalogue_.records.size()); }
  const Catalogue& Index() const { return catalogue_; }
  // The field of entry `index`, cut to `limit` bytes; "" for an entry that does not exist
  // or a field that cannot be read.
  std::string Field(int index, CatalogueField field, size_t limit) const;
  std::string Title(int index) const { return Field(index, CatalogueField::kTitle, kMaxListTitle); }
  // LB_ADDSTRING of every entry's title, in order.
  void FillListBox(HWND list) const;

private:
  std::unique_ptr<StoredFile> file_;
  Catalogue catalogue_;
};

// Loads the catalogue `name` with records for `capacityBytes`; "slides.dat" also gets its
// letter index. A file that is missing or unreadable shows "Не могу открыть файл с
// данными!", one too large for memory "Не могу выделить память!", both owned by the dialog
// registered for the dialog keys; the answer is then nullopt. A damaged catalogue loads
// what its reading recovers.
std::optional<OpenCatalogue> LoadCatalogue(CatalogueStore& store, const std::string& name, size_t capacityBytes);

// The box that shows the loader's errors: MessageBoxA unless a test puts its own.
using CatalogueMessageBox = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
void SetCatalogueMessageBox(CatalogueMessageBox messageBox);

// The caption of `key` in the caption file `base` (+ "_capt.txt" with `addSuffix`), cut to
// kMaxCaption; "" when the file or the key is missing.
std::string LookUpCaption(CatalogueStore& store, const std::string& base, const std::string& key, bool addSuffix);

}  // namespace kro::media
