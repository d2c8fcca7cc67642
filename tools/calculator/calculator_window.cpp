#include "tools/calculator/calculator_window.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>

#include <dlfcn.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <new>

#include "data/utf8.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/host_messages.h"
#include "engine/worker_thread.h"
#include "platform/host_bridge.h"
#include "platform/host_queue.h"
#include "platform/report.h"
#include "tools/calculator/calculator.h"
#include "tools/on_host.h"

namespace vlm::calculator {
namespace {

using tools::onHost;

constexpr int kMinWidth = 200;
constexpr int kMinHeight = 100;
constexpr WindowRect kDefaultRect{10, 310, 220, 300};
constexpr int kHelpTopic = 141;
constexpr const char* kSpeechMark = "  [Speech]";

// The rows, painted on a light grey ground: the label right-aligned in the
// label column, the result after it.
class RowList : public QWidget {
 public:
  explicit RowList(QWidget* parent) : QWidget(parent) {
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    setAutoFillBackground(false);
  }
  void take(std::shared_ptr<const CalculatorView> view) {
    if (view && view_ && view->sequence < view_->sequence) return;
    view_ = std::move(view);
    setMinimumHeight(rowHeight() * static_cast<int>(view_ ? view_->rows.size() : 0));
    update();
  }
  const std::shared_ptr<const CalculatorView>& view() const { return view_; }
  int rowHeight() const { return fontMetrics().height() + 4; }
  int rowAt(int y) const {
    const int row = y / rowHeight();
    return view_ && y >= 0 && row < static_cast<int>(view_->rows.size()) ? row : -1;
  }
  std::function<void(int row)> clicked;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), QColor(224, 224, 224));
    if (!view_) return;
    const QFontMetrics m = fontMetrics();
    const int column = labelColumnWidth(width());
    const int h = rowHeight();
    p.setPen(Qt::black);
    for (size_t i = 0; i < view_->rows.size(); ++i) {
      const CalculatorView::Row& r = view_->rows[i];
      const int top = static_cast<int>(i) * h;
      const QRect labelBox(2, top, std::max(column - 3 - 2, 0), h);
      p.drawText(labelBox, Qt::AlignRight | Qt::AlignVCenter,
                 QString::fromStdString(fitText(m, r.label, labelBox.width())));
      const QRect resultBox(column + 2, top, std::max(width() - column - 4, 0), h);
      const std::string result = r.spoken ? r.result + kSpeechMark : r.result;
      p.drawText(resultBox, Qt::AlignLeft | Qt::AlignVCenter,
                 QString::fromStdString(fitText(m, result, resultBox.width())));
    }
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (clicked) clicked(rowAt(static_cast<int>(e->position().y())));
  }

 private:
  std::shared_ptr<const CalculatorView> view_;
};

class CalculatorWindow : public QWidget {
 public:
  CalculatorWindow(QWidget* owner, std::weak_ptr<EngineState> state)
      : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), state_(std::move(state)) {
    setObjectName(QStringLiteral("calculator"));
    setWindowTitle(QStringLiteral(" Calculator"));
    setMinimumSize(kMinWidth, kMinHeight);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    list_ = new RowList(scroll);
    scroll->setWidget(list_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    std::weak_ptr<EngineState> weak = state_;
    list_->clicked = [weak](int row) {
      // The host shows the menu and hands its choice back to the engine.
      if (auto s = weak.lock())
        sendHost(*s, HM_SHOW_CALCULATOR_MENU, static_cast<uintptr_t>(static_cast<intptr_t>(row)),
                 static_cast<uintptr_t>(static_cast<intptr_t>(row)));
    };
  }
  RowList* list() const { return list_; }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    if (auto state = state_.lock()) closeWindow(*state);
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_F1) {
      if (auto help = reinterpret_cast<void (*)(int)>(dlsym(RTLD_DEFAULT, "vlm_Help"))) help(kHelpTopic);
      return;
    }
    QWidget::keyPressEvent(event);
  }

 private:
  std::weak_ptr<EngineState> state_;
  RowList* list_ = nullptr;
};

// The window lives on the host thread; the mutex lets a calculation on
// another thread hand it rows while it exists.
struct WindowHost {
  std::mutex mutex;
  QPointer<CalculatorWindow> window;
};

WindowHost& windowHost() {
  static WindowHost host;
  return host;
}

QRect desktop() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

WindowRect placement(WindowRect r) {
  if (r.width <= 0 || r.height <= 0) r = kDefaultRect;
  const QRect desk = desktop();
  r.width = std::clamp(r.width, kMinWidth, std::max(desk.width(), kMinWidth));
  r.height = std::clamp(r.height, kMinHeight, std::max(desk.height(), kMinHeight));
  r.x = std::clamp(r.x, desk.left(), std::max(desk.left(), desk.right() + 1 - r.width));
  r.y = std::clamp(r.y, desk.top(), std::max(desk.top(), desk.bottom() + 1 - r.height));
  return r;
}

void storeRectangle(EngineState& state, const QWidget& window) {
  const QPoint at = window.frameGeometry().topLeft();
  WindowRect& r = state.main->settings.calculator.rect;
  r.x = std::max(at.x(), 0);
  r.y = std::max(at.y(), 0);
  r.width = std::max(window.width(), kMinWidth);
  r.height = std::max(window.height(), kMinHeight);
}

}  // namespace

int labelColumnWidth(int clientWidth) { return clientWidth * 3 / 5; }

std::string fitText(const QFontMetrics& metrics, const std::string& text, int width) {
  const auto fits = [&](const std::string& t) { return metrics.horizontalAdvance(QString::fromStdString(t)) <= width; };
  if (fits(text)) return text;
  std::vector<size_t> starts;  // where each character begins
  for (size_t pos = 0; pos < text.size();) {
    starts.push_back(pos);
    utf8::decode(text, pos);
  }
  // One character fewer at a time, the last one shown turned into ".".
  for (size_t shown = starts.size(); shown-- > 1;) {
    std::string candidate = text.substr(0, starts[shown - 1]) + ".";
    if (fits(candidate)) return candidate;
  }
  return fits(".") ? "." : "";
}

bool openWindow(EngineState& state) {
  const bool opened = onHost([&state]() -> bool {
    WindowHost& host = windowHost();
    if (!host.window) {
      try {
        auto* owner = qobject_cast<QWidget*>(static_cast<QObject*>(state.main->hostWindow));
        std::lock_guard lock(host.mutex);
        host.window = new CalculatorWindow(owner, currentState());
      } catch (const std::bad_alloc&) {
        platform::reportError("Unable to open Calculator.");
        return false;
      }
    }
    CalculatorWindow* w = host.window;
    const WindowRect r = placement(state.main->settings.calculator.rect);
    w->resize(r.width, r.height);
    w->move(r.x, r.y);
    state.main->calculator.open = 1;
    state.main->settings.calculator.shown = 1;
    w->show();
    w->raise();
    return true;
  });
  if (opened) calculateNow(state);
  return opened;
}

void closeWindow(EngineState& state) {
  onHost([&state]() -> bool {
    WindowHost& host = windowHost();
    const bool wasOpen = state.main->calculator.open.exchange(0) != 0;
    if (host.window) {
      if (wasOpen) storeRectangle(state, *host.window);
      host.window->hide();
    }
    state.main->settings.calculator.shown = 0;
    postRefresh(state);
    postEngine(state, CMD_DRAW_SCENE);
    return true;
  });
}

void destroyWindow(EngineState& state) {
  onHost([&state]() -> bool {
    WindowHost& host = windowHost();
    std::lock_guard lock(host.mutex);
    if (host.window) {
      if (state.main->calculator.open.load() != 0) storeRectangle(state, *host.window);
      delete host.window.data();
    }
    state.main->calculator.open = 0;
    return true;
  });
}

void showResults(EngineState&, std::shared_ptr<const CalculatorView> view) {
  WindowHost& host = windowHost();
  std::lock_guard lock(host.mutex);
  if (!host.window) return;
  QPointer<CalculatorWindow> window = host.window;
  platform::queueOnHost(window.data(), [window, view = std::move(view)]() mutable {
    if (window) window->list()->take(std::move(view));
  });
}

std::shared_ptr<const CalculatorView> shownView() {
  WindowHost& host = windowHost();
  return host.window ? host.window->list()->view() : nullptr;
}

QWidget* windowWidget() { return windowHost().window.data(); }

}  // namespace vlm::calculator
