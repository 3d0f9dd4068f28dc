#pragma once
// Paths and scratch folders of the Wine-hosted tests.
#include <windows.h>

#include <string>
#include <string_view>

namespace kro::wintest {

// `name` in the folder of the running test program, where the build puts its fixtures.
std::string BesideExe(std::string_view name);
// A path of the build machine as a program under Wine sees it: the Unix root is drive Z:.
std::string HostPath(std::string_view unixPath);

// A new empty folder in the temporary directory, removed with everything in it when the
// owner goes. Each one has a name of its own, so suites running side by side never meet.
class TemporaryFolder {
public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::string& Path() const { return path_; }
  // `name` inside the folder; `name` may hold backslashes.
  std::string operator/(std::string_view name) const;

private:
  std::string path_;
};

// Writes `text` as it stands (no line-end translation); false when the file cannot be written.
bool WriteTextFile(const std::string& path, std::string_view text);

}  // namespace kro::wintest
