#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/date_parse.h"
#include "data/support/data_test_support.h"

namespace vlm {
namespace {

struct Parsed {
  int32_t state = 0;
  TimeEntry e;
  int32_t maxima[3] = {0, 0, 0};
};

Parsed parse(std::string_view text, int32_t state = 0, int32_t centuryBase = 2000) {
  Parsed p;
  p.state = parseDateTimeText(text, state, p.maxima, centuryBase, p.e);
  return p;
}

void expectDate(const Parsed& p, int y, int m, int d) {
  EXPECT_GT(p.state, 0);
  EXPECT_EQ(p.e.year, y);
  EXPECT_EQ(p.e.month, m);
  EXPECT_EQ(p.e.day, d);
}

void expectTime(const Parsed& p, int h, int mi, int s = 0, int ms = 0) {
  EXPECT_GT(p.state, 0);
  EXPECT_EQ(p.e.hour, h);
  EXPECT_EQ(p.e.minute, mi);
  EXPECT_EQ(p.e.second, s);
  EXPECT_EQ(p.e.millisecond, ms);
}

TEST(DateParse, DottedDates) {
  expectDate(parse("12.05.2003"), 2003, 12, 5);
  expectDate(parse("12.05.2003", 2), 2003, 5, 12);
  EXPECT_EQ(parse("1.2345.6").state, 0);
  EXPECT_EQ(parse("3.14").state, 0);
  EXPECT_EQ(parse("1.234.567").state, 0);
}

TEST(DateParse, NamedMonthsInAFreshField) {
  const Parsed a = parse("5 janvier 2003");
  expectDate(a, 2003, 1, 5);
  const Parsed b = parse("5-Jan-2003");
  expectDate(b, 2003, 1, 5);
  // With a month name the first number is the day from the start; the order
  // state stays as the field had it.
  EXPECT_EQ(b.state, 1);
  expectDate(parse("monday, 5 may 2003"), 2003, 5, 5);
  expectDate(parse("Jan 5-2003"), 2003, 1, 5);
  expectDate(parse("2003-Jan-5", 3), 2003, 1, 5);
  expectDate(parse("may 5"), 0, 5, 5);
}

TEST(DateParse, NumericOrders) {
  expectDate(parse("1/5/2003"), 2003, 1, 5);
  expectDate(parse("1/5/2003", 2), 2003, 5, 1);
  expectDate(parse("2003-01-05"), 2003, 1, 5);
  EXPECT_EQ(parse("2003-01-05").state, 3);
  expectDate(parse("25/12/2003"), 2003, 12, 25);
  EXPECT_EQ(parse("25/12/2003").state, 2);
  // Day first, second number above 12: day and month swap, month first after all.
  const Parsed swapped = parse("12/25/2003", 2);
  expectDate(swapped, 2003, 12, 25);
  EXPECT_EQ(swapped.state, 1);
}

TEST(DateParse, TwoDigitYearsTakeTheCenturyBase) {
  expectDate(parse("1/5/03"), 2003, 1, 5);
  expectDate(parse("1/5/75"), 1975, 1, 5);
  expectDate(parse("1/5/49"), 2049, 1, 5);
  expectDate(parse("1/5/50"), 1950, 1, 5);
  expectDate(parse("1/5/00"), 2000, 1, 5);
  expectDate(parse("1/5/03", 0, 1900), 1903, 1, 5);
  expectDate(parse("1/5/75", 0, 1900), 1875, 1, 5);
  expectDate(parse("1/5/203"), 203, 1, 5);  // three digits are taken as written
}

TEST(DateParse, ComponentMaximaMustFitTheOrder) {
  // 2003-13-45: the first position holds 2003, which no month-first date allows.
  EXPECT_EQ(parse("2003-13-45").state, 0);
  // A field whose maxima already rule out month first.
  Parsed p;
  p.maxima[0] = 20;
  p.state = parseDateTimeText("1/5/2003", 1, p.maxima, 2000, p.e);
  EXPECT_EQ(p.state, 0);
  EXPECT_EQ(p.maxima[0], 20);
  EXPECT_EQ(p.maxima[1], 0);  // a rejected text leaves the maxima alone
  p.state = parseDateTimeText("1/5/2003", 2, p.maxima, 2000, p.e);
  EXPECT_EQ(p.state, 2);
  EXPECT_EQ(p.maxima[1], 5);
  EXPECT_EQ(p.maxima[2], 2003);
}

TEST(DateParse, NamedMonthsLeaveTheMaximaAlone) {
  // The maxima tell which number of a numeric date is the month; a text that
  // names its month has none, and its year in the second place ("Dec 2003")
  // must not fail a check made for days.
  const Parsed p = parse("5-Jan-2003");
  EXPECT_EQ(p.maxima[0], 0);
  EXPECT_EQ(p.maxima[1], 0);
  EXPECT_EQ(p.maxima[2], 0);
  expectDate(parse("Dec 2003"), 2003, 12, 0);
}

TEST(DateParse, Times) {
  expectTime(parse("13:45"), 13, 45);
  EXPECT_EQ(parse("10:75").state, 0);
  expectTime(parse("1:30 pm"), 13, 30);
  expectTime(parse("12:10 pm"), 12, 10);
  expectTime(parse("13:10 pm"), 13, 10);
  expectTime(parse("9:05 AM"), 9, 5);
  expectTime(parse("13:45:10"), 13, 45, 10);
  expectTime(parse("13:45:10.5"), 13, 45, 10, 500);
  expectTime(parse("13:45:10,25"), 13, 45, 10, 250);
  expectTime(parse("13:45:10.005"), 13, 45, 10, 5);
  EXPECT_EQ(parse("13:45:10.1234").state, 0);
  EXPECT_EQ(parse("13:60").state, 0);
  EXPECT_EQ(parse("13:45:61").state, 0);
  expectTime(parse("30:15"), 0, 30, 15);  // an hour from 24 on is minutes
  EXPECT_EQ(parse("75:30").state, 0);
  EXPECT_EQ(parse("1:2:3:4:5").state, 0);
}

TEST(DateParse, FractionsShiftMinutesAndSeconds) {
  expectTime(parse("1:30.5"), 0, 1, 30, 500);
  expectTime(parse("1:30,5"), 0, 1, 30, 500);
}

TEST(DateParse, DateAndTimeTogether) {
  const Parsed p = parse("2003-01-05 13:45:10");
  expectDate(p, 2003, 1, 5);
  expectTime(p, 13, 45, 10);
  const Parsed q = parse("1/5/2003 1:30 pm");
  expectDate(q, 2003, 1, 5);
  expectTime(q, 13, 30);
}

TEST(DateParse, NoDateAtAll) {
  EXPECT_EQ(parse("summary").state, 0);  // holds "mar" but no part of a date
  EXPECT_EQ(parse("March").state, 0);
  EXPECT_EQ(parse("Mon-Tue").state, 0);
  EXPECT_EQ(parse("123").state, 0);
  EXPECT_EQ(parse("12 34").state, 0);
  EXPECT_EQ(parse("-1.5").state, 0);
  EXPECT_EQ(parse("-2.25").state, 0);
  EXPECT_EQ(parse("5-Foo-2003").state, 0);
  EXPECT_EQ(parse("mars-bar").state, 0);
  EXPECT_EQ(parse("abc 12:30").state, 0);
  EXPECT_EQ(parse("").state, 0);
  EXPECT_EQ(parse("----").state, 0);
  EXPECT_EQ(parse("pm:5").state, 0);
  EXPECT_EQ(parse("1/1/99999").state, 0);  // a year that cannot be held
}

TEST(DateParse, LeadingZerosAreDecimal) {
  expectDate(parse("2003-08-09"), 2003, 8, 9);
}

TEST(DateParse, FieldWrapperUsesTheFieldsStateAndCentury) {
  DataField f;
  f.dateOrderState = 2;
  TimeEntry e;
  platform::RegionalSettings r = test::settings('.', 0, 1900);
  EXPECT_EQ(parseDateTime("3/4/05", f, r, e), 2);
  EXPECT_EQ(e.day, 3);
  EXPECT_EQ(e.month, 4);
  EXPECT_EQ(e.year, 1905);
  EXPECT_EQ(f.dateComponentMax[0], 3);
  EXPECT_EQ(f.dateComponentMax[1], 4);
  EXPECT_EQ(f.dateComponentMax[2], 5);
  EXPECT_EQ(f.dateOrderState, 2);  // raising the state is the classifier's job
}

TEST(DateParse, HugeInputsStayInBounds) {
  std::string many;
  for (int i = 0; i < 30000; ++i) many += "1/";
  parse(many);
  parse(std::string(100000, ':'));
  parse(std::string(100000, '9') + "/1/1");
  std::string garbage;
  for (int i = 0; i < 100000; ++i) garbage.push_back(static_cast<char>((i * 7919) & 0xFF));
  parse(garbage);
  SUCCEED();
}

TEST(DateParse, MonthNamesInAnyCaseWithPointsAndCommas) {
  expectDate(parse("Jan 1 2000"), 2000, 1, 1);
  expectDate(parse("1 Jan 2000"), 2000, 1, 1);
  expectDate(parse("January 1, 2000"), 2000, 1, 1);
  expectDate(parse("JANUARY 1, 2000"), 2000, 1, 1);
  expectDate(parse("5. Dezember 2003"), 2003, 12, 5);
  expectDate(parse("Fri., 5. Dez. 2003"), 2003, 12, 5);  // abbreviation points are no dotted date
  expectDate(parse("Dec 2003"), 2003, 12, 0);
  expectDate(parse("2003 Dec", 3), 2003, 12, 0);
  EXPECT_EQ(parse("Summary").state, 0);  // a word with "mar" in it is still no date
  EXPECT_EQ(parse("Marketing 2003").state, 0);
}

TEST(DateParse, IsoTimestamps) {
  const Parsed p = parse("2003-01-05T13:45:10");
  expectDate(p, 2003, 1, 5);
  expectTime(p, 13, 45, 10);
  expectTime(parse("2003-01-05T13:45:10.250"), 13, 45, 10, 250);
  // The zone is left out and the time kept as written.
  expectTime(parse("2003-01-05T13:45:10Z"), 13, 45, 10);
  expectTime(parse("2003-01-05T13:45:10+01:00"), 13, 45, 10);
  expectTime(parse("2003-01-05T13:45-0500"), 13, 45, 0);
}

TEST(DateParse, ACompleteDateHandsTheRestToTheTime) {
  // Year, month and day are known after "5": 13 is the hour, not the year.
  const Parsed p = parse("2003-Jan-5 13:45:10");
  expectDate(p, 2003, 1, 5);
  expectTime(p, 13, 45, 10);
  const Parsed q = parse("Dec 31-2003 23:59:59.5");
  expectDate(q, 2003, 12, 31);
  expectTime(q, 23, 59, 59, 500);
}

TEST(DateParse, AYearFirstFieldReadsADayMonthYearDateWhole) {
  // In a year-first field "5" is first taken for the year; the real year
  // after the month name makes it the day again.
  expectDate(parse("5-Jan-2003", 3), 2003, 1, 5);
  expectDate(parse("Jan 5 2003", 3), 2003, 1, 5);
  expectDate(parse("2003-Jan-5", 3), 2003, 1, 5);
}

// ISO dates are read without the general walk; whatever the field's state and
// maxima, both readings must give the same result, the same entry and the
// same maxima (also where the maxima reject the date, or the text only
// nearly has the shape).
TEST(DateParse, IsoDatesReadAsTheGeneralWalkReadsThem) {
  std::vector<std::string> texts;
  for (const char* year : {"2003", "1999", "0100", "0099", "0031", "0000", "9999"})
    for (const char* month : {"00", "01", "09", "12", "13", "31", "32", "99"})
      for (const char* day : {"00", "01", "12", "28", "31", "32", "60"})
        texts.push_back(std::string(year) + "-" + month + "-" + day);
  for (const char* odd : {"2003-1-05", "2003-01-5", "2003/01/05", "2003-01-05 ", " 2003-01-05", "2003-0a-05",
                          "2003-01-05T", "20030-1-05", "2003--1-05", "-2003-01-0"})
    texts.push_back(odd);
  const int32_t startMaxima[][3] = {{0, 0, 0}, {2003, 12, 31}, {12, 31, 2003}, {31, 12, 2003}, {0, 13, 0},
                                    {0, 0, 32}, {40, 12, 31}};
  for (const std::string& text : texts) {
    for (int32_t state = 0; state <= 3; ++state) {
      for (const auto& start : startMaxima) {
        for (int32_t centuryBase : {1900, 2000}) {
          int32_t fast[3] = {start[0], start[1], start[2]};
          int32_t walk[3] = {start[0], start[1], start[2]};
          TimeEntry a, b;
          const int32_t got = parseDateTimeText(text, state, fast, centuryBase, a);
          const int32_t want = parseDateTimeWalk(text, state, walk, centuryBase, b);
          const std::string where = text + " state " + std::to_string(state) + " maxima " +
                                    std::to_string(start[0]) + "," + std::to_string(start[1]) + "," +
                                    std::to_string(start[2]);
          ASSERT_EQ(got, want) << where;
          for (int i = 0; i < 3; ++i) ASSERT_EQ(fast[i], walk[i]) << where;
          if (got > 0) {
            ASSERT_EQ(std::memcmp(&a, &b, sizeof a), 0) << where;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace vlm
