#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace vlm::platform {
namespace {

namespace fs = std::filesystem;

class RegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vlm-registry-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string user() const { return (dir_ / "user" / "registry").string(); }
  std::string machine() const { return (dir_ / "machine").string(); }
  fs::path dir_;
};

constexpr auto HKCU = RegistryRoot::CurrentUser;
constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKCR = RegistryRoot::ClassesRoot;
const std::string kKey = "SOFTWARE\\Velmora\\Velmora.Access\\";

TEST_F(RegistryStoreTest, ValuesSurviveAReopen) {
  {
    RegistryStore store(user(), machine());
    ASSERT_TRUE(store.writeDword(HKCU, kKey, "Asking", 0));
    ASSERT_TRUE(store.writeText(HKCU, kKey, "Center", "CENTER_UNIVERSE"));
    ASSERT_TRUE(store.writeText(HKCU, kKey, "LastFile0", "/data/a=b]\tc\nd\\e.vlm"));
  }
  RegistryStore store(user(), machine());
  EXPECT_EQ(store.readDword(HKCU, kKey, "Asking"), 0u);
  EXPECT_EQ(store.readText(HKCU, kKey, "Center"), "CENTER_UNIVERSE");
  EXPECT_EQ(store.readText(HKCU, kKey, "LastFile0"), "/data/a=b]\tc\nd\\e.vlm");
}

TEST_F(RegistryStoreTest, TypesAreKeptApart) {
  RegistryStore store(user(), machine());
  store.writeText(HKCU, kKey, "Asking", "1");
  EXPECT_FALSE(store.readDword(HKCU, kKey, "Asking").has_value());
  store.writeDword(HKCU, kKey, "Center", 7);
  EXPECT_FALSE(store.readText(HKCU, kKey, "Center").has_value());
}

TEST_F(RegistryStoreTest, KeyPathsIgnoreCaseAndTrailingBackslash) {
  RegistryStore store(user(), machine());
  store.writeDword(HKCU, kKey, "WinPosX", 12);
  EXPECT_EQ(store.readDword(HKCU, "software\\velmora\\velmora.access", "WinPosX"), 12u);
}

TEST_F(RegistryStoreTest, DeletingAKeyTakesItsSubKeys) {
  RegistryStore store(user(), machine());
  store.writeDword(HKCU, kKey, "A", 1);
  store.writeDword(HKCU, kKey + "Sub\\", "B", 2);
  store.writeDword(HKCU, "SOFTWARE\\Other\\", "C", 3);
  EXPECT_TRUE(store.deleteKey(HKCU, kKey));
  EXPECT_FALSE(store.readDword(HKCU, kKey, "A").has_value());
  EXPECT_FALSE(store.readDword(HKCU, kKey + "Sub", "B").has_value());
  EXPECT_EQ(store.readDword(HKCU, "SOFTWARE\\Other\\", "C"), 3u);
}

TEST_F(RegistryStoreTest, GarbageFileReadsAsWhatStillParses) {
  static const char kJunk[] = "\0\xff\xfe[[[]]]===::";
  fs::create_directories(fs::path(user()).parent_path());
  {
    std::ofstream out(user(), std::ios::binary);
    out << "[SOFTWARE\\Velmora\\Velmora.Access\\]\ndword:Asking=0\ndword:Advisor=12x\n"
        << std::string(kJunk, sizeof kJunk - 1) << "\ndword:Huge=99999999999\ntext:Bad=\\q\n"
        << "dword:Mapping";  // torn in the middle of a line
  }
  RegistryStore store(user(), machine());
  EXPECT_EQ(store.readDword(HKCU, kKey, "Asking"), 0u);
  EXPECT_FALSE(store.readDword(HKCU, kKey, "Advisor").has_value());
  EXPECT_FALSE(store.readDword(HKCU, kKey, "Huge").has_value());
  EXPECT_EQ(store.readText(HKCU, kKey, "Bad"), "\\q");
  EXPECT_FALSE(store.readDword(HKCU, kKey, "Mapping").has_value());
}

TEST_F(RegistryStoreTest, WritesLeaveNoTemporaryFiles) {
  RegistryStore store(user(), machine());
  for (uint32_t i = 0; i < 20; ++i) store.writeDword(HKCU, kKey, "N", i);
  int files = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(user()).parent_path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(RegistryStoreTest, MachineFileIsRead) {
  {
    std::ofstream out(machine());
    out << "[SOFTWARE\\Velmora\\Velmora.Access\\]\ntext:InstallRoot=/opt/velmora\n";
  }
  RegistryStore readable(user(), machine());
  EXPECT_EQ(readable.readText(HKLM, kKey, "InstallRoot"), "/opt/velmora");
}

// A user who may not write the machine file still installs: the machine's
// software keys are written to the user's virtual store and read from there
// first; the machine file itself is never changed.
TEST_F(RegistryStoreTest, MachineWritesTheMachineFileRefusesGoToTheUsersVirtualStore) {
  const std::string unwritable = "/proc/velmora-no-such-folder/registry";
  {
    RegistryStore store(user(), unwritable);
    ASSERT_TRUE(store.writeText(HKLM, kKey, "InstallRoot", "/home/u/velmora"));
    EXPECT_EQ(store.readText(HKLM, kKey, "InstallRoot"), "/home/u/velmora");
    EXPECT_FALSE(store.readText(HKCU, kKey, "InstallRoot").has_value());
    // Keys outside SOFTWARE are not redirected.
    EXPECT_FALSE(store.writeText(HKLM, "SYSTEM\\Velmora\\", "X", "1"));
  }
  RegistryStore reopened(user(), unwritable);
  EXPECT_EQ(reopened.readText(HKLM, kKey, "InstallRoot"), "/home/u/velmora");
  EXPECT_EQ(reopened.readText(HKCU, "Software\\Classes\\VirtualStore\\MACHINE\\" + kKey, "InstallRoot"),
            "/home/u/velmora");
  EXPECT_TRUE(reopened.deleteKey(HKLM, kKey));
  EXPECT_FALSE(reopened.keyTreeExists(HKLM, kKey));
}

TEST_F(RegistryStoreTest, TheVirtualStoreHidesTheMachinesValueAndAWritableMachineFileIsWrittenDirectly) {
  {
    std::ofstream out(machine());
    out << "[SOFTWARE\\Velmora\\Velmora.Access\\]\ntext:InstallRoot=/usr/share/velmora\n";
  }
  RegistryStore store(user(), machine());
  ASSERT_TRUE(store.writeText(HKLM, kKey, "InstallRoot", "/opt/other"));
  EXPECT_FALSE(store.keyExists(HKCU, "Software\\Classes\\VirtualStore\\MACHINE\\" + kKey));
  RegistryStore later(user(), machine());
  EXPECT_EQ(later.readText(HKLM, kKey, "InstallRoot"), "/opt/other");
  ASSERT_TRUE(later.writeText(HKCU, "Software\\Classes\\VirtualStore\\MACHINE\\" + kKey, "InstallRoot", "/home/u"));
  EXPECT_EQ(later.readText(HKLM, kKey, "InstallRoot"), "/home/u");
}

TEST_F(RegistryStoreTest, WhenNeitherFileCanBeWrittenTheWriteFailsAndChangesNothing) {
  fs::create_directories(dir_ / "blocked");
  std::ofstream(dir_ / "blocked" / "velmora") << "a file where the folder should be";
  RegistryStore store((dir_ / "blocked" / "velmora" / "registry").string(), "/proc/velmora-no-such-folder/registry");
  EXPECT_FALSE(store.writeText(HKLM, kKey, "InstallRoot", "/elsewhere"));
  EXPECT_FALSE(store.readText(HKLM, kKey, "InstallRoot").has_value());
  EXPECT_FALSE(store.writeDword(HKCU, kKey, "Asking", 0));
  EXPECT_FALSE(store.createKey(HKCR, ".vlm"));
  EXPECT_FALSE(store.keyExists(HKCR, ".vlm"));
}

TEST_F(RegistryStoreTest, ClassesAreWrittenForTheUserAndReadOverTheMachines) {
  {
    std::ofstream out(machine());
    out << "[SOFTWARE\\Classes\\.vlm]\ntext:=Machine.Class\ntext:Content Type=text/plain\n";
  }
  RegistryStore store(user(), machine());
  EXPECT_EQ(store.readText(HKCR, ".vlm", ""), "Machine.Class");
  ASSERT_TRUE(store.writeText(HKCR, ".vlm", "", "Velmora.Access"));
  EXPECT_EQ(store.readText(HKCR, ".vlm", ""), "Velmora.Access");
  EXPECT_EQ(store.readText(HKCR, ".vlm", "Content Type"), "text/plain");
  EXPECT_EQ(store.readText(HKCU, "Software\\Classes\\.vlm", ""), "Velmora.Access");
  std::ifstream in(machine());
  std::string machineText((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(machineText.find("Velmora.Access"), std::string::npos);
}

TEST_F(RegistryStoreTest, EmptyKeysExistAndKeyTreesAreFoundBelow) {
  RegistryStore store(user(), machine());
  const std::string clsid = "CLSID\\{0A1B}\\";
  ASSERT_TRUE(store.createKey(HKCR, clsid + "Programmable"));
  EXPECT_TRUE(store.keyExists(HKCR, clsid + "Programmable"));
  EXPECT_FALSE(store.keyExists(HKCR, clsid));
  EXPECT_TRUE(store.keyTreeExists(HKCR, clsid));
  EXPECT_FALSE(store.keyTreeExists(HKCR, "CLSID\\{0A1"));
  store.writeText(HKCR, "CLSID\\{0A1B}2", "", "neighbour");
  EXPECT_TRUE(store.deleteKey(HKCR, clsid));
  EXPECT_FALSE(store.keyTreeExists(HKCR, clsid));
  EXPECT_EQ(store.readText(HKCR, "CLSID\\{0A1B}2", ""), "neighbour");
  RegistryStore reopened(user(), machine());
  EXPECT_FALSE(reopened.keyTreeExists(HKCR, clsid));
  EXPECT_TRUE(reopened.deleteKey(HKCR, "No\\Such\\Key"));
}

TEST_F(RegistryStoreTest, AFileLeftWithoutKeysIsRemovedWithItsEmptiedFolder) {
  const std::string file = (dir_ / "config" / "velmora" / "registry").string();
  RegistryStore store(file, machine());
  ASSERT_TRUE(store.writeDword(HKCU, kKey, "Asking", 0));
  ASSERT_TRUE(fs::exists(file));
  EXPECT_TRUE(store.deleteKey(HKCU, kKey));
  EXPECT_FALSE(fs::exists(file));
  EXPECT_FALSE(fs::exists(dir_ / "config" / "velmora"));
  EXPECT_TRUE(fs::exists(dir_ / "config"));

  ASSERT_TRUE(store.writeDword(HKCU, kKey, "Asking", 0));
  std::ofstream(dir_ / "config" / "velmora" / "notes") << "someone else's file";
  EXPECT_TRUE(store.deleteKey(HKCU, kKey));
  EXPECT_FALSE(fs::exists(file));
  EXPECT_TRUE(fs::exists(dir_ / "config" / "velmora" / "notes"));
}

TEST(RegistryTextTest, FormatThenParseRoundTrips) {
  RegistryStore::Hive hive;
  std::map<std::string, std::string> spelling;
  hive["K"]["text"].text = "line\r\nnext=]\\";
  hive["K"]["n"].isDword = true;
  hive["K"]["n"].dword = 4294967295u;
  spelling["K"] = "k";
  std::map<std::string, std::string> back;
  auto parsed = parseRegistryText(formatRegistryText(hive, spelling), &back);
  EXPECT_EQ(parsed["K"]["text"].text, "line\r\nnext=]\\");
  EXPECT_EQ(parsed["K"]["n"].dword, 4294967295u);
  EXPECT_EQ(back["K"], "k");
}

}  // namespace
}  // namespace vlm::platform
