#pragma once
// The single-byte code page (Windows-1252) of the glyph lists: texts are kept as
// UTF-8 and become character codes 0..255 when they are drawn with glCallLists.
#include <string>
#include <string_view>

namespace vlm::scene {

// The character a code stands for.
char16_t codePageChar(unsigned char code);
// The code of a character, '?' for one the code page does not have.
unsigned char codePageCode(char32_t c);
// A UTF-8 text as character codes.
std::string toCodePage(std::string_view utf8);

}  // namespace vlm::scene
