#pragma once
// The first byte of a table-text fuzz input: the text format (clipboard, tab
// file, CSV) and the regional settings the text is read with.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/table_text_reader.h"
#include "platform/regional_settings.h"
#include "platform/report.h"

namespace vlm::fuzz {

struct TableTextMode {
  TableTextFormat format = TableTextFormat::Clipboard;
  platform::RegionalSettings regional;
};

inline TableTextMode tableTextMode(uint8_t mode) {
  TableTextMode m;
  m.format = mode % 3 == 0   ? TableTextFormat::Clipboard
             : mode % 3 == 1 ? TableTextFormat::TabFile
                             : TableTextFormat::Csv;
  m.regional.decimalSeparator = (mode & 0x04) ? ',' : '.';
  m.regional.decimalSeparatorKnown = true;
  m.regional.dateOrder = (mode >> 3) % 3;
  return m;
}

// An input as the targets read it: the mode byte decoded and the text after
// it. Errors the loader reports are silenced once, so a run stays quiet.
struct TableTextInput {
  TableTextMode mode;
  std::string_view text;
};

inline TableTextInput tableTextInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    platform::setErrorSink([](const char*) {});
    return true;
  }();
  (void)quiet;
  return {tableTextMode(data[0]), std::string_view(reinterpret_cast<const char*>(data + 1), size - 1)};
}

}  // namespace vlm::fuzz
