// The freedesktop texts: Exec quoting of awkward paths, entry values, menu
// and MIME files, and where the desktop folder is. Entries are checked with
// desktop-file-validate where it is installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "host/desktop_entries.h"
#include "host/desktop_folders.h"
#include "host/installation.h"

namespace vlm::test {
namespace {

using namespace vlm::host;
namespace fs = std::filesystem;

// desktop-file-validate's verdict on `text`, or skip when it is missing.
std::string validate(const std::string& text, const std::string& name) {
  if (findProgram("desktop-file-validate").empty()) return "skipped";
  const fs::path file = fs::temp_directory_path() / (std::to_string(::getpid()) + "-" + name);
  std::ofstream(file) << text;
  const std::string command = "desktop-file-validate '" + file.string() + "' 2>&1";
  std::string output;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    if (::pclose(pipe) != 0 && output.empty()) output = "failed";
  }
  fs::remove(file);
  return output.empty() ? "valid" : output;
}

TEST(DesktopEntriesTest, ExecArgumentsAreQuotedOnlyWhenTheyMustBe) {
  EXPECT_EQ(execArgument("/usr/bin/vlmac"), "/usr/bin/vlmac");
  EXPECT_EQ(execArgument("/home/ann/My Models/q1.vlm"), "\"/home/ann/My Models/q1.vlm\"");
  EXPECT_EQ(execArgument("/data/$HOME \"x\" `y` a\\b"), "\"/data/\\$HOME \\\"x\\\" \\`y\\` a\\\\b\"");
  EXPECT_EQ(execArgument("/data/100%.vlm"), "/data/100%%.vlm");
  EXPECT_EQ(execArgument("/data/it's"), "\"/data/it's\"");
  EXPECT_EQ(execArgument(""), "\"\"");
}

TEST(DesktopEntriesTest, ALauncherForAnAwkwardPathIsValidAndOpensFiles) {
  Launcher l;
  l.name = "Velmora ACCESS";
  l.comment = "Interactive 3D visual data mining";
  l.command = {"/home/ann/Velmora 1.0/vlmac"};
  l.fieldCode = "%f";
  l.icon = kProgramIcon;
  l.mimeType = kModelMimeType;
  l.categories = "Science;DataVisualization;";
  const std::string entry = desktopEntry(l);
  EXPECT_NE(entry.find("\nExec=\"/home/ann/Velmora 1.0/vlmac\" %f\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nMimeType=application/x-velmora-model;\n"), std::string::npos);
  EXPECT_NE(entry.find("\nX-Velmora-Shortcut=true\n"), std::string::npos);
  const std::string verdict = validate(entry, "launcher.desktop");
  EXPECT_TRUE(verdict == "valid" || verdict == "skipped") << verdict;

  // A backslash in a path is escaped once for the Exec quoting and once for the value.
  l.command = {"/data/a\\b/vlmac"};
  EXPECT_NE(desktopEntry(l).find("\nExec=\"/data/a\\\\\\\\b/vlmac\" %f\n"), std::string::npos) << desktopEntry(l);
  l.name = "Two\nlines";
  EXPECT_NE(desktopEntry(l).find("\nName=Two\\nlines\n"), std::string::npos);
}

TEST(DesktopEntriesTest, DirectoryMenuAndMimeFilesSayWhatTheyMust) {
  const std::string directory = directoryEntry("Access Demos", "folder");
  const std::string verdict = validate(directory, "demos.directory");
  EXPECT_TRUE(verdict == "valid" || verdict == "skipped") << verdict;

  MenuFolder menu{"Velmora", "velmora.directory", {"velmora-access.desktop"}, {}};
  menu.folders.push_back({"Access Demos", "velmora-access-demos.directory", {"velmora-access-demos-cars.desktop"}, {}});
  const std::string file = menuFile(menu);
  EXPECT_NE(file.find("<Name>Applications</Name>"), std::string::npos);
  EXPECT_LT(file.find("<Name>Velmora</Name>"), file.find("<Name>Access Demos</Name>"));
  EXPECT_NE(file.find("<Filename>velmora-access-demos-cars.desktop</Filename>"), std::string::npos);

  const std::string mime = mimePackage("Velmora <Model> & more");
  EXPECT_NE(mime.find("<mime-type type=\"application/x-velmora-model\">"), std::string::npos);
  EXPECT_NE(mime.find("<glob pattern=\"*.vlm\"/>"), std::string::npos);
  EXPECT_NE(mime.find("<comment>Velmora &lt;Model&gt; &amp; more</comment>"), std::string::npos);
  EXPECT_EQ(mime.find("case-sensitive"), std::string::npos) << "\"Q1.VLM\" from old systems must match too";
}

TEST(DesktopEntriesTest, IdPartsKeepLettersAndDigits) {
  EXPECT_EQ(idPart("Cars 1970-1982"), "cars-1970-1982");
  EXPECT_EQ(idPart("  Seattle  weather!"), "seattle-weather");
  EXPECT_EQ(idPart("%%%"), "sample");
}

TEST(DesktopFoldersTest, TheDesktopComesFromUserDirsWithHomeExpanded) {
  EXPECT_EQ(desktopFromUserDirs("# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", "/home/ann"),
            "/home/ann/Schreibtisch");
  EXPECT_EQ(desktopFromUserDirs("XDG_DESKTOP_DIR=\"/srv/desk\"\nXDG_MUSIC_DIR=\"$HOME/Music\"\n", "/h"), "/srv/desk");
  EXPECT_EQ(desktopFromUserDirs("XDG_DESKTOP_DIR=\"relative/desk\"\n", "/h"), "");
  EXPECT_EQ(desktopFromUserDirs("XDG_DESKTOP_DIR=unquoted\n", "/h"), "");
  EXPECT_EQ(desktopFromUserDirs("", "/h"), "");
}

TEST(DesktopFoldersTest, FoldersFollowTheBaseDirectoriesAndAHomeDesktopIsNone) {
  struct SavedEnvironment {
    std::map<std::string, std::optional<std::string>> values;
    SavedEnvironment() {
      for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DESKTOP_DIR"}) {
        const char* v = std::getenv(name);
        values[name] = v ? std::optional<std::string>(v) : std::nullopt;
      }
    }
    ~SavedEnvironment() {
      for (const auto& [name, v] : values) v ? setenv(name.c_str(), v->c_str(), 1) : unsetenv(name.c_str());
    }
  } saved;
  const fs::path home = fs::temp_directory_path() / ("vlm-folders-" + std::to_string(::getpid()));
  fs::remove_all(home);
  fs::create_directories(home / "cfg");
  std::ofstream(home / "cfg" / "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/\"\n";
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home / "cfg").c_str(), 1);
  unsetenv("XDG_DESKTOP_DIR");
  DesktopFolders f = userDesktopFolders();
  EXPECT_EQ(f.applications, (home / "data" / "applications").string());
  EXPECT_EQ(f.menus, (home / "cfg" / "menus" / "applications-merged").string());
  EXPECT_EQ(f.mime, (home / "data" / "mime").string());
  EXPECT_EQ(f.icons, (home / "data" / "icons" / "hicolor").string());
  EXPECT_EQ(f.desktop, "") << "the home folder is no desktop";

  fs::remove(home / "cfg" / "user-dirs.dirs");
  fs::create_directories(home / "Desktop");
  EXPECT_EQ(userDesktopFolders().desktop, (home / "Desktop").string());
  setenv("XDG_DESKTOP_DIR", (home / "Bureau").c_str(), 1);
  EXPECT_EQ(userDesktopFolders().desktop, (home / "Bureau").string());
  unsetenv("XDG_DESKTOP_DIR");
  fs::remove_all(home);
}

}  // namespace
}  // namespace vlm::test
