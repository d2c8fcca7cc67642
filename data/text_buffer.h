#pragma once
// Copying result texts into the callers' fixed buffers.
#include <cstddef>
#include <string_view>

namespace vlm {

// The buffers of the exported API hold 1023 bytes and the terminating zero.
constexpr size_t kTextBufferSize = 1024;

// Copies text into dst (size bytes with the terminating zero), cut at a UTF-8
// character boundary when it does not fit. Returns the bytes copied without
// the zero. Nothing is written when dst is null or size is 0.
size_t writeText(char* dst, size_t size, std::string_view text);

}  // namespace vlm
