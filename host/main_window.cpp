#include "host/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QVariant>

#include "engine/host_messages.h"
#include "engine/vlmapi.h"
#include "host/accelerators.h"
#include "host/command_ids.h"
#include "host/engine_exports.h"
#include "host/progress_part.h"
#include "host/status_texts.h"
#include "host/tip_of_the_day.h"
#include "host/view_window.h"
#include "host/virtual_keys.h"

namespace vlm::host {
namespace {

// A dropped file name is taken up to this many bytes.
constexpr int kDropNameLimit = 4096;

char localeDecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point.isEmpty() ? '\0' : point.at(0).toLatin1();
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("VLMAC"));
  setWindowTitle(QStringLiteral(" Velmora ACCESS"));
  setAcceptDrops(true);
  setFocusPolicy(Qt::StrongFocus);
  view_ = new View3DWindow;
  view_->onMouse = [this](MouseAction a, int mx, int my, int flags) { forwardMouse(a, mx, my, flags); };
  view_->onWheel = [this](int delta, int flags, int gx, int gy) {
    if (!engineRunning_) return;
    const auto w = (static_cast<uintptr_t>(static_cast<uint16_t>(static_cast<int16_t>(delta))) << 16) |
                   static_cast<uint16_t>(flags);
    const auto l = (static_cast<uintptr_t>(static_cast<uint16_t>(gy)) << 16) | static_cast<uint16_t>(gx);
    vlm_OnMouseWheel(w, l);
  };
  view_->onKey = [this](QKeyEvent* e, bool down) { handleKey(e, down); };
  viewContainer_ = QWidget::createWindowContainer(view_, this);
  viewContainer_->setObjectName(QStringLiteral("view"));
  viewContainer_->setMinimumSize(200, 150);
  viewContainer_->setFocusPolicy(Qt::NoFocus);
  setCentralWidget(viewContainer_);
  // The engine finds the window it draws into through this property.
  setProperty("vlm3DWindow", QVariant::fromValue(static_cast<QObject*>(view_)));

  toolbarStyle_ = readToolbarStyle();
  makeCommands();
  buildMenus();
  buildToolbar();
  buildStatusBar();
  recent_ = readRecentFiles();

  const QRect desk = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                      : QRect(0, 0, 1024, 768);
  placement_ = readPlacement(desk.width(), desk.height());
  move(placement_.x, placement_.y);
  resize(placement_.width < 25 ? 800 : placement_.width, placement_.height < 25 ? 600 : placement_.height);
  if (placement_.maximised) setWindowState(windowState() | Qt::WindowMaximized);
  // Paste follows the clipboard as soon as another program changes it.
  if (QClipboard* board = QGuiApplication::clipboard())
    connect(board, &QClipboard::dataChanged, this, [this] { updatePasteState(); });
  refreshMenus();
}

void MainWindow::updatePasteState() {
  const EngineExports& x = engineExports();
  pasteValid_ = engineRunning_ && x.isClipboardValid && x.initConnection && x.isClipboardValid() != 0;
  refreshEditMenu();
}

MainWindow::~MainWindow() { stopEngine(); }

bool MainWindow::startEngine() {
  if (engineRunning_) return true;
  winId();
  view_->create();
  if (vlm_InitSystem(QGuiApplication::instance(), this, toolbar_, statusBar(), 23) != 1) return false;
  if (vlm_OpenWindow() != 1) {
    vlm_DeinitSystem();
    return false;
  }
  view_->setEngineActive(true);
  engineRunning_ = true;
  updatePasteState();
  return true;
}

void MainWindow::afterStart(const std::string& file) {
  rebuildRecentMenu();
  refreshMenus();
  setStopEnabled(true);  // HM_BUSY 1: the first load is on its way
  if (!engineRunning_) return;
  vlm_DrawScene();
  showTipOfTheDayAtStart(this);
  const EngineExports& e = engineExports();
  if (!file.empty() && e.openFile)
    e.openFile(file.c_str(), 0);
  else if (e.initConnection)
    e.initConnection(0);
  else
    setStopEnabled(false);
}

void MainWindow::stopEngine() {
  if (!engineRunning_) return;
  engineRunning_ = false;
  view_->setEngineActive(false);
  vlm_CloseWindow();
  vlm_DeinitSystem();
}

bool MainWindow::event(QEvent* e) {
  if (e->type() == vlm_HostMessageEventType()) {
    handleHostMessage(e);
    return true;
  }
  switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride: {
      // Tab is a command here, not a focus move.
      auto* k = static_cast<QKeyEvent*>(e);
      if (k->key() == Qt::Key_Tab && e->type() == QEvent::KeyPress) {
        handleKey(k, true);
        return true;
      }
      break;
    }
    case QEvent::WindowActivate:
      updatePasteState();
      break;
    default:
      break;
  }
  return QMainWindow::event(e);
}

void MainWindow::keyPressEvent(QKeyEvent* e) { handleKey(e, true); }
void MainWindow::keyReleaseEvent(QKeyEvent* e) { handleKey(e, false); }

void MainWindow::handleKey(QKeyEvent* e, bool down) {
  e->accept();
  if (down) {
    if (const int command = acceleratorCommand(*e)) {
      runCommand(command);
      return;
    }
  }
  const int vk = virtualKeyOf(*e);
  if (!engineRunning_ || vk == 0 || (e->isAutoRepeat() && !down)) return;
  if (down)
    vlm_OnKeyDown(vk);
  else
    vlm_OnKeyUp(vk);
}

void MainWindow::forwardMouse(MouseAction action, int mx, int my, int flags) {
  if (!engineRunning_) return;
  switch (action) {
    case MouseAction::Press:
      vlm_OnButtonDown(mx, my, flags);
      refreshEditMenu();
      activateWindow();
      setFocus();
      break;
    case MouseAction::Release:
      treeMenuDelay_.noteRelease(flags);
      vlm_OnButtonUp(mx, my, flags);
      refreshEditMenu();
      break;
    case MouseAction::DoubleClick:
      treeMenuDelay_.noteDoubleClick();
      vlm_OnDblclkLeft(mx, my, flags);
      refreshEditMenu();
      break;
    case MouseAction::Move:
      vlm_OnMouseMove(mx, my, flags);
      break;
  }
}

void MainWindow::showHits(int64_t rows, int64_t source, int64_t selected) {
  hitsPart_->setText(QString::fromStdString(hitsText(rows, source)));
  selectionPart_->setText(QString::fromStdString(selectionText(selected, rows, source, localeDecimalSeparator())));
}

void MainWindow::handleHostMessage(QEvent* e) {
  vlm_host_message d{};
  if (!vlm_ReadHostMessage(e, &d)) return;
  const EngineExports& x = engineExports();
  intptr_t result = 0;
  switch (d.message) {
    case HM_PROGRESS_BEGIN:
      statusText_->setText(QString::fromUtf8(d.text ? d.text : ""));
      progress_->begin(static_cast<int64_t>(d.wParam), static_cast<int64_t>(d.lParam));
      break;
    case HM_PROGRESS_STEP:
      progress_->step(static_cast<int64_t>(d.wParam));
      break;
    case HM_PROGRESS_END:
      progress_->end();
      statusText_->setText(QStringLiteral(" ready"));
      break;
    case HM_HITS:
      showHits(static_cast<int64_t>(d.wParam), static_cast<int64_t>(d.lParam), d.extra);
      refreshEditMenu();
      break;
    case HM_BUSY:
      setStopEnabled(d.wParam != 0);
      break;
    case HM_SHOW_FLOATING_MENU:
      if (x.showFloatingMenu) {
        const auto show = x.showFloatingMenu;
        const uintptr_t name = d.wParam;
        treeMenuDelay_.showMenu(this, static_cast<uint32_t>(name), [show, name] { show(name); });
      }
      break;
    case HM_SHOW_SELECTOR_MENU:
      if (x.showSelectorMenu) x.showSelectorMenu(d.wParam, d.lParam);
      break;
    case HM_SHOW_CALCULATOR_MENU:
      if (x.showCalculatorMenu) x.showCalculatorMenu(d.wParam, d.lParam);
      break;
    case HM_SHOW_GRID_MENU:
      if (x.showGridMenu) runGridMenuCommand(x.showGridMenu(d.wParam, d.lParam));
      break;
    case HM_REFRESH:
      setCaption();
      refreshMenus();
      break;
    case HM_RECENT_FILE:
      if (d.text && *d.text) {
        addRecentFile(recent_, d.text);
        rebuildRecentMenu();
      }
      break;
    case HM_LAYOUT:
      if (d.wParam == 1) {
        toolbarStyle_ = d.lParam != 0 ? 1 : 0;
        buildToolbar();
        refreshMenus();
      } else if (d.wParam == 2) {
        recordPlacement();
      }
      break;
    default:
      break;
  }
  vlm_SetHostMessageResult(e, result);
}

// The Grid menu returns its choice to the host: Setup, the Grid switch, or
// closing the Grid.
void MainWindow::runGridMenuCommand(int id) {
  if (id == ID_OPTIONS || id == ID_GRID) {
    runCommand(id);
  } else if (id == ID_CLOSE_GRID && engineExports().closeGrid) {
    engineExports().closeGrid();
    vlm_PostMessage(HM_REFRESH, 0, 0);
  }
}

void MainWindow::recordPlacement() {
  placement_.maximised = isMaximized();
  if (!isMaximized() && !isMinimized()) {
    placement_.x = pos().x();
    placement_.y = pos().y();
    placement_.width = width();
    placement_.height = height();
  }
}

void MainWindow::saveSettings() {
  recordPlacement();
  writePlacement(placement_, isMinimized());
  writeRecentFiles(recent_);
  writeToolbarStyle(toolbarStyle_);
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (closing_) {
    e->accept();
    return;
  }
  const EngineExports& x = engineExports();
  // Without a model writer the question could not be answered with Save: it is not asked.
  if (engineRunning_ && x.modelSave && vlm_IsConfirmationRequired() && !vlm_IsSaved()) {
    QMessageBox box(QMessageBox::Question, QStringLiteral(" Velmora Quit"),
                    QStringLiteral("Do you want to save your model?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    const int answer = box.exec();
    if (answer == QMessageBox::Cancel) {
      e->ignore();
      return;
    }
    // A model that was not saved after all (Save As cancelled, a write that
    // failed) keeps the program open rather than being lost.
    if (answer == QMessageBox::Yes && x.modelSave() != 1) {
      e->ignore();
      return;
    }
  }
  if (engineRunning_ && x.cancelAction) x.cancelAction();
  closing_ = true;
  stopEngine();
  saveSettings();
  e->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* e) {
  const QList<QUrl> urls = e->mimeData()->urls();
  if (urls.isEmpty()) return;
  // Only the first dropped file is opened.
  const QByteArray name = urls.first().toLocalFile().toUtf8().left(kDropNameLimit - 1);
  if (engineRunning_ && engineExports().openFile && !name.isEmpty()) engineExports().openFile(name.constData(), 0);
  e->acceptProposedAction();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::MouseButtonDblClick && engineRunning_ && engineExports().cancelAction) {
    for (QObject* o = watched; o; o = o->parent())
      if (o == statusBar()) {
        engineExports().cancelAction();
        return true;
      }
  }
  return QMainWindow::eventFilter(watched, e);
}

}  // namespace vlm::host
