#include "tools/selector/selector_window.h"

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
#include "tools/tool_window.h"
#include "tools/on_host.h"

namespace vlm::selector {
namespace {

using tools::onHost;

constexpr WindowRect kDefaultRect{10, 10, 220, 300};
constexpr int32_t kHelpTopic = 140;

class SelectorWindow : public tools::ToolWindow {
 public:
  SelectorWindow(EngineState& state, QWidget* owner, std::weak_ptr<EngineState> weak);
  SelectorList* list() const { return list_; }

 protected:
  // The close box does what vlm_CloseSelector does.
  void closedByUser() override { selector::closeWindow(state_); }

 private:
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

SelectorWindow::SelectorWindow(EngineState& state, QWidget* owner, std::weak_ptr<EngineState> weak)
    : tools::ToolWindow(state, state.main->settings.selector, kDefaultRect, QStringLiteral(" Selector"), kHelpTopic,
                        owner) {
  setObjectName(QStringLiteral("selector"));
  SelectorList::Actions actions;
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

}  // namespace

bool openWindow(EngineState& state) {
  return onHost([&state]() -> bool {
    WindowHost& host = windowHost();
    std::shared_ptr<EngineState> shared = currentState();
    if (!host.window) {
      try {
        auto* owner = qobject_cast<QWidget*>(static_cast<QObject*>(state.main->hostWindow));
        host.window = new SelectorWindow(state, owner, shared);
      } catch (const std::bad_alloc&) {
        platform::reportError("Unable to open Selector.");
        return false;
      }
    }
    SelectorWindow* w = host.window;
    const bool deep = QGuiApplication::primaryScreen() == nullptr || QGuiApplication::primaryScreen()->depth() > 15;
    w->list()->setBrushes(deep ? QColor(144, 240, 144) : QColor(Qt::white),
                          deep ? QColor(128, 176, 128) : QColor(176, 176, 176));
    state.main->selector.open = 1;
    w->openWindow();  // at the stored rectangle, clamped to the desktop
    fillList(state);
    return true;
  });
}

void closeWindow(EngineState& state) {
  onHost([&state]() -> bool {
    WindowHost& host = windowHost();
    state.main->selector.open = 0;
    stopPlay(state);
    if (host.box) host.box->reject();
    if (host.window) host.window->closeWindow();  // keeps its rectangle while it was open
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
      host.window->storeGeometry();
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
