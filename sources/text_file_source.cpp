#include "sources/text_file_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <new>

#include "data/second_thread.h"
#include "engine/engine_state.h"
#include "platform/report.h"
#include "sources/text_source.h"

namespace vlm {
namespace {

constexpr const char* kBadData = "Bad Data in the File.";
constexpr const char* kBadFormat = "Incorrect Data Format in the File...";

// Reads [from, from + count) of the file; false when it ends early or fails.
bool readSpan(int fd, char* into, size_t from, size_t count) {
  size_t got = 0;
  while (got < count) {
    const ssize_t n = ::pread(fd, into + got, std::min<size_t>(count - got, size_t{1} << 30),
                              static_cast<off_t>(from + got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    got += static_cast<size_t>(n);
  }
  return true;
}

// From this size on the file is read in two halves at once: copying it and
// the first touch of its memory then take both cores.
constexpr size_t kTwoReaders = size_t{8} << 20;

bool readWholeFile(const std::string& path, TableFileText& text) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool read = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
              text.allocate(static_cast<size_t>(info.st_size));
  const auto size = static_cast<size_t>(info.st_size);
  if (read && size >= kTwoReaders && SecondThread::available()) {
    const size_t half = size / 2;
    bool secondRead = false;
    {
      SecondThread helper([&] { secondRead = readSpan(fd, text.data() + half, half, size - half); });
      read = readSpan(fd, text.data(), 0, half);
      helper.join();
    }
    read = read && secondRead;
  } else if (read) {
    read = readSpan(fd, text.data(), 0, size);
  }
  ::close(fd);
  // A file that changed its size while it was read is not taken.
  text.setSize(read ? size : 0);
  return read;
}

}  // namespace

std::optional<TableTextFormat> textFileFormat(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  if (ext == ".txt" || ext == ".tsv" || ext == ".tab") return TableTextFormat::TabFile;
  if (ext == ".csv") return TableTextFormat::Csv;
  return std::nullopt;
}

std::string cannotReadMessage(const std::string& path) {
  std::error_code error;
  const bool missing = !std::filesystem::exists(path, error) && !error;
  return "Unable to read the data file \"" + path + "\"" + (missing ? ": there is no such file." : ".");
}

bool readTableFile(const std::string& path, TableFileText& text) {
  if (readWholeFile(path, text)) return true;
  platform::reportError(cannotReadMessage(path).c_str());
  return false;
}

bool loadTextFile(EngineState& state, const std::string& path, TableFileText& text, TableTextFormat format) {
  // A byte order mark is no part of the first field's name.
  std::string_view body = text;
  if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(path, error);
  if (error) full = path;
  TextSourceName source{full.filename().string(), full.lexically_normal().string()};
  return loadTextSource(state, body, format, {kBadData, kBadFormat}, source, [&text] { text.release(); }) ==
         TextSourceResult::Loaded;
}

}  // namespace vlm
