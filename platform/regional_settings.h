#pragma once
// The user's regional settings, read once at engine start. Tests build their
// own values to exercise every separator and date order.

namespace vlm::platform {

struct RegionalSettings {
  char decimalSeparator = '.';   // locale decimal symbol, else monetary one, else '.'
  bool decimalSeparatorKnown = false;
  int dateOrder = 0;             // 0 month-day-year, 1 day-month-year, 2 year-month-day
  char dateSeparator = '-';
  char timeSeparator = ':';
  int centuryBase = 2000;        // current year rounded down to a whole hundred
};

// Reads the settings of the user's default locale (LC_ALL / LANG through Qt).
RegionalSettings readRegionalSettings();

}  // namespace vlm::platform
