#pragma once
// The database workspace: this platform's stand-in for the database
// application the loader talks to. It opens one database file at a time with
// the engine that reads it, answers conversations on the service "MSAccess"
// (topics and items in workspace_server.h), and has a main window, a record
// browser of the open database's tables and queries.
//
// Its automation side is its life cycle: running (its service registered),
// visible and under user control, an open database, options, quit. It runs
// from the program's start, with no database open, like a database
// application the user keeps open beside it.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/database/database.h"

namespace vlm::platform::workspace {

constexpr const char* kServiceName = "MSAccess";
constexpr const char* kCaption = "Database Workspace";
constexpr const char* kIgnoreRequests = "Ignore DDE Requests";

class Workspace {
 public:
  static Workspace& instance();

  // Automation.
  bool running() const;
  // Starts the workspace when it is not running; true when it had to start.
  bool start();
  void quit();
  bool visible() const;
  void setVisible(bool on);
  void setUserControl(bool on);
  bool userControl() const;
  // Closes the open database (and its browser view).
  void closeCurrentDatabase();
  // Opens the file with the engine that reads it, or the database server of
  // a connection text (server_login.h); on failure reports why in the
  // workspace's own message box and returns false, with nothing open. A
  // server's path is its connection without the password.
  bool openCurrentDatabase(const std::string& source);
  // Whether the open database reads only the rows of a selection itself
  // (a server), so that no others cross the network.
  bool selectsRows();
  // The rows the next record stream of `object` yields (taken by that
  // stream); a stream without one yields every row.
  void setNextRowSelection(const std::string& object, db::RowSelection rows);
  db::RowSelection takeRowSelection(const std::string& object);
  // Whether the open database reads only the rows that pass a filter.
  bool filtersRows();
  // The filter that the object's count, fields and record streams go by
  // until it is changed (null: every row); opening another database drops it.
  void setObjectFilter(const std::string& object, std::shared_ptr<const db::RowFilter> filter);
  std::shared_ptr<const db::RowFilter> objectFilter(const std::string& object) const;
  // The row of the whole table that the last record a stream sent is (its
  // place before any filter), for a reader of a filtered object.
  void setServedRow(int64_t row);
  int64_t servedRow() const;
  // Another connection to the open database, for a second reader.
  std::unique_ptr<db::Database> secondConnection(std::string& error);
  void setOption(const std::string& name, int32_t value);
  int32_t option(const std::string& name) const;

  // The open database's path, empty when none is open.
  std::string currentPath() const;
  // Changes whenever another database is opened or the open one closed, so
  // that a conversation on the old one answers nothing more.
  uint64_t databaseSerial() const;

  // Runs `work` on the open database under the workspace's lock; false when
  // none is open (or it was replaced since `serial`, when that is not 0).
  bool withDatabase(const std::function<void(db::Database&)>& work, uint64_t serial = 0);

  // Reports a failure in the workspace's own message box, as the database
  // application does for what goes wrong inside it.
  void report(const std::string& text);

  // The main window: whether it exists, showing an object and a record in
  // it (record numbers count from 1), and bringing it to the front
  // (restoring it when minimised). They run on the host thread.
  bool hasMainWindow() const;
  bool showObject(const std::string& name, bool query);
  bool goToRecord(const std::string& name, int64_t record);
  bool bringToFront();

  // Where the main window comes from; tests and builds without a display
  // may leave it out (the window functions then answer false).
  struct WindowHooks {
    std::function<bool()> exists;
    std::function<bool(const std::string& path)> open;  // the database now open (empty: none)
    std::function<bool(const std::string& name, bool query)> show;
    std::function<bool(const std::string& name, int64_t record)> goTo;
    std::function<bool()> front;
    std::function<void()> close;
  };
  void setWindowHooks(WindowHooks hooks);

 private:
  Workspace();
  void registerService();
  void windowOpened(const std::string& path);
  struct Impl;
  std::shared_ptr<Impl> impl_;
};

}  // namespace vlm::platform::workspace
