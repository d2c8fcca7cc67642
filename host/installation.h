#pragma once
// Installing ("-i") and removing ("-r") the program on this desktop: the
// registry entries, and what they mean here (launchers on the desktop and in
// a "Velmora" menu folder, the model file type and the icons). A step that
// fails does not stop the next; every failure is reported at the end.
#include <functional>
#include <string>
#include <vector>

#include "host/desktop_folders.h"
#include "host/registration.h"

namespace vlm::host {

class RegistryAccess;

// Asks and tells the user (message boxes, or the terminal without a display).
class SetupUi {
 public:
  virtual ~SetupUi() = default;
  // A Yes/No question; true for Yes.
  virtual bool ask(const std::string& caption, const std::string& text) = 0;
  // A top-most message; `problem` when it reports failures.
  virtual void tell(const std::string& caption, const std::string& text, bool problem) = 0;
};

// Runs a desktop tool (update-mime-database, update-desktop-database) and
// waits for it; true when it ran and succeeded.
using ToolRunner = std::function<bool(const std::vector<std::string>& command)>;
bool runTool(const std::vector<std::string>& command);
// The program's path when it is found in PATH, else empty.
std::string findProgram(const std::string& name);

struct SetupContext {
  InstallPaths paths;
  DesktopFolders folders;
  RegistryAccess* registry = nullptr;
  ToolRunner tools = runTool;
  std::function<std::string(const std::string&)> findTool = findProgram;
};

inline constexpr char kInstalledCaption[] = "Velmora ACCESS Installation Complete";
inline constexpr char kInstalledText[] =
    "\nCongratulations!\nNow you can start using Velmora ACCESS.  \n\n"
    "To launch Velmora ACCESS,\n"
    "1. click the button in Access' TOOLBAR, or   \n"
    "2. click the Velmora icon on your DESKTOP, or  \n"
    "3. click the icon under the Windows START button.  \n\n";
inline constexpr char kIncompleteCaption[] = "Velmora ACCESS Installation Incomplete";
inline constexpr char kRemovalCaption[] = "Velmora Uninstalltion";
inline constexpr char kRemovalQuestion[] = "Do you want to completely remove  \n Velmora ACCESS and all its components?  ";

// The files an installation writes for `context`.
struct InstalledFiles {
  std::string desktopLauncher;     // on the desktop; empty without a desktop
  std::string menuFolder;          // "velmora" under the applications folder
  std::string demosFolder;         // "access-demos" in it
  std::string programLauncher;     // in the menu folder; opens model files
  std::string helpLauncher;
  std::string readmeLauncher;      // in the demos folder
  std::string menuFile;
  std::string menuDirectory, demosDirectory;
  std::string mimePackage;
  std::string programIcon, modelIcon;        // scalable
  std::string programIconPng, modelIconPng;  // 48 pixels
};
InstalledFiles installedFiles(const SetupContext& context);

// What the installation folder offers to the menu folder.
struct FolderContent {
  std::string help;                  // the help's first page; empty when there is none
  std::string readme;                // empty when there is none
  std::vector<std::string> samples;  // sample model files (*.vlm under assets/), sorted
};
FolderContent folderContent(const std::string& folder);

// Installs; returns the failed steps (empty when all went well) after telling
// the user.
std::vector<std::string> install(const SetupContext& context, SetupUi& ui);
// Asks, then removes; returns what could not be removed. `declined` is set
// when the user answered No (nothing is then touched).
std::vector<std::string> removeInstallation(const SetupContext& context, SetupUi& ui, bool* declined = nullptr);

// The folder removal works on: the installation folder the registry names,
// else `currentFolder`.
std::string removalFolder(RegistryAccess& registry, const std::string& currentFolder);

}  // namespace vlm::host
