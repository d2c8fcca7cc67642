#include "data/month_names.h"

#include <array>
#include <string>
#include <vector>

#include "data/utf8.h"

namespace vlm {
namespace {

constexpr const char* kNames[kNameRows][kNameLanguages] = {
    {"january", "január", "leden", "januar", "janvier", "gennaio", "januari", "januar", "tammikuu", "januar", "januari", "enero", "janeiro", "január", "styczen"},
    {"february", "február", "únor", "februar", "février", "febbraio", "februari", "februar", "helmikuu", "februar", "februari", "febrero", "fevereiro", "február", "luty"},
    {"march", "marec", "Brezen", "märz", "mars", "marzo", "mars", "mars", "maaliskuu", "marts", "maart", "marzo", "março", "március", "marzec"},
    {"april", "apríl", "duben", "april", "avril", "aprile", "april", "april", "huhtikuu", "april", "april", "abril", "abril", "április", "kwiecien"},
    {"may", "máj", "kveten", "mai", "mai", "maggio", "maj", "maj", "toukokuu", "maj", "mei", "mayo", "maio", "május", "maj"},
    {"june", "jún", "cerven", "juni", "juin", "giugno", "juni", "juni", "kesäkuu", "juni", "juni", "junio", "junho", "június", "czerwiec"},
    {"july", "júl", "cervenec", "juli", "juillet", "luglio", "juli", "juli", "heinäkuu", "juli", "juli", "julio", "julho", "július", "lipiec"},
    {"august", "august", "srpen", "august", "aout", "agosto", "augusti", "august", "elokuu", "august", "augustus", "agosto", "agosto", "augusztus", "sierpien"},
    {"september", "september", "zárí", "september", "septembre", "settembre", "september", "september", "syyskuu", "september", "september", "septiembre", "setembro", "szeptember", "wrzesien"},
    {"october", "október", "ríjen", "oktober", "octobre", "ottobre", "oktober", "oktober", "lokakuu", "oktober", "oktober", "octubre", "outubro", "október", "pazdziernik"},
    {"november", "november", "listopad", "november", "novembre", "novembre", "november", "november", "marraskuu", "november", "november", "noviembre", "novembro", "november", "listopad"},
    {"december", "december", "prosinec", "dezember", "décembre", "dicembre", "december", "desember", "joulukuu", "december", "december", "diciembre", "dezembro", "december", "grudzien"},
    {"Jan", "január", "leden", "januar", "janvier", "gennaio", "januari", "januar", "tammikuu", "januar", "januari", "enero", "janeiro", "január", "styczen"},
    {"Feb", "február", "únor", "februar", "février", "febbraio", "februari", "februar", "helmikuu", "februar", "februari", "febrero", "fevereiro", "február", "luty"},
    {"Mar", "marec", "Brezen", "märz", "mars", "marzo", "mars", "mars", "maaliskuu", "marts", "maart", "marzo", "março", "március", "marzec"},
    {"Apr", "apríl", "duben", "april", "avril", "aprile", "april", "april", "huhtikuu", "april", "april", "abril", "abril", "április", "kwiecien"},
    {"May", "máj", "kveten", "mai", "mai", "maggio", "maj", "maj", "toukokuu", "maj", "mei", "mayo", "maio", "május", "maj"},
    {"Jun", "jún", "cerven", "juni", "juin", "giugno", "juni", "juni", "kesäkuu", "juni", "juni", "junio", "junho", "június", "czerwiec"},
    {"Jul", "júl", "cervenec", "juli", "juillet", "luglio", "juli", "juli", "heinäkuu", "juli", "juli", "julio", "julho", "július", "lipiec"},
    {"Aug", "august", "srpen", "august", "aout", "agosto", "augusti", "august", "elokuu", "august", "augustus", "agosto", "agosto", "augusztus", "sierpien"},
    {"Sep", "september", "zárí", "september", "septembre", "settembre", "september", "september", "syyskuu", "september", "september", "septiembre", "setembro", "szeptember", "wrzesien"},
    {"Oct", "október", "ríjen", "oktober", "octobre", "ottobre", "oktober", "oktober", "lokakuu", "oktober", "oktober", "octubre", "outubro", "október", "pazdziernik"},
    {"Nov", "november", "listopad", "november", "novembre", "novembre", "november", "november", "marraskuu", "november", "november", "noviembre", "novembro", "november", "listopad"},
    {"Dec", "december", "prosinec", "dezember", "décembre", "dicembre", "december", "desember", "joulukuu", "december", "december", "diciembre", "dezembro", "december", "grudzien"},
    {"monday", "pondelok", "pondelí", "montag", "lundi", "lunedi", "mandag", "mandag", "maanantai", "mandag", "maandag", "lunes", "segunda-feira", "hétfo", "poniedzialek"},
    {"tuesday", "utorok", "úterý", "dienstag", "mardi", "martedi", "tisdag", "tirsdag", "tiistai", "tirsdag", "dinsdag", "martes", "terça-feira", "kedd", "wtorek"},
    {"wednesday", "streda", "streda", "mittwoch", "mercredi", "mercoledi", "onsdag", "onsdag", "keskiviikko", "onsdag", "woensdag", "miércoles", "quarta-feira", "szerda", "sroda"},
    {"thursday", "tvrtok", "ctvrtek", "donnerstag", "jeudi", "giovedi", "torsdag", "torsdag", "torstai", "torsdag", "donderdag", "jueves", "quinta-feira", "csütörtök", "czwartek"},
    {"friday", "piatok", "pátek", "freitag", "vendredi", "venerdi", "fredag", "fredag", "perjantai", "fredag", "vrijdag", "viernes", "sexta-feira", "péntek", "piatek"},
    {"saturday", "sobota", "sobota", "samstag", "samedi", "sabato", "lördag", "lördag", "lauantai", "lördag", "zaterdag", "sábado", "sábado", "szombat", "sobota"},
    {"sunday", "nedela", "nedele", "sonntag", "dimanche", "domenica", "söndag", "söndag", "sunnuntai", "söndag", "zondag", "domingo", "domingo", "vasárnap", "niedziela"},
};

// The first n characters of a name.
std::string_view firstChars(std::string_view name, size_t n) {
  size_t pos = 0;
  for (size_t i = 0; i < n && pos < name.size(); ++i) utf8::decode(name, pos);
  return name.substr(0, pos);
}

struct Name {
  std::string text;
  int month;  // 1..12, or 0 for a day name
};

// Derived forms of the table, built once (thread-safe static initialisation).
struct NameForms {
  std::vector<Name> scanPrefixes;  // rows 1-12, first three characters lower-cased, distinct
  std::array<bool, 256> scanFirstByte{};  // first bytes of the prefixes, in either case
  std::vector<Name> monthPrefixes;  // rows 1-12, lower-cased, language order
  std::vector<Name> monthWhole;
  std::vector<std::string> dayPrefixes;  // first two characters, lower-cased
  std::vector<std::string> dayWhole;

  NameForms() {
    for (int language = 0; language < kNameLanguages; ++language) {
      for (int row = 1; row <= 12; ++row) {
        const std::string_view name = kNames[row - 1][language];
        const std::string lowered = utf8::lower(name);
        const std::string prefix(firstChars(lowered, 3));
        bool known = false;
        for (const Name& p : scanPrefixes) known = known || p.text == prefix;
        if (!known) {
          scanPrefixes.push_back({prefix, row});
          const unsigned char first = static_cast<unsigned char>(prefix[0]);
          scanFirstByte[first] = true;
          if (first >= 'a' && first <= 'z') scanFirstByte[first - 32] = true;
        }
        monthPrefixes.push_back({std::string(firstChars(lowered, 3)), row});
        monthWhole.push_back({lowered, row});
      }
      for (int row = kFirstDayRow; row <= kNameRows; ++row) {
        const std::string lowered = utf8::lower(kNames[row - 1][language]);
        dayPrefixes.emplace_back(firstChars(lowered, 2));
        dayWhole.push_back(lowered);
      }
    }
  }
};

const NameForms& forms() {
  static const NameForms instance;
  return instance;
}

}  // namespace

std::string_view monthTableName(int row, int language) {
  if (row < 1 || row > kNameRows || language < 0 || language >= kNameLanguages) return {};
  return kNames[row - 1][language];
}

std::string_view shortMonthName(int month) {
  if (month < 1 || month > 12) return {};
  return kNames[kFirstShortMonthRow - 1 + month - 1][0];
}

bool textHasMonthName(std::string_view text) {
  const NameForms& f = forms();
  // Names count in any letter case ("Jan", "JANUARY", "Dezember"). ASCII texts
  // fold byte by byte; others are lower-cased whole first.
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  std::string lowered;
  if (!ascii) {
    lowered = utf8::lower(text);
    text = lowered;
  }
  const auto foldedStart = [](std::string_view rest, std::string_view prefix) {
    if (rest.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
      const char c = rest[i];
      if (((c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c) != prefix[i]) return false;
    }
    return true;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    if (!f.scanFirstByte[static_cast<unsigned char>(text[i])]) continue;
    const std::string_view rest = text.substr(i);
    for (const Name& p : f.scanPrefixes)
      if (foldedStart(rest, p.text)) return true;
  }
  return false;
}

int matchMonthToken(std::string_view loweredToken) {
  const size_t chars = utf8::charCount(loweredToken);
  if (chars < 3) return 0;
  const NameForms& f = forms();
  for (const Name& n : chars == 3 ? f.monthPrefixes : f.monthWhole)
    if (n.text == loweredToken) return n.month;
  return 0;
}

bool matchDayToken(std::string_view loweredToken) {
  const size_t chars = utf8::charCount(loweredToken);
  if (chars < 3) return false;
  const NameForms& f = forms();
  if (chars == 3) {
    const std::string_view two = firstChars(loweredToken, 2);
    for (const std::string& p : f.dayPrefixes)
      if (p == two) return true;
    return false;
  }
  for (const std::string& d : f.dayWhole)
    if (d == loweredToken) return true;
  return false;
}

}  // namespace vlm
