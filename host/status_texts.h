#pragma once
// The texts of the status bar's hits and selection parts, and the progress
// arithmetic of its owner-drawn part.
#include <cstdint>
#include <string>

namespace vlm::host {

// " %i hits", " %i hits (%i total in database)" when the source count is
// non-zero and differs, "1 hit" for exactly one.
std::string hitsText(int64_t rows, int64_t sourceRows);
// "%i selected (%s)" with the shortened percentage; with no hits the hits text.
std::string selectionText(int64_t selected, int64_t rows, int64_t sourceRows, char decimalSeparator);
// "%.3f%%" shortened: the last '.' or ',' becomes the separator, other ones go,
// trailing zeros after the separator go but for the first digit, and a lone
// "0" goes with the separator. A separator of 0 leaves the text as formatted.
std::string shortenedPercentage(double percent, char decimalSeparator);

// The current value of a progress step: reduced by `last` until it is not
// above it; with a last value of 0 or less the bar shows 0.
int64_t progressValue(int64_t current, int64_t last);
// The filled width of the progress part, 0 when first equals last.
int progressFill(int width, int64_t current, int64_t first, int64_t last);

}  // namespace vlm::host
