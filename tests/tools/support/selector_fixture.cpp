#include "tools/support/selector_fixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWidget>

#include <chrono>
#include <thread>

#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "platform/host_bridge.h"
#include "tools/menus/menu_tracker.h"
#include "tools/selector/selector_window.h"

namespace vlm::test {

void SelectorTest::SetUp() { SourceTest::SetUp(); }

void SelectorTest::TearDown() {
  tools::setMenuChooser(nullptr);
  SourceTest::TearDown();
}

void SelectorTest::startWith(const std::string& table) {
  start();
  ASSERT_EQ(vlm_OpenWindow(), 1);
  ASSERT_TRUE(paste(table));
}

bool SelectorTest::waitFor(const std::function<bool()>& done, int ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    platform::HostBridge::instance().pump();
    QCoreApplication::processEvents();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

int32_t SelectorTest::settledSelected() {
  // Twice: the engine's queue empty and the lock free, then a moment for what
  // the last handler posted.
  for (int round = 0; round < 2; ++round) {
    waitFor([this] {
      auto engine = std::atomic_load(&state_->main->engineThread);
      return (!engine || engine->queue().size() == 0) && state_->main->dataLock.isFree();
    });
    waitFor([] { return false; }, 30);
  }
  return vlm_GetNumberOfSelected();
}

void SelectorTest::read(const std::function<void(const DataTable&)>& look) {
  platform::DataLockGuard guard(state_->main->dataLock);
  look(*state_->data);
}

int32_t SelectorTest::method(int field) {
  int32_t m = -1;
  read([&](const DataTable& t) { m = t.fields[static_cast<size_t>(field)].selector.method; });
  return m;
}

selector::SelectorList* SelectorTest::list() {
  QWidget* window = selector::windowWidget();
  if (!window) return nullptr;
  return static_cast<selector::SelectorList*>(window->findChild<QAbstractScrollArea*>(QStringLiteral("selectorList")));
}

int SelectorTest::itemOf(int field) {
  const auto& items = list()->items();
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].field == field) return static_cast<int>(i);
  return -1;
}

int SelectorTest::trackY(int field) {
  const int index = itemOf(field);
  const auto& item = list()->items()[static_cast<size_t>(index)];
  const int line = item.height / 2 - 3;
  return list()->itemTop(index) + line + 2 + line / 2;
}

namespace {

void sendMouse(QWidget* target, QEvent::Type type, const QPoint& at, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

}  // namespace

void SelectorTest::press(const QPoint& at, Qt::MouseButton button) {
  sendMouse(list()->viewport(), QEvent::MouseButtonPress, at, button, button);
}

void SelectorTest::move(const QPoint& at) {
  sendMouse(list()->viewport(), QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
}

void SelectorTest::release(const QPoint& at) {
  sendMouse(list()->viewport(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

void SelectorTest::doubleClick(const QPoint& at) {
  press(at);
  release(at);
  sendMouse(list()->viewport(), QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
  release(at);
}

QImage SelectorTest::grab() { return selector::windowWidget()->grab().toImage(); }

QString SelectorTest::saveShot(const QImage& image, const QString& name) {
  const QByteArray dir = qgetenv("VLM_SCREENSHOT_DIR");
  const QString folder = dir.isEmpty() ? QStringLiteral("/tmp/velmora-screens") : QString::fromLocal8Bit(dir);
  QDir().mkpath(folder);
  const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
  image.save(path);
  return path;
}

}  // namespace vlm::test
