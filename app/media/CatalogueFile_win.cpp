#include "app/media/CatalogueFile_win.h"

#include <algorithm>
#include <new>

#include "app/shell/DialogKeys_win.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::media {
namespace {

constexpr char kLetterIndexedCatalogue[] = "slides.dat";

CatalogueMessageBox gMessageBox = MessageBoxA;

void ShowError(const char* text) { gMessageBox(shell::RegisteredDialog(), text, "Ошибка", MB_ICONHAND); }

class PlainFile final : public StoredFile {
public:
  explicit PlainFile(UniqueFile file) : file_(std::move(file)) {}

  std::optional<std::vector<uint8_t>> ReadAll() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.Get(), &size) || size.QuadPart > static_cast<LONGLONG>(kMaxCatalogueBytes))
      return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    if (!ReadAt(0, bytes)) return std::nullopt;
    return bytes;
  }

  bool ReadAt(uint32_t offset, std::span<uint8_t> out) override {
    LARGE_INTEGER position{};
    position.QuadPart = offset;
    if (!SetFilePointerEx(file_.Get(), position, nullptr, FILE_BEGIN)) return false;
    DWORD read = 0;
    return ReadFile(file_.Get(), out.data(), static_cast<DWORD>(out.size()), &read, nullptr) && read == out.size();
  }

private:
  UniqueFile file_;
};

}  // namespace

void SetCatalogueMessageBox(CatalogueMessageBox messageBox) { gMessageBox = messageBox ? messageBox : MessageBoxA; }

std::unique_ptr<StoredFile> FolderStore::Open(const std::string& name) {
  UniqueFile file(CreateFileA((folder_ + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  return std::make_unique<PlainFile>(std::move(file));
}

std::string OpenCatalogue::Field(int index, CatalogueField field, size_t limit) const {
  if (index < 0 || index >= Count()) return {};
  const CatalogueRecord& r = catalogue_.records[static_cast<size_t>(index)];
  const auto [offset, length] = field == CatalogueField::kTitle    ? std::pair{r.titleOffset, r.titleLength}
                                : field == CatalogueField::kSecond ? std::pair{r.secondOffset, r.secondLength}
                                                                   : std::pair{r.thirdOffset, r.thirdLength};
  std::string text(std::min<size_t>(length, limit), '\0');
  if (!file_->ReadAt(offset, {reinterpret_cast<uint8_t*>(text.data()), text.size()})) return {};
  return text;
}

void OpenCatalogue::FillListBox(HWND list) const {
  for (int i = 0; i < Count(); ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Title(i).c_str()));
}

std::optional<OpenCatalogue> LoadCatalogue(CatalogueStore& store, const std::string& name, size_t capacityBytes) {
  std::unique_ptr<StoredFile> file = store.Open(name);
  std::optional<std::vector<uint8_t>> text = file ? file->ReadAll() : std::nullopt;
  if (!text) {
    ShowError("Не могу открыть файл с данными!");
    return std::nullopt;
  }
  try {
    Catalogue catalogue = ParseCatalogue(*text, capacityBytes / kCatalogueRecordBytes, name == kLetterIndexedCatalogue)
                              .Recovered();
    return OpenCatalogue(std::move(file), std::move(catalogue));
  } catch (const std::bad_alloc&) {
    ShowError("Не могу выделить память!");
    return std::nullopt;
  }
}

std::string LookUpCaption(CatalogueStore& store, const std::string& base, const std::string& key, bool addSuffix) {
  std::unique_ptr<StoredFile> file = store.Open(addSuffix ? base + "_capt.txt" : base);
  const std::optional<std::vector<uint8_t>> bytes = file ? file->ReadAll() : std::nullopt;
  if (!bytes) return {};
  const std::optional<std::string_view> caption = FindCaption(*bytes, key);
  return caption ? std::string(caption->substr(0, kMaxCaption)) : std::string();
}

}  // namespace kro::media
