#include "platform/workspace/record_browser.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QPointer>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTreeWidget>

#include <filesystem>
#include <map>
#include <memory>

#include "platform/host_bridge.h"
#include "platform/workspace/workspace.h"

namespace vlm::platform::workspace {
namespace {

constexpr int64_t kPageRows = 256;
constexpr size_t kPagesKept = 64;

// One object's records, read a page at a time through the browser's own
// connection to the database.
class RecordModel final : public QAbstractTableModel {
 public:
  void show(std::shared_ptr<db::Database> database, db::ObjectInfo object) {
    beginResetModel();
    db_ = std::move(database);
    object_ = std::move(object);
    columns_.clear();
    pages_.clear();
    rows_ = 0;
    std::string error;
    if (db_) {
      if (auto c = db_->columns(object_, error)) columns_ = std::move(*c);
      if (auto n = db_->rowCount(object_, error)) rows_ = *n;
    }
    endResetModel();
  }
  void clear() { show(nullptr, {}); }
  const db::ObjectInfo& object() const { return object_; }
  int64_t records() const { return rows_; }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(std::min<int64_t>(rows_, INT32_MAX));
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || static_cast<size_t>(section) >= columns_.size()) return {};
    return QString::fromStdString(columns_[static_cast<size_t>(section)].name);
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const auto& page = pageOf(index.row() / kPageRows);
    const size_t r = static_cast<size_t>(index.row() % kPageRows);
    if (r >= page.size() || static_cast<size_t>(index.column()) >= page[r].size()) return {};
    return QString::fromStdString(page[r][static_cast<size_t>(index.column())]);
  }

 private:
  using Page = std::vector<std::vector<std::string>>;
  const Page& pageOf(int64_t number) const {
    auto it = pages_.find(number);
    if (it != pages_.end()) return it->second;
    if (pages_.size() >= kPagesKept) pages_.erase(pages_.begin());
    Page& page = pages_[number];
    std::string error;
    if (!db_) return page;
    auto cursor = db_->open(object_, {number * kPageRows, kPageRows, 1}, error);
    if (!cursor) return page;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (page.size() < static_cast<size_t>(kPageRows) && cursor->next(deadline) == db::Step::Row) {
      if (cursor->sourceRow() < number * kPageRows) continue;
      std::vector<std::string> row(static_cast<size_t>(cursor->columnCount()));
      for (int c = 0; c < cursor->columnCount(); ++c) {
        std::string_view text;
        if (cursor->cell(c, text)) row[static_cast<size_t>(c)] = std::string(text);
      }
      page.push_back(std::move(row));
    }
    return page;
  }

  std::shared_ptr<db::Database> db_;
  db::ObjectInfo object_;
  std::vector<db::Column> columns_;
  int64_t rows_ = 0;
  mutable std::map<int64_t, Page> pages_;
};

class RecordBrowser final : public QMainWindow {
 public:
  RecordBrowser() {
    setObjectName("OMAIN");
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* split = new QSplitter(this);
    tree_ = new QTreeWidget(split);
    tree_->setHeaderHidden(true);
    table_ = new QTableView(split);
    table_->setModel(&model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    split->setStretchFactor(1, 3);
    setCentralWidget(split);
    resize(900, 560);
    QObject::connect(tree_, &QTreeWidget::itemActivated, tree_, [this](QTreeWidgetItem* item, int) {
      if (!item->parent()) return;
      showObject(item->text(0).toStdString(), item->parent() == queries_);
    });
    setWindowTitle(kCaption);
  }

  void openDatabase(const std::string& path) {
    model_.clear();
    tree_->clear();
    db_.reset();
    tables_ = queries_ = nullptr;
    tableCount_ = queryCount_ = 0;
    if (path.empty()) {
      setWindowTitle(kCaption);
      return;
    }
    std::string error;
    db_ = std::shared_ptr<db::Database>(db::openDatabaseFile(path, error));
    setWindowTitle(QString("%1 - %2").arg(kCaption, QString::fromStdString(std::filesystem::path(path).filename().string())));
    if (!db_) return;
    tables_ = new QTreeWidgetItem(tree_, {"Tables"});
    queries_ = new QTreeWidgetItem(tree_, {"Queries"});
    auto objects = db_->objects(error);
    if (objects) {
      for (const auto& o : *objects) {
        const bool query = o.kind == db::ObjectKind::Query;
        new QTreeWidgetItem(query ? queries_ : tables_, {QString::fromStdString(o.name)});
        ++(query ? queryCount_ : tableCount_);
      }
    }
    tree_->expandAll();
    // The first object is on view until another is chosen.
    if (objects && !objects->empty()) showObject(objects->front().name, objects->front().kind == db::ObjectKind::Query);
  }

  bool showObject(const std::string& name, bool query) {
    if (!db_) return false;
    std::string error;
    auto objects = db_->objects(error);
    if (!objects) return false;
    for (const auto& o : *objects) {
      if (o.name != name || (o.kind == db::ObjectKind::Query) != query) continue;
      if (model_.object().name != name || model_.object().kind != o.kind) model_.show(db_, o);
      statusBar()->showMessage(QString("%1 records").arg(model_.records()));
      return true;
    }
    return false;
  }

  bool goToRecord(const std::string& name, int64_t record) {
    if (!db_ || model_.object().name != name || record < 1 || record > model_.records()) return false;
    const QModelIndex index = model_.index(static_cast<int>(record - 1), 0);
    table_->selectRow(index.row());
    table_->scrollTo(index, QAbstractItemView::PositionAtCenter);
    statusBar()->showMessage(QString("Record %1 of %2").arg(record).arg(model_.records()));
    return true;
  }

  void front() {
    if (isMinimized()) showNormal();
    else show();
    raise();
    activateWindow();
  }

  RecordBrowserView view() const {
    RecordBrowserView v;
    v.exists = true;
    v.visible = isVisible();
    v.title = windowTitle().toStdString();
    v.object = model_.object().name;
    v.records = model_.records();
    const QModelIndex current = table_->selectionModel() ? table_->selectionModel()->currentIndex() : QModelIndex();
    v.currentRecord = current.isValid() ? current.row() + 1 : 0;
    v.tables = tableCount_;
    v.queries = queryCount_;
    return v;
  }

 private:
  QTreeWidget* tree_ = nullptr;
  QTableView* table_ = nullptr;
  QTreeWidgetItem* tables_ = nullptr;
  QTreeWidgetItem* queries_ = nullptr;
  int tableCount_ = 0, queryCount_ = 0;
  RecordModel model_;
  std::shared_ptr<db::Database> db_;
};

// Touched only on the host thread.
QPointer<RecordBrowser>& browser() {
  static QPointer<RecordBrowser> b;
  return b;
}

RecordBrowser& ensureBrowser() {
  if (!browser()) browser() = new RecordBrowser;
  return *browser();
}

bool onHost(std::function<bool()> work) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  return HostBridge::instance().runOnHost([work = std::move(work)] { return work() ? 1 : 0; },
                                          std::chrono::milliseconds(10000)) != 0;
}

}  // namespace

void installRecordBrowser() {
  Workspace::WindowHooks h;
  h.exists = [] { return onHost([] { return !browser().isNull(); }); };
  h.open = [](const std::string& path) {
    return onHost([path] {
      // A browser comes into being with the first database; later ones reuse it.
      if (path.empty() && !browser()) return true;
      ensureBrowser().openDatabase(path);
      return true;
    });
  };
  h.show = [](const std::string& name, bool query) {
    return onHost([name, query] { return browser() && browser()->showObject(name, query); });
  };
  h.goTo = [](const std::string& name, int64_t record) {
    return onHost([name, record] { return browser() && browser()->goToRecord(name, record); });
  };
  h.front = [] {
    return onHost([] {
      ensureBrowser().front();
      return true;
    });
  };
  h.close = [] {
    onHost([] {
      delete browser().data();
      return true;
    });
  };
  Workspace::instance().setWindowHooks(std::move(h));
}

RecordBrowserView recordBrowserView() {
  RecordBrowserView v;
  onHost([&v] {
    if (browser()) v = browser()->view();
    return true;
  });
  return v;
}

}  // namespace vlm::platform::workspace
