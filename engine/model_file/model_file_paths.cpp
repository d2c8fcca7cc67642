#include "engine/model_file/model_file_paths.h"

#include "model/model_file/model_file_values.h"

namespace vlm {

bool isAbsoluteModelPath(std::string_view path) {
  return (!path.empty() && path.front() == '/') || path.find(":\\") != std::string_view::npos;
}

std::string resolveModelPath(const std::string& path, const std::string& modelDirectory) {
  if (isAbsoluteModelPath(path) || modelDirectory.empty()) return path;
  if (modelDirectory.back() == '/') return modelDirectory + path;
  return modelDirectory + "/" + path;
}

std::string fileNamePart(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string directoryPart(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool containsUpper(std::string_view text, std::string_view part) {
  return upperAscii(text).find(part) != std::string::npos;
}

}  // namespace vlm
