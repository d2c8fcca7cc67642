#pragma once
// UTF-8 helpers for the rules that work on characters rather than bytes:
// cutting texts at a character boundary, counting characters, letter tests
// and lower-casing of names. Invalid bytes count as one character each and are
// neither letters nor digits, so garbage input never reads past its end.
#include <cstddef>
#include <string>
#include <string_view>

namespace vlm::utf8 {

constexpr char32_t kInvalid = 0xFFFFFFFFu;

inline bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes the character at text[pos] and moves pos past it; an invalid or
// truncated sequence gives kInvalid and moves one byte.
char32_t decode(std::string_view text, size_t& pos);

// The longest prefix of at most maxBytes bytes that does not split a character.
size_t cutLength(std::string_view text, size_t maxBytes);

// Number of characters.
size_t charCount(std::string_view text);

// Letter test for one character: ASCII letters and the letters beyond ASCII
// (accented Latin, Greek, Cyrillic, ...); punctuation, symbols such as the
// euro sign, and combining marks are not letters.
bool isLetter(char32_t c);

// Simple lower-case mapping for ASCII, Latin-1, Latin Extended-A, Greek and
// Cyrillic capitals; other characters are returned unchanged.
char32_t toLower(char32_t c);

void append(std::string& out, char32_t c);

// Lower-cases the text character by character; invalid bytes are kept as they are.
std::string lower(std::string_view text);

}  // namespace vlm::utf8
