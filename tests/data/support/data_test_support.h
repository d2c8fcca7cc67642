#pragma once
// Helpers for the data table tests: recording error reports, building
// regional settings and small typed tables.
#include <string>
#include <string_view>
#include <vector>

#include "data/data_table.h"
#include "platform/regional_settings.h"
#include "platform/report.h"

namespace vlm::test {

// Captures every error text reported while it lives.
class ErrorRecorder {
 public:
  ErrorRecorder() {
    previous_ = platform::setErrorSink([this](const char* text) { messages.emplace_back(text); });
  }
  ~ErrorRecorder() { platform::setErrorSink(std::move(previous_)); }
  ErrorRecorder(const ErrorRecorder&) = delete;
  ErrorRecorder& operator=(const ErrorRecorder&) = delete;

  std::vector<std::string> messages;

 private:
  platform::ErrorSink previous_;
};

inline platform::RegionalSettings settings(char decimal = '.', int dateOrder = 0, int centuryBase = 2000) {
  platform::RegionalSettings s;
  s.decimalSeparator = decimal;
  s.decimalSeparatorKnown = true;
  s.dateOrder = dateOrder;
  s.timeSeparator = ':';
  s.centuryBase = centuryBase;
  return s;
}

// Sanitizers reserve far more address space than they use, so a limit on it
// cannot be tested under them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VLM_NO_ADDRESS_LIMIT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VLM_NO_ADDRESS_LIMIT 1
#endif
#endif

// Leaves the process `bytes` of address space beyond what it maps now, so
// that a large allocation fails; false when the limit cannot be set. For
// death-test children only: the limit stays.
bool limitAddressSpace(size_t bytes);

// Runs the analysis pass over one column and gives the field its type, as a loader does.
std::string analyseColumn(DataField& field, const std::vector<std::string>& cells,
                          const platform::RegionalSettings& regional);

// Loads one column into a fresh table (field 0): analysis, growth, storing.
void loadColumn(DataTable& table, const std::vector<std::string>& cells, const platform::RegionalSettings& regional);

// The value text of sample `sample` of field 0.
std::string cellText(const DataTable& table, int sample, const platform::RegionalSettings& regional,
                     bool group = false);

}  // namespace vlm::test
