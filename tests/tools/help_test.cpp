// Help topics: which page each topic opens, the pages shipped with the
// program, the viewer's index and search, and the message when pages are missing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "engine/vlmapi.h"
#include "model/association.h"
#include "tools/help/help_topics.h"
#include "tools/help/help_window.h"
#include "tools/support/tools_fixture.h"
#include "tools/tool_services.h"
#include "tools/tools_state.h"

namespace vlm::tools {
namespace {

std::string shippedFolder() { return findHelpFolder("", "intro.html"); }

TEST(HelpTopics, EveryTopicHasItsPage) {
  struct Case {
    int topic;
    const char* page;
    HelpView view;
  };
  const Case cases[] = {
      {100, "intro.html", HelpView::Contents}, {101, "intro.html", HelpView::Index},
      {102, "intro.html", HelpView::Search},   {110, "quick_card.html", HelpView::Topic},
      {111, "support.html", HelpView::Topic},  {120, "grid.html", HelpView::Topic},
      {121, "setup.html", HelpView::Topic},    {122, "open_file.html", HelpView::Topic},
      {123, "loadctrl.html", HelpView::Topic}, {130, "modify.html", HelpView::Topic},
      {131, "color.html", HelpView::Topic},    {140, "select.html", HelpView::Topic},
      {141, "calc.html", HelpView::Topic},     {150, "dm_sound.html", HelpView::Topic},
      {151, "speech.html", HelpView::Topic},   {160, "launch.html", HelpView::Topic},
      {7, "quick_card.html", HelpView::Topic}, {999, "quick_card.html", HelpView::Topic},
  };
  for (const Case& c : cases) {
    const HelpRequest r = helpPageOf(c.topic);
    EXPECT_EQ(r.page, c.page) << c.topic;
    EXPECT_EQ(r.view, c.view) << c.topic;
  }
  const char* attributes[kAttributeCount] = {"",           "color.html",    "size.html",     "height.html",
                                             "base.html",  "dimxy.html",    "dimxy.html",    "axes.html",
                                             "axes.html",  "axes.html",     "rots.html",     "rots.html",
                                             "rots.html",  "shape.html",    "opacity.html",  "textlabel.html",
                                             "texture.html", "sndfreq.html", "sndvol.html",  "speech.html",
                                             "jitter.html"};
  for (int a = 0; a < kAttributeCount; ++a) EXPECT_EQ(attributeHelpPage(a), attributes[a]) << a;
  EXPECT_EQ(attributeHelpPage(21), "");
}

TEST(HelpPages, EveryPageIsShippedAndEveryLinkLeadsToOne) {
  const std::string folder = shippedFolder();
  ASSERT_FALSE(folder.empty());
  std::vector<std::string> pages;
  for (int t : {100, 110, 111, 120, 121, 122, 123, 130, 131, 140, 141, 150, 151, 160}) pages.push_back(helpPageOf(t).page);
  for (int a = 1; a < kAttributeCount; ++a) pages.push_back(attributeHelpPage(a));
  for (const std::string& p : pages) EXPECT_TRUE(std::filesystem::exists(folder + "/" + p)) << p;
  const QRegularExpression href(QStringLiteral("href=\"([^\"#:]+)(#[^\"]*)?\""));
  const QString dir = QString::fromStdString(folder);
  for (const QString& page : QDir(dir).entryList({QStringLiteral("*.html")})) {
    QFile f(dir + QLatin1Char('/') + page);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << page.toStdString();
    for (auto it = href.globalMatch(html); it.hasNext();) {
      const QString target = it.next().captured(1);
      EXPECT_TRUE(QFile::exists(dir + QLatin1Char('/') + target)) << page.toStdString() << " -> " << target.toStdString();
    }
  }
}

TEST(HelpPages, TheIndexAndTheSearchFindThePages) {
  const QString folder = QString::fromStdString(shippedFolder());
  const auto index = buildHelpIndex(folder);
  const auto water = std::find_if(index.begin(), index.end(), [](const HelpIndexEntry& e) { return e.keyword == "water"; });
  ASSERT_NE(water, index.end());
  EXPECT_EQ(water->page, "grid.html");
  EXPECT_TRUE(std::is_sorted(index.begin(), index.end(), [](const HelpIndexEntry& a, const HelpIndexEntry& b) {
    return QString::compare(a.keyword, b.keyword, Qt::CaseInsensitive) < 0;
  }));
  const auto found = searchHelp(folder, QStringLiteral("eye OFFSET"));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].page, "grid.html");
  EXPECT_TRUE(searchHelp(folder, QStringLiteral("eye zzzunknown")).empty()) << "every word must be found";
  EXPECT_TRUE(searchHelp(folder, QString()).empty());
}

class HelpTest : public test::ToolsTest {
 protected:
  void SetUp() override {
    ToolsTest::SetUp();
    previous_ = setHelpOpener([this](const HelpRequest& r) {
      std::lock_guard lock(mutex_);
      opened_.push_back(r);
      return true;
    });
  }
  void TearDown() override {
    setHelpOpener(previous_);
    unsetenv("VELMORA_HELP_DIR");
    ToolsTest::TearDown();
  }
  HelpRequest last() {
    std::lock_guard lock(mutex_);
    return opened_.empty() ? HelpRequest{} : opened_.back();
  }
  std::mutex mutex_;
  std::vector<HelpRequest> opened_;
  HelpOpener previous_;
};

TEST_F(HelpTest, TopicZeroFollowsTheSelectedLegendLine) {
  vlm_SetSelectedObjectType(0);
  vlm_Help(0);
  EXPECT_EQ(last().page, "quick_card.html") << "no legend line selected";
  EXPECT_FALSE(last().folder.empty());
  vlm_SetSelectedObjectType(2);
  vlm_SetSelectedObjectIndex(ATTRIB_SOUND_VOLUME);
  vlm_Help(0);
  EXPECT_EQ(last().page, "sndvol.html");
  vlm_Help(121);
  EXPECT_EQ(last().page, "setup.html");
}

TEST_F(HelpTest, MissingPagesAreReported) {
  const auto empty = std::filesystem::temp_directory_path() / "vlm-no-help-here";
  std::filesystem::create_directories(empty);
  setenv("VELMORA_HELP_DIR", empty.c_str(), 1);
  vlm_Help(120);
  EXPECT_TRUE(opened_.empty());
  const auto boxes = boxes_->boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Velmora API Error");
  EXPECT_EQ(boxes[0].text.rfind("Unable to find Velmora Help file. \n\n", 0), 0u);
  std::filesystem::remove_all(empty);
}

TEST_F(HelpTest, DemonstrationsOpenTheModelDialog) {
  ToolServices& services = toolServices();
  const ToolServices saved = services;
  int opened = 0;
  services.openModelDialog = [&opened] { ++opened; };
  state_->main->settings.firstRun = 0;
  state_->main->settings.defaultFiletype = 4;
  vlm_Help(103);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(state_->main->settings.firstRun, 1);
  EXPECT_EQ(state_->main->settings.defaultFiletype, 1);
  EXPECT_TRUE(opened_.empty());
  services = saved;
}

TEST_F(HelpTest, TheViewerShowsTopicsIndexAndSearch) {
  setHelpOpener(nullptr);  // the real viewer
  vlm_Help(120);
  HelpWindow* viewer = toolsOf(*state_).help;
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->windowTitle(), " Velmora Help");
  EXPECT_EQ(viewer->currentPage(), "grid.html");
  EXPECT_TRUE(viewer->shownText().contains(QStringLiteral("Background Color")));
  vlm_Help(101);
  EXPECT_EQ(viewer->currentPage(), "index");
  EXPECT_TRUE(viewer->shownText().contains(QStringLiteral("Quick Card")));
  vlm_Help(102);
  EXPECT_EQ(viewer->currentPage(), "search");
  vlm_Help(110);
  EXPECT_EQ(viewer->currentPage(), "quick_card.html");
  EXPECT_EQ(toolsOf(*state_).help, viewer) << "one viewer, shown again";
}

}  // namespace
}  // namespace vlm::tools
