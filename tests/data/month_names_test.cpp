#include <string>

#include <gtest/gtest.h>

#include "data/date_parse.h"
#include "data/month_names.h"
#include "data/support/data_test_support.h"
#include "data/utf8.h"

namespace vlm {
namespace {

struct Language {
  const char* name;
  int column;
  const char* months[12];
  const char* days[7];
};

// The spellings as the table holds them, one row per language column.
const Language kLanguages[] = {
    {"English", 0,
     {"january", "february", "march", "april", "may", "june", "july", "august", "september", "october", "november",
      "december"},
     {"monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"}},
    {"Slovak", 1,
     {"január", "február", "marec", "apríl", "máj", "jún", "júl", "august", "september", "október", "november",
      "december"},
     {"pondelok", "utorok", "streda", "tvrtok", "piatok", "sobota", "nedela"}},
    {"Czech", 2,
     {"leden", "únor", "Brezen", "duben", "kveten", "cerven", "cervenec", "srpen", "zárí", "ríjen", "listopad",
      "prosinec"},
     {"pondelí", "úterý", "streda", "ctvrtek", "pátek", "sobota", "nedele"}},
    {"German", 3,
     {"januar", "februar", "märz", "april", "mai", "juni", "juli", "august", "september", "oktober", "november",
      "dezember"},
     {"montag", "dienstag", "mittwoch", "donnerstag", "freitag", "samstag", "sonntag"}},
    {"French", 4,
     {"janvier", "février", "mars", "avril", "mai", "juin", "juillet", "aout", "septembre", "octobre", "novembre",
      "décembre"},
     {"lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi", "dimanche"}},
    {"Italian", 5,
     {"gennaio", "febbraio", "marzo", "aprile", "maggio", "giugno", "luglio", "agosto", "settembre", "ottobre",
      "novembre", "dicembre"},
     {"lunedi", "martedi", "mercoledi", "giovedi", "venerdi", "sabato", "domenica"}},
    {"Swedish", 6,
     {"januari", "februari", "mars", "april", "maj", "juni", "juli", "augusti", "september", "oktober", "november",
      "december"},
     {"mandag", "tisdag", "onsdag", "torsdag", "fredag", "lördag", "söndag"}},
    {"Norwegian", 7,
     {"januar", "februar", "mars", "april", "maj", "juni", "juli", "august", "september", "oktober", "november",
      "desember"},
     {"mandag", "tirsdag", "onsdag", "torsdag", "fredag", "lördag", "söndag"}},
    {"Finnish", 8,
     {"tammikuu", "helmikuu", "maaliskuu", "huhtikuu", "toukokuu", "kesäkuu", "heinäkuu", "elokuu", "syyskuu",
      "lokakuu", "marraskuu", "joulukuu"},
     {"maanantai", "tiistai", "keskiviikko", "torstai", "perjantai", "lauantai", "sunnuntai"}},
    {"Danish", 9,
     {"januar", "februar", "marts", "april", "maj", "juni", "juli", "august", "september", "oktober", "november",
      "december"},
     {"mandag", "tirsdag", "onsdag", "torsdag", "fredag", "lördag", "söndag"}},
    {"Dutch", 10,
     {"januari", "februari", "maart", "april", "mei", "juni", "juli", "augustus", "september", "oktober", "november",
      "december"},
     {"maandag", "dinsdag", "woensdag", "donderdag", "vrijdag", "zaterdag", "zondag"}},
    {"Spanish", 11,
     {"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre", "octubre", "noviembre",
      "diciembre"},
     {"lunes", "martes", "miércoles", "jueves", "viernes", "sábado", "domingo"}},
    {"Portuguese", 12,
     {"janeiro", "fevereiro", "março", "abril", "maio", "junho", "julho", "agosto", "setembro", "outubro", "novembro",
      "dezembro"},
     {"segunda-feira", "terça-feira", "quarta-feira", "quinta-feira", "sexta-feira", "sábado", "domingo"}},
    {"Hungarian", 13,
     {"január", "február", "március", "április", "május", "június", "július", "augusztus", "szeptember", "október",
      "november", "december"},
     {"hétfo", "kedd", "szerda", "csütörtök", "péntek", "szombat", "vasárnap"}},
    {"Polish", 14,
     {"styczen", "luty", "marzec", "kwiecien", "maj", "czerwiec", "lipiec", "sierpien", "wrzesien", "pazdziernik",
      "listopad", "grudzien"},
     {"poniedzialek", "wtorek", "sroda", "czwartek", "piatek", "sobota", "niedziela"}},
};

void PrintTo(const Language& l, std::ostream* os) { *os << l.name; }

std::string firstThree(std::string_view name) {
  size_t pos = 0;
  for (int i = 0; i < 3 && pos < name.size(); ++i) utf8::decode(name, pos);
  return std::string(name.substr(0, pos));
}

class MonthNamesByLanguage : public ::testing::TestWithParam<Language> {};

TEST_P(MonthNamesByLanguage, TableHoldsTheSpellings) {
  const Language& l = GetParam();
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(monthTableName(m, l.column), l.months[m - 1]) << m;
    // The short rows repeat the full names outside the English column.
    if (l.column != 0) {
      EXPECT_EQ(monthTableName(12 + m, l.column), l.months[m - 1]) << m;
    }
  }
  for (int d = 0; d < 7; ++d) EXPECT_EQ(monthTableName(kFirstDayRow + d, l.column), l.days[d]);
}

// The first month of a name in table order; some prefixes are shared.
int expectedMonthFor(const std::string& loweredToken, bool prefix) {
  for (const Language& l : kLanguages)
    for (int m = 1; m <= 12; ++m) {
      const std::string name = utf8::lower(l.months[m - 1]);
      if ((prefix ? firstThree(name) : name) == loweredToken) return m;
    }
  return 0;
}

TEST_P(MonthNamesByLanguage, EveryMonthIsRecognisedWholeAndByItsFirstThreeCharacters) {
  const Language& l = GetParam();
  for (int m = 1; m <= 12; ++m) {
    const std::string whole = utf8::lower(l.months[m - 1]);
    const std::string three = firstThree(whole);
    if (utf8::charCount(whole) > 3) {
      EXPECT_EQ(matchMonthToken(whole), expectedMonthFor(whole, false)) << whole;
      EXPECT_EQ(matchMonthToken(whole), m) << whole;
    }
    EXPECT_EQ(matchMonthToken(three), expectedMonthFor(three, true)) << three;
  }
}

TEST_P(MonthNamesByLanguage, UpperCaseAccentedMonthsParseAsDates) {
  const Language& l = GetParam();
  for (int m = 1; m <= 12; ++m) {
    // "5 FÉVRIER 2003": the token is lower-cased by characters before it is compared.
    std::string upper;
    for (size_t pos = 0; pos < std::string_view(l.months[m - 1]).size();) {
      char32_t c = utf8::decode(l.months[m - 1], pos);
      if (c >= 'a' && c <= 'z') c -= 32;
      if (c >= 0xE0 && c <= 0xFE && c != 0xF7) c -= 32;
      utf8::append(upper, c);
    }
    const std::string text = "5-" + upper + "-2003";
    int32_t maxima[3] = {0, 0, 0};
    TimeEntry e;
    const int32_t state = parseDateTimeText(text, 2, maxima, 2000, e);
    ASSERT_GT(state, 0) << text;
    EXPECT_EQ(e.day, 5) << text;
    EXPECT_EQ(e.year, 2003) << text;
    const bool whole = utf8::charCount(l.months[m - 1]) > 3;
    EXPECT_EQ(e.month, expectedMonthFor(utf8::lower(l.months[m - 1]), !whole)) << text;
  }
}

std::string capitalised(std::string_view name, bool whole) {
  std::string out;
  bool first = true;
  for (size_t pos = 0; pos < name.size();) {
    char32_t c = utf8::decode(name, pos);
    if (first || whole) {
      if (c >= 'a' && c <= 'z') c -= 32;
      if (c >= 0xE0 && c <= 0xFE && c != 0xF7) c -= 32;
    }
    first = false;
    utf8::append(out, c);
  }
  return out;
}

TEST_P(MonthNamesByLanguage, CapitalisedMonthsInSpacedDatesAreDates) {
  // Without a '-' or '/' only the month name makes these dates: it must be
  // found in any letter case.
  const Language& l = GetParam();
  for (int m = 1; m <= 12; ++m) {
    const bool whole = utf8::charCount(l.months[m - 1]) > 3;
    const int expected = expectedMonthFor(utf8::lower(l.months[m - 1]), !whole);
    for (const std::string& name : {capitalised(l.months[m - 1], false), capitalised(l.months[m - 1], true)}) {
      for (const std::string& text : {"5 " + name + " 2003", name + " 5, 2003", "5. " + name + " 2003"}) {
        int32_t maxima[3] = {0, 0, 0};
        TimeEntry e;
        ASSERT_GT(parseDateTimeText(text, 1, maxima, 2000, e), 0) << text;
        EXPECT_EQ(e.month, expected) << text;
        EXPECT_EQ(e.day, 5) << text;
        EXPECT_EQ(e.year, 2003) << text;
      }
      const std::string monthYear = name + " 2003";
      int32_t maxima[3] = {0, 0, 0};
      TimeEntry e;
      ASSERT_GT(parseDateTimeText(monthYear, 1, maxima, 2000, e), 0) << monthYear;
      EXPECT_EQ(e.month, expected) << monthYear;
      EXPECT_EQ(e.year, 2003) << monthYear;
    }
  }
}

TEST_P(MonthNamesByLanguage, DayNamesAreSkippedInDates) {
  const Language& l = GetParam();
  for (const char* day : l.days) {
    if (std::string_view(day).find('-') != std::string_view::npos) continue;  // split into two tokens
    const std::string text = std::string(day) + ", 7 may 2003";
    int32_t maxima[3] = {0, 0, 0};
    TimeEntry e;
    ASSERT_GT(parseDateTimeText(text, 1, maxima, 2000, e), 0) << text;
    EXPECT_EQ(e.month, 5) << text;
    EXPECT_EQ(e.day, 7) << text;
    EXPECT_EQ(e.year, 2003) << text;
    EXPECT_TRUE(matchDayToken(utf8::lower(day))) << day;
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, MonthNamesByLanguage, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<Language>& info) { return std::string(info.param.name); });

TEST(MonthNames, EnglishShortNames) {
  const char* expected[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(shortMonthName(m), expected[m - 1]);
  EXPECT_EQ(shortMonthName(0), "");
  EXPECT_EQ(shortMonthName(13), "");
}

TEST(MonthNames, ScanFindsTheFirstThreeCharactersInAnyCase) {
  EXPECT_TRUE(textHasMonthName("summary"));  // "mar"
  EXPECT_TRUE(textHasMonthName("5 février"));
  EXPECT_TRUE(textHasMonthName("le 1er fév."));  // "fév" is three characters of "février"
  EXPECT_TRUE(textHasMonthName("Brezen"));
  EXPECT_TRUE(textHasMonthName("brezen"));
  EXPECT_TRUE(textHasMonthName("Jan"));
  EXPECT_TRUE(textHasMonthName("JANUARY 1, 2000"));
  EXPECT_TRUE(textHasMonthName("5. Dezember 2003"));
  EXPECT_TRUE(textHasMonthName("5 FÉVRIER"));  // beyond ASCII too
  EXPECT_TRUE(textHasMonthName("ÚNOR"));
  EXPECT_FALSE(textHasMonthName("12345"));
  EXPECT_FALSE(textHasMonthName(""));
  EXPECT_FALSE(textHasMonthName("f\xc3"));  // a cut character is no match
}

TEST(MonthNames, TokenMatchingWorksOnCharacters) {
  EXPECT_EQ(matchMonthToken("fév"), 2);
  EXPECT_EQ(matchMonthToken("máj"), 5);
  EXPECT_EQ(matchMonthToken("úno"), 2);
  EXPECT_EQ(matchMonthToken("mar"), 3);
  EXPECT_EQ(matchMonthToken("brezen"), 3);  // the capitalised spelling still matches
  EXPECT_EQ(matchMonthToken("cer"), 6);     // "cerven" comes before "cervenec"
  EXPECT_EQ(matchMonthToken("cervenec"), 7);
  EXPECT_EQ(matchMonthToken("ma"), 0);
  EXPECT_EQ(matchMonthToken("xyz"), 0);
  EXPECT_TRUE(matchDayToken("mon"));
  EXPECT_TRUE(matchDayToken("lun"));
  EXPECT_FALSE(matchDayToken("xyz"));
  EXPECT_FALSE(matchDayToken("mo"));
}

}  // namespace
}  // namespace vlm
