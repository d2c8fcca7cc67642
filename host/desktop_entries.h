#pragma once
// The freedesktop files that stand for the registration on a Linux desktop:
// launchers (desktop entries), the menu folder, and the model file type for
// the shared MIME database. Only texts here; installation writes them.
#include <string>
#include <vector>

namespace vlm::host {

// The model file type and the names the desktop knows us by. A user's
// installation and the system package use the same names, so the user's
// launcher, icon and type take the place of the system's while installed.
inline constexpr char kModelMimeType[] = "application/x-velmora-model";
inline constexpr char kModelMimeIcon[] = "application-x-velmora-model";
inline constexpr char kProgramIcon[] = "velmora-access";
inline constexpr char kMimePackageName[] = "velmora-access.xml";
// Every launcher an installation writes carries this key, so removal takes
// ours and leaves a user's own files alone.
inline constexpr char kShortcutMarker[] = "X-Velmora-Shortcut";

struct Launcher {
  std::string name;
  std::string comment;
  std::vector<std::string> command;  // program and arguments, each taken whole
  std::string fieldCode;             // "%f" when the launcher opens a file, else empty
  std::string icon;
  std::string mimeType;              // the types it opens, e.g. "application/x-velmora-model"
  std::string categories;            // e.g. "Science;DataVisualization;"
  bool marked = true;                // carries kShortcutMarker
};

// A desktop entry of type Application.
std::string desktopEntry(const Launcher& launcher);
// A menu directory entry (the name and icon of a menu folder).
std::string directoryEntry(const std::string& name, const std::string& icon);

// A menu folder with its own entries and sub-folders, merged into the
// applications menu.
struct MenuFolder {
  std::string name;
  std::string directoryFile;         // e.g. "velmora.directory"
  std::vector<std::string> entries;  // desktop file ids
  std::vector<MenuFolder> folders;
};
std::string menuFile(const MenuFolder& folder);

// The shared-mime-info package declaring the model file type ("*.vlm",
// compared without case) with the class's name as its comment.
std::string mimePackage(const std::string& comment);

// An argument of a desktop entry's Exec key: quoted when it holds a reserved
// character, with '"', '`', '$' and '\' escaped inside the quotes and '%'
// doubled (before the key's own string escaping).
std::string execArgument(const std::string& argument);
// A value of a desktop entry: '\', line feed, carriage return and tab escaped.
std::string entryValue(const std::string& text);
// A desktop file id's part made of a name: lower case letters, digits and '-'.
std::string idPart(const std::string& name);

}  // namespace vlm::host
