// Status-bar texts, the progress arithmetic, the command line and the
// recent-files list.
#include <gtest/gtest.h>

#include <chrono>

#include "host/command_line.h"
#include "host/recent_files.h"
#include "host/status_texts.h"

namespace vlm::host {
namespace {

TEST(StatusTexts, Hits) {
  EXPECT_EQ(hitsText(20, 0), " 20 hits");
  EXPECT_EQ(hitsText(20, 20), " 20 hits");
  EXPECT_EQ(hitsText(20, 3000000000LL), " 20 hits (3000000000 total in database)");
  EXPECT_EQ(hitsText(1, 0), "1 hit");
  EXPECT_EQ(hitsText(0, 0), " 0 hits");
  EXPECT_EQ(hitsText(70000, 0), " 70000 hits") << "counts travel in full";
}

TEST(StatusTexts, SelectionPercentageIsShortened) {
  EXPECT_EQ(selectionText(1, 3, 0, '.'), "1 selected (33.333%)");
  EXPECT_EQ(selectionText(3, 3, 0, '.'), "3 selected (100%)");
  EXPECT_EQ(selectionText(1, 2, 0, ','), "1 selected (50%)");
  EXPECT_EQ(selectionText(1, 8, 0, ','), "1 selected (12,5%)");
  EXPECT_EQ(selectionText(0, 8, 0, '.'), "0 selected (0%)");
  EXPECT_EQ(selectionText(1, 1000, 0, '.'), "1 selected (0.1%)");
  EXPECT_EQ(selectionText(0, 0, 0, '.'), " 0 hits") << "no hits: the hits text again";
  EXPECT_EQ(shortenedPercentage(12.5, 0), "12.500%");
}

TEST(StatusTexts, ProgressReductionNeverLoops) {
  EXPECT_EQ(progressValue(5, 10), 5);
  EXPECT_EQ(progressValue(10, 10), 10);
  EXPECT_EQ(progressValue(25, 10), 5);
  EXPECT_EQ(progressValue(30, 10), 10);
  EXPECT_EQ(progressValue(7, 0), 0);
  EXPECT_EQ(progressValue(7, -3), 0);
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(progressValue(INT64_MAX, 1), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(50));
  EXPECT_EQ(progressFill(100, 5, 0, 10), 50);
  EXPECT_EQ(progressFill(100, 5, 10, 10), 0);
}

TEST(CommandLine, SwitchesAreWholeArguments) {
  EXPECT_TRUE(parseCommandLine({"-i"}).install);
  EXPECT_TRUE(parseCommandLine({"-R"}).remove);
  EXPECT_TRUE(parseCommandLine({"-c"}).clipboardHandOver);
  for (const char* name : {"Q1-report.vlm", "data-i.tsv", "x-c", "-rr", "my-r"}) {
    const CommandLine c = parseCommandLine({name});
    EXPECT_FALSE(c.install || c.remove || c.clipboardHandOver) << name;
    EXPECT_EQ(c.file, name);
  }
  EXPECT_EQ(parseCommandLine({"a.tsv", "b.tsv"}).file, "a.tsv");
  EXPECT_EQ(parseCommandLine({}).file, "");
}

TEST(RecentFiles, AnEighthKeepsSevenAndReopeningMovesToTheTop) {
  RecentFiles list;
  for (int i = 1; i <= 8; ++i) addRecentFile(list, "/data/file" + std::to_string(i) + ".tsv");
  ASSERT_EQ(list.names.size(), 7u);
  EXPECT_EQ(list.names.front(), "/data/file8.tsv");
  EXPECT_EQ(list.names.back(), "/data/file2.tsv");
  const std::string third = list.names[2];
  addRecentFile(list, "/DATA/FILE6.TSV");  // the third, spelt otherwise
  ASSERT_EQ(list.names.size(), 7u);
  EXPECT_EQ(list.names.front(), "/DATA/FILE6.TSV");
  EXPECT_EQ(third, "/data/file6.tsv");
  EXPECT_EQ(list.names[1], "/data/file8.tsv");
  EXPECT_EQ(list.names[2], "/data/file7.tsv");
  EXPECT_EQ(list.names[3], "/data/file5.tsv");
}

}  // namespace
}  // namespace vlm::host
