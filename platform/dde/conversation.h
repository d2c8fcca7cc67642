#pragma once
// Conversations between a client and a server application, in the shape of
// the platform's dynamic data exchange: a client opens a conversation on a
// service and a topic, requests items as text (with a time-out), sends
// commands to execute, and disconnects. Servers live in this process and are
// found by their service name.
//
// A request is answered on the client's own thread: the server is handed the
// time-out and must give up (answering nothing) when it passes. So a record
// stream costs one call per record and no hand-over between threads.
#include <chrono>
#include <memory>
#include <string>
#include <string_view>

namespace vlm::platform::dde {

constexpr std::chrono::milliseconds kDefaultTimeout{10000};

// One open conversation as its server sees it.
class ServerTopic {
 public:
  virtual ~ServerTopic() = default;
  // Fills `answer` and returns true, or returns false for "no data" (an
  // unknown item, a failure, or the time-out passed).
  virtual bool request(std::string_view item, std::chrono::milliseconds timeout, std::string& answer) = 0;
  // Accepts or refuses a command.
  virtual bool execute(std::string_view command) { (void)command; return false; }
};

// A server application: opens a conversation on a topic it knows, or refuses (null).
class Server {
 public:
  virtual ~Server() = default;
  virtual std::unique_ptr<ServerTopic> connect(std::string_view topic) = 0;
};

// A server is found by its service name (compared without regard to case)
// from registration until it is withdrawn. A second registration replaces the first.
void registerServer(const std::string& service, std::shared_ptr<Server> server);
void withdrawServer(const std::string& service, const Server* server);
bool serverRegistered(const std::string& service);

// The client's side of one conversation. Moving it keeps the conversation;
// destroying it disconnects.
class Conversation {
 public:
  Conversation() = default;
  Conversation(Conversation&&) noexcept = default;
  Conversation& operator=(Conversation&&) noexcept = default;
  ~Conversation() = default;

  // Opens a conversation; an empty one when no server of that service is
  // registered or the server refuses the topic.
  static Conversation connect(const std::string& service, std::string_view topic);

  bool connected() const { return topic_ != nullptr; }
  explicit operator bool() const { return connected(); }
  const std::string& topicName() const { return name_; }

  // The item as text; false for no data, or without a conversation.
  bool request(std::string_view item, std::string& answer, std::chrono::milliseconds timeout = kDefaultTimeout);
  // An asynchronous execute in the platform's terms: true when the server accepted it.
  bool execute(std::string_view command);
  void disconnect();

 private:
  std::shared_ptr<Server> server_;  // kept while the conversation is open
  std::unique_ptr<ServerTopic> topic_;
  std::string name_;
};

}  // namespace vlm::platform::dde
