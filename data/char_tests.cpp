#include "data/char_tests.h"

#include <cstdint>
#include <cstring>

#include "data/utf8.h"

namespace vlm {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool startsWithLowered(std::string_view text, size_t at, std::string_view lowered) {
  if (text.size() - at < lowered.size()) return false;
  for (size_t i = 0; i < lowered.size(); ++i)
    if (asciiLower(text[at + i]) != lowered[i]) return false;
  return true;
}

// Whether one of the bytes of `w` is 'n' or 'N' (setting bit 5 makes both
// 'n' and leaves every other byte something else).
template <typename Word>
bool holdsLetterN(Word w) {
  constexpr Word ones = static_cast<Word>(~Word{0}) / 0xFF;
  const Word x = static_cast<Word>((w | (ones * 0x20)) ^ (ones * 'n'));
  return static_cast<Word>((x - ones) & ~x & (ones * 0x80)) != 0;
}

template <typename Word>
Word wordAt(const char* at) {
  Word w;
  std::memcpy(&w, at, sizeof w);
  return w;
}

// Whether the text holds an 'n' or 'N' anywhere: most cells hold none, and
// are passed over a word at a time.
bool mayHoldLetterN(std::string_view text) {
  const char* p = text.data();
  const size_t n = text.size();
  if (n >= 8) {
    for (size_t i = 0; i + 8 <= n; i += 8)
      if (holdsLetterN(wordAt<uint64_t>(p + i))) return true;
    return n % 8 != 0 && holdsLetterN(wordAt<uint64_t>(p + n - 8));
  }
  if (n >= 4) return holdsLetterN(wordAt<uint32_t>(p)) || holdsLetterN(wordAt<uint32_t>(p + n - 4));
  for (size_t i = 0; i < n; ++i)
    if (asciiLower(p[i]) == 'n') return true;
  return false;
}

}  // namespace

std::string stripToNumberChars(std::string_view text) {
  std::string out;
  out.reserve(text.size() < 32 ? text.size() : 32);
  for (char c : text)
    if (isDigit(c) || c == ',' || c == '-' || c == '.') out.push_back(c);
  return out;
}

bool isMissingMarker(std::string_view text) {
  // Every marker is three characters or more, and starts with an 'n'.
  if (text.size() < 3 || !mayHoldLetterN(text)) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (asciiLower(text[i]) != 'n') continue;
    if (startsWithLowered(text, i, "null") || startsWithLowered(text, i, "n/a") || startsWithLowered(text, i, "num!"))
      return true;
  }
  return false;
}

CellShape cellShape(std::string_view text) {
  CellShape s;
  // The last three characters, as classes: 'L' letter, 'D' digit, ' ' blank, '$', or 0.
  char prev1 = 0, prev2 = 0, prev3 = 0;
  bool inRun = false;
  for (size_t pos = 0; pos < text.size();) {
    // Most cells are ASCII: read those bytes here rather than through the decoder.
    const unsigned char byte = static_cast<unsigned char>(text[pos]);
    char32_t c = byte;
    bool letter = false;
    if (byte < 0x80) {
      ++pos;
      letter = (byte | 0x20) >= 'a' && (byte | 0x20) <= 'z';
    } else {
      c = utf8::decode(text, pos);
      letter = utf8::isLetter(c);
    }
    ++s.characters;
    char kind = 0;
    if (letter) {
      kind = 'L';
      ++s.letters;
      if (!inRun) ++s.letterRuns;
      inRun = true;
      if (c == 'e' || c == 'E') s.letterE = true;
    } else {
      inRun = false;
      if (c >= '0' && c <= '9') {
        kind = 'D';
        ++s.digits;
      } else if (c == ' ') {
        kind = ' ';
      } else if (c == '$') {
        kind = '$';
        s.dollar = true;
      } else if (c == '-') {
        ++s.dashes;
      } else if (c == '.') {
        s.dot = true;
      } else if (c == ',') {
        s.comma = true;
      }
    }
    if ((prev1 == '$' && kind == 'D') || (prev1 == 'D' && kind == '$')) s.dollarByDigit = true;
    if (prev2 == '$' && prev1 == ' ' && kind == 'D') s.dollarByDigit = true;
    if (prev2 == 'D' && prev1 == ' ' && kind == '$') s.dollarByDigit = true;
    if (prev3 == 'L' && prev2 == 'L' && prev1 == ' ' && kind == 'D') s.currencyCode = true;
    if (prev3 == 'D' && prev2 == ' ' && prev1 == 'L' && kind == 'L') s.currencyCode = true;
    prev3 = prev2;
    prev2 = prev1;
    prev1 = kind;
  }
  return s;
}

bool isDecimalShape(const CellShape& s) {
  return s.letters <= 3 && s.letterRuns <= 1 && (s.digits > 0 || s.dashes > 0) && (s.dot || s.comma);
}

bool isScientificShape(const CellShape& s) {
  return s.letters <= 3 && s.letterRuns <= 1 && s.digits > 0 && (s.dot || s.comma) && s.letterE;
}

bool isCurrencyShape(const CellShape& s) {
  return s.letters <= 3 && s.letterRuns <= 1 && (s.letters > 0 || s.dollar) && s.digits > 0 && s.dashes == 0 &&
         (s.dollarByDigit || s.currencyCode);
}

bool scanInteger(std::string_view text, int64_t& value) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i >= text.size() || !isDigit(text[i])) return false;
  // Accumulate negatively so that INT64_MIN is reachable, and stop at the limit.
  // Eighteen digits cannot reach it, so those need no check.
  int64_t v = 0;
  for (int digits = 0; digits < 18 && i < text.size() && isDigit(text[i]); ++i, ++digits)
    v = v * 10 - (text[i] - '0');
  for (; i < text.size() && isDigit(text[i]); ++i) {
    const int digit = text[i] - '0';
    if (v < (INT64_MIN + digit) / 10) {
      v = INT64_MIN;
      while (i < text.size() && isDigit(text[i])) ++i;
      break;
    }
    v = v * 10 - digit;
  }
  value = negative ? v : (v == INT64_MIN ? INT64_MAX : -v);
  return true;
}

bool scansAsInteger(std::string_view text) {
  int64_t ignored = 0;
  return scanInteger(text, ignored);
}

}  // namespace vlm
