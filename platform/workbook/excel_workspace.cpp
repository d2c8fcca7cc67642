#include "platform/workbook/excel_workspace.h"

#include <QString>

#include <atomic>
#include <cctype>

#include "platform/dde/conversation.h"
#include "platform/message_box.h"
#include "platform/workbook/excel_server.h"

namespace vlm::platform::workbook {
namespace {

bool sameName(const std::string& a, const std::string& b) {
  return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

// What a book keeps while it is open: the cells selected on each sheet.
struct OpenBook {
  std::shared_ptr<const Workbook> book;
  int32_t activeSheet = 0;
  struct SheetSelection {
    std::vector<Area> areas;
    int32_t row = 1, column = 1;
  };
  std::vector<SheetSelection> selections;
};

OpenBook openBookOf(std::shared_ptr<const Workbook> book) {
  OpenBook open;
  open.activeSheet = book->activeSheet;
  for (const Sheet& s : book->sheets) open.selections.push_back({s.selection, s.activeRow, s.activeColumn});
  open.book = std::move(book);
  return open;
}

}  // namespace

struct ExcelWorkspace::Impl {
  mutable std::mutex mutex;  // everything below
  bool running = false;
  bool visible = false;
  bool userControl = false;
  ReferenceLetters letters;
  std::vector<OpenBook> books;  // the active one last
  std::atomic<uint64_t> serial{1};
  std::shared_ptr<dde::Server> server;
  WindowHooks window;
};

ExcelWorkspace& ExcelWorkspace::instance() {
  static ExcelWorkspace* w = new ExcelWorkspace;  // lives as long as the process
  return *w;
}

ExcelWorkspace::ExcelWorkspace() : impl_(std::make_shared<Impl>()) {
  impl_->server = makeExcelServer(*this);
  start();
}

bool ExcelWorkspace::running() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->running;
}

bool ExcelWorkspace::start() {
  {
    std::lock_guard lock(impl_->mutex);
    if (impl_->running) return false;
    // Started as the user starts it: its window may show.
    impl_->running = true;
    impl_->visible = true;
  }
  dde::registerServer(kExcelService, impl_->server);
  return true;
}

void ExcelWorkspace::quit() {
  closeAll();
  WindowHooks hooks;
  {
    std::lock_guard lock(impl_->mutex);
    impl_->running = false;
    impl_->visible = false;
    impl_->userControl = false;
    hooks = impl_->window;
  }
  dde::withdrawServer(kExcelService, impl_->server.get());
  if (hooks.close) hooks.close();
}

bool ExcelWorkspace::visible() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->visible;
}

void ExcelWorkspace::setVisible(bool on) {
  {
    std::lock_guard lock(impl_->mutex);
    impl_->visible = on;
  }
  if (on) changed();
}

bool ExcelWorkspace::userControl() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->userControl;
}

void ExcelWorkspace::setUserControl(bool on) {
  std::lock_guard lock(impl_->mutex);
  impl_->userControl = on;
}

bool ExcelWorkspace::openWorkbook(const std::string& path) {
  std::string error;
  std::unique_ptr<Workbook> book = readWorkbookFile(path, ReadLimits{}, error);
  if (!book) {
    report(error);
    return false;
  }
  openWorkbook(std::move(book));
  return true;
}

void ExcelWorkspace::openWorkbook(std::unique_ptr<Workbook> book) {
  {
    std::lock_guard lock(impl_->mutex);
    std::erase_if(impl_->books, [&](const OpenBook& b) { return b.book->path == book->path; });
    impl_->books.push_back(openBookOf(std::shared_ptr<const Workbook>(std::move(book))));
    ++impl_->serial;
  }
  changed();
}

bool ExcelWorkspace::activateSheet(const std::string& name) {
  {
    std::lock_guard lock(impl_->mutex);
    if (impl_->books.empty()) return false;
    OpenBook& open = impl_->books.back();
    const auto& sheets = open.book->sheets;
    size_t i = 0;
    while (i < sheets.size() && !sameName(sheets[i].name, name)) ++i;
    if (i == sheets.size()) return false;
    open.activeSheet = static_cast<int32_t>(i);
  }
  changed();
  return true;
}

std::string ExcelWorkspace::activeWorkbookFullName() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->books.empty() ? std::string() : impl_->books.back().book->path;
}

void ExcelWorkspace::closeAll() {
  {
    std::lock_guard lock(impl_->mutex);
    if (impl_->books.empty()) return;
    impl_->books.clear();
    ++impl_->serial;
  }
  changed();
}

void ExcelWorkspace::setReferenceLetters(ReferenceLetters letters) {
  std::lock_guard lock(impl_->mutex);
  impl_->letters = letters;
}

ReferenceLetters ExcelWorkspace::referenceLetters() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->letters;
}

std::string quotedSheetName(const std::string& name) {
  bool plain = !name.empty();
  for (unsigned char c : name)
    if (!(std::isalnum(c) || c == '_' || c == '.' || c >= 0x80)) plain = false;
  if (plain) return name;
  std::string out = "'";
  for (char c : name) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

std::string ExcelWorkspace::selectionText() const {
  std::lock_guard lock(impl_->mutex);
  if (impl_->books.empty()) return {};
  const OpenBook& open = impl_->books.back();
  const auto sheet = static_cast<size_t>(open.activeSheet);
  if (sheet >= open.book->sheets.size()) return {};
  const OpenBook::SheetSelection& s = open.selections[sheet];
  std::string text = "[" + open.book->name + "]" + quotedSheetName(open.book->sheets[sheet].name) + "!";
  if (s.areas.empty()) return text + r1c1Text(cellArea(s.row, s.column), impl_->letters);
  for (size_t i = 0; i < s.areas.size(); ++i) text += (i ? ";" : "") + r1c1Text(s.areas[i], impl_->letters);
  return text;
}

void ExcelWorkspace::select(std::vector<Area> areas, int32_t activeRow, int32_t activeColumn) {
  {
    std::lock_guard lock(impl_->mutex);
    if (impl_->books.empty()) return;
    OpenBook& open = impl_->books.back();
    const auto sheet = static_cast<size_t>(open.activeSheet);
    if (sheet >= open.selections.size()) return;
    std::erase_if(areas, [](const Area& a) { return !validArea(a); });
    open.selections[sheet] = {std::move(areas), activeRow, activeColumn};
  }
  changed();
}

SheetViewState ExcelWorkspace::view() const {
  std::lock_guard lock(impl_->mutex);
  SheetViewState v;
  if (impl_->books.empty()) return v;
  const OpenBook& open = impl_->books.back();
  v.book = open.book;
  v.sheet = open.activeSheet;
  const auto sheet = static_cast<size_t>(open.activeSheet);
  if (sheet < open.selections.size()) {
    v.selection = open.selections[sheet].areas;
    v.activeRow = open.selections[sheet].row;
    v.activeColumn = open.selections[sheet].column;
  }
  return v;
}

std::shared_ptr<const Workbook> ExcelWorkspace::findSheet(const std::string& book, const std::string& sheet,
                                                          int32_t& index) const {
  std::lock_guard lock(impl_->mutex);
  for (auto b = impl_->books.rbegin(); b != impl_->books.rend(); ++b) {
    if (!sameName(b->book->name, book)) continue;
    for (size_t i = 0; i < b->book->sheets.size(); ++i) {
      if (sameName(b->book->sheets[i].name, sheet)) {
        index = static_cast<int32_t>(i);
        return b->book;
      }
    }
  }
  return nullptr;
}

uint64_t ExcelWorkspace::serial() const { return impl_->serial.load(); }

void ExcelWorkspace::report(const std::string& text) {
  MessageBoxRequest box;
  box.caption = kExcelCaption;
  box.text = text;
  box.icon = BoxIcon::Warning;
  showMessageBox(box);
}

bool ExcelWorkspace::hasMainWindow() const {
  std::function<bool()> exists;
  {
    std::lock_guard lock(impl_->mutex);
    exists = impl_->window.exists;
  }
  return exists && exists();
}

bool ExcelWorkspace::bringToFront() {
  std::function<bool()> front;
  {
    std::lock_guard lock(impl_->mutex);
    front = impl_->window.front;
  }
  return front && front();
}

void ExcelWorkspace::setWindowHooks(WindowHooks hooks) {
  std::lock_guard lock(impl_->mutex);
  impl_->window = std::move(hooks);
}

void ExcelWorkspace::changed() {
  std::function<void()> hook;
  {
    std::lock_guard lock(impl_->mutex);
    hook = impl_->window.changed;
  }
  if (hook) hook();
}

}  // namespace vlm::platform::workbook
