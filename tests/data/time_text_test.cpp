#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "data/support/data_test_support.h"
#include "data/time_table.h"
#include "data/time_text.h"

namespace vlm {
namespace {

using test::settings;

TimeEntry date(int y, int m, int d) {
  TimeEntry e;
  e.year = uint16_t(y), e.month = uint16_t(m), e.day = uint16_t(d);
  return e;
}

TimeEntry clock(int h, int m, int s, int ms) {
  TimeEntry e;
  e.hour = uint16_t(h), e.minute = uint16_t(m), e.second = uint16_t(s), e.millisecond = uint16_t(ms);
  return e;
}

TEST(TimeText, DateOrders) {
  EXPECT_EQ(timeText(date(2003, 1, 5), settings('.', 1)), "5-Jan-2003");
  EXPECT_EQ(timeText(date(2003, 1, 5), settings('.', 0)), "Jan 5-2003");
  EXPECT_EQ(timeText(date(2003, 1, 5), settings('.', 2)), "2003-Jan-5");
}

TEST(TimeText, DatesWithoutYearOrDay) {
  EXPECT_EQ(timeText(date(0, 3, 7), settings('.', 0)), "3-7");
  EXPECT_EQ(timeText(date(0, 3, 7), settings('.', 2)), "3-7");
  EXPECT_EQ(timeText(date(0, 3, 7), settings('.', 1)), "7-3");
  EXPECT_EQ(timeText(date(2003, 12, 0), settings('.', 0)), "Dec 2003");
  EXPECT_EQ(timeText(date(2003, 12, 0), settings('.', 1)), "Dec 2003");
  EXPECT_EQ(timeText(date(2003, 12, 0), settings('.', 2)), "2003 Dec");
}

TEST(TimeText, MonthOutsideTheTablePrintsAsANumber) {
  EXPECT_EQ(timeText(date(2003, 0, 25), settings('.', 1)), "25-0-2003");
  EXPECT_EQ(timeText(date(2003, 13, 25), settings('.', 0)), "13 25-2003");
  EXPECT_EQ(timeText(date(2003, 60666, 0), settings('.', 2)), "2003 60666");
}

TEST(TimeText, TimesAndFractions) {
  EXPECT_EQ(timeText(clock(13, 45, 10, 0), settings()), "13:45:10");
  EXPECT_EQ(timeText(clock(13, 45, 10, 500), settings(',')), "13:45:10,5");
  EXPECT_EQ(timeText(clock(13, 45, 10, 500), settings('.')), "13:45:10.5");
  EXPECT_EQ(timeText(clock(0, 0, 0, 5), settings()), "0:00:00.005");
  EXPECT_EQ(timeText(clock(0, 0, 0, 250), settings()), "0:00:00.25");
  TimeEntry both = date(2003, 1, 5);
  both.hour = 7;
  EXPECT_EQ(timeText(both, settings('.', 1)), "5-Jan-2003 7:00:00");
}

TEST(TimeText, TimeSeparatorThatIsADotSurvives) {
  platform::RegionalSettings r = settings(',');
  r.timeSeparator = '.';
  EXPECT_EQ(timeText(clock(13, 45, 10, 500), r), "13.45.10,5");
}

TEST(TimeText, AllZeroIsEmpty) { EXPECT_EQ(timeText(TimeEntry{}, settings()), ""); }

TEST(TimeText, IntoTheCallersBuffer) {
  TimeTable table;
  const int32_t i = internTime(table, date(2003, 1, 5));
  char a[1024], b[1024];
  timeTextAt(table, i, settings('.', 1), a, sizeof a);
  timeTextAt(table, i, settings('.', 2), b, sizeof b);
  EXPECT_STREQ(a, "5-Jan-2003");  // the first text survives the second call
  EXPECT_STREQ(b, "2003-Jan-5");
  EXPECT_EQ(timeTextAt(table, 5, settings(), a, sizeof a), 0u);
  EXPECT_STREQ(a, "");
  EXPECT_EQ(timeTextAt(table, -1, settings(), a, sizeof a), 0u);
  char small[4];
  timeTextAt(table, i, settings('.', 1), small, sizeof small);
  EXPECT_STREQ(small, "5-J");
}

TEST(TimeTable, DistinctEntriesIgnoringTheDayOfWeek) {
  TimeTable table;
  TimeEntry a = date(2003, 1, 5);
  TimeEntry b = a;
  b.dayOfWeek = 3;
  EXPECT_EQ(internTime(table, a), 0);
  EXPECT_EQ(internTime(table, b), 0);
  EXPECT_EQ(internTime(table, date(2003, 1, 6)), 1);
  TimeEntry c = a;
  c.millisecond = 1;
  EXPECT_EQ(internTime(table, c), 2);
  EXPECT_EQ(internTime(table, a), 0);
  EXPECT_EQ(table.entries.size(), 3u);
}

TEST(TimeTable, AgreesWithALinearSearch) {
  TimeTable table;
  std::vector<TimeEntry> reference;
  uint32_t seed = 7;
  for (int i = 0; i < 30000; ++i) {
    seed = seed * 1664525u + 1013904223u;
    TimeEntry e = date(2000 + int(seed >> 28), 1 + int((seed >> 20) % 12), 1 + int((seed >> 10) % 28));
    int32_t expected = -1;
    for (size_t j = 0; j < reference.size() && expected < 0; ++j)
      if (sameTime(reference[j], e)) expected = int32_t(j);
    if (expected < 0) {
      expected = int32_t(reference.size());
      reference.push_back(e);
    }
    ASSERT_EQ(internTime(table, e), expected);
  }
}

#ifndef VLM_NO_ADDRESS_LIMIT
// In a child process with little address space left, distinct entries are
// added until the table cannot grow: that entry gets -1 and the table's
// message once, and every entry stored before stays found where it was.
void internTimesUntilFull() {
  test::ErrorRecorder errors;
  TimeTable table;
  if (!test::limitAddressSpace(24ul * 1024 * 1024)) std::_Exit(12);
  auto entry = [](int i) {
    TimeEntry e;
    e.year = uint16_t(1900 + i % 200), e.month = uint16_t(1 + (i / 200) % 12), e.day = uint16_t(1 + (i / 2400) % 28);
    e.hour = uint16_t((i / 67200) % 24), e.minute = uint16_t((i / 1612800) % 60);
    return e;
  };
  int stored = 0;
  while (stored < 20000000 && internTime(table, entry(stored)) == stored) ++stored;
  if (stored == 20000000 || stored < 1000) std::_Exit(13);
  if (errors.messages.size() != 1 || errors.messages[0] != "Unable to store all the time information!") std::_Exit(14);
  if (table.entries.size() != static_cast<size_t>(stored)) std::_Exit(15);
  for (int i = 0; i < stored; i += 997)
    if (internTime(table, entry(i)) != i) std::_Exit(16);
  std::_Exit(0);
}

TEST(TimeTableDeathTest, AnEntryThatCannotBeStoredGivesMinusOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(internTimesUntilFull(), ::testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
}  // namespace vlm
