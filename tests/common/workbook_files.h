#pragma once
// Workbook files for tests: zip packages built part by part, small .xlsx
// and .ods files written by hand, .xlsx files written with libxlsxwriter, and
// files converted by LibreOffice Calc where it is installed.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vlm::test {

// A zip archive (deflated) of the parts, in memory.
std::string zipBytes(const std::vector<std::pair<std::string, std::string>>& parts);

// A minimal .xlsx package around sheet parts (their <sheetData> and
// <sheetViews> given as XML), with optional shared strings and styles.
struct XlsxSheet {
  std::string name;
  std::string body;  // the children of <worksheet>
};
std::string xlsxBytes(const std::vector<XlsxSheet>& sheets, const std::vector<std::string>& sharedStrings = {},
                      const std::string& stylesBody = {}, int activeTab = 0);

// A minimal .ods package: the tables' XML (each a <table:table> element)
// and, optionally, the view settings' items.
std::string odsBytes(const std::string& tables, const std::string& settingsBody = {});

// A grid of texts written with libxlsxwriter into `path`: a cell that reads
// as a number is stored as one. The selection is "A1:C11"-style text in
// A1 notation (one area).
bool writeXlsx(const std::string& path, const std::string& sheetName, const std::vector<std::vector<std::string>>& rows,
               const std::string& selection);

// The LibreOffice program, empty when it is not installed.
std::string libreOfficeProgram();
// Converts `path` with LibreOffice into `folder` as `extension` ("ods",
// "xlsx", "xls"); the converted file's path, or empty on failure.
std::string convertWithLibreOffice(const std::string& path, const std::string& folder, const std::string& extension);

void writeFile(const std::string& path, const std::string& bytes);

}  // namespace vlm::test
