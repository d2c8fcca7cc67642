#pragma once
// Character tests and the shape tests that type a cell. Letters are judged
// per UTF-8 character (see utf8::isLetter); digits are the ASCII digits.
#include <cstdint>
#include <string>
#include <string_view>

namespace vlm {

// Keeps only digits, ',', '-' and '.'.
std::string stripToNumberChars(std::string_view text);

// True when the text, lower-cased, contains "null", "n/a" or "num!": the
// sources' spellings of a missing value.
bool isMissingMarker(std::string_view text);

// The facts about a cell text that the shape tests read, gathered in one pass.
struct CellShape {
  int32_t letters = 0;
  int32_t letterRuns = 0;
  int32_t digits = 0;
  int32_t dashes = 0;
  int32_t characters = 0;
  bool dot = false;
  bool comma = false;
  bool dollar = false;
  bool letterE = false;
  bool dollarByDigit = false;  // "$5", "5$", "$ 5" or "5 $"
  bool currencyCode = false;   // two letters, a blank and a digit, or a digit, a blank and two letters
};

CellShape cellShape(std::string_view text);

inline bool hasManyLetters(const CellShape& s) { return s.letters >= 4; }
inline bool hasTwoDashes(const CellShape& s) { return s.dashes >= 2; }
inline bool hasNoDigit(const CellShape& s) { return s.digits == 0; }
bool isDecimalShape(const CellShape& s);
bool isScientificShape(const CellShape& s);
bool isCurrencyShape(const CellShape& s);

// The leading base-10 integer of the text after optional white space and one
// optional sign, computed in 64 bits and held at the int64 limits rather than
// wrapping. False when no digit follows.
bool scanInteger(std::string_view text, int64_t& value);

// True when scanInteger finds a number.
bool scansAsInteger(std::string_view text);

}  // namespace vlm
