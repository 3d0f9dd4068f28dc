#include "tools/titlec/SourceFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kro::titlec {

std::vector<std::string> DiskFolder::List(const std::string& dir) const {
  std::vector<std::string> paths;
  std::error_code ec;
  const std::filesystem::path base(root_);
  for (std::filesystem::recursive_directory_iterator it(base / dir, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file()) paths.push_back(std::filesystem::relative(it->path(), base).generic_string());
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::optional<std::string> DiskFolder::Read(const std::string& path) const {
  std::ifstream in(std::filesystem::path(root_) / path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> MemoryFolder::List(const std::string& dir) const {
  std::vector<std::string> paths;
  const std::string prefix = dir.empty() ? "" : dir + "/";
  for (auto it = files_.lower_bound(prefix); it != files_.end() && it->first.starts_with(prefix); ++it)
    paths.push_back(it->first);
  return paths;
}

std::optional<std::string> MemoryFolder::Read(const std::string& path) const {
  const auto it = files_.find(path);
  if (it == files_.end()) return std::nullopt;
  return it->second;
}

}  // namespace kro::titlec
