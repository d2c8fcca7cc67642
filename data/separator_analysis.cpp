#include "data/separator_analysis.h"

#include "data/utf8.h"

namespace vlm {

NumberFormatClass separatorAnalysis(std::string_view text) {
  int dots = 0, commas = 0, blanks = 0;
  for (char c : text) {
    dots += c == '.';
    commas += c == ',';
    blanks += c == ' ';
  }
  if ((dots && commas) || (dots && blanks) || (blanks && commas)) return 3;
  if (dots > 1 || commas > 1 || blanks > 1) return 2;
  const size_t last = dots ? text.rfind('.') : commas ? text.rfind(',') : std::string_view::npos;
  if (last == std::string_view::npos) return 0;
  return utf8::charCount(text.substr(last + 1)) == 3 ? 0 : 1;
}

}  // namespace vlm
