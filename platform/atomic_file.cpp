#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace vlm::platform {
namespace {

std::string systemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file a write lands in: a symbolic link is followed, so the link stays.
std::string writeTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (real) return real.get();
  }
  return path;
}

bool writeAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool writeFileAtomically(const std::string& requested, std::string_view bytes, std::string& error) {
  if (requested.empty()) {
    error = "no file name";
    return false;
  }
  const std::string path = writeTarget(requested);
  struct stat old {};
  const bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists) {
    if (!S_ISREG(old.st_mode)) {
      error = "not a regular file";
      return false;
    }
    // Replacing by rename would get past a file's read-only mark, which is
    // kept even where the user's rights would allow the write.
    if (::access(path.c_str(), W_OK) != 0 || (old.st_mode & 0222) == 0) {
      error = systemError("the file cannot be written");
      return false;
    }
  }
  const std::string folder = folderOf(path);
  std::string temp = folder + "/.vlm-save-XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    error = systemError("cannot create a file in the folder");
    return false;
  }
  temp = name.data();
  bool ok = writeAll(fd, bytes);
  if (!ok) error = systemError("cannot write the file");
  if (ok) {
    mode_t mode = exists ? (old.st_mode & 07777) : 0;
    if (!exists) {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      mode = static_cast<mode_t>(0666 & ~mask);
    }
    ::fchmod(fd, mode);
    if (::fsync(fd) != 0) {
      ok = false;
      error = systemError("cannot write the file to the disk");
    }
  }
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = systemError("cannot write the file");
  }
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    error = systemError("cannot replace the file");
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // The rename itself reaches the disk with its folder.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool readWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) {
    error = systemError("cannot open the file");
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = "not a regular file";
    ::close(fd);
    return false;
  }
  bytes.clear();
  try {
    bytes.reserve(static_cast<size_t>(st.st_size));
    char chunk[65536];
    for (;;) {
      const ssize_t n = ::read(fd, chunk, sizeof chunk);
      if (n < 0) {
        if (errno == EINTR) continue;
        error = systemError("cannot read the file");
        ::close(fd);
        return false;
      }
      if (n == 0) break;
      bytes.append(chunk, static_cast<size_t>(n));
    }
  } catch (const std::bad_alloc&) {
    error = "not enough memory to read the file";
    ::close(fd);
    return false;
  }
  ::close(fd);
  return true;
}

}  // namespace vlm::platform
