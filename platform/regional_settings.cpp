#include "platform/regional_settings.h"

#include <QDate>
#include <QLocale>
#include <QString>

namespace vlm::platform {
namespace {

char firstSingleByte(const QString& text, char fallback) {
  for (QChar c : text) {
    if (c.unicode() > 0 && c.unicode() < 0x80) return static_cast<char>(c.unicode());
  }
  return fallback;
}

// Finds the order of d, M and y in the short date format.
int dateOrderOf(const QString& format) {
  const int d = format.indexOf(QLatin1Char('d'));
  const int m = format.indexOf(QLatin1Char('M'));
  const int y = format.indexOf(QLatin1Char('y'));
  if (d < 0 || m < 0 || y < 0) return 0;
  if (y < m && y < d) return 2;
  if (d < m) return 1;
  return 0;
}

char dateSeparatorOf(const QString& format) {
  for (QChar c : format) {
    if (!c.isLetter() && c.unicode() < 0x80 && c != QLatin1Char(' ')) return static_cast<char>(c.unicode());
  }
  return '-';
}

char timeSeparatorOf(const QString& format) {
  const int h = format.indexOf(QLatin1Char('h'), 0, Qt::CaseInsensitive);
  for (int i = h < 0 ? 0 : h; i < format.size(); ++i) {
    QChar c = format[i];
    if (!c.isLetter() && c.unicode() < 0x80 && c != QLatin1Char(' ')) return static_cast<char>(c.unicode());
  }
  return ':';
}

}  // namespace

RegionalSettings readRegionalSettings() {
  RegionalSettings s;
  const QLocale locale = QLocale::system();
  const QString decimal = locale.decimalPoint();
  if (!decimal.isEmpty()) {
    s.decimalSeparator = firstSingleByte(decimal, '.');
    s.decimalSeparatorKnown = true;
  }
  const QString dateFormat = locale.dateFormat(QLocale::ShortFormat);
  s.dateOrder = dateOrderOf(dateFormat);
  s.dateSeparator = dateSeparatorOf(dateFormat);
  s.timeSeparator = timeSeparatorOf(locale.timeFormat(QLocale::ShortFormat));
  s.centuryBase = QDate::currentDate().year() / 100 * 100;
  return s;
}

}  // namespace vlm::platform
