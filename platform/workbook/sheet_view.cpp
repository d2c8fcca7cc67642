#include "platform/workbook/sheet_view.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QPointer>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/host_bridge.h"
#include "platform/workbook/cell_address.h"
#include "platform/workbook/excel_workspace.h"

namespace vlm::platform::workbook {
namespace {

// The grid shows the used part of the sheet and a margin past it, so that
// the user can see where the data ends.
constexpr int kMarginRows = 20;
constexpr int kMarginColumns = 5;

class SheetModel final : public QAbstractTableModel {
 public:
  void show(std::shared_ptr<const Workbook> book, int32_t sheet) {
    beginResetModel();
    book_ = std::move(book);
    sheet_ = sheet;
    endResetModel();
  }
  const Sheet* sheet() const {
    if (!book_ || sheet_ < 0 || static_cast<size_t>(sheet_) >= book_->sheets.size()) return nullptr;
    return &book_->sheets[static_cast<size_t>(sheet_)];
  }
  int rowCount(const QModelIndex& parent) const override {
    const Sheet* s = sheet();
    return parent.isValid() || !s ? 0 : std::min(s->lastRow() + kMarginRows, kSheetRows);
  }
  int columnCount(const QModelIndex& parent) const override {
    const Sheet* s = sheet();
    return parent.isValid() || !s ? 0 : std::min(s->lastColumn() + kMarginColumns, kSheetColumns);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return QString::fromStdString(columnLetters(section + 1));
  }
  QVariant data(const QModelIndex& index, int role) const override {
    const Sheet* s = sheet();
    if (role != Qt::DisplayRole || !index.isValid() || !s) return {};
    const std::string_view text = s->cell(index.row() + 1, index.column() + 1);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }

 private:
  std::shared_ptr<const Workbook> book_;
  int32_t sheet_ = 0;
};

class SheetWindow final : public QMainWindow {
 public:
  SheetWindow() {
    setObjectName(kExcelWindowClass);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    table_ = new QTableView(central);
    table_->setModel(&model_);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    tabs_ = new QTabBar(central);
    tabs_->setShape(QTabBar::RoundedSouth);
    layout->addWidget(table_);
    layout->addWidget(tabs_);
    setCentralWidget(central);
    resize(900, 560);
    setWindowTitle(kExcelCaption);
    QObject::connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, table_,
                     [this] { selectionMade(); });
    QObject::connect(tabs_, &QTabBar::currentChanged, tabs_, [this](int index) {
      if (updating_ || index < 0) return;
      ExcelWorkspace::instance().activateSheet(tabs_->tabText(index).toStdString());
    });
  }

  // Shows what the workspace holds now.
  void refresh() {
    const SheetViewState v = ExcelWorkspace::instance().view();
    updating_ = true;
    if (v.book != book_) {
      book_ = v.book;
      while (tabs_->count() > 0) tabs_->removeTab(0);
      if (book_)
        for (const Sheet& s : book_->sheets) tabs_->addTab(QString::fromStdString(s.name));
    }
    if (v.book != shownBook_ || v.sheet != sheet_) {
      model_.show(v.book, v.sheet);
      shownBook_ = v.book;
      sheet_ = v.sheet;
    }
    tabs_->setCurrentIndex(v.sheet);
    setWindowTitle(book_ ? QString("%1 - %2").arg(kExcelCaption, QString::fromStdString(book_->name))
                         : QString(kExcelCaption));
    // The grid shows the workspace's selection.
    QItemSelection selection;
    const int rows = model_.rowCount({}), columns = model_.columnCount({});
    for (const Area& a : v.selection) {
      if (a.firstRow > rows || a.firstColumn > columns) continue;
      selection.select(model_.index(a.firstRow - 1, a.firstColumn - 1),
                       model_.index(std::min(a.lastRow, rows) - 1, std::min(a.lastColumn, columns) - 1));
    }
    table_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (v.activeRow <= rows && v.activeColumn <= columns) {
      const QModelIndex current = model_.index(v.activeRow - 1, v.activeColumn - 1);
      table_->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
      table_->scrollTo(current);
    }
    statusBar()->showMessage(QString::fromStdString(ExcelWorkspace::instance().selectionText()));
    updating_ = false;
  }

  bool busy() const { return updating_; }

  void front() {
    if (isMinimized()) showNormal();
    else show();
    raise();
    activateWindow();
  }

  bool select(const Area& area) {
    const int rows = model_.rowCount({}), columns = model_.columnCount({});
    if (area.firstRow > rows || area.firstColumn > columns) return false;
    const QItemSelection selection(model_.index(area.firstRow - 1, area.firstColumn - 1),
                                   model_.index(std::min(area.lastRow, rows) - 1, std::min(area.lastColumn, columns) - 1));
    table_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    return true;
  }

  SheetViewInfo info() const {
    SheetViewInfo i;
    i.exists = true;
    i.visible = isVisible();
    i.title = windowTitle().toStdString();
    if (const Sheet* s = model_.sheet()) i.sheet = s->name;
    i.selection = gridSelection();
    return i;
  }

 private:
  // The grid's selection as areas: a whole column or row selected in the
  // grid stands for the whole column or row of the sheet.
  std::vector<Area> gridSelection() const {
    std::vector<Area> areas;
    const int rows = model_.rowCount({}), columns = model_.columnCount({});
    for (const QItemSelectionRange& r : table_->selectionModel()->selection()) {
      Area a{r.top() + 1, r.bottom() + 1, r.left() + 1, r.right() + 1};
      if (rows > 0 && a.firstRow == 1 && a.lastRow == rows) a.lastRow = kSheetRows;
      if (columns > 0 && a.firstColumn == 1 && a.lastColumn == columns) a.lastColumn = kSheetColumns;
      areas.push_back(a);
    }
    return areas;
  }

  void selectionMade() {
    if (updating_) return;
    const QModelIndex current = table_->selectionModel()->currentIndex();
    updating_ = true;
    ExcelWorkspace::instance().select(gridSelection(), current.isValid() ? current.row() + 1 : 1,
                                      current.isValid() ? current.column() + 1 : 1);
    updating_ = false;
    statusBar()->showMessage(QString::fromStdString(ExcelWorkspace::instance().selectionText()));
  }

  QTableView* table_ = nullptr;
  QTabBar* tabs_ = nullptr;
  SheetModel model_;
  std::shared_ptr<const Workbook> book_, shownBook_;
  int32_t sheet_ = -1;
  bool updating_ = false;
};

// Touched only on the host thread.
QPointer<SheetWindow>& window() {
  static QPointer<SheetWindow> w;
  return w;
}

SheetWindow& ensureWindow() {
  if (!window()) {
    window() = new SheetWindow;
    window()->refresh();
  }
  return *window();
}

bool onHost(std::function<bool()> work) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  return HostBridge::instance().runOnHost([work = std::move(work)] { return work() ? 1 : 0; },
                                          std::chrono::milliseconds(10000)) != 0;
}

}  // namespace

void installSheetView() {
  ExcelWorkspace::WindowHooks h;
  h.exists = [] { return onHost([] { return !window().isNull(); }); };
  h.changed = [] {
    onHost([] {
      // A visible workspace shows its window; a selection made in the grid
      // itself is already on view.
      if (!window() && ExcelWorkspace::instance().visible()) ensureWindow().show();
      else if (window() && !window()->busy()) window()->refresh();
      return true;
    });
  };
  h.front = [] {
    return onHost([] {
      ensureWindow().front();
      return true;
    });
  };
  h.close = [] {
    onHost([] {
      delete window().data();
      return true;
    });
  };
  ExcelWorkspace::instance().setWindowHooks(std::move(h));
}

SheetViewInfo sheetViewInfo() {
  SheetViewInfo i;
  onHost([&i] {
    if (window()) i = window()->info();
    return true;
  });
  return i;
}

bool selectInSheetView(const Area& area) {
  return onHost([&area] { return window() && window()->select(area); });
}

}  // namespace vlm::platform::workbook
