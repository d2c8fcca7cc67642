#pragma once
// The one-page HTML report: title, data source, row counts, optionally a
// picture of the view and a table of the samples. Runs on the caller's (the
// host's) thread.
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "output/output_state.h"

namespace vlm {

struct EngineState;

// This program's own name and address, in the page's author line and footer.
constexpr const char* kMakerName = "the Velmora developers";
constexpr const char* kMakerSite = "https://velmora.example.org/";
constexpr const char* kCreditYears = "2024-2025";

// Data cannot break the page: &, <, > and " become entities.
std::string escapeHtml(std::string_view text);

// The picture's file name: the report's path in lower case, cut at ".htm",
// without its folder, with ".bmp".
std::string reportImageName(const std::string& reportPath);
// The report name typed without "." gets ".html" (filter 1) or ".htm" (filter 2).
std::string finalReportName(const std::string& chosen, int filterIndex);
// Height of a picture scaled to 500 pixels wide (truncated); the height itself
// when it is not wider than 500.
int32_t reportPictureHeight(int32_t width, int32_t height);
// The three filters of the report's Save As dialog: "All", "HTML", "HTM".
std::vector<std::pair<std::string, std::string>> reportFilters();

// What one report shows.
struct ReportContent {
  std::string title;
  std::string product;
  std::string source;
  int32_t rows = 0;
  int32_t selected = 0;
  bool image = false;
  std::string imageName;  // bare file name of the picture
  bool hitDetails = false;
  bool rowIds = false;  // a database or spreadsheet source: the Row ID column
  std::vector<std::string> fieldNames;
  std::tm when{};
};

// Writes the report fragment by fragment. `makeImage` runs after the image
// element is written (the picture is made then); `forEachRow` calls its
// argument with (object index, row index, the value texts) for every object
// to report, in order, and the row block is written as each arrives.
using RowSink = std::function<void(int32_t rowIndex, const std::vector<std::string>& values)>;
bool writeReport(std::FILE* out, const ReportContent& content, const std::function<void()>& makeImage,
                 const std::function<void(const RowSink&)>& forEachRow);

// The Create Report dialog: false when cancelled. Tests replace it.
using ReportDialogHandler = std::function<bool(ReportOptions& options)>;
ReportDialogHandler setReportDialogHandler(ReportDialogHandler handler);

// vlm_CopyToHTML: 1 when a report was written, 0 otherwise.
int copyToHtml(EngineState& state);

}  // namespace vlm
