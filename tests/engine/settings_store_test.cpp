#include "engine/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/engine_state.h"

namespace vlm {
namespace {

namespace fs = std::filesystem;
using platform::RegistryRoot;
const std::string kRoot = "SOFTWARE\\Velmora\\Velmora.Access\\";

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vlm-settings-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    store_ = std::make_unique<platform::RegistryStore>((dir_ / "user").string(), (dir_ / "machine").string());
    state_.main = std::make_unique<MainRecord>();
    state_.view = std::make_unique<ViewRecord>();
    state_.main->registryRoot = kRoot;
    state_.main->applicationKind = 2;
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
  std::unique_ptr<platform::RegistryStore> store_;
  EngineState state_;
};

TEST_F(SettingsStoreTest, EmptyStoreGivesEveryDefault) {
  readSettings(state_, *store_);
  const EngineSettings& e = state_.main->settings;
  EXPECT_EQ(e.installRoot, "");
  // Nothing stored: the tool windows fall back to their own placement.
  EXPECT_EQ(e.selector.rect.width, 0);
  EXPECT_EQ(e.grid.rect.x, 0);
  EXPECT_EQ(e.selector.shown, 1);
  EXPECT_EQ(e.asking, 1);
  EXPECT_EQ(e.advisor, 1);
  EXPECT_EQ(e.mappingOptions, 1);
  EXPECT_EQ(e.speechCalculator, 1);
  EXPECT_EQ(e.stereoGridItem, 0);
  EXPECT_EQ(e.eyeOffset, 20);
  EXPECT_EQ(e.animateBuilders, 0);
  EXPECT_EQ(e.toolbarFull, 0);
  EXPECT_EQ(e.firstRun, 1);
  EXPECT_TRUE(e.centerMass);
  EXPECT_TRUE(e.newerSpeechApi);
  EXPECT_EQ(e.defaultFiletype, 1);
  const LoadControl& l = state_.main->loadControl;
  EXPECT_EQ(l.method, 1);
  EXPECT_EQ(l.limit, 500);
  EXPECT_EQ(l.each, 10);
  EXPECT_EQ(l.from, 1);
  EXPECT_EQ(l.to, 1000);
  EXPECT_EQ(l.step, 10);
  EXPECT_EQ(l.percent, 10);
}

TEST_F(SettingsStoreTest, DefaultsAreNotWrittenButTheTextsAlwaysAre) {
  readSettings(state_, *store_);
  writeSettings(state_, *store_);
  for (const char* name : {"Asking", "Advisor", "MappingOptions", "3DStereo", "3DStereo_EyeOffset", "FirstRun",
                           "LoadControlLimit", "LoadControlPercent", "SelectorX", "Grid"})
    EXPECT_FALSE(store_->readDword(RegistryRoot::CurrentUser, kRoot, name).has_value()) << name;
  EXPECT_EQ(store_->readText(RegistryRoot::CurrentUser, kRoot, "Center"), "CENTER_MASS");
  EXPECT_EQ(store_->readText(RegistryRoot::CurrentUser, kRoot, "SpeechAPI"), "5.1");
  EXPECT_EQ(store_->readText(RegistryRoot::CurrentUser, kRoot, "DefaultFiletype"), "VLM");
}

TEST_F(SettingsStoreTest, ChangedValuesAreWrittenAndReadBack) {
  readSettings(state_, *store_);
  state_.main->settings.asking = 0;
  state_.main->settings.firstRun = 0;
  state_.main->settings.centerMass = false;
  state_.main->settings.defaultFiletype = 5;
  state_.main->loadControl.limit = 2000;
  writeSettings(state_, *store_);
  EngineState again;
  again.main = std::make_unique<MainRecord>();
  again.view = std::make_unique<ViewRecord>();
  again.main->registryRoot = kRoot;
  readSettings(again, *store_);
  EXPECT_EQ(again.main->settings.asking, 0);
  EXPECT_EQ(again.main->settings.firstRun, 0);
  EXPECT_FALSE(again.main->settings.centerMass);
  EXPECT_EQ(again.main->settings.defaultFiletype, 5);
  EXPECT_EQ(again.main->loadControl.limit, 2000);
}

TEST_F(SettingsStoreTest, TextSettingsAreMatchedUpperCased) {
  EXPECT_FALSE(newerSpeechFromText("4.0"));
  EXPECT_TRUE(newerSpeechFromText("4.5"));
  EXPECT_TRUE(newerSpeechFromText("anything"));
  EXPECT_EQ(defaultFiletypeFromText("xls"), 2);
  EXPECT_EQ(defaultFiletypeFromText("my.csv"), 5);
  EXPECT_EQ(defaultFiletypeFromText("nothing"), 1);
  EXPECT_TRUE(centerMassFromText("whatever"));
  EXPECT_FALSE(centerMassFromText("center_universe"));
}

TEST_F(SettingsStoreTest, StereoSettingDrivesTheViewToo) {
  store_->writeDword(RegistryRoot::CurrentUser, kRoot, "3DStereo", 1);
  readSettings(state_, *store_);
  EXPECT_EQ(state_.main->settings.stereoGridItem, 1);
  EXPECT_EQ(state_.view->view.stereo, 1);
}

TEST_F(SettingsStoreTest, StepsThatWouldNeverAdvanceAreRaisedToOne) {
  store_->writeDword(RegistryRoot::CurrentUser, kRoot, "LoadControlEach", 0);
  store_->writeDword(RegistryRoot::CurrentUser, kRoot, "LoadControlStep", static_cast<uint32_t>(-5));
  readSettings(state_, *store_);
  EXPECT_EQ(state_.main->loadControl.each, 1);
  EXPECT_EQ(state_.main->loadControl.step, 1);
}

TEST_F(SettingsStoreTest, AGarbageFileReadsAsDefaults) {
  {
    std::ofstream out(dir_ / "user", std::ios::binary);
    for (int i = 0; i < 4096; ++i) out.put(static_cast<char>((i * 7919) & 0xFF));
  }
  store_->reload();
  readSettings(state_, *store_);
  EXPECT_EQ(state_.main->settings.asking, 1);
  EXPECT_EQ(state_.main->loadControl.limit, 500);
  EXPECT_TRUE(state_.main->settings.centerMass);
}

TEST_F(SettingsStoreTest, InstallRootComesFromTheMachineStoreWithATrailingSeparator) {
  {
    std::ofstream out(dir_ / "machine");
    out << "[SOFTWARE\\\\Velmora\\\\Velmora.Access\\\\]\ntext:InstallRoot=/opt/velmora\n";
  }
  store_->reload();
  readSettings(state_, *store_);
  EXPECT_EQ(state_.main->settings.installRoot, "/opt/velmora/");
}

TEST_F(SettingsStoreTest, InstallRootOfAPerUserInstallationComesFromTheUsersVirtualStore) {
  platform::RegistryStore store((dir_ / "user").string(), "/proc/velmora-no-such-folder/registry");
  ASSERT_TRUE(store.writeText(RegistryRoot::LocalMachine, kRoot, "InstallRoot", "/home/u/velmora"));
  readSettings(state_, store);
  EXPECT_EQ(state_.main->settings.installRoot, "/home/u/velmora/");
}

}  // namespace
}  // namespace vlm
