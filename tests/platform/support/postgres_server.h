#pragma once
// A throw-away PostgreSQL cluster for the tests that need a real server:
// initdb and pg_ctl from the installed server package, a data folder in a
// temporary folder, listening on a Unix socket there (and, for the
// benchmarks, on a loopback port). The server refuses to run as root, so a
// test run as root starts it as the "postgres" user.
#include <string>

namespace vlm::test {

class PostgresServer {
 public:
  // The server of this test program, started on first use and stopped when
  // the program ends. Null, with `why` saying what is missing, when no server
  // can be started here (the tests then skip). `loopback` (as the first call
  // says) also has it listen on a free TCP port of 127.0.0.1, and uri() and
  // psql() reach it there, as a client reaches a server over a network.
  static PostgresServer* shared(std::string& why, bool loopback = false);

  ~PostgresServer();

  // A connection URI for `user` (the cluster's superuser "tester" unless
  // told otherwise) to database "velmora".
  std::string uri(const std::string& user = "tester") const;
  // The socket folder and port, for URIs built by hand.
  const std::string& socketFolder() const { return folder_; }
  int port() const { return port_; }
  // The psql command line that reaches the database as the superuser.
  std::string psql() const;

  // Runs SQL through psql as the superuser; returns psql's messages on
  // failure, empty on success.
  std::string sql(const std::string& statements) const;

  // The role "guarded", the one that signs in with a password, made when
  // missing, given `password` and leave to read the tables of "public".
  std::string guardedRole(const std::string& password) const;

  // Stops the server at once (as a crash or an administrator would), and
  // starts it again.
  bool stop();
  bool start();

 private:
  PostgresServer() = default;
  std::string run(const std::string& command) const;
  std::string bin_, folder_, asUser_;
  int port_ = 5432;
  bool loopback_ = false;
  bool running_ = false;
};

}  // namespace vlm::test
