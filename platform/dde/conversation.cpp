#include "platform/dde/conversation.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

namespace vlm::platform::dde {
namespace {

std::string folded(std::string_view name) {
  std::string out(name);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

struct Registry {
  std::mutex mutex;
  std::map<std::string, std::shared_ptr<Server>> servers;
};

Registry& registry() {
  static Registry r;
  return r;
}

std::shared_ptr<Server> find(const std::string& service) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  auto it = r.servers.find(folded(service));
  return it == r.servers.end() ? nullptr : it->second;
}

}  // namespace

void registerServer(const std::string& service, std::shared_ptr<Server> server) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.servers[folded(service)] = std::move(server);
}

void withdrawServer(const std::string& service, const Server* server) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  auto it = r.servers.find(folded(service));
  if (it != r.servers.end() && (!server || it->second.get() == server)) r.servers.erase(it);
}

bool serverRegistered(const std::string& service) { return find(service) != nullptr; }

Conversation Conversation::connect(const std::string& service, std::string_view topic) {
  Conversation c;
  std::shared_ptr<Server> server = find(service);
  if (!server) return c;
  std::unique_ptr<ServerTopic> t = server->connect(topic);
  if (!t) return c;
  c.server_ = std::move(server);
  c.topic_ = std::move(t);
  c.name_ = std::string(topic);
  return c;
}

bool Conversation::request(std::string_view item, std::string& answer, std::chrono::milliseconds timeout) {
  answer.clear();
  if (!topic_) return false;
  return topic_->request(item, timeout, answer);
}

bool Conversation::execute(std::string_view command) { return topic_ && topic_->execute(command); }

void Conversation::disconnect() {
  topic_.reset();
  server_.reset();
  name_.clear();
}

}  // namespace vlm::platform::dde
