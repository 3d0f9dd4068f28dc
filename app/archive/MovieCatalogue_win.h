#pragma once
// The archive disc's movie catalogue "video.dat" and caption file "videocap.txt", read as
// plain files. The catalogue stays open while the main window exists: records keep only
// offsets, and each field is read from the file again when it is needed.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/media/Catalogue.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::archive {

// 9,600 bytes of 24-byte records.
constexpr size_t kCatalogueCapacity = 400;
// Larger than any catalogue of 400 records of 3 × 511 bytes: a bigger file is refused as
// one that does not fit in memory rather than read in full.
constexpr size_t kMaxCatalogueBytes = 1u << 20;

enum class CatalogueField { kTitle = 1, kSecond = 2, kFile = 3 };

class MovieCatalogue {
public:
  // Opens and parses the file; a failure shows "Не могу открыть файл с данными!" or "Не
  // могу выделить память!" owned by `messageOwner` and leaves the catalogue empty.
  bool Open(const std::string& path, HWND messageOwner);
  void Close();

  size_t Count() const { return records_.size(); }
  // The field of record `index`, read from the file; "" for a record that does not exist
  // or a read that fails.
  std::string Field(int32_t index, CatalogueField field) const;

private:
  UniqueFile file_;
  std::vector<media::CatalogueRecord> records_;
};

// The caption of `movieFile` in the caption file at `path`; "" when the file cannot be
// read or has no line for it.
std::string LookUpCaption(const std::string& path, std::string_view movieFile);

}  // namespace kro::archive
