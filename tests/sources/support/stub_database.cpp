#include "sources/support/stub_database.h"

#include "platform/workspace/workspace.h"
#include "platform/workspace/workspace_server.h"

namespace vlm::test {
namespace {

using platform::dde::ServerTopic;

class StubTopic : public ServerTopic {
 public:
  StubTopic(std::shared_ptr<StubDatabase> db, std::string topic) : db_(std::move(db)), topic_(std::move(topic)) {}
  bool request(std::string_view item, std::chrono::milliseconds, std::string& answer) override {
    const std::string name = platform::workspace::dataSourceName(db_->path);
    if (topic_ == "System") {
      if (item == "Status") answer = "Ready";
      else if (item == "Topics") answer = "System\t" + db_->path;
      else return false;
      return true;
    }
    if (topic_ == name) {
      if (item == "TableList") answer = db_->table;
      else if (item == "QueryList") answer.clear();
      else return false;
      return true;
    }
    if (topic_ == name + "; SQL SELECT Count(*) FROM [" + db_->table + "];") {
      if (counted_ || item != "NextRow") return false;
      counted_ = true;
      answer = std::to_string(db_->rows);
      return true;
    }
    if (topic_ == name + ";TABLE " + db_->table && item == "FieldNames;T") {
      std::string names, codes;
      for (int f = 0; f < db_->fields; ++f) {
        names += (f ? "\t" : "") + std::string("f") + std::to_string(f);
        codes += f ? "\t4" : "4";
      }
      answer = names + "\r\n" + codes + "\r\n";
      return true;
    }
    if (topic_ == name + "; TABLE " + db_->table && item == "NextRow") {
      if (next_ >= db_->rows) return false;
      if (db_->onRecord) db_->onRecord(next_);
      for (int f = 0; f < db_->fields; ++f) answer += (f ? "\t" : "") + std::to_string(next_ * 10 + f);
      ++next_;
      return true;
    }
    return false;
  }

 private:
  std::shared_ptr<StubDatabase> db_;
  std::string topic_;
  bool counted_ = false;
  int next_ = 0;
};

class StubServer : public platform::dde::Server {
 public:
  explicit StubServer(std::shared_ptr<StubDatabase> db) : db_(std::move(db)) {}
  std::unique_ptr<ServerTopic> connect(std::string_view topic) override {
    db_->topics.emplace_back(topic);
    return std::make_unique<StubTopic>(db_, std::string(topic));
  }
  std::shared_ptr<StubDatabase> db_;
};

}  // namespace

StubDatabaseServer::StubDatabaseServer(std::shared_ptr<StubDatabase> db) : server_(std::make_shared<StubServer>(std::move(db))) {
  platform::workspace::Workspace::instance().quit();
  platform::dde::registerServer(platform::workspace::kServiceName, server_);
}

StubDatabaseServer::~StubDatabaseServer() {
  platform::dde::withdrawServer(platform::workspace::kServiceName, server_.get());
  platform::workspace::Workspace::instance().start();
}

}  // namespace vlm::test
