#pragma once
// Files replaced whole or not at all: the new contents go to a temporary file
// beside the old one, reach the disk, and are renamed over it. A crash or a
// full disk leaves either the old file or the new one, never a torn mix.
#include <string>
#include <string_view>

namespace vlm::platform {

// Writes `bytes` to `path`. A file that exists keeps its permissions; a
// read-only one (no write permission for anyone, or none for this user) is
// refused, as is a path whose folder cannot be written.
// A symbolic link is written through to its target. On failure `error` says
// why and the old file is untouched.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

// Reads the whole file; false (with `error`) when it cannot be read.
bool readWholeFile(const std::string& path, std::string& bytes, std::string& error);

}  // namespace vlm::platform
