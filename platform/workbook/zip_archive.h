#pragma once
// A zip archive held in memory (the packaging of .xlsx and .ods files), read
// part by part. What a part unpacks to is counted against the read budget
// as it arrives, whatever its header claims.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/workbook/read_limits.h"

struct zip;
struct zip_file;

namespace vlm::platform::workbook {

class ZipArchive {
 public:
  // The archive in `bytes`, which must outlive it; null with `error` set
  // when it is no zip archive.
  static std::unique_ptr<ZipArchive> open(std::string_view bytes, std::string& error);
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  bool has(const std::string& name) const;

  // One part, read a piece at a time.
  class Part {
   public:
    ~Part();
    Part(const Part&) = delete;
    Part& operator=(const Part&) = delete;
    // Up to `size` bytes into `out`: 0 at the end. -1 on a damaged part or
    // when the budget is spent (error() says which).
    int64_t read(char* out, size_t size);
    const std::string& error() const { return error_; }

   private:
    friend class ZipArchive;
    Part(zip_file* file, ReadBudget& budget, std::string name);
    zip_file* file_;
    ReadBudget& budget_;
    std::string name_;
    std::string error_;
  };
  // Null when the archive has no part of that name (or it cannot be opened:
  // `error` then says why).
  std::unique_ptr<Part> openPart(const std::string& name, ReadBudget& budget, std::string& error);

  // A whole part as text (for the small ones: relations, styles, settings).
  std::optional<std::string> readPart(const std::string& name, ReadBudget& budget, std::string& error);

 private:
  ZipArchive() = default;
  zip* archive_ = nullptr;
};

}  // namespace vlm::platform::workbook
