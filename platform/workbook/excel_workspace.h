#pragma once
// The spreadsheet workspace: this platform's stand-in for the spreadsheet
// application the spreadsheet source talks to. It holds the workbooks opened
// in it (read from real files), the active one with its active sheet and the
// cells selected there, and answers conversations on the service "Excel"
// (excel_server.h). Its main window (the "XLMAIN" window) is a sheet view in
// which the user selects cells with the mouse.
//
// Its automation side is its life cycle: running (its service registered),
// visible and under user control, workbooks opened, a sheet activated, the
// active workbook's full name, quit. It runs from the program's start with
// no workbook open.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/workbook/cell_address.h"
#include "platform/workbook/workbook_file.h"

namespace vlm::platform::workbook {

constexpr const char* kExcelService = "Excel";
constexpr const char* kExcelWindowClass = "XLMAIN";
constexpr const char* kExcelCaption = "Spreadsheet Workspace";

// What the sheet view shows: a workbook's sheet and the cells selected in it.
struct SheetViewState {
  std::shared_ptr<const Workbook> book;  // null: no workbook open
  int32_t sheet = 0;
  std::vector<Area> selection;
  int32_t activeRow = 1, activeColumn = 1;
};

class ExcelWorkspace {
 public:
  static ExcelWorkspace& instance();

  // Automation.
  bool running() const;
  // Starts the workspace (visible) when it is not running; true when it had to start.
  bool start();
  // Closes every workbook and withdraws the service.
  void quit();
  bool visible() const;
  void setVisible(bool on);
  bool userControl() const;
  void setUserControl(bool on);
  // Workbooks.Open: reads the file and makes it the active workbook (a
  // workbook of that path already open is read again). On failure reports
  // why in the workspace's own message box and returns false.
  bool openWorkbook(const std::string& path);
  // Opens a workbook read elsewhere (tests, and files read before).
  void openWorkbook(std::unique_ptr<Workbook> book);
  // Worksheets(name).Activate on the active workbook (name without regard to case).
  bool activateSheet(const std::string& name);
  // ActiveWorkbook.FullName; empty without a workbook.
  std::string activeWorkbookFullName() const;
  void closeAll();

  // The letters the workspace writes R1C1 references with (its language).
  void setReferenceLetters(ReferenceLetters letters);
  ReferenceLetters referenceLetters() const;

  // The active sheet's selection as "[Book.xlsx]Sheet1!R1C1:R11C3" (areas
  // separated by ';', a sheet name that needs it in single quotes); empty
  // without a workbook.
  std::string selectionText() const;
  // The selection of the active sheet: areas and the active cell. Empty
  // areas select the active cell alone.
  void select(std::vector<Area> areas, int32_t activeRow, int32_t activeColumn);
  SheetViewState view() const;

  // A sheet of an open workbook by the names in a topic "[book]sheet"
  // (without regard to case); null when there is none.
  std::shared_ptr<const Workbook> findSheet(const std::string& book, const std::string& sheet, int32_t& index) const;
  // Changes whenever a workbook is opened or closed.
  uint64_t serial() const;

  void report(const std::string& text);

  // The main window: whether it exists, showing what view() holds, and
  // bringing it to the front (restoring it when minimised). They run on the
  // host thread; without hooks (tests, no display) they answer false.
  bool hasMainWindow() const;
  bool bringToFront();
  struct WindowHooks {
    std::function<bool()> exists;
    std::function<void()> changed;  // the workbook, sheet or selection changed
    std::function<bool()> front;
    std::function<void()> close;
  };
  void setWindowHooks(WindowHooks hooks);

 private:
  ExcelWorkspace();
  void changed();
  struct Impl;
  std::shared_ptr<Impl> impl_;
};

// A sheet name as a selection text writes it: in single quotes (doubled
// inside) when it holds anything but letters, digits, '_' and '.'.
std::string quotedSheetName(const std::string& name);

}  // namespace vlm::platform::workbook
