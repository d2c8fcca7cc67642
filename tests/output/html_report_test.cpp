// The HTML report written by a running engine: to a file with its picture
// next to it, or to a temporary file opened in the browser; and the page as
// a real browser shows it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "codecs/image_file.h"
#include "codecs/support/test_images.h"
#include "data/data_table.h"
#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "output/support/output_fixture.h"

namespace vlm {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class HtmlReport : public test::OutputTest {
 protected:
  void start(int width = 161, int height = 103) {
    if (!startWithModel(width, height)) GTEST_SKIP() << "no GL context for a shown view";
  }
  void toFile(bool image) {
    reportDialog = [image](ReportOptions& o) {
      o.file = true;
      o.browser = false;
      o.image = image;
      o.hitDetails = true;
      return true;
    };
  }
  // The report from the browser option: its temporary file.
  std::string reportInBrowser() {
    reportDialog = [](ReportOptions& o) {
      o.browser = true;
      o.file = false;
      o.hitDetails = true;
      return true;
    };
    EXPECT_EQ(vlm_CopyToHTML(), 1);
    std::lock_guard lock(mutex);
    EXPECT_EQ(opened.size(), 1u);
    if (opened.empty()) return {};
    EXPECT_EQ(opened[0].rfind("file://", 0), 0u) << opened[0];
    const std::string path = opened[0].substr(7);
    temporary_.push_back(path);
    return path;
  }
  void TearDown() override {
    for (const std::string& p : temporary_) fs::remove(p);
    OutputTest::TearDown();
  }
  std::vector<std::string> temporary_;
};

TEST_F(HtmlReport, AFileWithItsPictureScaledTo500WideBesideIt) {
  start(1000, 600);
  toFile(true);
  dialogAnswers = {{true, (dir_ / "Out").string(), 2}};
  ASSERT_EQ(vlm_CopyToHTML(), 1);
  ASSERT_TRUE(fs::exists(dir_ / "Out.htm")) << "the HTM type adds .htm";
  ASSERT_EQ(dialogRequests.size(), 1u);
  EXPECT_EQ(dialogRequests[0].caption, "Save HTML File As");
  EXPECT_EQ(dialogRequests[0].initialName, "report.htm");
  EXPECT_EQ(dialogRequests[0].filterIndex, 2);
  const std::string text = readText(dir_ / "Out.htm");
  EXPECT_NE(text.find("<IMG SRC=\"out.bmp\" ALT=\"Velmora ACCESS\">"), std::string::npos) << text;
  const codecs::DecodeResult picture = codecs::decodeImageFile((dir_ / "out.bmp").string());
  ASSERT_TRUE(picture.ok()) << picture.detail;
  EXPECT_EQ(picture.image.width, 500);
  EXPECT_EQ(picture.image.height, 300) << "1000 x 600 becomes 500 x 300";
  EXPECT_EQ(count(text, "<TR BGCOLOR=#FFFFFF>") + count(text, "<TR BGCOLOR=EFEFEF>"), 10);
  EXPECT_NE(text.find("<B>Selected Data Rows: </B>10 (100.000%)"), std::string::npos) << "a load selects every row";
  EXPECT_EQ(text.find("Row ID"), std::string::npos) << "a pasted table";
  EXPECT_NE(text.find("<TD ALIGN=CENTER><B>name</B></TD>"), std::string::npos);
  EXPECT_NE(text.find("<TD ALIGN=CENTER>Jon</TD>"), std::string::npos);
  std::lock_guard lock(mutex);
  EXPECT_TRUE(opened.empty()) << "a file report is not opened";
}

TEST_F(HtmlReport, ThreeOfTenSelectedInTheBrowser) {
  start();
  auto state = currentState();
  {
    platform::DataLockGuard lock(state->main->dataLock);
    auto& flags = state->model->selectionFlags;
    for (size_t i = 0; i < 10; ++i) flags[i] = (i == 2 || i == 5 || i == 7) ? 1 : 0;
    state->model->selectedCount = 3;
  }
  const std::string path = reportInBrowser();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(fs::path(path).parent_path(), fs::temp_directory_path());
  EXPECT_EQ(fs::path(path).filename().string().rfind("summary", 0), 0u);
  EXPECT_EQ(fs::path(path).extension(), ".htm") << "the browser must see a page, not a text file";
  const std::string text = readText(path);
  EXPECT_NE(text.find("<B>Selected Data Rows: </B>3 (30.000%)"), std::string::npos);
  EXPECT_NE(text.find("<! --- # 0  ROW 2 ----------------------->\n<TR BGCOLOR=#FFFFFF>"), std::string::npos) << text;
  EXPECT_NE(text.find("<! --- # 1  ROW 5 ----------------------->\n<TR BGCOLOR=EFEFEF>"), std::string::npos);
  EXPECT_NE(text.find("<! --- # 2  ROW 7 ----------------------->\n<TR BGCOLOR=#FFFFFF>"), std::string::npos);
  EXPECT_EQ(count(text, "<! --- #"), 3);
  EXPECT_EQ(text.find("<IMG"), std::string::npos) << "no picture without the file option";
}

TEST_F(HtmlReport, NothingSelectedListsEveryRowWithoutTheSelectedLine) {
  start();
  auto state = currentState();
  {
    platform::DataLockGuard lock(state->main->dataLock);
    for (auto& flag : state->model->selectionFlags) flag = 0;
    state->model->selectedCount = 0;
  }
  const std::string text = readText(reportInBrowser());
  EXPECT_EQ(text.find("Selected Data Rows"), std::string::npos);
  EXPECT_EQ(count(text, "<! --- #"), 10);
}

TEST_F(HtmlReport, ABrowserThatDoesNotStartIsTold) {
  start();
  browserStarts = false;
  const std::string path = reportInBrowser();
  EXPECT_TRUE(fs::exists(path)) << "the report is written all the same";
  ASSERT_EQ(boxes_->boxes().size(), 1u);
  EXPECT_NE(boxes_->boxes()[0].text.find(path), std::string::npos);
}

TEST_F(HtmlReport, CancelledDialogsWriteNothing) {
  start();
  reportDialog = [](ReportOptions&) { return false; };
  EXPECT_EQ(vlm_CopyToHTML(), 0);
  toFile(false);
  dialogAnswers = {{false, "", 0}};
  EXPECT_EQ(vlm_CopyToHTML(), 0);
  std::lock_guard lock(mutex);
  EXPECT_TRUE(opened.empty());
  EXPECT_FALSE(fs::exists(dir_ / "report.htm"));
}

TEST_F(HtmlReport, AFolderThatCannotBeWrittenGivesNoReport) {
  start();
  toFile(false);
  dialogAnswers = {{true, "/nonexistent-folder/report.htm", 2}};
  EXPECT_EQ(vlm_CopyToHTML(), 0);
}

// The page in a real browser: the picture and the table are on the screen.
std::string browserProgram() {
  for (const char* p : {"/usr/bin/chromium-headless-shell", "/usr/bin/chromium"})
    if (::access(p, X_OK) == 0) return p;
  return {};
}

TEST_F(HtmlReport, ChromiumShowsThePictureAndTheTable) {
  const std::string browser = browserProgram();
  if (browser.empty()) GTEST_SKIP() << "headless Chromium (chromium-headless-shell) is not installed";
  start(400, 200);
  toFile(true);
  dialogAnswers = {{true, (dir_ / "page.htm").string(), 2}};
  ASSERT_EQ(vlm_CopyToHTML(), 1);
  const codecs::DecodeResult picture = codecs::decodeImageFile((dir_ / "page.bmp").string());
  ASSERT_TRUE(picture.ok()) << picture.detail;
  ASSERT_EQ(picture.image.width, 400);

  const fs::path shot = dir_ / "shot.png";
  const std::string command = browser + " --headless --no-sandbox --disable-gpu --hide-scrollbars" +
                              " --force-color-profile=srgb --window-size=700,1200 --user-data-dir='" +
                              (dir_ / "profile").string() + "' --screenshot='" + shot.string() + "' 'file://" +
                              (dir_ / "page.htm").string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const codecs::DecodeResult screen = codecs::decodeImageFile(shot.string());
  ASSERT_TRUE(screen.ok()) << screen.detail;
  const codecs::Image& s = screen.image;

  // The picture: somewhere on the page every sampled pixel of it matches.
  const codecs::Image& p = picture.image;
  bool found = false;
  int32_t below = 0;  // the first screen row (from the top) under the picture
  for (int32_t top = 0; top < 500 && !found; ++top)
    for (int32_t left = 0; left < 60 && !found; ++left) {
      bool all = true;
      for (int32_t y = 0; y < p.height && all; y += 7)
        for (int32_t x = 0; x < p.width && all; x += 11) {
          // Rows of both are held bottom-up: compare from the top.
          const int32_t sy = s.height - 1 - (top + (p.height - 1 - y));
          if (sy < 0 || left + x >= s.width) {
            all = false;
            break;
          }
          const uint8_t* a = p.row(y) + x * 3;
          const uint8_t* b = s.row(sy) + (left + x) * 3;
          for (int c = 0; c < 3; ++c)
            if (std::abs(int(a[c]) - int(b[c])) > 2) all = false;
        }
      found = all;
      if (found) below = top + p.height;
    }
  EXPECT_TRUE(found) << "the report's picture is not on the page; see " << shot;

  // The table: the grey header, the light rows and dark text.
  int header = 0, light = 0, ink = 0;
  for (int32_t y = 0; y < s.height - below; ++y)
    for (int32_t x = 0; x < s.width; ++x) {
      const uint8_t* px = s.row(y) + x * 3;
      if (px[0] == 0xDA && px[1] == 0xDA && px[2] == 0xDA) ++header;
      if (px[0] == 0xEF && px[1] == 0xEF && px[2] == 0xEF) ++light;
      if (px[0] < 80 && px[1] < 80 && px[2] < 80) ++ink;
    }
  EXPECT_GT(header, 200) << "the header row's #DADADA";
  EXPECT_GT(light, 500) << "the odd rows' EFEFEF";
  EXPECT_GT(ink, 300) << "text under the picture";
}

}  // namespace
}  // namespace vlm
