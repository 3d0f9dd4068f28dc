#include "app/archive/MovieCatalogue_win.h"

#include "runtime/base/FileIo_win.h"

namespace kro::archive {
namespace {

// The caption file is small; this bound keeps a damaged one from taking the memory.
constexpr size_t kMaxCaptionBytes = 4u << 20;

void ShowError(HWND owner, const char* text) { MessageBoxA(owner, text, "Ошибка", MB_ICONHAND); }

bool ReadAt(HANDLE file, uint32_t offset, void* buffer, uint32_t length) {
  LARGE_INTEGER position{};
  position.QuadPart = offset;
  DWORD read = 0;
  return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && ReadFile(file, buffer, length, &read, nullptr) &&
         read == length;
}

}  // namespace

bool MovieCatalogue::Open(const std::string& path, HWND messageOwner) {
  Close();
  file_.Reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
  if (!file_) {
    ShowError(messageOwner, "Не могу открыть файл с данными!");
    return false;
  }
  LARGE_INTEGER size{};
  std::vector<uint8_t> bytes;
  if (!GetFileSizeEx(file_.Get(), &size) || size.QuadPart > static_cast<LONGLONG>(kMaxCatalogueBytes)) {
    ShowError(messageOwner, "Не могу выделить память!");
    Close();
    return false;
  }
  bytes.resize(static_cast<size_t>(size.QuadPart));
  if (!bytes.empty() && !ReadAt(file_.Get(), 0, bytes.data(), static_cast<uint32_t>(bytes.size()))) {
    ShowError(messageOwner, "Не могу открыть файл с данными!");
    Close();
    return false;
  }
  // A damaged catalogue still lists what the loader makes of it, as the galleries do.
  records_ = media::ParseCatalogue(bytes, kCatalogueCapacity, false).Recovered().records;
  return true;
}

void MovieCatalogue::Close() {
  file_.Reset();
  records_.clear();
}

std::string MovieCatalogue::Field(int32_t index, CatalogueField field) const {
  if (index < 0 || static_cast<size_t>(index) >= records_.size() || !file_) return {};
  const media::CatalogueRecord& r = records_[static_cast<size_t>(index)];
  const uint32_t offset = field == CatalogueField::kTitle    ? r.titleOffset
                          : field == CatalogueField::kSecond ? r.secondOffset
                                                             : r.thirdOffset;
  const uint32_t length = field == CatalogueField::kTitle    ? r.titleLength
                          : field == CatalogueField::kSecond ? r.secondLength
                                                             : r.thirdLength;
  std::string text(length, '\0');
  if (length > 0 && !ReadAt(file_.Get(), offset, text.data(), length)) return {};
  return text;
}

std::string LookUpCaption(const std::string& path, std::string_view movieFile) {
  const auto bytes = ReadWholeFile(path, kMaxCaptionBytes);
  if (!bytes) return {};
  const auto caption = media::FindCaption(*bytes, movieFile);
  return caption ? std::string(*caption) : std::string();
}

}  // namespace kro::archive
