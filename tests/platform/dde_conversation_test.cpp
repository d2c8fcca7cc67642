#include <gtest/gtest.h>

#include <map>

#include "platform/dde/conversation.h"

namespace vlm::platform::dde {
namespace {

// A server that answers from a table and remembers what it was told.
class TableServer : public Server {
 public:
  struct Topic : ServerTopic {
    explicit Topic(TableServer& s) : server(s) {}
    ~Topic() override { --server.open; }
    bool request(std::string_view item, std::chrono::milliseconds timeout, std::string& answer) override {
      server.lastTimeout = timeout;
      auto it = server.items.find(std::string(item));
      if (it == server.items.end()) return false;
      answer = it->second;
      return true;
    }
    bool execute(std::string_view command) override {
      server.executed.emplace_back(command);
      return command != "[Refuse]";
    }
    TableServer& server;
  };
  std::unique_ptr<ServerTopic> connect(std::string_view topic) override {
    if (topic != "Known") return nullptr;
    ++open;
    return std::make_unique<Topic>(*this);
  }
  std::map<std::string, std::string> items{{"Status", "Ready"}};
  std::vector<std::string> executed;
  std::chrono::milliseconds lastTimeout{0};
  int open = 0;
};

TEST(Conversation, FindsServersByServiceWithoutRegardToCase) {
  auto server = std::make_shared<TableServer>();
  registerServer("TestService", server);
  EXPECT_TRUE(serverRegistered("testservice"));
  Conversation c = Conversation::connect("TESTSERVICE", "Known");
  ASSERT_TRUE(c.connected());
  EXPECT_EQ(c.topicName(), "Known");
  std::string answer;
  EXPECT_TRUE(c.request("Status", answer));
  EXPECT_EQ(answer, "Ready");
  EXPECT_EQ(server->lastTimeout, kDefaultTimeout);
  EXPECT_TRUE(c.request("Status", answer, std::chrono::milliseconds(5)));
  EXPECT_EQ(server->lastTimeout.count(), 5);
  // An unknown item is "no data", and the answer buffer is left empty.
  EXPECT_FALSE(c.request("Other", answer));
  EXPECT_TRUE(answer.empty());
  EXPECT_TRUE(c.execute("[Go]"));
  EXPECT_FALSE(c.execute("[Refuse]"));
  EXPECT_EQ(server->executed, (std::vector<std::string>{"[Go]", "[Refuse]"}));
  withdrawServer("TestService", server.get());
}

TEST(Conversation, RefusedTopicsAndMissingServersGiveNoConversation) {
  auto server = std::make_shared<TableServer>();
  registerServer("TestService", server);
  EXPECT_FALSE(Conversation::connect("TestService", "Unknown").connected());
  EXPECT_FALSE(Conversation::connect("NoSuchService", "Known").connected());
  Conversation none;
  std::string answer = "x";
  EXPECT_FALSE(none.request("Status", answer));
  EXPECT_FALSE(none.execute("[Go]"));
  withdrawServer("TestService", server.get());
}

TEST(Conversation, DisconnectEndsTheServersSideAndAWithdrawnServerStaysReachableToOpenConversations) {
  auto server = std::make_shared<TableServer>();
  registerServer("TestService", server);
  Conversation c = Conversation::connect("TestService", "Known");
  Conversation moved = std::move(c);
  EXPECT_EQ(server->open, 1);
  // Withdrawing a server that was replaced by another registration leaves the newer one.
  withdrawServer("TestService", nullptr);
  EXPECT_FALSE(serverRegistered("TestService"));
  EXPECT_FALSE(Conversation::connect("TestService", "Known").connected());
  std::string answer;
  EXPECT_TRUE(moved.request("Status", answer));
  moved.disconnect();
  EXPECT_EQ(server->open, 0);
  EXPECT_FALSE(moved.connected());

  auto first = std::make_shared<TableServer>();
  auto second = std::make_shared<TableServer>();
  registerServer("TestService", first);
  registerServer("TestService", second);
  withdrawServer("TestService", first.get());
  EXPECT_TRUE(serverRegistered("TestService"));
  withdrawServer("TestService", second.get());
  EXPECT_FALSE(serverRegistered("TestService"));
}

}  // namespace
}  // namespace vlm::platform::dde
