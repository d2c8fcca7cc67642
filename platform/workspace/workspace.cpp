#include "platform/workspace/workspace.h"

#include <atomic>
#include <map>

#include "platform/database/server_login.h"
#include "platform/dde/conversation.h"
#include "platform/message_box.h"
#include "platform/password_prompt.h"
#include "platform/workspace/workspace_server.h"

namespace vlm::platform::workspace {

struct Workspace::Impl {
  mutable std::mutex mutex;  // the state below
  bool running = false;
  bool visible = true;
  bool userControl = true;
  std::map<std::string, int32_t> options;
  std::map<std::string, db::RowSelection> nextSelections;
  std::map<std::string, std::shared_ptr<const db::RowFilter>> filters;
  std::atomic<int64_t> servedRow{-1};
  std::string path;
  std::atomic<uint64_t> serial{1};
  std::mutex dbMutex;  // the open database: one call at a time
  std::unique_ptr<db::Database> db;
  std::shared_ptr<dde::Server> server;
  WindowHooks window;
};

Workspace& Workspace::instance() {
  static Workspace* w = new Workspace;  // lives as long as the process
  return *w;
}

Workspace::Workspace() : impl_(std::make_shared<Impl>()) {
  impl_->server = makeWorkspaceServer(*this);
  start();
}

void Workspace::registerService() { dde::registerServer(kServiceName, impl_->server); }

bool Workspace::running() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->running;
}

bool Workspace::start() {
  {
    std::lock_guard lock(impl_->mutex);
    if (impl_->running) return false;
    impl_->running = true;
    impl_->options.clear();
  }
  registerService();
  return true;
}

void Workspace::quit() {
  closeCurrentDatabase();
  {
    std::lock_guard lock(impl_->mutex);
    impl_->running = false;
  }
  dde::withdrawServer(kServiceName, impl_->server.get());
  WindowHooks hooks;
  {
    std::lock_guard lock(impl_->mutex);
    hooks = impl_->window;
  }
  if (hooks.close) hooks.close();
}

bool Workspace::visible() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->visible;
}

void Workspace::setVisible(bool on) {
  std::lock_guard lock(impl_->mutex);
  impl_->visible = on;
}

void Workspace::setUserControl(bool on) {
  std::lock_guard lock(impl_->mutex);
  impl_->userControl = on;
}

bool Workspace::userControl() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->userControl;
}

void Workspace::closeCurrentDatabase() {
  bool had = false;
  {
    std::lock_guard db(impl_->dbMutex);
    had = impl_->db != nullptr;
    impl_->db.reset();
    ++impl_->serial;
  }
  {
    std::lock_guard lock(impl_->mutex);
    impl_->path.clear();
    impl_->nextSelections.clear();
    impl_->filters.clear();
  }
  if (had) windowOpened({});
}

bool Workspace::openCurrentDatabase(const std::string& source) {
  std::string error, password;
  bool needsPassword = false;
  std::unique_ptr<db::Database> opened = db::openDatabase(source, password, error, &needsPassword);
  // A server that wants a password it was not given gets one from the user,
  // who may try again after a wrong one.
  for (int tries = 0; !opened && db::isServerConnection(source) && tries < 3; ++tries) {
    if (!needsPassword && (password.empty() || error.find("password") == std::string::npos)) break;
    auto answer = askPassword({db::splitPassword(source).connection, tries == 0 ? std::string() : error});
    if (!answer) return false;  // the user cancelled: nothing to report
    password = std::move(*answer);
    opened = db::openDatabase(source, password, error, &needsPassword);
  }
  if (!opened) {
    report(error);
    return false;
  }
  // A server is known by its connection without the password.
  const std::string path = db::isServerConnection(source) ? opened->path() : source;
  {
    std::lock_guard db(impl_->dbMutex);
    impl_->db = std::move(opened);
    ++impl_->serial;
  }
  {
    std::lock_guard lock(impl_->mutex);
    impl_->path = path;
  }
  windowOpened(path);
  return true;
}

void Workspace::windowOpened(const std::string& path) {
  WindowHooks hooks;
  {
    std::lock_guard lock(impl_->mutex);
    hooks = impl_->window;
  }
  if (hooks.open) hooks.open(path);
}

void Workspace::setOption(const std::string& name, int32_t value) {
  std::lock_guard lock(impl_->mutex);
  impl_->options[name] = value;
}

int32_t Workspace::option(const std::string& name) const {
  std::lock_guard lock(impl_->mutex);
  auto it = impl_->options.find(name);
  return it == impl_->options.end() ? 0 : it->second;
}

std::string Workspace::currentPath() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->path;
}

bool Workspace::selectsRows() {
  bool out = false;
  withDatabase([&](db::Database& d) { out = d.selectsRows(); });
  return out;
}

bool Workspace::filtersRows() {
  bool out = false;
  withDatabase([&](db::Database& d) { out = d.filtersRows(); });
  return out;
}

void Workspace::setObjectFilter(const std::string& object, std::shared_ptr<const db::RowFilter> filter) {
  std::lock_guard lock(impl_->mutex);
  if (filter) impl_->filters[object] = std::move(filter);
  else impl_->filters.erase(object);
}

std::shared_ptr<const db::RowFilter> Workspace::objectFilter(const std::string& object) const {
  std::lock_guard lock(impl_->mutex);
  auto it = impl_->filters.find(object);
  return it == impl_->filters.end() ? nullptr : it->second;
}

void Workspace::setServedRow(int64_t row) { impl_->servedRow.store(row); }
int64_t Workspace::servedRow() const { return impl_->servedRow.load(); }

void Workspace::setNextRowSelection(const std::string& object, db::RowSelection rows) {
  std::lock_guard lock(impl_->mutex);
  impl_->nextSelections[object] = std::move(rows);
}

db::RowSelection Workspace::takeRowSelection(const std::string& object) {
  std::lock_guard lock(impl_->mutex);
  auto it = impl_->nextSelections.find(object);
  if (it == impl_->nextSelections.end()) return db::RowSelection::all();
  db::RowSelection out = std::move(it->second);
  impl_->nextSelections.erase(it);
  return out;
}

std::unique_ptr<db::Database> Workspace::secondConnection(std::string& error) {
  std::unique_ptr<db::Database> out;
  if (!withDatabase([&](db::Database& d) { out = d.reopen(error); })) error = "no database is open";
  return out;
}

uint64_t Workspace::databaseSerial() const { return impl_->serial.load(); }

bool Workspace::withDatabase(const std::function<void(db::Database&)>& work, uint64_t serial) {
  std::lock_guard db(impl_->dbMutex);
  if (!impl_->db || (serial != 0 && serial != impl_->serial.load())) return false;
  work(*impl_->db);
  return true;
}

void Workspace::report(const std::string& text) {
  MessageBoxRequest box;
  box.caption = kCaption;
  box.text = text;
  box.icon = BoxIcon::Warning;
  showMessageBox(box);
}

bool Workspace::hasMainWindow() const {
  std::function<bool()> exists;
  {
    std::lock_guard lock(impl_->mutex);
    exists = impl_->window.exists;
  }
  return exists && exists();
}

bool Workspace::showObject(const std::string& name, bool query) {
  WindowHooks hooks;
  {
    std::lock_guard lock(impl_->mutex);
    hooks = impl_->window;
  }
  return hooks.show && hooks.show(name, query);
}

bool Workspace::goToRecord(const std::string& name, int64_t record) {
  WindowHooks hooks;
  {
    std::lock_guard lock(impl_->mutex);
    hooks = impl_->window;
  }
  return hooks.goTo && hooks.goTo(name, record);
}

bool Workspace::bringToFront() {
  WindowHooks hooks;
  {
    std::lock_guard lock(impl_->mutex);
    hooks = impl_->window;
  }
  return hooks.front && hooks.front();
}

void Workspace::setWindowHooks(WindowHooks hooks) {
  std::lock_guard lock(impl_->mutex);
  impl_->window = std::move(hooks);
}

}  // namespace vlm::platform::workspace
