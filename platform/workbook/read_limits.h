#pragma once
// How much of a workbook file the readers take on before they give up: the
// file, what its compressed parts unpack to, and the cells and texts kept.
// Every size is checked before it is allocated, so a crafted file (a zip
// bomb, a sheet of a million columns) costs at most these amounts.
#include <cstdint>
#include <string>

namespace vlm::platform::workbook {

struct ReadLimits {
  uint64_t fileBytes = uint64_t{1} << 30;       // the file read into memory
  uint64_t unpackedBytes = uint64_t{4} << 30;   // all parts unpacked, together
  uint64_t cells = 16'000'000;                  // non-empty cells kept, all sheets
  uint64_t textBytes = uint64_t{2} << 30;       // their texts, and the shared strings
  uint32_t sheets = 4096;
};

// What the readers have used so far of the limits.
class ReadBudget {
 public:
  explicit ReadBudget(const ReadLimits& limits) : limits_(limits) {}
  const ReadLimits& limits() const { return limits_; }

  // Each takes its amount and answers false (taking nothing) past the limit;
  // why() then says which limit was reached.
  bool unpack(uint64_t bytes);
  bool keepCell(uint64_t textBytes);
  bool keepText(uint64_t bytes);
  const std::string& why() const { return why_; }

 private:
  ReadLimits limits_;
  uint64_t unpacked_ = 0, cells_ = 0, text_ = 0;
  std::string why_;
};

}  // namespace vlm::platform::workbook
