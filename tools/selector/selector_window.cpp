#include "tools/selector/selector_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <new>

#include "data/number_text.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/host_messages.h"
#include "engine/worker_thread.h"
#include "platform/host_bridge.h"
#include "platform/report.h"
#include "tools/selector/edit_selection_box.h"
#include "tools/selector/selector_edits.h"
#include "tools/selector/selector_list.h"
#include "tools/selector/selector_rules.h"

namespace vlm::selector {
namespace {

constexpr int kMinWidth = 200;
constexpr int kMinHeight = 100;
constexpr WindowRect kDefaultRect{10, 10, 220, 300};

class SelectorWindow : public QWidget {
 public:
  SelectorWindow(QWidget* owner, std::weak_ptr<EngineState> state);
  SelectorList* list() const { return list_; }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    if (auto state = state_.lock()) closeWindow(*state);
  }

 private:
  std::weak_ptr<EngineState> state_;
  SelectorList* list_ = nullptr;
};

struct WindowHost {
  QPointer<SelectorWindow> window;
  QPointer<EditSelectionBox> box;
};

WindowHost& windowHost() {
  static WindowHost host;
  return host;
}

std::string boundTextOf(const std::weak_ptr<EngineState>& weak, const RowView& row, double bound) {
  auto state = weak.lock();
  if (!state) return {};
  switch (row.type) {
    case FT_REAL:
      return realText(static_cast<float>(bound), state->main->regional);
    case FT_INTEGER:
    case FT_SIZE:
      return integerText(static_cast<int64_t>(bound));
    default:
      return {};  // dates show their text once the engine has the bound
  }
}

void openEditBox(const std::weak_ptr<EngineState>& weak, int32_t field, const QPoint& at) {
  auto state = weak.lock();
  WindowHost& host = windowHost();
  const RowView* row = shownRow(field);
  if (!state || !row || !host.window || host.box) return;
  const RowView shown = *row;
  QPointer<EditSelectionBox> box = new EditSelectionBox(host.window, shown.lowText, shown.highText);
  host.box = box;
  box->placeAt(at);
  const bool accepted = box->exec() == QDialog::Accepted;
  // The window may have gone while the box was open (teardown).
  if (!box) return;
  Edit edit;
  edit.kind = Edit::Kind::EditBox;
  edit.field = field;
  edit.method = kRangeSlider;
  edit.text = box->minText();
  edit.text2 = box->maxText();
  edit.text3 = box->distanceText();
  box->deleteLater();
  if (accepted) queueEdit(*state, std::move(edit));
}

SelectorWindow::SelectorWindow(QWidget* owner, std::weak_ptr<EngineState> state)
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), state_(std::move(state)) {
  setObjectName(QStringLiteral("selector"));
  setWindowTitle(QStringLiteral(" Selector"));
  setMinimumSize(kMinWidth, kMinHeight);
  SelectorList::Actions actions;
  std::weak_ptr<EngineState> weak = state_;
  actions.send = [weak](Edit edit) {
    if (auto s = weak.lock()) queueEdit(*s, std::move(edit));
  };
  actions.askMenu = [weak](uint32_t data, int32_t index) {
    if (auto s = weak.lock())
      sendHost(*s, HM_SHOW_SELECTOR_MENU, data, static_cast<uintptr_t>(static_cast<uint32_t>(index)));
  };
  actions.editBox = [weak](int32_t field, const QPoint& at) { openEditBox(weak, field, at); };
  actions.anyClick = [weak] {
    if (auto s = weak.lock()) stopPlay(*s);
  };
  actions.boundText = [weak](const RowView& row, double bound) { return boundTextOf(weak, row, bound); };
  list_ = new SelectorList(this, std::move(actions));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_);
}

QRect desktop() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// The stored rectangle as the window opens: the default when none is stored,
// at least 200 x 100, its top-left inside the desktop.
WindowRect placement(WindowRect r) {
  if (r.width <= 0 || r.height <= 0) r = kDefaultRect;
  const QRect desk = desktop();
  r.width = std::max(r.width, kMinWidth);
  r.height = std::max(r.height, kMinHeight);
  r.x = std::clamp(r.x, desk.left(), std::max(desk.left(), desk.right() + 1 - std::min(r.width, desk.width())));
  r.y = std::clamp(r.y, desk.top(), std::max(desk.top(), desk.bottom() + 1 - std::min(r.height, desk.height())));
  return r;
}

void storeRectangle(EngineState& state, const QWidget& window) {
  const QPoint at = window.frameGeometry().topLeft();
  WindowRect& r = state.main->settings.selector.rect;
  r.x = std::max(at.x(), 0);
  r.y = std::max(at.y(), 0);
  r.width = std::max(window.width(), kMinWidth);
  r.height = std::max(window.height(), kMinHeight);
}

// Every row, at once when the lock is free, else from the engine thread.
void fillList(EngineState& state) {
  platform::DataLock& lock = state.main->dataLock;
  if (lock.tryAcquire()) {
    publishView(state, true);
    lock.release();
    return;
  }
  Edit edit;
  edit.kind = Edit::Kind::Refresh;
  queueEdit(state, std::move(edit));
}

template <class F>
auto onHost(F f) {
  platform::HostBridge& bridge = platform::HostBridge::instance();
  if (bridge.isHostThread() || !bridge.hostWindow()) return f();
  decltype(f()) result{};
  bridge.runOnHost([&]() -> intptr_t {
    result = f();
    return 0;
  });
  return result;
}

}  // namespace

bool openWindow(EngineState& state) {
  return onHost([&state]() -> bool {
    WindowHost& host = windowHost();
    std::shared_ptr<EngineState> shared = currentState();
    if (!host.window) {
      try {
        auto* owner = qobject_cast<QWidget*>(static_cast<QObject*>(state.main->hostWindow));
        host.window = new SelectorWindow(owner, shared);
      } catch (const std::bad_alloc&) {
        platform::reportError("Unable to open Selector.");
        return false;
      }
    }
    SelectorWindow* w = host.window;
    const WindowRect r = placement(state.main->settings.selector.rect);
    w->resize(r.width, r.height);
    w->move(r.x, r.y);
    const bool deep = QGuiApplication::primaryScreen() == nullptr || QGuiApplication::primaryScreen()->depth() > 15;
    w->list()->setBrushes(deep ? QColor(144, 240, 144) : QColor(Qt::white),
                          deep ? QColor(128, 176, 128) : QColor(176, 176, 176));
    state.main->selector.open = 1;
    state.main->settings.selector.shown = 1;
    w->show();
    w->raise();
    fillList(state);
    return true;
  });
}

void closeWindow(EngineState& state) {
  onHost([&state]() -> bool {
    WindowHost& host = windowHost();
    const bool wasOpen = state.main->selector.open.exchange(0) != 0;
    stopPlay(state);
    if (host.box) host.box->reject();
    if (host.window) {
      if (wasOpen) storeRectangle(state, *host.window);
      host.window->hide();
    }
    state.main->settings.selector.shown = 0;
    postRefresh(state);
    postEngine(state, CMD_DRAW_SCENE);
    return true;
  });
}

void destroyWindow(EngineState& state) {
  onHost([&state]() -> bool {
    WindowHost& host = windowHost();
    if (host.box) host.box->reject();
    if (host.window) {
      if (state.main->selector.open.load() != 0) storeRectangle(state, *host.window);
      delete host.window.data();
    }
    state.main->selector.open = 0;
    return true;
  });
}

void showView(std::shared_ptr<SelectorView> view) {
  WindowHost& host = windowHost();
  if (host.window && view) host.window->list()->takeView(*view);
}

const RowView* shownRow(int32_t field) {
  WindowHost& host = windowHost();
  return host.window ? host.window->list()->row(field) : nullptr;
}

QWidget* windowWidget() { return windowHost().window.data(); }

}  // namespace vlm::selector
