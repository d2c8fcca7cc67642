#include "host/desktop_folders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vlm::host {
namespace {

namespace fs = std::filesystem;

std::string env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string withoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

std::string desktopFromUserDirs(const std::string& text, const std::string& home) {
  std::istringstream in(text);
  std::string line;
  std::string found;
  while (std::getline(in, line)) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    if (line.compare(start, 16, "XDG_DESKTOP_DIR=") != 0) continue;
    std::string value = line.substr(start + 16);
    if (value.size() < 2 || value.front() != '"') continue;
    const size_t close = value.find('"', 1);
    if (close == std::string::npos) continue;
    value = value.substr(1, close - 1);
    if (value.rfind("$HOME", 0) == 0)
      value = home + value.substr(5);
    else if (value.empty() || value[0] != '/')
      continue;  // only absolute paths and $HOME-relative ones are valid
    found = value;
  }
  return found;
}

DesktopFolders userDesktopFolders() {
  const std::string home = withoutTrailingSlash(env("HOME").empty() ? "/tmp" : env("HOME"));
  std::string data = env("XDG_DATA_HOME");
  if (data.empty() || data[0] != '/') data = home + "/.local/share";
  std::string config = env("XDG_CONFIG_HOME");
  if (config.empty() || config[0] != '/') config = home + "/.config";
  data = withoutTrailingSlash(data);
  config = withoutTrailingSlash(config);

  DesktopFolders f;
  f.applications = data + "/applications";
  f.menus = config + "/menus/applications-merged";
  f.directories = data + "/desktop-directories";
  f.mime = data + "/mime";
  f.icons = data + "/icons/hicolor";

  std::string desktop = env("XDG_DESKTOP_DIR");
  if (desktop.empty()) {
    std::ifstream in(config + "/user-dirs.dirs");
    if (in) {
      std::ostringstream text;
      text << in.rdbuf();
      desktop = desktopFromUserDirs(text.str(), home);
    }
  }
  if (desktop.empty()) {
    std::error_code ec;
    if (fs::is_directory(home + "/Desktop", ec)) desktop = home + "/Desktop";
  }
  desktop = withoutTrailingSlash(desktop);
  f.desktop = desktop == home ? std::string() : desktop;
  return f;
}

}  // namespace vlm::host
