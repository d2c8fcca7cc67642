// The menus, the toolbar and the status bar, and their refresh.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "engine/vlmapi.h"
#include "host/command_ids.h"
#include "host/engine_exports.h"
#include "host/main_window.h"
#include "host/progress_part.h"
#include "host/tooltips.h"
#include "host/toolbar_images.h"

namespace vlm::host {
namespace {

const EngineExports& ex() { return engineExports(); }

struct ToolbarButton {
  int image;  // -1: a separator
  int command;
  bool check;
};

constexpr ToolbarButton kButtons[] = {
    {0, ID_OPEN_MODEL, false}, {1, ID_SAVE_MODEL, false},  {-1, 0, false},           {3, ID_GOTO, false},
    {4, ID_LOAD, false},       {2, ID_STOP, false},        {-1, 0, false},           {7, ID_SELECTOR, true},
    {8, ID_CALCULATOR, true},  {9, ID_GRID, true},         {-1, 0, false},           {15, ID_SCATTER, false},
    {16, ID_BARS, false},      {17, ID_TILES, false},      {-1, 0, false},           {12, ID_LEGEND, false},
    {13, ID_WATER_LEVEL, true}, {14, ID_INIT_POSITION, false},
};

}  // namespace

QAction* MainWindow::addItem(QMenu* menu, int id, const char* text, bool checkable) {
  QAction* a = menu->addAction(QString::fromUtf8(text));
  a->setData(id);
  a->setCheckable(checkable);
  menuActions_[id] = a;
  connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
  return a;
}

void MainWindow::buildMenus() {
  QMenuBar* bar = menuBar();
  fileMenu_ = bar->addMenu(QStringLiteral("&File"));
  addItem(fileMenu_, ID_OPEN_MODEL, "&Open                               Ctrl+O");
  addItem(fileMenu_, ID_OPEN_SERVER, "Open Database Ser&ver...");
  addItem(fileMenu_, ID_APPLY_MODEL, "&Apply on Current Data");
  fileMenu_->addSeparator();
  addItem(fileMenu_, ID_LOAD, "&Load                                 Ctrl+L");
  addItem(fileMenu_, ID_LOAD_WITH_CONTROL, "Load with Cont&rol            Ctrl+R");
  addItem(fileMenu_, ID_LOAD_SELECTION_ONLY, "Load Selection O&nly");
  fileMenu_->addSeparator();
  addItem(fileMenu_, ID_SAVE_MODEL, "&Save                                Ctrl+S");
  addItem(fileMenu_, ID_SAVE_MODEL_AS, "Sav&e As");
  fileMenu_->addSeparator();
  addItem(fileMenu_, ID_REPORT, "&Generate Report...");
  recentSeparator_ = fileMenu_->addSeparator();
  recentSeparator_->setData(ID_RECENT_SEPARATOR);
  exitAction_ = addItem(fileMenu_, ID_EXIT, "E&xit");

  editMenu_ = bar->addMenu(QStringLiteral("&Edit"));
  addItem(editMenu_, ID_COPY, "&Copy");
  addItem(editMenu_, ID_PASTE, "&Paste        Ctrl+V")->setEnabled(false);
  editMenu_->addSeparator();
  QMenu* image = editMenu_->addMenu(QStringLiteral("&Image"));
  addItem(image, ID_IMAGE_COPY, "&Copy   Ctrl+C");
  addItem(image, ID_IMAGE_SAVE, "&Save");
  addItem(image, ID_IMAGE_PRINT, "&Print");
  editMenu_->addSeparator();
  addItem(editMenu_, ID_MAKE_HORIZONTAL, "Make &Horizontal");
  addItem(editMenu_, ID_MAKE_VERTICAL, "Make &Vertical");
  addItem(editMenu_, ID_SCALE_IDENTICAL, "&Scale Identical");

  viewMenu_ = bar->addMenu(QStringLiteral("&View"));
  addItem(viewMenu_, ID_NEW_MODEL, "&New Model");
  addItem(viewMenu_, ID_INIT_POSITION, "&Init Position");
  viewMenu_->addSeparator();
  addItem(viewMenu_, ID_SCATTER, "&Scatter            Ctrl+1");
  addItem(viewMenu_, ID_BARS, "&Bars                 Ctrl+2");
  addItem(viewMenu_, ID_TILES, "&Tiles                 Ctrl+3");
  viewMenu_->addSeparator();
  addItem(viewMenu_, ID_WATER_LEVEL, "&Water Level     Ctrl+W", true);

  toolsMenu_ = bar->addMenu(QStringLiteral("&Tools"));
  addItem(toolsMenu_, ID_SELECTOR, "&Selector", true);
  addItem(toolsMenu_, ID_CALCULATOR, "&Calculator", true);
  addItem(toolsMenu_, ID_GRID, "&Grid", true);
  toolsMenu_->addSeparator();
  addItem(toolsMenu_, ID_CASCADE, "&Cascade");
  addItem(toolsMenu_, ID_TILE, "&Tile");
  toolsMenu_->addSeparator();
  addItem(toolsMenu_, ID_OPTIONS, "&Options ...");

  helpMenu_ = bar->addMenu(QStringLiteral("&Help"));
  addItem(helpMenu_, ID_HELP_CONTENTS, "&Contents...");
  addItem(helpMenu_, ID_HELP_INDEX, "&Index...");
  addItem(helpMenu_, ID_HELP_SEARCH, "&Search...");
  helpMenu_->addSeparator();
  addItem(helpMenu_, ID_SAMPLES, "&Explore Samples...");
  helpMenu_->addSeparator();
  addItem(helpMenu_, ID_QUICK_CARD, "&Quick Card");
  addItem(helpMenu_, ID_SUPPORT, "&Technical Support");
  addItem(helpMenu_, ID_WEB_SITE, "Velmora on the &Web");
  helpMenu_->addSeparator();
  addItem(helpMenu_, ID_ABOUT, "&About");

  // The delete command has no menu item; its action carries the enable state.
  auto* del = new QAction(this);
  del->setData(ID_DELETE);
  menuActions_[ID_DELETE] = del;
}

void MainWindow::buildToolbar() {
  if (toolbar_) {
    removeToolBar(toolbar_);
    toolbar_->deleteLater();
    toolbarActions_.clear();
  }
  toolbar_ = new QToolBar(QStringLiteral("Toolbar"), this);
  toolbar_->setObjectName(QStringLiteral("toolbar"));
  toolbar_->setMovable(false);
  toolbar_->setFloatable(false);
  toolbar_->setIconSize(QSize(18, 18));
  toolbar_->setToolButtonStyle(toolbarStyle_ == 1 ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
  toolbar_->setFocusPolicy(Qt::NoFocus);
  int kind = 0;
  vlm_AppIDToProductVersion(23, &kind, nullptr);
  const bool excel = kind == 1;
  for (const ToolbarButton& b : kButtons) {
    if (b.image < 0) {
      toolbar_->addSeparator();
      continue;
    }
    int image = b.image;
    if (excel && b.command == ID_GOTO) image = 5;
    if (excel && b.command == ID_LOAD) image = 6;
    QAction* a = toolbar_->addAction(toolbarImage(image), toolbarLabelFor(b.command, excel));
    a->setData(b.command);
    a->setCheckable(b.check);
    a->setToolTip(tooltipFor(b.command));
    const int id = b.command;
    connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
    toolbarActions_[id] = a;
    if (QWidget* w = toolbar_->widgetForAction(a)) w->setFocusPolicy(Qt::NoFocus);
  }
  addToolBar(Qt::TopToolBarArea, toolbar_);
  updateLegendImage();
  setStopEnabled(stopEnabled_);
}

void MainWindow::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("status"));
  bar->setSizeGripEnabled(true);
  // Four parts whose right edges are at 80, 200, 400 and 600 pixels.
  statusText_ = new QLabel(QStringLiteral(" ready"));
  statusText_->setFixedWidth(80);
  progress_ = new ProgressPart;
  progress_->setFixedWidth(120);
  hitsPart_ = new QLabel;
  hitsPart_->setFixedWidth(200);
  selectionPart_ = new QLabel;
  selectionPart_->setFixedWidth(200);
  for (QWidget* w : {static_cast<QWidget*>(statusText_), static_cast<QWidget*>(progress_),
                     static_cast<QWidget*>(hitsPart_), static_cast<QWidget*>(selectionPart_)})
    bar->addWidget(w);
  bar->installEventFilter(this);
  for (QWidget* w : bar->findChildren<QWidget*>()) w->installEventFilter(this);
}

void MainWindow::rebuildRecentMenu() {
  for (size_t i = 0; i < recent_.names.size(); ++i) {
    const QString text = QStringLiteral("&%1 %2").arg(i + 1).arg(QString::fromUtf8(recent_.names[i]));
    if (i < recentActions_.size()) {
      recentActions_[i]->setText(text);  // updated in place
      continue;
    }
    QAction* a = new QAction(text, fileMenu_);
    const int id = ID_RECENT_FIRST + static_cast<int>(i);
    a->setData(id);
    connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
    fileMenu_->insertAction(recentSeparator_, a);
    recentActions_.push_back(a);
    menuActions_[id] = a;
  }
  // The separator between the files and Exit exists only with files.
  recentSeparator_->setVisible(!recent_.names.empty());
  refreshMenus();
}

void MainWindow::updateLegendImage() {
  QAction* a = toolbarAction(ID_LEGEND);
  if (!a) return;
  int image = 10;
  if (ex().getLabels && ex().getLabels()) image = ex().getDefaultLabels && ex().getDefaultLabels() ? 12 : 11;
  a->setIcon(toolbarImage(image));
}

void MainWindow::refreshEditMenu() {
  const bool something = engineRunning_ && vlm_IsSomethingToDelete() != 0;
  // Known from the clipboard's last change: a click never reads the clipboard.
  const bool paste = engineRunning_ && pasteValid_;
  auto avail = [this](int id) {
    auto it = commands_.find(id);
    return it != commands_.end() && it->second.available();
  };
  auto set = [](QAction* a, bool on) {
    if (a) a->setEnabled(on);
  };
  set(menuAction(ID_PASTE), paste);
  set(menuAction(ID_COPY), something && avail(ID_COPY));
  set(menuAction(ID_DELETE), something);
  set(toolbarAction(ID_PASTE), paste);
  set(toolbarAction(ID_DELETE_TOOLBAR), something);
  set(toolbarAction(ID_COPY), something && avail(ID_COPY) && vlm_GetSelectedObjectType() == 1);
}

void MainWindow::refreshMenus() {
  for (auto& [id, a] : menuActions_) {
    auto it = commands_.find(id);
    a->setEnabled(it != commands_.end() && it->second.available());
  }
  for (auto& [id, a] : toolbarActions_) {
    auto it = commands_.find(id);
    a->setEnabled(it != commands_.end() && it->second.available());
  }
  setStopEnabled(stopEnabled_);
  if (engineRunning_) {
    if (QAction* apply = menuAction(ID_APPLY_MODEL)) apply->setEnabled(apply->isEnabled() && vlm_GetNumberOfHits() > 0);
    auto check = [this](int id, int (*isOn)()) {
      const bool on = isOn && isOn() != 0;
      if (QAction* a = menuAction(id)) a->setChecked(on);
      if (QAction* a = toolbarAction(id)) a->setChecked(on);
    };
    check(ID_WATER_LEVEL, ex().getWaterlevel);
    check(ID_GRID, ex().isGridOn);
    check(ID_CALCULATOR, ex().isCalculatorOn);
    check(ID_SELECTOR, ex().isSelectorOn);
  }
  refreshEditMenu();
  updateLegendImage();
}

void MainWindow::setCaption() {
  QString caption = QStringLiteral(" Velmora ACCESS");
  if (engineRunning_) {
    std::vector<char> name(4096, '\0');
    vlm_GetModelName(name.data());
    QString model = QString::fromUtf8(name.data());
    if (model.toUpper().endsWith(QStringLiteral(".VLM"))) model.chop(4);
    if (!model.isEmpty()) caption += QStringLiteral(" - ") + model;
    if (ex().getDataServer) {
      std::vector<char> source(4096, '\0'), table(4096, '\0'), third(4096, '\0');
      ex().getDataServer(source.data(), table.data(), third.data());
      for (const auto* part : {&source, &table})
        if (part->front() != '\0') caption += QStringLiteral(" - ") + QString::fromUtf8(part->data());
    }
  }
  setWindowTitle(caption);
}

QAction* MainWindow::menuAction(int id) const {
  auto it = menuActions_.find(id);
  return it == menuActions_.end() ? nullptr : it->second;
}

QAction* MainWindow::toolbarAction(int id) const {
  auto it = toolbarActions_.find(id);
  return it == toolbarActions_.end() ? nullptr : it->second;
}

QString MainWindow::statusPartText(int part) const {
  switch (part) {
    case 0: return statusText_->text();
    case 2: return hitsPart_->text();
    case 3: return selectionPart_->text();
    default: return {};
  }
}

}  // namespace vlm::host
