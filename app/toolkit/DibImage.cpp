#include "app/toolkit/DibImage.h"

#include <cstring>
#include <vector>

#include "app/toolkit/GlobalBlock.h"
#include "app/toolkit/Palette.h"
#include "app/toolkit/core/BitmapFile.h"

namespace kro::toolkit {
namespace {

std::optional<std::vector<uint8_t>> ReadWholeFile(const char* fileName) {
  UniqueFile file(CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > DibImage::kMaxFileBytes) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()))
    return std::nullopt;
  return bytes;
}

// The block's bytes with its header checked; empty when there is no valid block.
struct PackedView {
  GlobalLockGuard lock;
  std::span<const uint8_t> bytes;
  std::optional<DibHeader> header;

  explicit PackedView(HGLOBAL block) : lock(block) {
    if (lock.Data() == nullptr) return;
    bytes = {static_cast<const uint8_t*>(lock.Data()), lock.SizeBytes()};
    header = ReadPackedHeader(bytes);
  }
};

}  // namespace

bool DibImage::Load(const char* fileName) {
  Free();
  if (fileName == nullptr || fileName[0] == '\0') return false;
  const std::optional<std::vector<uint8_t>> file = ReadWholeFile(fileName);
  return file && LoadBytes(*file);
}

bool DibImage::LoadBytes(std::span<const uint8_t> file) {
  Free();
  const auto result = ReadBitmapFile(file);
  if (!result) return false;
  const std::vector<uint8_t>& packed = result->bytes;
  UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, packed.size()));
  if (!block) return false;
  {
    GlobalLockGuard lock(block.Get());
    if (lock.Data() == nullptr) return false;
    std::memcpy(lock.Data(), packed.data(), packed.size());
  }
  block_ = std::move(block);
  return true;
}

uint32_t DibImage::ColourCount() const {
  const PackedView view(block_.Get());
  return view.header ? view.header->clrUsed : 0;
}

uint32_t DibImage::ColourTableSizeBytes() const { return ColourCount() * sizeof(RGBQUAD); }

std::optional<BITMAPINFOHEADER> DibImage::Header() const {
  const PackedView view(block_.Get());
  if (!view.header) return std::nullopt;
  BITMAPINFOHEADER header;
  std::memcpy(&header, view.bytes.data(), sizeof header);
  return header;
}

UniquePalette DibImage::CreatePalette() const {
  const PackedView view(block_.Get());
  return CreatePaletteOf(PaletteFromPackedDib(view.bytes), 0);
}

UniqueBitmap DibImage::ToDeviceBitmap() const {
  const PackedView view(block_.Get());
  if (!view.header) return UniqueBitmap();
  const auto* info = reinterpret_cast<const BITMAPINFO*>(view.bytes.data());
  const uint8_t* bits = view.bytes.data() + PackedBitsOffset(*view.header);
  WindowDc screen(nullptr);
  ProgramPaletteSelection palette(screen.Get());
  return UniqueBitmap(CreateDIBitmap(screen.Get(), &info->bmiHeader, CBM_INIT, bits, info, DIB_RGB_COLORS));
}

}  // namespace kro::toolkit
