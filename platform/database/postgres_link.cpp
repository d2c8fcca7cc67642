#include "platform/database/postgres_link.h"

#ifdef VLM_HAVE_LIBPQ
#include <poll.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace vlm::platform::db::pg {
namespace {
constexpr auto kCatalogueTime = std::chrono::seconds(10);
}  // namespace

std::string oneLine(const char* message) {
  std::string out;
  bool blank = false;
  for (const char* p = message ? message : ""; *p; ++p) {
    const bool space = std::isspace(static_cast<unsigned char>(*p)) != 0;
    if (space) {
      blank = !out.empty();
      continue;
    }
    if (blank) out.push_back(' ');
    blank = false;
    out.push_back(*p);
  }
  if (!out.empty() && out.back() == '.') out.pop_back();
  if (out.rfind("ERROR: ", 0) == 0) out.erase(0, 7);
  if (out.rfind("FATAL: ", 0) == 0) out.erase(0, 7);
  return out.empty() ? "the server gave no reason" : out;
}

bool waitReadable(PGconn* c, Clock::time_point deadline) {
  const int fd = PQsocket(c);
  if (fd < 0) return false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    const int r = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, 1000)));
    if (r > 0) return true;
    if (r < 0 && errno != EINTR) return true;  // let libpq find out what broke
  }
}

void cancel(PGconn* c) {
  if (PGcancel* k = PQgetCancel(c)) {
    char buffer[256];
    PQcancel(k, buffer, sizeof buffer);
    PQfreeCancel(k);
  }
}

bool finishQuery(PGconn* c, Clock::time_point deadline, Result& out, std::string& error) {
  std::string failure;
  for (;;) {
    while (PQisBusy(c)) {
      if (!waitReadable(c, deadline)) {
        cancel(c);
        error = "the server did not answer in time";
        // Whatever the cancel leaves is drained before the connection is used again.
        while (PGresult* r = PQgetResult(c)) PQclear(r);
        return false;
      }
      if (!PQconsumeInput(c)) {
        error = oneLine(PQerrorMessage(c));
        return false;
      }
    }
    PGresult* r = PQgetResult(c);
    if (!r) break;
    const ExecStatusType s = PQresultStatus(r);
    if ((s == PGRES_FATAL_ERROR || s == PGRES_BAD_RESPONSE) && failure.empty()) failure = oneLine(PQresultErrorMessage(r));
    if (s == PGRES_TUPLES_OK) {
      PQclear(out.r);
      out.r = r;
    } else {
      PQclear(r);
    }
  }
  if (!failure.empty()) {
    error = failure;
    return false;
  }
  return true;
}

bool run(PGconn* c, const std::string& sql, Result& out, std::string& error) {
  if (!PQsendQuery(c, sql.c_str())) {
    error = oneLine(PQerrorMessage(c));
    return false;
  }
  return finishQuery(c, Clock::now() + kCatalogueTime, out, error);
}


}  // namespace vlm::platform::db::pg
#endif
