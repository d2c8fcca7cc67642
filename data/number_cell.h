#pragma once
// Which cell texts are numbers, and which numbers they are. Both passes of a
// load read numbers through these functions alone, so any loader that types
// and stores cells this way gets the same values.
//
// A cell is a number only when it is one once the cleaning leaves out what
// surrounds the digits: blanks, one sign, a "$" or a currency code of up to
// three letters before or after the number, and a "%" at its end. What stays
// must be digits with separators ('.', ',' or a blank) between them:
//   - grouping separators mark groups of two or three digits, the last group
//     before the decimal point (or the end) of exactly three;
//   - with both '.' and ',' present, the later kind is the decimal point and
//     occurs once, after every grouping separator;
//   - a kind that occurs more than once groups;
//   - one separator followed by exactly three digits may group or be the
//     decimal point: the field's number format class and the regional
//     settings decide (see lonePointIsDecimal).
// So "10:75", "555-1234", "2003/13/45", "1.2345.6" and "(12)" are no numbers,
// while "$1,200", "EUR 100", "12%", "1 234,5" and "-1.234.567" are.
//
// Scientific notation ("1.5e-3", "2E+07", "1,5e3") is a number of its own
// kind: digits with at most one decimal point, 'e' or 'E', an exponent.
#include <cstdint>
#include <string_view>

#include "data/data_table.h"
#include "platform/regional_settings.h"

namespace vlm {

enum class NumberKind : uint8_t {
  None,        // not a number
  Whole,       // no decimal point (a lone separator may still be one)
  Decimal,     // a decimal point the text itself shows
  Scientific,  // mantissa and exponent
};

// A plain number: digits only ("1234"), or digits, a '.' and digits ("12.5")
// where the '.' cannot group (not exactly three digits after it). Such a
// text is the number it shows whatever the field and the regional settings;
// the cells of most tables are such, and are read without the cleaning.
struct PlainNumber {
  bool plain = false;
  size_t point = std::string_view::npos;  // where the '.' is, if any
};
PlainNumber plainNumber(std::string_view text);

// What kind of number the cell text is, if any.
NumberKind numberKind(std::string_view text);

// True for a text that is a number in scientific notation and nothing else.
bool isScientificNumber(std::string_view text);

// Whether a lone separator followed by three digits is the decimal point:
// only when it is the regional decimal separator, and the field's cells did
// not show repeated separators (class 2, grouping). So where '.' is the
// decimal separator "1,200" is 1200 and "1.234" is 1.234, and where ',' is,
// "1.234" is 1234, whatever other cells of the field look like.
bool lonePointIsDecimal(char separator, NumberFormatClass numberClass, const platform::RegionalSettings& regional);

// The value of a number cell of a real field: correctly rounded to float,
// held at the float limits. False when the text is no number.
bool parseRealCell(std::string_view text, NumberFormatClass numberClass, const platform::RegionalSettings& regional,
                   float& value);

// The value of a number cell of an integer field: the whole part of the
// number (a fraction is cut off), held at the int64 limits. Scientific
// notation is no integer. False when the text is no number.
bool parseIntegerCell(std::string_view text, NumberFormatClass numberClass,
                      const platform::RegionalSettings& regional, int64_t& value);

}  // namespace vlm
