#pragma once
// Paths of model files. This platform has no drive letters: a path is
// absolute when it starts with "/"; paths written on Windows ("C:\...") are
// still taken as absolute, so an old file names what it named.
#include <string>
#include <string_view>

namespace vlm {

bool isAbsoluteModelPath(std::string_view path);
// A relative path joined to the model directory (a "/" put between when
// the directory does not end in one); an absolute one unchanged.
std::string resolveModelPath(const std::string& path, const std::string& modelDirectory);
// The file name part, after the last "/" (or "\" of an old path).
std::string fileNamePart(const std::string& path);
// The directory part with its trailing "/", or "" for a bare name.
std::string directoryPart(const std::string& path);
// Whether the upper-cased text contains `part` (ASCII upper case).
bool containsUpper(std::string_view text, std::string_view part);

}  // namespace vlm
