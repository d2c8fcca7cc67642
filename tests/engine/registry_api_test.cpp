// The registry exports the host's installation uses: roots, default values,
// empty keys, whole-tree deletion, reads that see other processes' writes,
// and what the engine reads at start-up from what the installation wrote.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/vlmapi.h"
#include "platform/registry_store.h"

namespace vlm::test {
namespace {

namespace fs = std::filesystem;

class RegistryApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vlm-registry-api-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    platform::RegistryStore::redirect(user(), machine());
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string user() const { return (dir_ / "velmora" / "registry").string(); }
  std::string machine() const { return (dir_ / "machine").string(); }
  std::string text(int root, const char* key, const char* name) {
    char buffer[1024];
    return vlm_ReadRegistryText(root, key, name, buffer, sizeof buffer) < 0 ? "<none>" : buffer;
  }
  fs::path dir_;
};

TEST_F(RegistryApiTest, DefaultValuesNamedValuesAndDwordsRoundTrip) {
  EXPECT_EQ(vlm_WriteRegistryText(VLM_HKEY_CLASSES_ROOT, ".vlm", nullptr, "Velmora.Access"), 1);
  EXPECT_EQ(vlm_WriteRegistryText(VLM_HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\Access\\Addins\\X\\",
                                  "FriendlyName", "Velmora"),
            1);
  EXPECT_EQ(vlm_WriteRegistryDword(VLM_HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\Access\\Addins\\X\\",
                                   "LoadBehavior", 3),
            1);
  EXPECT_EQ(text(VLM_HKEY_CLASSES_ROOT, ".vlm", ""), "Velmora.Access");
  EXPECT_EQ(text(VLM_HKEY_CLASSES_ROOT, ".vlm", nullptr), "Velmora.Access");
  EXPECT_EQ(text(VLM_HKEY_CURRENT_USER, "Software\\Classes\\.vlm", ""), "Velmora.Access");
  uint32_t value = 0;
  EXPECT_EQ(vlm_ReadRegistryDword(VLM_HKEY_CURRENT_USER, "SOFTWARE\\MICROSOFT\\Office\\Access\\Addins\\X",
                                  "LoadBehavior", &value),
            1);
  EXPECT_EQ(value, 3u);
  EXPECT_EQ(vlm_ReadRegistryDword(VLM_HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\Access\\Addins\\X",
                                  "FriendlyName", &value),
            0);
  EXPECT_EQ(text(VLM_HKEY_LOCAL_MACHINE, ".vlm", ""), "<none>");
}

TEST_F(RegistryApiTest, BadArgumentsFailWithoutTouchingTheStore) {
  EXPECT_EQ(vlm_WriteRegistryText(7, "K", "n", "v"), 0);
  EXPECT_EQ(vlm_WriteRegistryText(VLM_HKEY_CURRENT_USER, nullptr, "n", "v"), 0);
  EXPECT_EQ(vlm_WriteRegistryText(VLM_HKEY_CURRENT_USER, "K", "n", nullptr), 0);
  EXPECT_EQ(vlm_CreateRegistryKey(VLM_HKEY_CURRENT_USER, ""), 0);
  EXPECT_EQ(vlm_DeleteRegistryKey(VLM_HKEY_CURRENT_USER, ""), 0);
  EXPECT_EQ(vlm_ReadRegistryText(-1, "K", "n", nullptr, 0), -1);
  EXPECT_FALSE(fs::exists(user()));
}

TEST_F(RegistryApiTest, EmptyKeysAndWholeTreesComeAndGo) {
  const char* clsid = "CLSID\\{6B3E2C1A-9D47-4F85-B0C2-7E1D5A9F3C84}\\";
  ASSERT_EQ(vlm_CreateRegistryKey(VLM_HKEY_CLASSES_ROOT,
                                  "CLSID\\{6B3E2C1A-9D47-4F85-B0C2-7E1D5A9F3C84}\\Programmable"),
            1);
  EXPECT_EQ(vlm_IsRegistryKey(VLM_HKEY_CLASSES_ROOT, clsid, 0), 0);
  EXPECT_EQ(vlm_IsRegistryKey(VLM_HKEY_CLASSES_ROOT, clsid, 1), 1);
  EXPECT_EQ(vlm_DeleteRegistryKey(VLM_HKEY_CLASSES_ROOT, clsid), 1);
  EXPECT_EQ(vlm_IsRegistryKey(VLM_HKEY_CLASSES_ROOT, clsid, 1), 0);
  EXPECT_EQ(vlm_DeleteRegistryKey(VLM_HKEY_CLASSES_ROOT, clsid), 1);
  // Nothing left: the user's file and its folder are gone.
  EXPECT_FALSE(fs::exists(dir_ / "velmora"));
}

TEST_F(RegistryApiTest, ReadsSeeWhatAnotherProcessWrote) {
  EXPECT_EQ(text(VLM_HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\Velmora.Access\\", "InstallRoot"), "<none>");
  // Another process (here: a second store on the same files) installs.
  platform::RegistryStore other(user(), machine());
  ASSERT_TRUE(other.writeText(platform::RegistryRoot::LocalMachine, "SOFTWARE\\Velmora\\Velmora.Access\\",
                              "InstallRoot", "/home/u/velmora"));
  EXPECT_EQ(text(VLM_HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\Velmora.Access\\", "InstallRoot"), "/home/u/velmora");
  EXPECT_EQ(vlm_IsRegistryKey(VLM_HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\Velmora.Access", 0), 1);
}

TEST_F(RegistryApiTest, AMachineKeyAUserMayNotWriteGoesToTheUsersVirtualStore) {
  platform::RegistryStore::redirect(user(), "/proc/velmora-no-such-folder/registry");
  const char* key = "SOFTWARE\\Velmora\\Velmora.Access\\";
  ASSERT_EQ(vlm_WriteRegistryText(VLM_HKEY_LOCAL_MACHINE, key, "InstallRoot", "/home/u/velmora"), 1);
  EXPECT_EQ(text(VLM_HKEY_LOCAL_MACHINE, key, "InstallRoot"), "/home/u/velmora");
  EXPECT_EQ(vlm_DeleteRegistryKey(VLM_HKEY_LOCAL_MACHINE, key), 1);
  EXPECT_EQ(text(VLM_HKEY_LOCAL_MACHINE, key, "InstallRoot"), "<none>");
}

}  // namespace
}  // namespace vlm::test
