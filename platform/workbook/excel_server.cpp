#include "platform/workbook/excel_server.h"

#include <QString>

#include <chrono>

#include "platform/workbook/excel_workspace.h"

namespace vlm::platform::workbook {
namespace {

bool sameText(std::string_view a, std::string_view b) {
  return QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()))
             .compare(QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())), Qt::CaseInsensitive) == 0;
}

class SystemTopic : public dde::ServerTopic {
 public:
  explicit SystemTopic(ExcelWorkspace& w) : workspace_(w) {}
  bool request(std::string_view item, std::chrono::milliseconds, std::string& answer) override {
    if (sameText(item, "Status")) {
      answer = "Ready";
      return true;
    }
    if (sameText(item, "Selection")) {
      answer = workspace_.selectionText();
      return !answer.empty();
    }
    if (sameText(item, "SysItems")) {
      answer = "SysItems\tTopics\tStatus\tSelection";
      return true;
    }
    if (sameText(item, "Topics")) {
      const SheetViewState v = workspace_.view();
      answer.clear();
      if (v.book)
        for (const Sheet& s : v.book->sheets) answer += "[" + v.book->name + "]" + s.name + "\t";
      answer += "System";
      return true;
    }
    return false;
  }

 private:
  ExcelWorkspace& workspace_;
};

class SheetTopic : public dde::ServerTopic {
 public:
  SheetTopic(ExcelWorkspace& w, std::shared_ptr<const Workbook> book, int32_t sheet, std::string sheetName)
      : workspace_(w), book_(std::move(book)), sheet_(sheet), sheetName_(std::move(sheetName)) {}

  bool request(std::string_view item, std::chrono::milliseconds timeout, std::string& answer) override {
    Area area;
    if (!parseR1C1Area(item, workspace_.referenceLetters(), area)) return false;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const Sheet& sheet = book_->sheets[static_cast<size_t>(sheet_)];
    return sheet.rangeText(area, answer, [deadline] { return std::chrono::steady_clock::now() > deadline; });
  }

  bool execute(std::string_view command) override {
    std::string reference;
    Area area;
    if (!parseSelectCommand(command, reference) ||
        !parseR1C1Area(reference, workspace_.referenceLetters(), area))
      return false;
    // The sheet must still be open in the workspace, and becomes the active one.
    if (workspace_.view().book != book_ || !workspace_.activateSheet(sheetName_)) return false;
    workspace_.select({area}, area.firstRow, area.firstColumn);
    return true;
  }

 private:
  ExcelWorkspace& workspace_;
  std::shared_ptr<const Workbook> book_;
  int32_t sheet_;
  std::string sheetName_;
};

class ExcelServer : public dde::Server {
 public:
  explicit ExcelServer(ExcelWorkspace& w) : workspace_(w) {}
  std::unique_ptr<dde::ServerTopic> connect(std::string_view topic) override {
    if (sameText(topic, "System")) return std::make_unique<SystemTopic>(workspace_);
    std::string book, sheet;
    if (!parseSheetTopic(topic, book, sheet)) return nullptr;
    int32_t index = 0;
    auto found = workspace_.findSheet(book, sheet, index);
    if (!found) return nullptr;
    return std::make_unique<SheetTopic>(workspace_, std::move(found), index, sheet);
  }

 private:
  ExcelWorkspace& workspace_;
};

}  // namespace

bool parseSheetTopic(std::string_view topic, std::string& book, std::string& sheet) {
  bool quoted = false;
  if (topic.size() >= 2 && topic.front() == '\'' && topic.back() == '\'') {
    topic = topic.substr(1, topic.size() - 2);
    quoted = true;
  }
  if (topic.empty() || topic.front() != '[') return false;
  const size_t close = topic.find(']');
  if (close == std::string_view::npos || close == 1 || close + 1 >= topic.size()) return false;
  book = std::string(topic.substr(1, close - 1));
  sheet.clear();
  const std::string_view rest = topic.substr(close + 1);
  for (size_t i = 0; i < rest.size(); ++i) {
    sheet += rest[i];
    // A quote inside a quoted name is doubled.
    if (quoted && rest[i] == '\'' && i + 1 < rest.size() && rest[i + 1] == '\'') ++i;
  }
  return true;
}

bool parseSelectCommand(std::string_view command, std::string& reference) {
  constexpr std::string_view head = "[select(\"", tail = "\")]";
  if (command.size() <= head.size() + tail.size()) return false;
  if (!sameText(command.substr(0, head.size()), head) || command.substr(command.size() - tail.size()) != tail)
    return false;
  reference = std::string(command.substr(head.size(), command.size() - head.size() - tail.size()));
  return true;
}

std::shared_ptr<dde::Server> makeExcelServer(ExcelWorkspace& workspace) {
  return std::make_shared<ExcelServer>(workspace);
}

}  // namespace vlm::platform::workbook
