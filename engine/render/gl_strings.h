#pragma once
// The implementation's vendor, renderer, version and extension strings, kept
// within the 1024-character fields that the About box shows (Mesa's extension
// string alone is several kilobytes).
#include <cstddef>
#include <string>

namespace vlm {
struct ViewState;
}

namespace vlm::render {

// The text cut to at most capacity - 1 characters (null gives "").
std::string boundedGlString(const char* text, size_t capacity);

// Reads the four strings of the current context into the view record.
void readGlStrings(ViewState& view);

}  // namespace vlm::render
