#pragma once
// Where this desktop keeps a user's launchers, menus, file types and icons
// (the freedesktop base directories), and the user's desktop folder.
#include <string>

namespace vlm::host {

struct DesktopFolders {
  std::string applications;  // launchers; the menu folder's launchers in "velmora/"
  std::string desktop;       // the user's desktop; empty when the session has none
  std::string menus;         // menu files merged into the applications menu
  std::string directories;   // names and icons of menu folders
  std::string mime;          // the shared MIME database ("packages/" holds the sources)
  std::string icons;         // the hicolor icon theme
};

// From $XDG_DATA_HOME (~/.local/share), $XDG_CONFIG_HOME (~/.config) and the
// desktop named by $XDG_DESKTOP_DIR or the user-dirs.dirs file, else ~/Desktop
// when it exists. A desktop that is the home folder itself counts as none.
DesktopFolders userDesktopFolders();

// The desktop folder as "user-dirs.dirs" text names it ($HOME expanded), or
// empty when the text does not name one.
std::string desktopFromUserDirs(const std::string& text, const std::string& home);

}  // namespace vlm::host
