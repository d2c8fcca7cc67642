#include "platform/database/server_login.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace vlm::platform::db {
namespace {

bool startsNoCase(std::string_view text, std::string_view head) {
  return text.size() >= head.size() && std::equal(head.begin(), head.end(), text.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

bool equalNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && startsNoCase(a, b); }

std::string_view trim(std::string_view t) {
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.front()))) t.remove_prefix(1);
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back()))) t.remove_suffix(1);
  return t;
}

constexpr std::string_view kOdbcHead = "odbc:";

std::string_view uriBody(std::string_view uri) {
  for (std::string_view scheme : {std::string_view("postgresql://"), std::string_view("postgres://")})
    if (startsNoCase(uri, scheme)) return uri.substr(scheme.size());
  return {};
}

// "KEY=value" pairs of an ODBC string; a value in braces may hold ';'.
struct Pair {
  std::string key, value;
  bool braced = false;
};

std::vector<Pair> odbcPairs(std::string_view s) {
  std::vector<Pair> out;
  size_t i = 0;
  while (i < s.size()) {
    const size_t eq = s.find('=', i);
    const size_t semi = s.find(';', i);
    if (eq == std::string_view::npos || (semi != std::string_view::npos && semi < eq)) {
      if (semi == std::string_view::npos) break;
      i = semi + 1;
      continue;
    }
    Pair p;
    p.key = std::string(trim(s.substr(i, eq - i)));
    size_t j = eq + 1;
    if (j < s.size() && s[j] == '{') {
      p.braced = true;
      ++j;
      // "}}" inside braces stands for one '}'.
      while (j < s.size()) {
        if (s[j] == '}') {
          if (j + 1 < s.size() && s[j + 1] == '}') {
            p.value.push_back('}');
            j += 2;
            continue;
          }
          ++j;
          break;
        }
        p.value.push_back(s[j++]);
      }
      const size_t end = s.find(';', j);
      i = end == std::string_view::npos ? s.size() : end + 1;
    } else {
      const size_t end = s.find(';', j);
      p.value = std::string(trim(s.substr(j, end == std::string_view::npos ? std::string_view::npos : end - j)));
      i = end == std::string_view::npos ? s.size() : end + 1;
    }
    if (!p.key.empty()) out.push_back(std::move(p));
  }
  return out;
}

std::string odbcJoin(const std::vector<Pair>& pairs) {
  std::string out;
  for (const Pair& p : pairs) {
    if (!out.empty()) out.push_back(';');
    const bool brace = p.braced || p.value.find_first_of(";{}") != std::string::npos ||
                       (!p.value.empty() && (std::isspace(static_cast<unsigned char>(p.value.front())) ||
                                             std::isspace(static_cast<unsigned char>(p.value.back()))));
    out += p.key + "=";
    if (!brace) {
      out += p.value;
      continue;
    }
    out.push_back('{');
    for (char c : p.value) {
      if (c == '}') out.push_back('}');
      out.push_back(c);
    }
    out.push_back('}');
  }
  return out;
}

bool isPasswordKey(std::string_view key) { return equalNoCase(key, "PWD") || equalNoCase(key, "PASSWORD"); }

}  // namespace

ServerKind serverKindOf(std::string_view source) {
  if (!uriBody(source).data()) {
    if (startsNoCase(source, kOdbcHead)) return ServerKind::Odbc;
    return ServerKind::None;
  }
  return ServerKind::Postgres;
}

std::string percentEncode(std::string_view text) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(hex[c >> 4]);
      out.push_back(hex[c & 15]);
    }
  }
  return out;
}

std::string percentDecode(std::string_view text) {
  std::string out;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && digit(text[i + 1]) >= 0 && digit(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(digit(text[i + 1]) * 16 + digit(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

ServerLogin splitPassword(std::string_view source) {
  ServerLogin out;
  switch (serverKindOf(source)) {
    case ServerKind::None:
      out.connection = std::string(source);
      return out;
    case ServerKind::Odbc: {
      std::vector<Pair> pairs = odbcPairs(source.substr(kOdbcHead.size()));
      std::vector<Pair> kept;
      for (Pair& p : pairs) {
        if (isPasswordKey(p.key)) out.password = p.value;
        else kept.push_back(std::move(p));
      }
      out.connection = std::string(kOdbcHead) + odbcJoin(kept);
      return out;
    }
    case ServerKind::Postgres: break;
  }
  const std::string_view body = uriBody(source);
  const std::string_view scheme = source.substr(0, source.size() - body.size());
  const size_t queryAt = body.find('?');
  const std::string_view beforeQuery = body.substr(0, queryAt);
  const size_t pathAt = beforeQuery.find('/');
  std::string_view authority = beforeQuery.substr(0, pathAt);
  const std::string_view path = pathAt == std::string_view::npos ? std::string_view() : beforeQuery.substr(pathAt);
  std::string rebuilt(scheme);
  const size_t at = authority.rfind('@');
  if (at != std::string_view::npos) {
    const std::string_view user = authority.substr(0, at);
    const size_t colon = user.find(':');
    if (colon != std::string_view::npos) out.password = percentDecode(user.substr(colon + 1));
    rebuilt += std::string(user.substr(0, colon)) + "@";
    authority.remove_prefix(at + 1);
  }
  rebuilt += std::string(authority) + std::string(path);
  if (queryAt != std::string_view::npos) {
    std::string_view query = body.substr(queryAt + 1);
    std::string kept;
    while (!query.empty()) {
      const size_t amp = query.find('&');
      const std::string_view part = query.substr(0, amp);
      const size_t eq = part.find('=');
      if (equalNoCase(part.substr(0, eq), "password")) {
        if (eq != std::string_view::npos) out.password = percentDecode(part.substr(eq + 1));
      } else if (!part.empty()) {
        if (!kept.empty()) kept.push_back('&');
        kept += std::string(part);
      }
      if (amp == std::string_view::npos) break;
      query.remove_prefix(amp + 1);
    }
    if (!kept.empty()) rebuilt += "?" + kept;
  }
  out.connection = std::move(rebuilt);
  return out;
}

bool odbcValue(std::string_view connection, std::string_view key, std::string& value) {
  if (startsNoCase(connection, kOdbcHead)) connection.remove_prefix(kOdbcHead.size());
  for (const Pair& p : odbcPairs(connection)) {
    if (!equalNoCase(p.key, key)) continue;
    value = p.value;
    return true;
  }
  return false;
}

std::string serverSourceName(std::string_view connection) {
  switch (serverKindOf(connection)) {
    case ServerKind::None: return {};
    case ServerKind::Odbc: {
      std::string value;
      if (odbcValue(connection, "DATABASE", value) && !value.empty()) {
        const size_t slash = value.find_last_of("/\\");
        return slash == std::string::npos ? value : value.substr(slash + 1);
      }
      if (odbcValue(connection, "DSN", value)) return value;
      return {};
    }
    case ServerKind::Postgres: break;
  }
  std::string_view body = uriBody(connection);
  body = body.substr(0, body.find('?'));
  const size_t slash = body.find('/');
  if (slash == std::string_view::npos) return {};
  return percentDecode(body.substr(slash + 1));
}

std::string postgresUri(const std::string& user, const std::string& password, const std::string& host,
                        const std::string& port, const std::string& database) {
  std::string out = "postgresql://";
  if (!user.empty()) {
    out += percentEncode(user);
    if (!password.empty()) out += ":" + percentEncode(password);
    out += "@";
  }
  out += percentEncode(host);
  if (!port.empty()) out += ":" + percentEncode(port);
  if (!database.empty()) out += "/" + percentEncode(database);
  return out;
}

std::string odbcConnection(const std::string& source, const std::string& user, const std::string& password) {
  std::vector<Pair> pairs;
  if (source.find('=') != std::string::npos) pairs = odbcPairs(source);
  else if (!source.empty()) pairs.push_back({"DSN", source, false});
  auto set = [&](const char* key, const std::string& value) {
    if (value.empty()) return;
    for (Pair& p : pairs)
      if (equalNoCase(p.key, key)) {
        p.value = value;
        return;
      }
    pairs.push_back({key, value, false});
  };
  set("UID", user);
  set("PWD", password);
  return std::string(kOdbcHead) + odbcJoin(pairs);
}

}  // namespace vlm::platform::db
