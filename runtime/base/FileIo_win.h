#pragma once
// Whole-file reads and crash-safe writes for the programs' small files. Paths are cp1251.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kro {

// The file's bytes, or nullopt when it cannot be read or exceeds `maxBytes`.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, size_t maxBytes = 64u << 20);
// Writes a temporary file beside `path` and moves it into place, so a crash never
// leaves half a file.
bool ReplaceFileContents(const std::string& path, std::span<const uint8_t> bytes);
bool FileExists(const std::string& path);

}  // namespace kro
