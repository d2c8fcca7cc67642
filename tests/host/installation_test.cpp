// Installation and removal in a folder and a home of their own, with a
// registry that records each step: the registration's entries and their
// order, the launchers, menu folder, file type and icons, the removal's order,
// failures that do not stop the steps after them, and what the user is told.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/vlmapi.h"
#include "host/installation.h"
#include "host/support/setup_support.h"

namespace vlm::test {
namespace {

using namespace vlm::host;
namespace fs = std::filesystem;

constexpr int HKCR = VLM_HKEY_CLASSES_ROOT;
constexpr int HKCU = VLM_HKEY_CURRENT_USER;
constexpr int HKLM = VLM_HKEY_LOCAL_MACHINE;

std::string stepText(const FakeRegistry::Step& s) {
  const char* root = s.root == HKCR ? "HKCR" : s.root == HKCU ? "HKCU" : "HKLM";
  std::string text = s.op + " " + root + "\\" + s.key;
  if (s.op == "text" || s.op == "dword") text += " [" + s.name + "]=" + s.value;
  return text;
}

class InstallationTest : public ::testing::Test {
 protected:
  InstallationTest() : temp_("setup") {}
  void SetUp() override {
    folder_ = temp_.path() / "Velmora 1.0";
    makeInstallationFolder(folder_, {"samples/cars.vlm", "models/Q1 Sales.VLM"});
    const fs::path home = temp_.path() / "home";
    fs::create_directories(home / "Desktop");
    context_.paths = installPaths(folder_.string(), "/elsewhere/vlmac");
    context_.folders.applications = (home / "data" / "applications").string();
    context_.folders.desktop = (home / "Desktop").string();
    context_.folders.menus = (home / "config" / "menus" / "applications-merged").string();
    context_.folders.directories = (home / "data" / "desktop-directories").string();
    context_.folders.mime = (home / "data" / "mime").string();
    context_.folders.icons = (home / "data" / "icons" / "hicolor").string();
    context_.registry = &registry_;
    context_.findTool = [](const std::string& name) { return "/usr/bin/" + name; };
    context_.tools = [this](const std::vector<std::string>& command) {
      std::string line;
      for (const std::string& a : command) line += (line.empty() ? "" : " ") + a;
      tools_.push_back(line);
      return true;
    };
    files_ = installedFiles(context_);
  }
  std::string program() const { return (folder_ / "vlmac").string(); }

  TempFolder temp_;
  fs::path folder_;
  FakeRegistry registry_;
  RecordingUi ui_;
  SetupContext context_;
  InstalledFiles files_;
  std::vector<std::string> tools_;
};

TEST_F(InstallationTest, TheRegistrationIsWrittenInTheTablesOrderAfterTheOldSettingsGo) {
  EXPECT_TRUE(install(context_, ui_).empty());
  const std::string p = program();
  const std::string addin = (folder_ / "vlmac-addin.so").string();
  const std::string doc = "CLSID\\{7C2A5E10-4B8D-4F36-9E21-D05A3B6C8F47}\\";
  const std::string add = "CLSID\\{B94E1F62-0D3A-4C85-A7E9-5F2C8B1D6E03}\\";
  const std::string addId = "{B94E1F62-0D3A-4C85-A7E9-5F2C8B1D6E03}";
  const std::string office = "Software\\Microsoft\\Office\\Access\\Addins\\Velmora_Access_Addin.Connect\\";
  const std::vector<std::string> expected = {
      "delete HKCU\\SOFTWARE\\Velmora\\Velmora.Access\\",
      "text HKLM\\SOFTWARE\\Velmora\\Velmora.Access\\ [InstallRoot]=" + folder_.string(),
      "text HKCR\\.vlm []=Velmora.Access",
      "text HKCR\\Velmora.Access\\CLSID\\ []={7C2A5E10-4B8D-4F36-9E21-D05A3B6C8F47}",
      "text HKCR\\Velmora.Access\\DefaultIcon\\ []=" + p + ",1",
      "text HKCR\\Velmora.Access []=Velmora Model",
      "text HKCR\\Velmora.Access\\Shell\\open\\command\\ []=\"" + p + "\" \"%1\"",
      "text HKCR\\" + doc + " []=Velmora Model",
      "text HKCR\\" + doc + "DefaultIcon []=" + p + ",1",
      "text HKCR\\" + doc + "ProgID []=Velmora.Access",
      "text HKCR\\" + doc + "InprocHandler32 []=ole32.dll",
      "text HKCR\\" + doc + "LocalServer32 []=\"" + p + "\"",
      "text HKCU\\SOFTWARE\\VB and VBA Program Settings\\Velmora\\Access\\ [Launch]=" + p,
      "text HKCR\\Velmora_Access_Addin.Connect []=Velmora_Access_Addin.Connect",
      "text HKCR\\Velmora_Access_Addin.Connect\\CLSID []=" + addId,
      "text HKCR\\" + add + " []=Velmora_Access_Addin.Connect",
      "text HKCR\\" + add + " [AppID]=" + addId,
      "key HKCR\\" + add + "Implemented Categories\\{40FC6ED5-2438-11CF-A3DB-080036F12502}",
      "text HKCR\\" + add + "InprocServer32 []=" + addin,
      "text HKCR\\" + add + "ProgID []=Velmora_Access_Addin.Connect",
      "key HKCR\\" + add + "Programmable",
      "text HKCR\\" + add + "TypeLib []=" + addId,
      "text HKCR\\" + add + "Version []=1.0",
      "text HKCU\\" + office + " [Description]=Velmora ACCESS Add-In",
      "text HKCU\\" + office + " [FriendlyName]=Velmora",
      "dword HKCU\\" + office + " [CommandLineSafe]=0",
      "dword HKCU\\" + office + " [LoadBehavior]=3",
      "text HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora.Access\\ [DisplayName]= Velmora ACCESS",
      "text HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora.Access\\ [UninstallString]=" + p +
          " -r",
  };
  std::vector<std::string> written;
  for (const auto& s : registry_.steps) written.push_back(stepText(s));
  EXPECT_EQ(written, expected);
}

TEST_F(InstallationTest, AllStepsDoneGiveTheCompletionMessage) {
  EXPECT_TRUE(install(context_, ui_).empty());
  ASSERT_EQ(ui_.told.size(), 1u);
  EXPECT_EQ(ui_.told[0],
            "Velmora ACCESS Installation Complete|\nCongratulations!\nNow you can start using Velmora ACCESS.  \n\n"
            "To launch Velmora ACCESS,\n1. click the button in Access' TOOLBAR, or   \n"
            "2. click the Velmora icon on your DESKTOP, or  \n3. click the icon under the Windows START button.  \n\n");
  EXPECT_FALSE(ui_.lastWasProblem);
  EXPECT_TRUE(ui_.asked.empty());
}

TEST_F(InstallationTest, LaunchersMenuFolderFileTypeAndIconsAreInPlace) {
  ASSERT_TRUE(install(context_, ui_).empty()) << ui_.told.back();
  // The program opens model files, from the desktop and from the menu folder.
  for (const std::string& launcher : {files_.desktopLauncher, files_.programLauncher}) {
    const std::string entry = readText(launcher);
    EXPECT_NE(entry.find("\nExec=\"" + program() + "\" %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nMimeType=application/x-velmora-model;\n"), std::string::npos);
    EXPECT_NE(entry.find("\nName=Velmora ACCESS\n"), std::string::npos);
  }
  EXPECT_NE(fs::status(files_.desktopLauncher).permissions() & fs::perms::owner_exec, fs::perms::none);
  EXPECT_NE(readText(files_.helpLauncher).find("\nName=Velmora ACCESS Help\n"), std::string::npos);
  EXPECT_NE(readText(files_.helpLauncher).find((folder_ / "assets" / "help" / "index.html").string()),
            std::string::npos);
  EXPECT_NE(readText(files_.readmeLauncher).find((folder_ / "README.md").string()), std::string::npos);
  // One launcher per sample model found under assets/, whatever the case of its extension.
  const fs::path demos = files_.demosFolder;
  EXPECT_NE(readText(demos / "cars.desktop").find("\nName=cars\n"), std::string::npos);
  EXPECT_NE(readText(demos / "q1-sales.desktop").find("\nName=Q1 Sales\n"), std::string::npos);
  EXPECT_NE(readText(demos / "q1-sales.desktop").find("models/Q1 Sales.VLM"), std::string::npos);
  const std::string menu = readText(files_.menuFile);
  for (const char* id : {"velmora-access.desktop", "velmora-access-help.desktop", "velmora-access-demos-readme.desktop",
                         "velmora-access-demos-cars.desktop", "velmora-access-demos-q1-sales.desktop"})
    EXPECT_NE(menu.find(std::string("<Filename>") + id + "</Filename>"), std::string::npos) << id;
  EXPECT_NE(readText(files_.menuDirectory).find("Name=Velmora\n"), std::string::npos);
  EXPECT_NE(readText(files_.demosDirectory).find("Name=Access Demos\n"), std::string::npos);
  EXPECT_NE(readText(files_.mimePackage).find("<glob pattern=\"*.vlm\"/>"), std::string::npos);
  EXPECT_EQ(readText(files_.programIcon), "<svg id=\"program\"/>");
  EXPECT_EQ(readText(files_.modelIcon), "<svg id=\"model\"/>");
  EXPECT_EQ(readText(files_.programIconPng), "program png");
  EXPECT_EQ(readText(files_.modelIconPng), "model png");
  EXPECT_EQ(tools_, (std::vector<std::string>{"/usr/bin/update-mime-database " + context_.folders.mime,
                                               "/usr/bin/update-desktop-database -q " + context_.folders.applications}));
  // No file of the installation folder was copied or changed.
  EXPECT_EQ(readText(folder_ / "libvlmapi.so"), "engine");
}

TEST_F(InstallationTest, AFailedStepDoesNotStopTheNextAndAllFailuresAreReported) {
  registry_.writeText(HKCU, "SOFTWARE\\Velmora\\Velmora.Access\\", "WinPosX", "10");
  registry_.steps.clear();
  registry_.refuse = true;
  fs::remove_all(context_.folders.desktop);
  writeText(context_.folders.desktop, "a file where the desktop folder should be");
  context_.findTool = [](const std::string& name) {
    return name == "update-mime-database" ? std::string() : "/usr/bin/" + name;
  };
  fs::remove_all(folder_ / "assets" / "help");

  const std::vector<std::string> failed = install(context_, ui_);
  // Every step after a failure still ran.
  EXPECT_EQ(registry_.steps.size(), 29u);
  EXPECT_TRUE(fs::exists(files_.mimePackage));
  EXPECT_TRUE(fs::exists(files_.programLauncher));
  EXPECT_TRUE(fs::exists(files_.readmeLauncher));
  EXPECT_TRUE(fs::exists(files_.menuFile));
  ASSERT_EQ(failed.size(), 5u) << ::testing::PrintToString(failed);
  EXPECT_NE(failed[0].find("the old settings"), std::string::npos);
  EXPECT_NE(failed[1].find("28 of 28 registry entries"), std::string::npos);
  EXPECT_NE(failed[2].find("the .vlm file type: update-mime-database is not installed"), std::string::npos);
  EXPECT_NE(failed[3].find("the desktop launcher"), std::string::npos);
  EXPECT_NE(failed[4].find("the help launcher: there are no help pages"), std::string::npos);
  // The user hears about each of them, never a plain "Installation Complete".
  ASSERT_EQ(ui_.told.size(), 1u);
  EXPECT_EQ(ui_.told[0].rfind("Velmora ACCESS Installation Incomplete|", 0), 0u);
  for (const std::string& f : failed) EXPECT_NE(ui_.told[0].find(" - " + f + "\n"), std::string::npos) << f;
  EXPECT_TRUE(ui_.lastWasProblem);
}

TEST_F(InstallationTest, WithoutADesktopFolderTheLauncherIsReportedMissing) {
  context_.folders.desktop.clear();
  files_ = installedFiles(context_);
  const std::vector<std::string> failed = install(context_, ui_);
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0], "the desktop launcher: this session has no desktop folder");
}

TEST_F(InstallationTest, ReinstallingReplacesTheSampleLaunchersAndKeepsTheUsersOwnFiles) {
  ASSERT_TRUE(install(context_, ui_).empty());
  writeText(fs::path(files_.demosFolder) / "mine.desktop", "[Desktop Entry]\nType=Application\nName=Mine\nExec=true\n");
  fs::remove(folder_ / "assets" / "samples" / "cars.vlm");
  writeText(folder_ / "assets" / "samples" / "weather.vlm", "[Source]\n");
  ASSERT_TRUE(install(context_, ui_).empty());
  EXPECT_FALSE(fs::exists(fs::path(files_.demosFolder) / "cars.desktop"));
  EXPECT_TRUE(fs::exists(fs::path(files_.demosFolder) / "weather.desktop"));
  EXPECT_TRUE(fs::exists(fs::path(files_.demosFolder) / "mine.desktop"));
  EXPECT_EQ(readText(files_.menuFile).find("cars"), std::string::npos);
}

TEST_F(InstallationTest, RemovalAnsweredNoTouchesNothing) {
  ASSERT_TRUE(install(context_, ui_).empty());
  const size_t steps = registry_.steps.size();
  ui_.answer = false;
  bool declined = false;
  EXPECT_TRUE(removeInstallation(context_, ui_, &declined).empty());
  EXPECT_TRUE(declined);
  ASSERT_EQ(ui_.asked.size(), 1u);
  EXPECT_EQ(ui_.asked[0], "Velmora Uninstalltion|Do you want to completely remove  \n Velmora ACCESS and all its components?  ");
  EXPECT_EQ(registry_.steps.size(), steps);
  EXPECT_TRUE(fs::exists(files_.desktopLauncher));
  EXPECT_TRUE(fs::exists(folder_ / "libvlmapi.so"));
}

TEST_F(InstallationTest, RemovalTakesEveryPieceInOrderAndLeavesOtherFilesAlone) {
  ASSERT_TRUE(install(context_, ui_).empty());
  writeText(fs::path(files_.menuFolder) / "mine.desktop", "[Desktop Entry]\nType=Application\nName=Mine\nExec=true\n");
  writeText(fs::path(context_.folders.desktop) / "notes.txt", "mine");
  writeText(folder_ / "vlmac-addin.so", "add-in");
  registry_.writeText(HKCU, "SOFTWARE\\Other\\", "Keep", "me");
  registry_.steps.clear();
  ui_.told.clear();

  EXPECT_TRUE(removeInstallation(context_, ui_).empty());
  EXPECT_TRUE(ui_.told.empty()) << "nothing to report";
  const std::string add = "CLSID\\{B94E1F62-0D3A-4C85-A7E9-5F2C8B1D6E03}\\";
  const std::vector<std::string> expected = {
      "delete HKLM\\SOFTWARE\\Velmora\\Velmora.Access\\",
      "delete HKCU\\SOFTWARE\\Velmora\\Velmora.Access\\",
      "delete HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora.Access\\",
      "delete HKCU\\Software\\Microsoft\\Office\\Access\\Addins\\Velmora_Access_Addin.Connect\\",
      "delete HKCR\\" + add + "Implemented Categories\\{40FC6ED5-2438-11CF-A3DB-080036F12502}",
      "delete HKCR\\" + add + "Implemented Categories",
      "delete HKCR\\" + add + "InprocServer32",
      "delete HKCR\\" + add + "ProgID",
      "delete HKCR\\" + add + "Programmable",
      "delete HKCR\\" + add + "TypeLib",
      "delete HKCR\\" + add + "Version",
      "delete HKCR\\" + add,
      "delete HKCR\\Velmora_Access_Addin.Connect\\CLSID",
      "delete HKCR\\Velmora_Access_Addin.Connect",
      // Then what the registration also left: the file type, the document class, the launch value.
      "delete HKCR\\.vlm",
      "delete HKCR\\Velmora.Access",
      "delete HKCR\\CLSID\\{7C2A5E10-4B8D-4F36-9E21-D05A3B6C8F47}\\",
      "delete HKCU\\SOFTWARE\\VB and VBA Program Settings\\Velmora\\Access\\",
  };
  std::vector<std::string> deleted;
  for (const auto& s : registry_.steps) deleted.push_back(stepText(s));
  EXPECT_EQ(deleted, expected);
  EXPECT_EQ(registry_.keys(), (std::set<std::pair<int, std::string>>{{HKCU, "SOFTWARE\\OTHER"}}));

  for (const std::string& file : {files_.desktopLauncher, files_.programLauncher, files_.helpLauncher,
                                  files_.readmeLauncher, files_.menuFile, files_.menuDirectory, files_.demosDirectory,
                                  files_.mimePackage, files_.programIcon, files_.modelIcon, files_.programIconPng,
                                  files_.modelIconPng, files_.demosFolder})
    EXPECT_FALSE(fs::exists(file)) << file;
  EXPECT_TRUE(fs::exists(fs::path(files_.menuFolder) / "mine.desktop")) << "a user's own launcher stays";
  EXPECT_TRUE(fs::exists(fs::path(context_.folders.desktop) / "notes.txt"));
  // The libraries leave the installation folder; the folder stays while it holds anything.
  EXPECT_FALSE(fs::exists(folder_ / "libvlmapi.so"));
  EXPECT_FALSE(fs::exists(folder_ / "vlmac-addin.so"));
  EXPECT_TRUE(fs::exists(folder_ / "vlmac"));
  EXPECT_EQ(tools_.back(), "/usr/bin/update-mime-database " + context_.folders.mime);
}

TEST_F(InstallationTest, RemovalLeavesAFileTypeThatNamesAnotherProgram) {
  ASSERT_TRUE(install(context_, ui_).empty());
  registry_.writeText(HKCR, ".vlm", "", "Other.Program");
  EXPECT_TRUE(removeInstallation(context_, ui_).empty());
  EXPECT_EQ(registry_.readText(HKCR, ".vlm", ""), "Other.Program");
}

TEST_F(InstallationTest, AnInstallationFolderLeftEmptyIsRemoved) {
  const fs::path bare = temp_.path() / "bare";
  writeText(bare / "libvlmapi.so", "engine");
  writeText(bare / "vlmac-addin.so", "add-in");
  context_.paths = installPaths(bare.string(), "/usr/bin/vlmac");
  EXPECT_TRUE(removeInstallation(context_, ui_).empty());
  EXPECT_FALSE(fs::exists(bare));
}

TEST_F(InstallationTest, WhatCouldNotBeRemovedIsReportedAndTheRestStillGoes) {
  ASSERT_TRUE(install(context_, ui_).empty());
  registry_.refuse = true;
  ui_.told.clear();
  const std::vector<std::string> failed = removeInstallation(context_, ui_);
  EXPECT_FALSE(failed.empty());
  EXPECT_FALSE(fs::exists(files_.desktopLauncher));
  EXPECT_FALSE(fs::exists(files_.mimePackage));
  ASSERT_EQ(ui_.told.size(), 1u);
  EXPECT_EQ(ui_.told[0].rfind("Velmora Uninstalltion|\nThese parts of Velmora ACCESS could not be removed:", 0), 0u);
  EXPECT_NE(ui_.told[0].find("registry key HKEY_CLASSES_ROOT\\.vlm"), std::string::npos) << ui_.told[0];
}

TEST_F(InstallationTest, RemovalWorksOnTheFolderTheRegistryNames) {
  EXPECT_EQ(removalFolder(registry_, "/home/u"), "/home/u");
  registry_.writeText(HKLM, "SOFTWARE\\Velmora\\Velmora.Access\\", "InstallRoot", "/opt/velmora/");
  EXPECT_EQ(removalFolder(registry_, "/home/u"), "/opt/velmora");
}

TEST(InstallPathsTest, TheFolderNamesTheProgramAndLibrariesAndTheRunningProgramStandsInWhenItIsMissing) {
  TempFolder temp("paths");
  writeText(temp.path() / "vlmac", "");
  InstallPaths p = installPaths(temp.path().string() + "/", "/usr/bin/vlmac");
  EXPECT_EQ(p.folder, temp.path().string());
  EXPECT_EQ(p.program, (temp.path() / "vlmac").string());
  EXPECT_EQ(p.addin, (temp.path() / "vlmac-addin.so").string());
  EXPECT_EQ(p.engine, (temp.path() / "libvlmapi.so").string());
  p = installPaths((temp.path() / "empty").string(), "/usr/bin/vlmac");
  EXPECT_EQ(p.program, "/usr/bin/vlmac") << "a launcher must start a program that exists";
  EXPECT_EQ(p.engine, (temp.path() / "empty" / "libvlmapi.so").string());
}

}  // namespace
}  // namespace vlm::test
