#include "platform/workspace/workspace_server.h"

#include <algorithm>
#include <charconv>

#include "platform/workspace/access_types.h"
#include "platform/workspace/workspace.h"

namespace vlm::platform::workspace {
namespace {

using Clock = std::chrono::steady_clock;

// Items and topic words are ASCII; comparing them needs no locale (a record
// stream compares its item once a row).
bool equalNoCase(std::string_view a, std::string_view b) {
  auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c | 0x20 : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](unsigned char x, unsigned char y) { return lower(x) == lower(y); });
}

bool startsNoCase(std::string_view text, std::string_view head) {
  return text.size() >= head.size() && equalNoCase(text.substr(0, head.size()), head);
}

std::string_view trimLeft(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  return t;
}

std::string_view trim(std::string_view t) {
  t = trimLeft(t);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}

std::string joined(const std::vector<std::string>& parts) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out.push_back('\t');
    out += parts[i];
  }
  return out;
}

std::string failure(const std::string& object, const std::string& why) {
  return "\"" + object + "\" cannot be read: " + why + ".";
}

// "System": the workspace itself.
class SystemTopic final : public dde::ServerTopic {
 public:
  explicit SystemTopic(Workspace& w) : w_(w) {}
  bool request(std::string_view item, std::chrono::milliseconds, std::string& answer) override {
    if (equalNoCase(item, "Status")) {
      answer = "Ready";
      return true;
    }
    if (equalNoCase(item, "Topics")) {
      answer = "System";
      const std::string path = w_.currentPath();
      if (!path.empty()) answer += "\t" + path;
      return true;
    }
    if (equalNoCase(item, "SysItems")) {
      answer = "SysItems\tFormats\tStatus\tTopics";
      return true;
    }
    if (equalNoCase(item, "Formats")) {
      answer = "CF_TEXT";
      return true;
    }
    return false;
  }
  bool execute(std::string_view command) override {
    ExecuteCommand c;
    if (!parseExecute(command, c)) return false;
    if (equalNoCase(c.verb, "OpenTable")) return w_.showObject(c.name, false);
    if (equalNoCase(c.verb, "OpenQuery")) return w_.showObject(c.name, true);
    if (equalNoCase(c.verb, "GoToRecord")) return w_.goToRecord(c.name, c.record);
    return false;
  }

 private:
  Workspace& w_;
};

// "<db>": the lists of tables and queries.
class DatabaseTopic final : public dde::ServerTopic {
 public:
  DatabaseTopic(Workspace& w, uint64_t serial) : w_(w), serial_(serial) {}
  bool request(std::string_view item, std::chrono::milliseconds, std::string& answer) override {
    const bool tables = equalNoCase(item, "TableList");
    if (!tables && !equalNoCase(item, "QueryList")) return false;
    bool ok = false;
    std::string error;
    w_.withDatabase(
        [&](db::Database& d) {
          auto objects = d.objects(error);
          if (!objects) return;
          std::vector<std::string> names;
          for (const auto& o : *objects)
            if ((o.kind == db::ObjectKind::Table) == tables) names.push_back(o.name);
          answer = joined(names);
          ok = true;
        },
        serial_);
    if (!ok && !error.empty()) w_.report("The list of tables and queries cannot be read: " + error + ".");
    return ok;
  }

 private:
  Workspace& w_;
  uint64_t serial_;
};

// "<db>;TABLE t" and "<db>;QUERY q": the fields and the record stream.
class ObjectTopic final : public dde::ServerTopic {
 public:
  ObjectTopic(Workspace& w, uint64_t serial, db::ObjectInfo object) : w_(w), serial_(serial), object_(std::move(object)) {}

  bool request(std::string_view item, std::chrono::milliseconds timeout, std::string& answer) override {
    if (equalNoCase(item, "NextRow")) return nextRow(timeout, answer);
    const bool withTypes = equalNoCase(item, "FieldNames;T");
    if (!withTypes && !equalNoCase(item, "FieldNames")) return false;
    bool ok = false;
    std::string error;
    w_.withDatabase(
        [&](db::Database& d) {
          auto columns = d.columns(object_, error);
          if (!columns) return;
          std::vector<std::string> names, codes;
          for (const auto& c : *columns) {
            names.push_back(c.name);
            codes.push_back(std::to_string(accessTypeCode(c.kind)));
          }
          answer = joined(names) + "\r\n";
          if (withTypes) answer += joined(codes) + "\r\n";
          ok = true;
        },
        serial_);
    if (!ok && !error.empty()) w_.report(failure(object_.name, error));
    return ok;
  }

 private:
  bool nextRow(std::chrono::milliseconds timeout, std::string& answer) {
    if (ended_) return false;
    bool ok = false;
    std::string error;
    const bool open = w_.withDatabase(
        [&](db::Database& d) {
          if (!cursor_) {
            cursor_ = d.open(object_, w_.takeRowSelection(object_.name), error);
            if (!cursor_) return;
          }
          switch (cursor_->next(Clock::now() + timeout)) {
            case db::Step::Row:
              appendRecord(*cursor_, answer);
              w_.setServedRow(cursor_->baseRow());
              ok = true;
              break;
            case db::Step::End:
              break;
            case db::Step::Failed:
              error = cursor_->error();
              break;
          }
        },
        serial_);
    if (!ok) {
      ended_ = true;
      cursor_.reset();
      if (!error.empty()) w_.report(failure(object_.name, error));
      else if (!open) w_.report("The database was closed while \"" + object_.name + "\" was being read.");
    }
    return ok;
  }

  Workspace& w_;
  uint64_t serial_;
  db::ObjectInfo object_;
  std::unique_ptr<db::Cursor> cursor_;
  bool ended_ = false;
};

// "<db>; SQL SELECT Count(*) FROM [t];": the one answer is the count.
class CountTopic final : public dde::ServerTopic {
 public:
  CountTopic(Workspace& w, uint64_t serial, std::string object) : w_(w), serial_(serial), object_(std::move(object)) {}
  bool request(std::string_view item, std::chrono::milliseconds, std::string& answer) override {
    if (!equalNoCase(item, "NextRow") || answered_) return false;
    answered_ = true;
    bool ok = false;
    std::string error;
    w_.withDatabase(
        [&](db::Database& d) {
          // The object is a table or a query, whichever holds the name.
          auto objects = d.objects(error);
          if (!objects) return;
          auto it = std::find_if(objects->begin(), objects->end(), [&](const db::ObjectInfo& o) { return o.name == object_; });
          if (it == objects->end()) {
            error = "there is no table or query of that name";
            return;
          }
          db::ObjectInfo object = *it;
          object.filter = w_.objectFilter(object_);
          auto n = d.rowCount(object, error);
          if (!n) return;
          answer = std::to_string(*n);
          ok = true;
        },
        serial_);
    if (!ok && !error.empty()) w_.report(failure(object_, error));
    return ok;
  }

 private:
  Workspace& w_;
  uint64_t serial_;
  std::string object_;
  bool answered_ = false;
};

class WorkspaceServer final : public dde::Server {
 public:
  explicit WorkspaceServer(Workspace& w) : w_(w) {}
  std::unique_ptr<dde::ServerTopic> connect(std::string_view topic) override {
    if (!w_.running() || w_.option(kIgnoreRequests) != 0) return nullptr;
    const uint64_t serial = w_.databaseSerial();
    const std::string path = w_.currentPath();
    const TopicName t = parseTopic(topic, path.empty() ? std::string() : dataSourceName(path));
    switch (t.kind) {
      case TopicKind::System: return std::make_unique<SystemTopic>(w_);
      case TopicKind::Database: return std::make_unique<DatabaseTopic>(w_, serial);
      case TopicKind::Table:
        return std::make_unique<ObjectTopic>(w_, serial,
                                             db::ObjectInfo{t.name, db::ObjectKind::Table, w_.objectFilter(t.name)});
      case TopicKind::Query:
        return std::make_unique<ObjectTopic>(w_, serial,
                                             db::ObjectInfo{t.name, db::ObjectKind::Query, w_.objectFilter(t.name)});
      case TopicKind::Sql: {
        std::string object = countedObject(t.name);
        if (object.empty()) return nullptr;
        return std::make_unique<CountTopic>(w_, serial, std::move(object));
      }
      case TopicKind::None: break;
    }
    return nullptr;
  }

 private:
  Workspace& w_;
};

}  // namespace

std::string dataSourceName(std::string_view path) {
  const size_t cut = path.find_first_of("\r\n");
  if (cut != std::string_view::npos) path = path.substr(0, cut);
  const size_t slash = path.find_last_of("/\\");
  std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
  if (name.size() >= 4 && equalNoCase(std::string_view(name).substr(name.size() - 4), ".mdb")) name.resize(name.size() - 4);
  return name;
}

TopicName parseTopic(std::string_view topic, std::string_view sourceName) {
  TopicName out;
  if (equalNoCase(trim(topic), "System")) {
    out.kind = TopicKind::System;
    return out;
  }
  if (sourceName.empty() || !startsNoCase(topic, sourceName)) return out;
  std::string_view rest = topic.substr(sourceName.size());
  if (trim(rest).empty()) {
    out.kind = TopicKind::Database;
    return out;
  }
  if (rest.front() != ';') return out;
  rest = trimLeft(rest.substr(1));
  struct Head {
    const char* word;
    TopicKind kind;
  };
  for (const Head& h : {Head{"TABLE ", TopicKind::Table}, Head{"QUERY ", TopicKind::Query}, Head{"SQL ", TopicKind::Sql}}) {
    if (!startsNoCase(rest, h.word)) continue;
    out.kind = h.kind;
    out.name = std::string(rest.substr(std::char_traits<char>::length(h.word)));
    if (out.name.empty()) out.kind = TopicKind::None;
    return out;
  }
  return out;
}

std::string countedObject(std::string_view sql) {
  std::string_view s = trim(sql);
  if (!s.empty() && s.back() == ';') s.remove_suffix(1);
  s = trim(s);
  auto word = [&](std::string_view w) {
    s = trimLeft(s);
    if (!startsNoCase(s, w)) return false;
    s.remove_prefix(w.size());
    return true;
  };
  if (!word("SELECT") || !word("Count") || !word("(") || !word("*") || !word(")") || !word("FROM")) return {};
  s = trim(s);
  if (s.size() < 3 || s.front() != '[' || s.back() != ']') return {};
  return std::string(s.substr(1, s.size() - 2));
}

bool parseExecute(std::string_view command, ExecuteCommand& out) {
  std::string_view s = trim(command);
  if (s.size() < 3 || s.front() != '[' || s.back() != ']') return false;
  s = s.substr(1, s.size() - 2);
  const size_t space = s.find(' ');
  if (space == std::string_view::npos) return false;
  out = {};
  out.verb = std::string(s.substr(0, space));
  std::string_view args = s.substr(space + 1);
  // The name is the one quoted argument; a quote inside it is doubled.
  const size_t open = args.find('"');
  if (open == std::string_view::npos) return false;
  std::string name;
  size_t i = open + 1;
  for (;; ++i) {
    if (i >= args.size()) return false;
    if (args[i] == '"') {
      if (i + 1 < args.size() && args[i + 1] == '"') {
        name.push_back('"');
        ++i;
        continue;
      }
      break;
    }
    name.push_back(args[i]);
  }
  out.name = std::move(name);
  std::string_view before = trim(args.substr(0, open));
  std::string_view after = args.substr(i + 1);
  if (equalNoCase(out.verb, "GoToRecord")) {
    if (!before.empty() && before.back() == ',') before.remove_suffix(1);
    before = trim(before);
    std::from_chars(before.data(), before.data() + before.size(), out.objectType);
    const size_t comma = after.rfind(',');
    if (comma == std::string_view::npos) return false;
    const std::string_view number = trim(after.substr(comma + 1));
    const auto r = std::from_chars(number.data(), number.data() + number.size(), out.record);
    if (r.ec != std::errc() || r.ptr != number.data() + number.size()) return false;
  }
  return true;
}

std::shared_ptr<dde::Server> makeWorkspaceServer(Workspace& workspace) {
  return std::make_shared<WorkspaceServer>(workspace);
}

}  // namespace vlm::platform::workspace
