#pragma once
// Where the compiler reads an authoring folder from: the disk, or memory (tests, benchmark).
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kro::titlec {

class SourceFolder {
public:
  virtual ~SourceFolder() = default;
  // Paths (relative to the folder, '/'-separated) of the files under `dir` ("" for the
  // whole folder), recursively, sorted.
  virtual std::vector<std::string> List(const std::string& dir) const = 0;
  virtual std::optional<std::string> Read(const std::string& path) const = 0;
  virtual std::string Describe(const std::string& path) const { return path; }
};

class DiskFolder : public SourceFolder {
public:
  explicit DiskFolder(std::string root) : root_(std::move(root)) {}
  std::vector<std::string> List(const std::string& dir) const override;
  std::optional<std::string> Read(const std::string& path) const override;
  std::string Describe(const std::string& path) const override { return root_ + "/" + path; }

private:
  std::string root_;
};

class MemoryFolder : public SourceFolder {
public:
  void Put(const std::string& path, std::string bytes) { files_[path] = std::move(bytes); }
  std::vector<std::string> List(const std::string& dir) const override;
  std::optional<std::string> Read(const std::string& path) const override;

private:
  std::map<std::string, std::string> files_;
};

}  // namespace kro::titlec
