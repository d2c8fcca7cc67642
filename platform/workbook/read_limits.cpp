#include "platform/workbook/read_limits.h"

namespace vlm::platform::workbook {
namespace {

std::string mib(uint64_t bytes) { return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MiB"; }

}  // namespace

bool ReadBudget::unpack(uint64_t bytes) {
  if (bytes > limits_.unpackedBytes - unpacked_) {
    why_ = "its parts unpack to more than " + mib(limits_.unpackedBytes);
    return false;
  }
  unpacked_ += bytes;
  return true;
}

bool ReadBudget::keepCell(uint64_t textBytes) {
  if (cells_ >= limits_.cells) {
    why_ = "it holds more than " + std::to_string(limits_.cells) + " cells";
    return false;
  }
  if (!keepText(textBytes)) return false;
  ++cells_;
  return true;
}

bool ReadBudget::keepText(uint64_t bytes) {
  if (bytes > limits_.textBytes - text_) {
    why_ = "its texts take more than " + mib(limits_.textBytes);
    return false;
  }
  text_ += bytes;
  return true;
}

}  // namespace vlm::platform::workbook
