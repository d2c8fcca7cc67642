#include "sources/text_file_source.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <new>

#include "engine/engine_state.h"
#include "platform/report.h"
#include "sources/text_source.h"

namespace vlm {
namespace {

constexpr const char* kBadData = "Bad Data in the File.";
constexpr const char* kBadFormat = "Incorrect Data Format in the File...";

bool readWholeFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return false;
  in.seekg(0, std::ios::beg);
  try {
    text.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  in.read(text.data(), size);
  return in.gcount() == size;
}

}  // namespace

std::optional<TableTextFormat> textFileFormat(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  if (ext == ".txt" || ext == ".tsv" || ext == ".tab") return TableTextFormat::TabFile;
  if (ext == ".csv") return TableTextFormat::Csv;
  return std::nullopt;
}

std::string cannotReadMessage(const std::string& path) {
  std::error_code error;
  const bool missing = !std::filesystem::exists(path, error) && !error;
  return "Unable to read the data file \"" + path + "\"" + (missing ? ": there is no such file." : ".");
}

bool loadTextFile(EngineState& state, const std::string& path, TableTextFormat format) {
  std::string text;
  if (!readWholeFile(path, text)) {
    platform::reportError(cannotReadMessage(path).c_str());
    failTextSource(state);
    return false;
  }
  // A byte order mark is no part of the first field's name.
  std::string_view body = text;
  if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(path, error);
  if (error) full = path;
  TextSourceName source{full.filename().string(), full.lexically_normal().string()};
  return loadTextSource(state, body, format, {kBadData, kBadFormat}, source) == TextSourceResult::Loaded;
}

}  // namespace vlm
