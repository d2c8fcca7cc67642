#include "common/access_files.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace vlm::test {
namespace {

constexpr size_t kPage = 4096;
constexpr size_t kRowCountAt = 12;      // data pages: the row count, then each row's offset
constexpr size_t kColumnsAt = 63;       // table definitions: the first column entry
constexpr size_t kColumnEntry = 25;
constexpr size_t kMapBits = 64;         // bytes of page bits in a usage map
constexpr uint32_t kSystemFlags = 0x80000002u;

using Bytes = std::string;

void put16(Bytes& b, size_t at, uint32_t v) {
  b[at] = static_cast<char>(v & 0xff);
  b[at + 1] = static_cast<char>((v >> 8) & 0xff);
}
void put32(Bytes& b, size_t at, uint32_t v) {
  put16(b, at, v & 0xffff);
  put16(b, at + 2, v >> 16);
}
void append16(Bytes& b, uint32_t v) {
  b.append(2, '\0');
  put16(b, b.size() - 2, v);
}
void appendRaw(Bytes& b, const void* p, size_t n) { b.append(static_cast<const char*>(p), n); }

// UTF-8 to UTF-16 little-endian, the way Jet 4 stores texts (uncompressed).
Bytes ucs2(const std::string& text) {
  Bytes out;
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    uint32_t cp = c;
    size_t n = 1;
    if (c >= 0xf0) cp = c & 0x07, n = 4;
    else if (c >= 0xe0) cp = c & 0x0f, n = 3;
    else if (c >= 0xc0) cp = c & 0x1f, n = 2;
    for (size_t k = 1; k < n && i + k < text.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3f);
    i += n;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      append16(out, 0xd800 + (cp >> 10));
      append16(out, 0xdc00 + (cp & 0x3ff));
    } else {
      append16(out, cp);
    }
  }
  return out;
}

int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

// A date as Access keeps it: days since 1899-12-30, the time of day as the fraction.
double accessDate(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s);
  const int64_t days = daysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) - daysFromCivil(1899, 12, 30);
  return static_cast<double>(days) + (h * 3600 + mi * 60 + s) / 86400.0;
}

// "12.34" as currency: a 64-bit count of ten-thousandths.
int64_t currencyUnits(const std::string& text) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::string digits = negative ? text.substr(1) : text;
  const size_t dot = digits.find('.');
  std::string whole = digits.substr(0, dot), fraction = dot == std::string::npos ? "" : digits.substr(dot + 1);
  fraction.resize(4, '0');
  const int64_t units = std::strtoll(whole.c_str(), nullptr, 10) * 10000 + std::strtoll(fraction.c_str(), nullptr, 10);
  return negative ? -units : units;
}

bool isFixed(JetType t) { return t != JetType::Text && t != JetType::Memo && t != JetType::Ole; }

uint16_t fixedSize(JetType t) {
  switch (t) {
    case JetType::Byte: return 1;
    case JetType::Integer: return 2;
    case JetType::LongInteger:
    case JetType::Single: return 4;
    case JetType::Currency:
    case JetType::Double:
    case JetType::DateTime: return 8;
    default: return 0;  // booleans live in the null mask
  }
}

// The bytes of a fixed-length value.
Bytes fixedBytes(JetType t, const std::string& v) {
  Bytes b;
  switch (t) {
    case JetType::Byte: b.push_back(static_cast<char>(std::strtol(v.c_str(), nullptr, 10))); break;
    case JetType::Integer: append16(b, static_cast<uint32_t>(std::strtol(v.c_str(), nullptr, 10)) & 0xffff); break;
    case JetType::LongInteger: {
      b.append(4, '\0');
      put32(b, 0, static_cast<uint32_t>(std::strtoll(v.c_str(), nullptr, 10)));
      break;
    }
    case JetType::Single: {
      const float f = std::strtof(v.c_str(), nullptr);
      appendRaw(b, &f, 4);
      break;
    }
    case JetType::Double: {
      const double d = std::strtod(v.c_str(), nullptr);
      appendRaw(b, &d, 8);
      break;
    }
    case JetType::DateTime: {
      const double d = accessDate(v);
      appendRaw(b, &d, 8);
      break;
    }
    case JetType::Currency: {
      const int64_t units = currencyUnits(v);
      appendRaw(b, &units, 8);
      break;
    }
    default: break;
  }
  return b;
}

// A long value kept inside its row: its length with the "inline" bit, no
// page pointer, then the bytes.
Bytes longValueBytes(const Bytes& value) {
  Bytes b(12, '\0');
  put32(b, 0, static_cast<uint32_t>(value.size()) | 0x80000000u);
  return b + value;
}

bool isTrue(const JetValue& v) { return v && (*v == "1" || *v == "true" || *v == "True" || *v == "-1"); }

// One row in the Jet 4 layout: column count, fixed values, variable values,
// their end, the variable offsets last to first, their count, the null mask.
Bytes rowBytes(const JetTable& table, const std::vector<JetValue>& values) {
  const size_t n = table.columns.size();
  Bytes row;
  append16(row, static_cast<uint32_t>(n));
  std::vector<bool> present(n);
  for (size_t c = 0; c < n; ++c) {
    const JetType t = table.columns[c].type;
    const JetValue v = c < values.size() ? values[c] : JetValue{};
    present[c] = t == JetType::Boolean ? isTrue(v) : v.has_value();
    if (!isFixed(t) || t == JetType::Boolean) continue;
    row += v ? fixedBytes(t, *v) : Bytes(fixedSize(t), '\0');
  }
  std::vector<uint32_t> offsets;
  for (size_t c = 0; c < n; ++c) {
    const JetType t = table.columns[c].type;
    if (isFixed(t)) continue;
    offsets.push_back(static_cast<uint32_t>(row.size()));
    const JetValue v = c < values.size() ? values[c] : JetValue{};
    if (v) row += t == JetType::Memo ? longValueBytes(ucs2(*v)) : t == JetType::Ole ? longValueBytes(*v) : ucs2(*v);
  }
  if (!offsets.empty()) {
    append16(row, static_cast<uint32_t>(row.size()));  // end of the variable values
    for (auto it = offsets.rbegin(); it != offsets.rend(); ++it) append16(row, *it);
    append16(row, static_cast<uint32_t>(offsets.size()));
  }
  Bytes mask((n + 7) / 8, '\0');
  for (size_t c = 0; c < n; ++c)
    if (present[c]) mask[c / 8] = static_cast<char>(mask[c / 8] | (1 << (c % 8)));
  return row + mask;
}

// Rows packed into data pages from the end of each page down, the offsets
// after the header; the owning table's page is filled in later.
std::vector<Bytes> dataPages(const std::vector<Bytes>& rows) {
  std::vector<Bytes> pages;
  Bytes page;
  size_t count = 0, low = kPage;
  auto startPage = [&] {
    page.assign(kPage, '\0');
    page[0] = 0x01;
    page[1] = 0x01;
    count = 0;
    low = kPage;
  };
  auto finishPage = [&] {
    put16(page, kRowCountAt, static_cast<uint32_t>(count));
    put16(page, 2, static_cast<uint32_t>(low - (kRowCountAt + 2 + 2 * count)));  // free space
    pages.push_back(page);
  };
  startPage();
  for (const Bytes& row : rows) {
    if (low - row.size() < kRowCountAt + 2 + 2 * (count + 1)) {
      finishPage();
      startPage();
    }
    low -= row.size();
    page.replace(low, row.size(), row);
    put16(page, kRowCountAt + 2 + 2 * count, static_cast<uint32_t>(low));
    ++count;
  }
  finishPage();
  return pages;
}

// A table definition page.
Bytes definitionPage(const JetTable& table, bool system, uint32_t usedMap, uint32_t freeMap) {
  Bytes p(kPage, '\0');
  p[0] = 0x02;
  p[1] = 0x01;
  uint16_t varCount = 0;
  for (const JetColumn& c : table.columns) varCount = static_cast<uint16_t>(varCount + !isFixed(c.type));
  put32(p, 16, static_cast<uint32_t>(table.rows.size()));
  p[40] = system ? 0x53 : 0x4e;
  put16(p, 41, static_cast<uint32_t>(table.columns.size()));  // most columns a row has
  put16(p, 43, varCount);
  put16(p, 45, static_cast<uint32_t>(table.columns.size()));
  put32(p, 47, 0);  // indexes
  put32(p, 51, 0);
  put32(p, 55, usedMap);
  put32(p, 59, freeMap);
  size_t at = kColumnsAt;
  uint16_t fixedOffset = 0, varIndex = 0;
  for (size_t i = 0; i < table.columns.size(); ++i) {
    const JetType t = table.columns[i].type;
    p[at] = static_cast<char>(t);
    put16(p, at + 5, static_cast<uint32_t>(i));
    put16(p, at + 7, isFixed(t) ? 0 : varIndex);
    put16(p, at + 9, static_cast<uint32_t>(i));
    if (t == JetType::Text || t == JetType::Memo) put16(p, at + 11, 0x409);  // general sort order
    p[at + 15] = static_cast<char>((isFixed(t) ? 0x01 : 0x00) | 0x02);       // fixed, may be null
    put16(p, at + 21, isFixed(t) ? fixedOffset : 0);
    put16(p, at + 23, t == JetType::Text ? 510 : fixedSize(t));
    if (isFixed(t)) fixedOffset = static_cast<uint16_t>(fixedOffset + fixedSize(t));
    else ++varIndex;
    at += kColumnEntry;
  }
  for (const JetColumn& c : table.columns) {
    const Bytes name = ucs2(c.name);
    if (at + 2 + name.size() > kPage) return {};
    put16(p, at, static_cast<uint32_t>(name.size()));
    p.replace(at + 2, name.size(), name);
    at += 2 + name.size();
  }
  if (at + 2 > kPage) return {};
  put16(p, at, 0xffff);  // no variable columns with pages of their own
  at += 2;
  put32(p, 8, static_cast<uint32_t>(at - 8));  // length of the definition
  put16(p, 2, static_cast<uint32_t>(kPage - at - 8));
  return p;
}

// A usage map kept in a row: type 0 (the bits are in the row), first page 0.
Bytes usageMap(const std::vector<uint32_t>& pages) {
  Bytes map(5 + kMapBits, '\0');
  for (uint32_t pg : pages)
    if (pg / 8 < kMapBits) map[5 + pg / 8] = static_cast<char>(map[5 + pg / 8] | (1 << (pg % 8)));
  return map;
}

// RC4, which hides part of the header page.
void rc4(const unsigned char* key, size_t keyLength, unsigned char* data, size_t length) {
  unsigned char s[256];
  for (int i = 0; i < 256; ++i) s[i] = static_cast<unsigned char>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + s[i] + key[static_cast<size_t>(i) % keyLength]) & 0xff;
    std::swap(s[i], s[j]);
  }
  for (size_t k = 0, i = 0, j = 0; k < length; ++k) {
    i = (i + 1) & 0xff;
    j = (j + s[i]) & 0xff;
    std::swap(s[i], s[j]);
    data[k] ^= s[(s[i] + s[j]) & 0xff];
  }
}

Bytes headerPage(bool ace) {
  Bytes p(kPage, '\0');
  p[1] = 0x01;
  std::memcpy(&p[4], ace ? "Standard ACE DB" : "Standard Jet DB", 15);
  p[0x14] = ace ? 0x02 : 0x01;  // Access 2007, or Jet 4
  // The 128 bytes from 0x18 are stored through RC4 with a fixed key; in
  // them: the code page, a database key of 0 (not encrypted), the sort order.
  put16(p, 0x3c, 1252);
  put16(p, 0x6e, 0x409);
  const unsigned char key[4] = {0xc7, 0xda, 0x39, 0x6b};
  rc4(key, 4, reinterpret_cast<unsigned char*>(&p[0x18]), 128);
  return p;
}

}  // namespace

std::string jetDatabaseBytes(const JetDatabase& database) {
  // Pages: 0 header, 1 usage maps, 2 the catalogue's definition, 3 its rows,
  // then each table's definition followed by its data pages.
  std::vector<std::vector<Bytes>> tablePages;
  std::vector<uint32_t> definitionAt;
  uint32_t next = 4;
  for (const JetTable& t : database.tables) {
    std::vector<Bytes> rows;
    for (const auto& values : t.rows) {
      rows.push_back(rowBytes(t, values));
      if (rows.back().size() + kRowCountAt + 4 > kPage) return {};
    }
    tablePages.push_back(dataPages(rows));
    definitionAt.push_back(next);
    next += 1 + static_cast<uint32_t>(tablePages.back().size());
  }
  if (next > kMapBits * 8) return {};

  JetTable catalogue{"MSysObjects",
                     {{"Id", JetType::LongInteger},
                      {"ParentId", JetType::LongInteger},
                      {"Name", JetType::Text},
                      {"Type", JetType::Integer},
                      {"DateCreate", JetType::DateTime},
                      {"Flags", JetType::LongInteger},
                      {"LvProp", JetType::Memo}},
                     {}};
  const JetValue created = std::string("2024-01-02 03:04:05");
  auto entry = [&](uint32_t id, const std::string& name, int type, uint32_t flags) {
    catalogue.rows.push_back({std::to_string(static_cast<int32_t>(id)), std::string("0"), name, std::to_string(type),
                              created, std::to_string(static_cast<int32_t>(flags)), JetValue{}});
  };
  entry(2, "MSysObjects", 1, kSystemFlags);
  for (size_t i = 0; i < database.tables.size(); ++i) entry(definitionAt[i], database.tables[i].name, 1, 0);
  for (size_t i = 0; i < database.queries.size(); ++i)
    entry(0x0f000000u + static_cast<uint32_t>(i), database.queries[i], 5, 0);  // queries have no pages here
  std::vector<Bytes> catalogueRows;
  for (const auto& values : catalogue.rows) catalogueRows.push_back(rowBytes(catalogue, values));
  const std::vector<Bytes> cataloguePages = dataPages(catalogueRows);
  if (cataloguePages.size() != 1) return {};

  // The usage maps, two rows per table (its pages, its pages with room).
  std::vector<Bytes> mapRows{usageMap({3}), usageMap({})};
  for (size_t i = 0; i < database.tables.size(); ++i) {
    std::vector<uint32_t> pages;
    for (uint32_t k = 0; k < tablePages[i].size(); ++k) pages.push_back(definitionAt[i] + 1 + k);
    mapRows.push_back(usageMap(pages));
    mapRows.push_back(usageMap({}));
  }
  const std::vector<Bytes> mapPages = dataPages(mapRows);
  if (mapPages.size() != 1) return {};

  Bytes file = headerPage(database.ace) + mapPages[0];
  const Bytes catalogueDefinition = definitionPage(catalogue, true, 0x100, 0x101);
  if (catalogueDefinition.empty()) return {};
  Bytes catalogueData = cataloguePages[0];
  put32(catalogueData, 4, 2);
  file += catalogueDefinition + catalogueData;
  for (size_t i = 0; i < database.tables.size(); ++i) {
    const uint32_t row = 2 + 2 * static_cast<uint32_t>(i);
    const Bytes definition = definitionPage(database.tables[i], false, 0x100 | row, 0x100 | (row + 1));
    if (definition.empty()) return {};
    file += definition;
    for (Bytes page : tablePages[i]) {
      put32(page, 4, definitionAt[i]);
      file += page;
    }
  }
  return file;
}

bool writeJetDatabase(const std::string& path, const JetDatabase& database) {
  const std::string bytes = jetDatabaseBytes(database);
  if (bytes.empty()) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

JetDatabase sampleJetDatabase() {
  JetDatabase db;
  JetTable orders{"Orders",
                  {{"Order Id", JetType::LongInteger},
                   {"Customer", JetType::Text},
                   {"Amount", JetType::Double},
                   {"Ordered", JetType::DateTime},
                   {"Paid", JetType::Boolean},
                   {"Quantity", JetType::Integer},
                   {"Price", JetType::Currency},
                   {"Rating", JetType::Byte},
                   {"Weight", JetType::Single},
                   {"Notes", JetType::Memo}},
                  {}};
  orders.rows = {
      {"1", "Ann", "12.5", "2003-12-01 00:00:00", "1", "3", "4.1900", "5", "0.5", "first order"},
      {"2", "Bob Smith", "0.1", "1999-01-31 12:30:15", "0", "-7", "1234567.8901", "0", "2.25", JetValue{}},
      {"3", JetValue{}, JetValue{}, JetValue{}, "0", JetValue{}, JetValue{}, JetValue{}, JetValue{}, JetValue{}},
      {"-2147483648", "Zoë", "-1e+300", "2024-02-29 23:59:59", "1", "32767", "-0.0001", "255", "-1.5", "naïve café"},
      {"2147483647", "Chloé O'Hara", "0.30000000000000004", "1900-03-01 06:00:00", "1", "-32768", "0", "128", "0.1",
       "line one"},
  };
  JetTable reps{"Sales Reps", {{"Name", JetType::Text}, {"Region", JetType::Text}, {"Sales", JetType::Double}}, {}};
  reps.rows = {{"Ann", "North", "1500.75"}, {"Bob", "South", "98.5"}, {"Cyd", JetValue{}, "0"}};
  db.tables = {orders, reps};
  db.queries = {"Big Orders"};
  return db;
}

}  // namespace vlm::test
