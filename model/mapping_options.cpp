#include "model/mapping_options.h"

#include <cctype>
#include <cstring>

#include "model/association.h"

namespace vlm {
namespace {

struct OptionName {
  uint8_t bit;
  const char* name;
  const char* searchWord;
};

constexpr OptionName kOptionNames[] = {
    {MAP_LINEAR, "MAP_LINEAR", "LINEAR"}, {MAP_LOGN, "MAP_LOGN", "LOGN"},
    {MAP_EXP, "MAP_EXP", "EXP"},          {MAP_INVERSE, "MAP_INVERSE", "INV"},
    {MAP_POSITIVE, "MAP_POSITIVE", "POS"},
};

}  // namespace

std::string optionsToText(uint8_t options) {
  std::string text;
  for (const OptionName& o : kOptionNames) {
    if ((options & o.bit) == 0) continue;
    if (!text.empty()) text += " | ";
    text += o.name;
  }
  return text;
}

uint8_t textToOptions(char* text) {
  if (text == nullptr) return 0;
  for (char* c = text; *c; ++c) *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  uint8_t options = 0;
  for (const OptionName& o : kOptionNames) {
    if (std::strstr(text, o.searchWord) != nullptr) options |= o.bit;
  }
  return options;
}

}  // namespace vlm
