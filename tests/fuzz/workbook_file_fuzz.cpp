// Arbitrary bytes as a workbook: an .xlsx or .ods package (byte 0 even or
// odd and below 128) or delimited text (byte 0 from 128 on). Nothing may
// crash, a refused file says why, memory stays within the limits, and every
// sheet read answers a range request over its used part.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/workbook/cell_address.h"
#include "platform/workbook/workbook_file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vlm::platform::workbook;
  if (size < 1) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const WorkbookFormat format =
      data[0] >= 128 ? WorkbookFormat::Csv : (data[0] & 1 ? WorkbookFormat::Ods : WorkbookFormat::Xlsx);
  ReadLimits limits;
  limits.unpackedBytes = 16 << 20;
  limits.cells = 200000;
  limits.textBytes = 8 << 20;
  std::string error;
  auto book = readWorkbookBytes(bytes, format, "fuzz", limits, error);
  if (!book) {
    check(!error.empty());
    return 0;
  }
  check(!book->sheets.empty());
  check(book->activeSheet >= 0 && static_cast<size_t>(book->activeSheet) < book->sheets.size());
  for (const Sheet& sheet : book->sheets) {
    for (const Area& a : sheet.selection) check(validArea(a));
    std::string text;
    if (sheet.lastRow() > 0 && static_cast<uint64_t>(sheet.lastRow()) * static_cast<uint64_t>(sheet.lastColumn()) < 1000000)
      check(sheet.rangeText({1, sheet.lastRow(), 1, sheet.lastColumn()}, text));
    for (const Area& a : sheet.selection) {
      Area back;
      check(parseR1C1Area(r1c1Text(a, {'R', 'C'}), {'R', 'C'}, back) && back == a);
    }
  }
  return 0;
}
