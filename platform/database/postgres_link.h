#pragma once
// What the PostgreSQL engine's connections share: the connection and result
// handles, waiting on the socket, cancelling, and the server's messages made
// into one line. Only built with libpq.
#ifdef VLM_HAVE_LIBPQ
#include <libpq-fe.h>

#include <chrono>
#include <string>
#include <string_view>

namespace vlm::platform::db::pg {

using Clock = std::chrono::steady_clock;

struct Conn {
  PGconn* c = nullptr;
  Conn() = default;
  Conn(const Conn&) = delete;
  Conn& operator=(const Conn&) = delete;
  ~Conn() {
    if (c) PQfinish(c);
  }
};

struct Result {
  PGresult* r = nullptr;
  Result() = default;
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  ~Result() { PQclear(r); }
  int rows() const { return r ? PQntuples(r) : 0; }
  std::string_view text(int row, int column) const {
    return std::string_view(PQgetvalue(r, row, column), static_cast<size_t>(PQgetlength(r, row, column)));
  }
  bool null(int row, int column) const { return PQgetisnull(r, row, column) != 0; }
};

// libpq's messages run over several lines with tabs; one line reads better in a box.
std::string oneLine(const char* message);

// Waits until the connection's socket can be read; false when the deadline passed first.
bool waitReadable(PGconn* c, Clock::time_point deadline);

// Asks the server to give up the query in flight.
void cancel(PGconn* c);

// Takes the results of the query in flight until it is done; the last one
// with tuples (or the first error) is kept.
bool finishQuery(PGconn* c, Clock::time_point deadline, Result& out, std::string& error);

// Sends `sql` and waits for its results (a catalogue's patience).
bool run(PGconn* c, const std::string& sql, Result& out, std::string& error);

}  // namespace vlm::platform::db::pg
#endif
