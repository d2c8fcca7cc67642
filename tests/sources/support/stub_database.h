#pragma once
// A stand-in for the database workspace: a server on the same service that
// answers one synthetic table, so tests can steer what the loader receives
// (how many fields and rows, and work done when a given record is asked for).
#include <functional>
#include <memory>
#include <string>

#include "platform/dde/conversation.h"

namespace vlm::test {

struct StubDatabase {
  std::string path = "C:\\Shop\\Sales.MDB";
  std::string table = "Orders";
  int fields = 2;
  int rows = 10;
  // Called before record `index` is answered (from the data thread).
  std::function<void(int index)> onRecord;
  std::vector<std::string> topics;  // every topic asked for, in order
};

// Replaces the workspace's service by the stub for its lifetime.
class StubDatabaseServer {
 public:
  explicit StubDatabaseServer(std::shared_ptr<StubDatabase> db);
  ~StubDatabaseServer();

 private:
  std::shared_ptr<platform::dde::Server> server_;
};

}  // namespace vlm::test
