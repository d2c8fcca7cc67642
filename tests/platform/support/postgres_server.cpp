#include "platform/support/postgres_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace vlm::test {
namespace {

namespace fs = std::filesystem;

// The newest installed server's programs.
std::string serverBin() {
  std::error_code ec;
  std::string best;
  for (const auto& e : fs::directory_iterator("/usr/lib/postgresql", ec)) {
    const fs::path bin = e.path() / "bin";
    if (fs::exists(bin / "initdb", ec) && fs::exists(bin / "pg_ctl", ec) && fs::exists(bin / "psql", ec) &&
        (best.empty() || e.path().filename().string() > fs::path(best).parent_path().filename().string()))
      best = bin.string();
  }
  return best;
}

// A TCP port of 127.0.0.1 that nothing listens on now; 0 when none is found.
int freeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return 0;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof a;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) == 0)
    port = ntohs(a.sin_port);
  ::close(fd);
  return port;
}

}  // namespace

PostgresServer* PostgresServer::shared(std::string& why, bool loopback) {
  static std::unique_ptr<PostgresServer> server;
  static std::string failure;
  static bool tried = false;
  if (tried) {
    why = failure;
    return server.get();
  }
  tried = true;
  auto s = std::unique_ptr<PostgresServer>(new PostgresServer);
  s->bin_ = serverBin();
  if (s->bin_.empty()) {
    failure = why = "no PostgreSQL server programs (initdb, pg_ctl) are installed";
    return nullptr;
  }
  char pattern[] = "/tmp/vlm-pg-XXXXXX";
  if (!mkdtemp(pattern)) {
    failure = why = "no temporary folder for the server";
    return nullptr;
  }
  s->folder_ = pattern;
  if (geteuid() == 0) {
    const passwd* pw = getpwnam("postgres");
    if (!pw || chown(pattern, pw->pw_uid, pw->pw_gid) != 0) {
      failure = why = "running as root, and there is no \"postgres\" user to run the server";
      fs::remove_all(s->folder_);
      return nullptr;
    }
    s->asUser_ = "runuser -u postgres -- ";
  }
  if (loopback) {
    s->port_ = freeLoopbackPort();
    s->loopback_ = s->port_ != 0;
    if (!s->loopback_) {
      failure = why = "no free TCP port on 127.0.0.1 for the server";
      fs::remove_all(s->folder_);
      return nullptr;
    }
  }
  // Each test program has a folder of its own, so the socket's port number
  // may be the same in all of them.
  std::string out = s->run(s->bin_ + "/initdb -D " + s->folder_ +
                           "/data -U tester -A trust -E UTF8 --locale=C --no-sync --no-instructions");
  if (!out.empty()) {
    failure = why = "initdb failed: " + out;
    fs::remove_all(s->folder_);
    return nullptr;
  }
  {
    std::ofstream conf(s->folder_ + "/data/postgresql.conf", std::ios::app);
    conf << "listen_addresses = '" << (s->loopback_ ? "127.0.0.1" : "") << "'\nport = " << s->port_
         << "\nunix_socket_directories = '" << s->folder_
         << "'\nfsync = off\nmax_connections = 40\nshared_buffers = 32MB\n";
    // One role signs in with a password; all others are trusted.
    std::ofstream hba(s->folder_ + "/data/pg_hba.conf", std::ios::trunc);
    hba << "local all guarded scram-sha-256\nlocal all all trust\n"
           "host all guarded 127.0.0.1/32 scram-sha-256\nhost all all 127.0.0.1/32 trust\n";
  }
  if (!s->start()) {
    failure = why = "the test server did not start (see " + s->folder_ + "/log)";
    return nullptr;
  }
  out = s->sql("CREATE DATABASE velmora;");
  if (!out.empty()) {
    failure = why = "the test database cannot be made: " + out;
    return nullptr;
  }
  server = std::move(s);
  return server.get();
}

PostgresServer::~PostgresServer() {
  stop();
  std::error_code ec;
  fs::remove_all(folder_, ec);
}

std::string PostgresServer::run(const std::string& command) const {
  const std::string full = asUser_ + command + " > " + folder_ + "/out.txt 2>&1";
  const int status = std::system(full.c_str());
  if (status == 0) return {};
  std::ifstream in(folder_ + "/out.txt");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return text.empty() ? "exit status " + std::to_string(status) : text;
}

bool PostgresServer::start() {
  if (running_) return true;
  running_ = run(bin_ + "/pg_ctl -D " + folder_ + "/data -l " + folder_ + "/log -w -t 60 start").empty();
  return running_;
}

bool PostgresServer::stop() {
  if (!running_) return true;
  running_ = !run(bin_ + "/pg_ctl -D " + folder_ + "/data -m immediate -w -t 60 stop").empty();
  return !running_;
}

std::string PostgresServer::uri(const std::string& user) const {
  if (loopback_) return "postgresql://" + user + "@127.0.0.1:" + std::to_string(port_) + "/velmora";
  std::string host;
  for (char c : folder_) host += c == '/' ? std::string("%2F") : std::string(1, c);
  return "postgresql://" + user + "@" + host + ":" + std::to_string(port_) + "/velmora";
}

std::string PostgresServer::psql() const {
  return bin_ + "/psql -X -q -h " + (loopback_ ? std::string("127.0.0.1") : folder_) + " -p " + std::to_string(port_) +
         " -U tester -d velmora";
}

std::string PostgresServer::guardedRole(const std::string& password) const {
  std::string literal = "'";
  for (char c : password) literal += c == '\'' ? std::string("''") : std::string(1, c);
  literal += "'";
  return sql("DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'guarded') THEN"
             " CREATE ROLE guarded LOGIN; END IF; END $$;"
             "ALTER ROLE guarded PASSWORD " + literal + ";"
             "GRANT SELECT ON ALL TABLES IN SCHEMA public TO guarded;");
}

std::string PostgresServer::sql(const std::string& statements) const {
  const std::string file = folder_ + "/statements.sql";
  {
    std::ofstream out(file, std::ios::trunc);
    out << statements;
  }
  // psql runs as the test's own user: the socket is open to all.
  std::string command = psql() + " -v ON_ERROR_STOP=1 -f " + file + " > " + folder_ + "/psql.txt 2>&1";
  // The test database is made from the maintenance one.
  if (statements.rfind("CREATE DATABASE", 0) == 0) command.replace(command.find(" -d velmora"), 11, " -d postgres");
  const int status = std::system(command.c_str());
  if (status == 0) return {};
  std::ifstream in(folder_ + "/psql.txt");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return text.empty() ? "psql failed" : text;
}

}  // namespace vlm::test
