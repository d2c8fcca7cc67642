#pragma once
// Month and day names of fifteen languages, held in UTF-8 with the spellings
// of the original single-byte table (some without their accents, "Brezen"
// capitalised). Rows: 1-12 month names, 13-24 short month names (English
// abbreviations in the English column, full names elsewhere), 25-31 day
// names from Monday. Columns: English, Slovak, Czech, German, French,
// Italian, Swedish, Norwegian, Finnish, Danish, Dutch, Spanish, Portuguese,
// Hungarian, Polish.
#include <string_view>

namespace vlm {

constexpr int kNameRows = 31;
constexpr int kNameLanguages = 15;
constexpr int kFirstShortMonthRow = 13;
constexpr int kFirstDayRow = 25;

// The name at a 1-based row and a 0-based language column.
std::string_view monthTableName(int row, int language);

// The English three-letter name of a month 1..12 ("Jan".."Dec"), else empty.
std::string_view shortMonthName(int month);

// True when the first three characters of any month name (rows 1-12, every
// language) occur anywhere in the text, in any letter case.
bool textHasMonthName(std::string_view text);

// For a lower-cased date token: a token of three characters is matched with
// the first three characters of every month name, a longer one with whole
// names; names are compared lower-cased too. Gives the month 1..12 of the
// first match in language order, or 0.
int matchMonthToken(std::string_view loweredToken);

// For a lower-cased date token that is no month: a token of three characters
// is matched by its first two characters with the first two of every day name,
// a longer one with whole day names.
bool matchDayToken(std::string_view loweredToken);

}  // namespace vlm
