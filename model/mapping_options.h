#pragma once
// Text form of MappingOptions as the model file stores it.
#include <cstdint>
#include <string>

namespace vlm {

// Names of the set bits in bit order joined by " | "; "" for 0.
std::string optionsToText(uint8_t options);
// Upper-cases `text` in place and sets every bit whose search word occurs in it.
uint8_t textToOptions(char* text);

}  // namespace vlm
