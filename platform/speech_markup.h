#pragma once
// The character's speech texts carry tags between backslashes: \emp\ stresses
// the next word, \Ctx="E-mail"\ sets the reading context, \Pau=n\ pauses for n
// milliseconds. espeak-ng reads SSML instead; this turns one into the other.
#include <string>
#include <string_view>

namespace vlm::platform {

// The tagged text as an SSML document. Text is escaped, so values such as
// "a < b" are read as written; unknown tags are dropped, and a backslash that
// opens no tag is read as a backslash.
std::string taggedTextToSsml(std::string_view text);

// &, <, >, " and ' as XML entities.
std::string escapeXml(std::string_view text);

}  // namespace vlm::platform
