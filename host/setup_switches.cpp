#include "host/setup_switches.h"

#include <QApplication>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "engine/vlmapi.h"
#include "host/addin_button.h"
#include "host/installation.h"
#include "host/registry_access.h"
#include "host/setup_ui.h"

#ifndef VLM_VERSION
#define VLM_VERSION "0"
#endif

namespace vlm::host {
namespace {

std::string runningProgram() {
  std::error_code ec;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : path.string();
}

std::string currentFolder() {
  std::error_code ec;
  const auto path = std::filesystem::current_path(ec);
  return ec ? std::string("/") : path.string();
}

int machineRegistration(const CommandLine& line) {
  if (line.registerMachine) {
    if (line.machineFolder.empty() || line.machineFolder[0] != '/') {
      std::fprintf(stderr, "vlmac: --register-machine needs the installation folder as an absolute path\n");
      return 2;
    }
    if (vlm_WriteRegistryText(VLM_HKEY_LOCAL_MACHINE, kSettingsKey, "InstallRoot", line.machineFolder.c_str()) != 1) {
      std::fprintf(stderr, "vlmac: the machine's settings store could not be written\n");
      return 1;
    }
    return 0;
  }
  if (vlm_DeleteRegistryKey(VLM_HKEY_LOCAL_MACHINE, kSettingsKey) != 1) {
    std::fprintf(stderr, "vlmac: the machine's settings could not be deleted\n");
    return 1;
  }
  return 0;
}

int clipboardHandOver(int& argc, char** argv) {
  if (!hasDisplay()) {
    std::fprintf(stderr, "vlmac: -c needs a display to put the button image on its clipboard\n");
    return 1;
  }
  QApplication app(argc, argv);
  if (!putButtonImageOnClipboard()) {
    std::fprintf(stderr, "vlmac: the clipboard did not take the button image\n");
    return 1;
  }
  return offerClipboardUntilTaken();
}

int installOrRemove(const CommandLine& line, int& argc, char** argv) {
  std::unique_ptr<QApplication> app;
  std::unique_ptr<SetupUi> ui;
  if (hasDisplay()) {
    app = std::make_unique<QApplication>(argc, argv);
    ui = std::make_unique<BoxSetupUi>();
  } else {
    ui = std::make_unique<TerminalSetupUi>();
  }
  SetupContext context;
  context.registry = &storeRegistry();
  context.folders = userDesktopFolders();
  if (line.install) {
    context.paths = installPaths(currentFolder(), runningProgram());
    return install(context, *ui).empty() ? 0 : 1;
  }
  context.paths = installPaths(removalFolder(*context.registry, currentFolder()), runningProgram());
  return removeInstallation(context, *ui).empty() ? 0 : 1;
}

}  // namespace

std::string usageText() {
  return "Usage: vlmac [FILE]\n"
         "       vlmac -i | -r | -c\n"
         "Velmora ACCESS: interactive 3D visual data mining.\n"
         "\n"
         "  FILE        a model (.vlm) or a data file to open at start\n"
         "  -i          install from the current folder: registry entries, launchers on\n"
         "              the desktop and in a \"Velmora\" menu folder, the .vlm file type\n"
         "              and the icons (no file is copied)\n"
         "  -r          remove all of that (asks first)\n"
         "  -c          put the add-in's button image on the clipboard and keep it\n"
         "              there until another program takes the clipboard\n"
         "  -h, --help  show this help and exit\n"
         "  --version   show the version and exit\n"
         "\n"
         "For the package scripts:\n"
         "  --register-machine FOLDER  record FOLDER as the machine's installation folder\n"
         "  --unregister-machine       forget the machine's installation folder\n"
         "\n"
         "Without a display, -i and -r write to the terminal and -r reads its answer\n"
         "from the standard input.\n";
}

std::string versionText() { return std::string("vlmac (Velmora ACCESS) ") + VLM_VERSION + "\n"; }

std::optional<int> runSwitches(const CommandLine& line, int& argc, char** argv) {
  if (line.help) {
    std::fputs(usageText().c_str(), stdout);
    return 0;
  }
  if (line.version) {
    std::fputs(versionText().c_str(), stdout);
    return 0;
  }
  if (line.registerMachine || line.unregisterMachine) return machineRegistration(line);
  if (line.clipboardHandOver) return clipboardHandOver(argc, argv);
  if (line.install || line.remove) return installOrRemove(line, argc, argv);
  return std::nullopt;
}

}  // namespace vlm::host
