#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "runtime/mediaview/core/MappedFile.h"

namespace kro::mv {

std::unique_ptr<MappedFile> MappedFile::Open(const std::string& path, std::string* error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = path + ": " + std::strerror(errno);
    return nullptr;
  }
  struct stat st {};
  std::unique_ptr<MappedFile> file(new MappedFile);
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    *error = path + ": not a regular file";
    ::close(fd);
    return nullptr;
  }
  file->size_ = static_cast<size_t>(st.st_size);
  if (file->size_ > 0) {
    void* p = ::mmap(nullptr, file->size_, PROT_READ, MAP_PRIVATE, fd, 0);
    if (p == MAP_FAILED) {
      *error = path + ": " + std::strerror(errno);
      ::close(fd);
      return nullptr;
    }
    file->data_ = static_cast<const uint8_t*>(p);
  }
  ::close(fd);  // the mapping keeps the file
  return file;
}

MappedFile::~MappedFile() {
  if (data_) ::munmap(const_cast<uint8_t*>(data_), size_);
}

}  // namespace kro::mv
