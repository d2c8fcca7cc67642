#include "platform/profile_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/atomic_file.h"

namespace vlm::platform {
namespace {

namespace fs = std::filesystem;

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vlm-profile-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  std::string path(const char* name = "model.vlm") const { return (dir_ / name).string(); }
  static std::string slurp(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void spit(const std::string& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
  }
  std::string read(const char* section, const char* key, const char* fallback, size_t size = 1024) {
    std::string buffer(size, '#');
    const size_t n = getPrivateProfileString(section, key, fallback, buffer.data(), size, path());
    EXPECT_EQ(buffer[n], '\0');
    return buffer.substr(0, n);
  }
  fs::path dir_;
};

TEST_F(ProfileFileTest, KeysRoundTripWithCrLfLines) {
  ASSERT_TRUE(writePrivateProfileString("Model", "Mappings", "2", path()));
  ASSERT_TRUE(writePrivateProfileString("Model", "Field0", "Price", path()));
  ASSERT_TRUE(writePrivateProfileString("Grid", "Water", "1", path()));
  EXPECT_EQ(slurp(path()), "[Model]\r\nMappings=2\r\nField0=Price\r\n[Grid]\r\nWater=1\r\n");
  EXPECT_EQ(read("Model", "Field0", "x"), "Price");
  EXPECT_EQ(read("Grid", "Water", "0"), "1");
}

TEST_F(ProfileFileTest, NamesMatchWithoutLetterCaseAndValuesAreTrimmed) {
  spit(path(), "[MoDeL]\n  fielD0 =  Price Index \t\n");
  EXPECT_EQ(read("model", "FIELD0", ""), "Price Index");
  ASSERT_TRUE(writePrivateProfileString("MODEL", "Field0", "Cost", path()));
  // The spelling of the file stays; only the value changes.
  EXPECT_EQ(slurp(path()), "[MoDeL]\r\nfielD0=Cost\r\n");
}

TEST_F(ProfileFileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(read("Model", "Mappings", "0"), "0");
  spit(path(), "[Model]\nMappings=3\n");
  EXPECT_EQ(read("Color", "Entries", "0"), "0");
  EXPECT_EQ(read("Model", "Field0", ""), "");
}

TEST_F(ProfileFileTest, ReadsAreCutToTheBuffer) {
  const std::string longName(3000, 'n');
  ASSERT_TRUE(writePrivateProfileString("Model", "Field0", longName.c_str(), path()));
  EXPECT_EQ(read("Model", "Field0", "", 1024), std::string(1023, 'n'));
  EXPECT_EQ(read("Model", "Field0", "", 4), "nnn");
}

TEST_F(ProfileFileTest, NullValueDeletesAKeyAndNullKeyASection) {
  spit(path(), "[Source]\nApplication=ACCESS\n[Color]\nEntries=2\nEntry0V=1\n[Grid]\nWater=1\n");
  ASSERT_TRUE(writePrivateProfileString("Color", "Entry0V", nullptr, path()));
  EXPECT_EQ(read("Color", "Entry0V", "gone"), "gone");
  EXPECT_EQ(read("Color", "Entries", ""), "2");
  ASSERT_TRUE(writePrivateProfileString("Color", nullptr, nullptr, path()));
  EXPECT_EQ(slurp(path()), "[Source]\r\nApplication=ACCESS\r\n[Grid]\r\nWater=1\r\n");
}

TEST_F(ProfileFileTest, UntouchedSectionsKeysAndCommentsSurvive) {
  spit(path(), "; written by hand\r\n[Source]\r\nApplication=ACCESS\r\n\r\n[Own]\r\n; note\r\nKeep=me\r\n"
               "no key here\r\n\r\n[Grid]\r\nWater=0\r\n");
  ASSERT_TRUE(writePrivateProfileString("Source", "Table", "Orders", path()));
  ASSERT_TRUE(writePrivateProfileString("Grid", "Water", "1", path()));
  EXPECT_EQ(slurp(path()),
            "; written by hand\r\n[Source]\r\nApplication=ACCESS\r\nTable=Orders\r\n\r\n[Own]\r\n; note\r\n"
            "Keep=me\r\nno key here\r\n\r\n[Grid]\r\nWater=1\r\n");
}

TEST_F(ProfileFileTest, FirstSectionAndFirstKeyOfANameWin) {
  spit(path(), "[A]\nk=1\nk=2\n[a]\nk=3\n");
  EXPECT_EQ(read("A", "k", ""), "1");
  ASSERT_TRUE(writePrivateProfileString("a", "K", "9", path()));
  EXPECT_EQ(slurp(path()), "[A]\r\nk=9\r\nk=2\r\n[a]\r\nk=3\r\n");
}

TEST_F(ProfileFileTest, ValuesCannotMakeLinesOfTheirOwn) {
  ASSERT_TRUE(writePrivateProfileString("Model", "Field0", "a\r\n[Grid]\nWater=1", path()));
  EXPECT_EQ(read("Model", "Field0", ""), "a  [Grid] Water=1");
  EXPECT_EQ(read("Grid", "Water", "none"), "none");
}

TEST_F(ProfileFileTest, OldWindows1252TextIsReadAsUtf8) {
  spit(path(), "[Model]\nField0=Gr\xF6\xDF" "e \x80\n");
  EXPECT_EQ(read("Model", "Field0", ""), "Gr\u00F6\u00DFe \u20AC");
  // Valid UTF-8 stays as it is; a byte order mark is no part of the first line.
  spit(path(), "\xEF\xBB\xBF[Model]\nField0=Gr\u00F6\u00DFe\n");
  EXPECT_EQ(read("Model", "Field0", ""), "Gr\u00F6\u00DFe");
}

TEST_F(ProfileFileTest, Utf8CheckRefusesOverlongSurrogatesAndCutSequences) {
  EXPECT_TRUE(isValidUtf8("abc \u00E9 \u20AC \U0001F600"));
  EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong '/'
  EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(isValidUtf8("\xE2\x82"));          // cut short
  EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
}

TEST_F(ProfileFileTest, LoneCrAndLfEndLinesToo) {
  spit(path(), "[A]\rx=1\ry=2\n[B]\r\nz=3");
  EXPECT_EQ(read("A", "y", ""), "2");
  EXPECT_EQ(read("B", "z", ""), "3");
}

TEST_F(ProfileFileTest, AReadOnlyFileIsNotWrittenNorReplaced) {
  spit(path(), "[Model]\nMappings=1\n");
  // Marked read-only: refused even for a user whose rights would allow it.
  fs::permissions(path(), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_FALSE(writePrivateProfileString("Model", "Mappings", "2", path()));
  EXPECT_EQ(slurp(path()), "[Model]\nMappings=1\n");
}

TEST_F(ProfileFileTest, AFileThatCannotBeReadIsNotReplacedByOneKey) {
  spit(path(), "[Model]\nMappings=1\n");
  fs::permissions(path(), fs::perms::owner_write);
  if (::access(path().c_str(), R_OK) == 0) GTEST_SKIP() << "running with rights that ignore file modes";
  EXPECT_FALSE(writePrivateProfileString("Grid", "Water", "1", path()));
  fs::permissions(path(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(slurp(path()), "[Model]\nMappings=1\n");
}

TEST_F(ProfileFileTest, WritesKeepTheFileModeAndFollowLinks) {
  spit(path("target.vlm"), "[A]\nk=1\n");
  fs::permissions(path("target.vlm"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(path("target.vlm"), path());
  ASSERT_TRUE(writePrivateProfileString("A", "k", "2", path()));
  EXPECT_TRUE(fs::is_symlink(path()));
  EXPECT_EQ(slurp(path("target.vlm")), "[A]\r\nk=2\r\n");
  EXPECT_EQ(fs::status(path("target.vlm")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ProfileFileTest, AFolderThatCannotBeWrittenFailsCleanly) {
  fs::create_directories(dir_ / "locked");
  fs::permissions(dir_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  if (::access((dir_ / "locked").c_str(), W_OK) == 0) GTEST_SKIP() << "running with rights that ignore file modes";
  std::string error;
  EXPECT_FALSE(writeFileAtomically((dir_ / "locked" / "m.vlm").string(), "x", error));
  EXPECT_FALSE(error.empty());
  fs::permissions(dir_ / "locked", fs::perms::owner_all);
}

TEST_F(ProfileFileTest, AWriteThatRunsOutOfRoomLeavesTheOldFile) {
  // A file size limit makes the write fail part-way, as a full disk does.
  spit(path(), "[Model]\r\nMappings=1\r\n");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    const bool ok = writeFileAtomically(path(), std::string(1 << 20, 'x'), error);
    ::_exit(!ok && !error.empty() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(slurp(path()), "[Model]\r\nMappings=1\r\n");
  // No temporary file is left behind.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) ++files;
  EXPECT_EQ(files, 1);
}

// A writer killed at any moment leaves the old file or the new one, never a
// mix and never a half-written file.
TEST_F(ProfileFileTest, AWriterKilledMidwayLeavesTheOldOrTheNewFile) {
  const std::string oldText = "[Model]\r\n" + std::string(4 << 20, 'o') + "\r\n";
  const std::string newText = "[Model]\r\n" + std::string(4 << 20, 'n') + "\r\n";
  std::string error;
  ASSERT_TRUE(writeFileAtomically(path(), oldText, error));
  for (int round = 0; round < 12; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::string e;
      for (;;) writeFileAtomically(path(), newText, e);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(3 + 7 * round));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string now = slurp(path());
    EXPECT_TRUE(now == oldText || now == newText) << "round " << round << ": " << now.size() << " bytes";
  }
}

TEST(ProfileDocumentTest, ParsesOnceAndWritesKeysInOrder) {
  ProfileDocument doc = ProfileDocument::parse("[Grid]\r\nWater=1\r\n");
  doc.removeSection("Selector");
  for (int i = 0; i < 2048; ++i) doc.set("Selector", "Method" + std::to_string(i), i % 2 ? "RANGE" : "");
  EXPECT_EQ(doc.get("selector", "method2047", "x"), "RANGE");
  EXPECT_EQ(doc.get("Selector", "Method0", "x"), "");
  const std::string text = doc.serialise();
  EXPECT_EQ(text.substr(0, 30), "[Grid]\r\nWater=1\r\n[Selector]\r\nM");
  EXPECT_NE(text.find("Method2046=\r\nMethod2047=RANGE\r\n"), std::string::npos);
}

TEST(ProfileDocumentTest, RemovingASectionRemovesEveryCopyOfIt) {
  ProfileDocument doc = ProfileDocument::parse("[Model]\nField8=Old\n[Grid]\nWater=1\n[model]\nField9=Older\n");
  doc.removeSection("MODEL");
  EXPECT_FALSE(doc.hasSection("Model"));
  doc.set("Model", "Mappings", "0");
  EXPECT_FALSE(doc.find("Model", "Field9"));
  EXPECT_EQ(doc.serialise(), "[Grid]\r\nWater=1\r\n[Model]\r\nMappings=0\r\n");
}

TEST(ProfileDocumentTest, GarbageParsesToWhatItHolds) {
  const ProfileDocument doc = ProfileDocument::parse(std::string("\0\xFF[\n=x\n[]\n=\n[S\nk=v", 18));
  EXPECT_EQ(doc.get("S", "k", "none"), "v");
  EXPECT_EQ(doc.get("", "", "none"), "none");
}

}  // namespace
}  // namespace vlm::platform
