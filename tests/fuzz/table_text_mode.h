#pragma once
// The first byte of a table-text fuzz input: the text format (clipboard, tab
// file, CSV) and the regional settings the text is read with.
#include <cstdint>

#include "data/table_text_reader.h"
#include "platform/regional_settings.h"

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

}  // namespace vlm::fuzz
