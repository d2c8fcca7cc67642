#pragma once
// How values are written to a model file and read back: integers, switches,
// reals, and keywords found by upper-cased substring.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vlm {

// A real with "." as its decimal point, trimmed by the number-text rule:
// 0.5 is "0.5", 1.0 is "1", 0.0 is "0". Files stay readable in every region.
std::string modelRealText(float value);
// The number the text begins with, "." or "," as its decimal point, with an
// optional exponent; 0 when it begins with none.
float readModelReal(std::string_view text);
// The integer the text begins with (digits after a sign; "49.9" is 49),
// limited to int32; 0 when it begins with none.
int32_t readModelInteger(std::string_view text);
// On only when the number read is exactly 1.
bool readModelSwitch(std::string_view text);
inline const char* switchText(bool on) { return on ? "1" : "0"; }

// ASCII letters upper-cased; other bytes unchanged.
std::string upperAscii(std::string_view text);
// The position of the first keyword that occurs in the upper-cased text,
// or -1 when none does.
int32_t findKeyword(std::string_view text, std::initializer_list<const char*> keywords);

}  // namespace vlm
