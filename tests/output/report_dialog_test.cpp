// The Create Report dialog's rules: exclusive targets, the picture only with
// a file, OK only with something to include, options changed at once.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

#include "output/report_dialog.h"

namespace vlm {
namespace {

TEST(ReportDialog, CaptionGroupsAndButtons) {
  ReportOptions o;
  ReportDialog d(o);
  EXPECT_EQ(d.windowTitle(), " Create Report");
  QStringList groups;
  for (QGroupBox* g : d.findChildren<QGroupBox*>()) groups << g->title();
  EXPECT_TRUE(groups.contains("Export To "));
  EXPECT_TRUE(groups.contains("Include "));
  EXPECT_EQ(d.browser()->text(), "Browser");
  EXPECT_EQ(d.file()->text(), "File");
  EXPECT_EQ(d.hitDetails()->text(), "Hit Details");
  EXPECT_EQ(d.image()->text(), "Image");
  EXPECT_EQ(d.ok()->text(), "&OK");
  EXPECT_EQ(d.cancel()->text(), "&Cancel");
}

TEST(ReportDialog, BrowserAndFileExcludeEachOther) {
  ReportOptions o;  // browser on, file off
  ReportDialog d(o);
  EXPECT_TRUE(d.browser()->isChecked());
  EXPECT_FALSE(d.file()->isChecked());
  d.file()->click();
  EXPECT_TRUE(o.file);
  EXPECT_FALSE(o.browser) << "ticking one clears the other";
  EXPECT_FALSE(d.browser()->isChecked());
  d.file()->click();
  EXPECT_FALSE(o.file);
  EXPECT_TRUE(o.browser) << "clearing one ticks the other";
  d.browser()->click();
  EXPECT_FALSE(o.browser);
  EXPECT_TRUE(o.file);
}

TEST(ReportDialog, TheImageOnlyWithAFile) {
  ReportOptions o;
  ReportDialog d(o);
  EXPECT_FALSE(d.image()->isEnabled());
  d.file()->click();
  EXPECT_TRUE(d.image()->isEnabled());
  d.image()->click();
  EXPECT_TRUE(o.image);
  d.browser()->click();
  EXPECT_FALSE(d.image()->isEnabled());
}

TEST(ReportDialog, OkNeedsSomethingToInclude) {
  ReportOptions o;
  o.hitDetails = false;
  o.image = false;
  ReportDialog d(o);
  EXPECT_FALSE(d.ok()->isEnabled());
  d.hitDetails()->click();
  EXPECT_TRUE(o.hitDetails);
  EXPECT_TRUE(d.ok()->isEnabled());
  d.hitDetails()->click();
  EXPECT_FALSE(d.ok()->isEnabled());
  d.file()->click();
  d.image()->click();
  EXPECT_TRUE(d.ok()->isEnabled()) << "the picture alone is something";
}

TEST(ReportDialog, CancelKeepsTheTicksMadeMeanwhile) {
  ReportOptions o;
  {
    ReportDialog d(o);
    d.file()->click();
    d.reject();
  }
  EXPECT_TRUE(o.file) << "each tick changed the options at once";
}

}  // namespace
}  // namespace vlm
