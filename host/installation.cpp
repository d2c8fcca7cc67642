#include "host/installation.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "engine/vlmapi.h"
#include "host/desktop_entries.h"
#include "host/registry_access.h"

extern char** environ;

namespace vlm::host {
namespace {

namespace fs = std::filesystem;

constexpr char kSampleFolder[] = "assets";
constexpr char kProgramIconFile[] = "assets/icons/velmora-access";
constexpr char kModelIconFile[] = "assets/icons/application-x-velmora-model";

// Failed steps, each "what: why".
class Problems {
 public:
  void add(const std::string& what, const std::string& why) { list_.push_back(what + ": " + why); }
  std::vector<std::string> take() { return std::move(list_); }

 private:
  std::vector<std::string> list_;
};

std::string reason(const std::error_code& ec) { return ec ? ec.message() : std::string("failed"); }

// Writes through a temporary file and a rename, so a launcher is never torn.
// Returns the reason of a failure, empty on success.
std::string writeFile(const std::string& path, const std::string& text, fs::perms mode) {
  std::error_code ec;
  const fs::path target(path);
  fs::create_directories(target.parent_path(), ec);
  if (ec) return reason(ec);
  const std::string temp = path + ".tmp." + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return std::strerror(errno);
    out << text;
    out.flush();
    if (!out) {
      fs::remove(temp, ec);
      return "could not be written";
    }
  }
  fs::permissions(temp, mode, ec);
  fs::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return reason(ec);
  }
  return {};
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string copyFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (!fs::is_regular_file(from, ec)) return from + " is missing";
  return writeFile(to, readFile(from), fs::perms(0644));
}

// Empty when the file is gone afterwards (also when it was never there).
std::string removeFile(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
  if (ec && ec != std::errc::no_such_file_or_directory) return reason(ec);
  if (fs::symlink_status(path, ec).type() != fs::file_type::not_found) return "could not be removed";
  return {};
}

bool isOurLauncher(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return false;
  return readFile(path).find(std::string("\n") + kShortcutMarker + "=true") != std::string::npos;
}

// Removes a folder that holds nothing; one that holds something stays.
void removeEmptyFolder(const std::string& path, const std::string& what, Problems& problems) {
  std::error_code ec;
  if (!fs::is_directory(path, ec) || !fs::is_empty(path, ec)) return;
  fs::remove(path, ec);
  if (ec) problems.add(what + " (" + path + ")", reason(ec));
}

std::vector<std::string> ourLaunchersIn(const std::string& folder) {
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string path = entry.path().string();
    if (entry.path().extension() == ".desktop" && isOurLauncher(path)) found.push_back(path);
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::string productName() {
  std::string name = kProductName;
  name.erase(0, name.find_first_not_of(' '));
  return name;
}

Launcher programLauncher(const SetupContext& c) {
  Launcher l;
  l.name = productName();
  l.comment = "Interactive 3D visual data mining";
  l.command = {c.paths.program};
  l.fieldCode = "%f";
  l.icon = kProgramIcon;
  l.mimeType = kModelMimeType;
  l.categories = "Science;DataVisualization;";
  return l;
}

Launcher openerLauncher(const std::string& name, const std::string& file, const std::string& icon) {
  Launcher l;
  l.name = name;
  l.command = {"xdg-open", file};
  l.icon = icon;
  return l;
}

void runDesktopTool(const SetupContext& c, const std::string& tool, const std::vector<std::string>& arguments,
                    const std::string& what, const std::string& package, bool required, Problems& problems) {
  const std::string program = c.findTool(tool);
  if (program.empty()) {
    if (required) problems.add(what, tool + " is not installed (Debian package " + package + ")");
    return;
  }
  std::vector<std::string> command{program};
  command.insert(command.end(), arguments.begin(), arguments.end());
  if (!c.tools(command)) problems.add(what, tool + " failed");
}

std::string describe(const RegistryEntry& e) {
  std::string text = std::string(rootName(e.root)) + "\\" + e.key;
  if (!e.name.empty()) text += (text.back() == '\\' ? "" : "\\") + e.name;
  return text;
}

void writeRegistry(const SetupContext& c, Problems& problems) {
  RegistryAccess& registry = *c.registry;
  const std::vector<RegistryEntry> entries = registrationEntries(c.paths);
  std::vector<std::string> failed;
  for (const RegistryEntry& e : entries) {
    bool ok = false;
    switch (e.kind) {
      case RegistryEntry::Kind::Text: ok = registry.writeText(e.root, e.key, e.name, e.text); break;
      case RegistryEntry::Kind::Dword: ok = registry.writeDword(e.root, e.key, e.name, e.dword); break;
      case RegistryEntry::Kind::Key: ok = registry.createKey(e.root, e.key); break;
    }
    if (!ok) failed.push_back(describe(e));
  }
  if (failed.empty()) return;
  problems.add(std::to_string(failed.size()) + " of " + std::to_string(entries.size()) + " registry entries",
               "the settings store refused them (the first: " + failed.front() + ")");
}

void installFileType(const SetupContext& c, const InstalledFiles& files, Problems& problems) {
  const std::string source = c.paths.folder + "/";
  for (const auto& [from, to, what] :
       {std::tuple{source + kProgramIconFile + ".svg", files.programIcon, "the program icon"},
        std::tuple{source + kProgramIconFile + "-48.png", files.programIconPng, "the program icon"},
        std::tuple{source + kModelIconFile + ".svg", files.modelIcon, "the model file icon"},
        std::tuple{source + kModelIconFile + "-48.png", files.modelIconPng, "the model file icon"}}) {
    const std::string failure = copyFile(from, to);
    if (!failure.empty()) problems.add(std::string(what) + " (" + to + ")", failure);
  }
  const std::string package = writeFile(files.mimePackage, mimePackage(kModelClassName), fs::perms(0644));
  if (!package.empty()) {
    problems.add("the .vlm file type (" + files.mimePackage + ")", package);
    return;
  }
  runDesktopTool(c, "update-mime-database", {c.folders.mime}, "the .vlm file type", "shared-mime-info", true,
                 problems);
}

void writeLauncher(const std::string& path, const Launcher& launcher, const std::string& what, fs::perms mode,
                   Problems& problems) {
  const std::string failure = writeFile(path, desktopEntry(launcher), mode);
  if (!failure.empty()) problems.add(what + " (" + path + ")", failure);
}

void installMenuFolder(const SetupContext& c, const InstalledFiles& files, Problems& problems) {
  const FolderContent content = folderContent(c.paths.folder);
  // A new installation's launchers replace the last one's (samples come and go).
  for (const std::string& folder : {files.demosFolder, files.menuFolder})
    for (const std::string& old : ourLaunchersIn(folder)) removeFile(old);

  MenuFolder menu;
  menu.name = "Velmora";
  menu.directoryFile = fs::path(files.menuDirectory).filename().string();
  MenuFolder demos;
  demos.name = "Access Demos";
  demos.directoryFile = fs::path(files.demosDirectory).filename().string();

  writeLauncher(files.programLauncher, programLauncher(c), "the program's launcher", fs::perms(0644), problems);
  menu.entries.push_back("velmora-access.desktop");
  if (content.help.empty()) {
    problems.add("the help launcher", "there are no help pages in " + c.paths.folder + "/assets/help");
  } else {
    writeLauncher(files.helpLauncher, openerLauncher(productName() + " Help", content.help, "help-browser"),
                  "the help launcher", fs::perms(0644), problems);
    menu.entries.push_back("velmora-access-help.desktop");
  }
  if (content.readme.empty()) {
    problems.add("the read-me launcher", c.paths.folder + "/README.md is missing");
  } else {
    writeLauncher(files.readmeLauncher, openerLauncher("Readme", content.readme, "text-x-generic"),
                  "the read-me launcher", fs::perms(0644), problems);
    demos.entries.push_back("velmora-access-demos-readme.desktop");
  }
  for (const std::string& sample : content.samples) {
    const std::string stem = fs::path(sample).stem().string();
    std::string id = idPart(stem);
    if (id == "readme") id = "sample-readme";
    Launcher l;
    l.name = stem;
    l.command = {c.paths.program, sample};
    l.icon = kModelMimeIcon;
    writeLauncher(files.demosFolder + "/" + id + ".desktop", l, "the sample launcher " + stem, fs::perms(0644),
                  problems);
    demos.entries.push_back("velmora-access-demos-" + id + ".desktop");
  }
  menu.folders.push_back(demos);

  std::string failure = writeFile(files.menuDirectory, directoryEntry("Velmora", kProgramIcon), fs::perms(0644));
  if (!failure.empty()) problems.add("the menu folder's name (" + files.menuDirectory + ")", failure);
  failure = writeFile(files.demosDirectory, directoryEntry("Access Demos", "folder"), fs::perms(0644));
  if (!failure.empty()) problems.add("the demos folder's name (" + files.demosDirectory + ")", failure);
  failure = writeFile(files.menuFile, menuFile(menu), fs::perms(0644));
  if (!failure.empty()) problems.add("the Velmora menu folder (" + files.menuFile + ")", failure);
  runDesktopTool(c, "update-desktop-database", {"-q", c.folders.applications}, "the launchers' file types",
                 "desktop-file-utils", false, problems);
}

void tellProblems(SetupUi& ui, const std::string& caption, const std::string& intro,
                  const std::vector<std::string>& problems) {
  std::string text = intro;
  for (const std::string& p : problems) text += " - " + p + "\n";
  ui.tell(caption, text, true);
}

}  // namespace

bool runTool(const std::vector<std::string>& command) {
  if (command.empty()) return false;
  std::vector<char*> argv;
  for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string findProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (folder.empty()) continue;
    const std::string candidate = folder + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

InstalledFiles installedFiles(const SetupContext& c) {
  const DesktopFolders& f = c.folders;
  InstalledFiles files;
  if (!f.desktop.empty()) files.desktopLauncher = f.desktop + "/velmora-access.desktop";
  files.menuFolder = f.applications + "/velmora";
  files.demosFolder = files.menuFolder + "/access-demos";
  files.programLauncher = files.menuFolder + "/access.desktop";
  files.helpLauncher = files.menuFolder + "/access-help.desktop";
  files.readmeLauncher = files.demosFolder + "/readme.desktop";
  files.menuFile = f.menus + "/velmora-access.menu";
  files.menuDirectory = f.directories + "/velmora.directory";
  files.demosDirectory = f.directories + "/velmora-access-demos.directory";
  files.mimePackage = f.mime + "/packages/" + kMimePackageName;
  files.programIcon = f.icons + "/scalable/apps/" + kProgramIcon + ".svg";
  files.modelIcon = f.icons + "/scalable/mimetypes/" + kModelMimeIcon + ".svg";
  files.programIconPng = f.icons + "/48x48/apps/" + kProgramIcon + ".png";
  files.modelIconPng = f.icons + "/48x48/mimetypes/" + kModelMimeIcon + ".png";
  return files;
}

FolderContent folderContent(const std::string& folder) {
  FolderContent content;
  std::error_code ec;
  const fs::path help = fs::path(folder) / "assets" / "help";
  if (fs::is_regular_file(help / "index.html", ec)) {
    content.help = (help / "index.html").string();
  } else {
    std::vector<std::string> pages;
    for (const auto& entry : fs::directory_iterator(help, ec))
      if (entry.path().extension() == ".html") pages.push_back(entry.path().string());
    std::sort(pages.begin(), pages.end());
    if (!pages.empty()) content.help = pages.front();
  }
  if (fs::is_regular_file(fs::path(folder) / "README.md", ec)) content.readme = folder + "/README.md";
  const fs::path samples = fs::path(folder) / kSampleFolder;
  for (auto it = fs::recursive_directory_iterator(samples, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    std::string extension = it->path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
    if (extension == ".vlm" && it->is_regular_file(ec)) content.samples.push_back(it->path().string());
  }
  std::sort(content.samples.begin(), content.samples.end());
  return content;
}

std::vector<std::string> install(const SetupContext& c, SetupUi& ui) {
  Problems problems;
  const InstalledFiles files = installedFiles(c);
  // Fresh settings for the new installation.
  if (!c.registry->deleteKey(VLM_HKEY_CURRENT_USER, kSettingsKey))
    problems.add(std::string("the old settings (HKEY_CURRENT_USER\\") + kSettingsKey + ")", "could not be deleted");
  writeRegistry(c, problems);
  installFileType(c, files, problems);
  if (files.desktopLauncher.empty())
    problems.add("the desktop launcher", "this session has no desktop folder");
  else
    writeLauncher(files.desktopLauncher, programLauncher(c), "the desktop launcher", fs::perms(0755), problems);
  installMenuFolder(c, files, problems);

  std::vector<std::string> failed = problems.take();
  if (failed.empty())
    ui.tell(kInstalledCaption, kInstalledText, false);
  else
    tellProblems(ui, kIncompleteCaption,
                 "\nVelmora ACCESS is installed in " + c.paths.folder + ",\nbut these steps failed:\n\n", failed);
  return failed;
}

std::vector<std::string> removeInstallation(const SetupContext& c, SetupUi& ui, bool* declined) {
  if (declined) *declined = false;
  if (!ui.ask(kRemovalCaption, kRemovalQuestion)) {
    if (declined) *declined = true;
    return {};
  }
  Problems problems;
  RegistryAccess& registry = *c.registry;
  const InstalledFiles files = installedFiles(c);
  auto gone = [&](const std::string& path, const std::string& what) {
    const std::string failure = removeFile(path);
    if (!failure.empty()) problems.add(what + " (" + path + ")", failure);
  };

  // Launchers and their emptied folders.
  if (!files.desktopLauncher.empty() && isOurLauncher(files.desktopLauncher))
    gone(files.desktopLauncher, "the desktop launcher");
  for (const std::string& folder : {files.menuFolder, files.demosFolder})
    for (const std::string& launcher : ourLaunchersIn(folder)) gone(launcher, "a launcher");
  gone(files.menuFile, "the Velmora menu folder");
  gone(files.menuDirectory, "the menu folder's name");
  gone(files.demosDirectory, "the demos folder's name");
  removeEmptyFolder(files.demosFolder, "the demos folder", problems);
  removeEmptyFolder(files.menuFolder, "the menu folder", problems);
  std::error_code ec;
  if (fs::is_directory(c.folders.applications, ec))
    runDesktopTool(c, "update-desktop-database", {"-q", c.folders.applications}, "the launchers' file types",
                   "desktop-file-utils", false, problems);

  // The libraries in the installation folder, and the folder when nothing is left in it.
  gone(c.paths.addin, "the add-in library");
  gone(c.paths.engine, "the engine library");
  removeEmptyFolder(c.paths.folder, "the installation folder", problems);

  for (const RegistryKey& k : removalKeys())
    if (!registry.deleteKey(k.root, k.key))
      problems.add(std::string("registry key ") + rootName(k.root) + "\\" + k.key, "could not be deleted");

  // The document class, the file type and the add-in's launch value go too,
  // so no file type is left pointing at a removed program.
  if (registry.readText(VLM_HKEY_CLASSES_ROOT, ".vlm", "") == std::optional<std::string>(kProgId) &&
      !registry.deleteKey(VLM_HKEY_CLASSES_ROOT, ".vlm"))
    problems.add("registry key HKEY_CLASSES_ROOT\\.vlm", "could not be deleted");
  for (const RegistryKey& k : leftoverKeys())
    if (!registry.deleteKey(k.root, k.key))
      problems.add(std::string("registry key ") + rootName(k.root) + "\\" + k.key, "could not be deleted");
  const bool hadType = fs::exists(files.mimePackage, ec);
  gone(files.mimePackage, "the .vlm file type");
  for (const std::string& icon : {files.programIcon, files.programIconPng}) gone(icon, "the program icon");
  for (const std::string& icon : {files.modelIcon, files.modelIconPng}) gone(icon, "the model file icon");
  if (hadType)
    runDesktopTool(c, "update-mime-database", {c.folders.mime}, "the .vlm file type", "shared-mime-info", true,
                   problems);

  std::vector<std::string> failed = problems.take();
  if (!failed.empty())
    tellProblems(ui, kRemovalCaption, "\nThese parts of Velmora ACCESS could not be removed:\n\n", failed);
  return failed;
}

std::string removalFolder(RegistryAccess& registry, const std::string& currentFolder) {
  std::string folder = registry.readText(VLM_HKEY_LOCAL_MACHINE, kSettingsKey, "InstallRoot").value_or("");
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder.empty() ? currentFolder : folder;
}

}  // namespace vlm::host
