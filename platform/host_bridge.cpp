#include "platform/host_bridge.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/tsan_handover.h"

namespace vlm::platform {
namespace {

// Posted to the host window to make it run the queued host work.
class WakeEvent : public QEvent {
 public:
  static QEvent::Type eventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
  }
  WakeEvent() : QEvent(eventType()) {}
  ~WakeEvent() override { takeOver(this); }
};

struct HostTask {
  std::function<intptr_t()> work;
  std::thread::id from;  // the thread that waits for it
  std::mutex mutex;
  std::condition_variable cv;
  bool done = false;
  bool abandoned = false;
  intptr_t result = 0;
};

// Receives the wake events on the host thread.
class WakeReceiver : public QObject {
 public:
  explicit WakeReceiver(HostBridge& bridge) : bridge_(bridge) {}
  bool event(QEvent* e) override {
    if (e->type() == WakeEvent::eventType()) {
      takeOver(e);
      bridge_.pump();
      return true;
    }
    return QObject::event(e);
  }

 private:
  HostBridge& bridge_;
};

#ifdef VLM_TSAN_HANDOVER
// Takes over every event the host thread delivers before any filter or
// handler reads it: whoever reads a posted event first (an event filter, the
// host window) then reads it after the hand-over.
class TakeOverFilter : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* e) override {
    takeOver(e);
    return false;
  }
};
#endif

}  // namespace

QEvent::Type HostMessageEvent::eventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

HostMessageEvent::~HostMessageEvent() { takeOver(this); }

const HostMessageData& HostMessageEvent::data() const {
  takeOver(this);
  return data_;
}

struct HostBridge::Impl {
  mutable std::mutex mutex;
  QPointer<QObject> host;
  std::thread::id hostThread;
  std::unique_ptr<WakeReceiver> receiver;
  std::deque<std::shared_ptr<HostTask>> tasks;
  std::function<void()> wakeHook;
  std::vector<std::thread::id> serving;  // the threads whose host work runs now, innermost last
};

HostBridge::HostBridge() : impl_(new Impl) {}

HostBridge& HostBridge::instance() {
  static HostBridge bridge;
  return bridge;
}

void HostBridge::attach(QObject* hostWindow) {
  std::lock_guard lock(impl_->mutex);
  impl_->host = hostWindow;
  impl_->hostThread = std::this_thread::get_id();
  if (!impl_->receiver) impl_->receiver = std::make_unique<WakeReceiver>(*this);
  if (impl_->receiver->thread() != QThread::currentThread())
    impl_->receiver->moveToThread(QThread::currentThread());
#ifdef VLM_TSAN_HANDOVER
  // Application filters see the host thread's events before anything else.
  static TakeOverFilter filter;
  static QPointer<QCoreApplication> filtered;
  if (QCoreApplication* app = QCoreApplication::instance(); app && filtered != app) {
    app->installEventFilter(&filter);
    filtered = app;
  }
#endif
}

void HostBridge::detach() {
  std::deque<std::shared_ptr<HostTask>> left;
  {
    std::lock_guard lock(impl_->mutex);
    impl_->host = nullptr;
    left.swap(impl_->tasks);
  }
  for (auto& task : left) {
    std::lock_guard lock(task->mutex);
    task->abandoned = true;
    task->cv.notify_all();
  }
}

bool HostBridge::isHostThread() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->hostThread == std::this_thread::get_id();
}

QObject* HostBridge::hostWindow() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->host.data();
}

bool HostBridge::post(HostMessageData data) {
  QObject* host = hostWindow();
  if (!host) return false;
  auto* event = new HostMessageEvent(std::move(data));
  handOver(event);
  QCoreApplication::postEvent(host, event);
  return true;
}

intptr_t HostBridge::send(HostMessageData data, std::chrono::milliseconds timeout) {
  return runOnHost(
      [this, data = std::move(data)]() -> intptr_t {
        QObject* host = hostWindow();
        if (!host) return 0;
        HostMessageEvent event(data);
        QCoreApplication::sendEvent(host, &event);
        return event.result;
      },
      timeout);
}

intptr_t HostBridge::runOnHost(std::function<intptr_t()> work, std::chrono::milliseconds timeout) {
  if (isHostThread()) return work();
  auto task = std::make_shared<HostTask>();
  task->work = std::move(work);
  task->from = std::this_thread::get_id();
  std::function<void()> hook;
  {
    std::lock_guard lock(impl_->mutex);
    if (!impl_->host || !impl_->receiver) return 0;
    impl_->tasks.push_back(task);
    auto* wake = new WakeEvent;
    handOver(wake);
    QCoreApplication::postEvent(impl_->receiver.get(), wake);
    hook = impl_->wakeHook;
  }
  if (hook) hook();
  std::unique_lock lock(task->mutex);
  auto finished = [&] { return task->done || task->abandoned; };
  if (timeout.count() < 0)
    task->cv.wait(lock, finished);
  else if (!task->cv.wait_for(lock, timeout, finished))
    task->abandoned = true;
  return task->done ? task->result : 0;
}

bool HostBridge::postWork(std::function<void()> work) {
  if (isHostThread()) {
    if (!hostWindow()) return false;  // no host: nothing runs, as for any other thread
    work();
    return true;
  }
  // A task nobody waits for: the queue's mutex hands it over to the host
  // thread, which runs and frees it.
  auto task = std::make_shared<HostTask>();
  task->work = [work = std::move(work)]() -> intptr_t {
    work();
    return 0;
  };
  task->from = std::this_thread::get_id();
  std::function<void()> hook;
  {
    std::lock_guard lock(impl_->mutex);
    if (!impl_->host || !impl_->receiver) return false;
    impl_->tasks.push_back(task);
    auto* wake = new WakeEvent;
    handOver(wake);
    QCoreApplication::postEvent(impl_->receiver.get(), wake);
    hook = impl_->wakeHook;
  }
  if (hook) hook();
  return true;
}

void HostBridge::pump() {
  if (!isHostThread()) return;
  for (;;) {
    std::shared_ptr<HostTask> task;
    {
      std::lock_guard lock(impl_->mutex);
      if (impl_->tasks.empty()) return;
      task = impl_->tasks.front();
      impl_->tasks.pop_front();
    }
    {
      std::lock_guard lock(task->mutex);
      if (task->abandoned) continue;
    }
    {
      std::lock_guard lock(impl_->mutex);
      impl_->serving.push_back(task->from);
    }
    const intptr_t result = task->work();
    {
      std::lock_guard lock(impl_->mutex);
      impl_->serving.pop_back();
    }
    std::lock_guard lock(task->mutex);
    task->result = result;
    task->done = true;
    task->cv.notify_all();
  }
}

bool HostBridge::isServing(std::thread::id thread) const {
  std::lock_guard lock(impl_->mutex);
  if (impl_->hostThread != std::this_thread::get_id()) return false;
  for (const std::thread::id& t : impl_->serving)
    if (t == thread) return true;
  return false;
}

bool HostBridge::waitPumping(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    pump();
    if (done()) return true;
    if (timeout.count() >= 0 && std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void HostBridge::setWakeHook(std::function<void()> hook) {
  std::lock_guard lock(impl_->mutex);
  impl_->wakeHook = std::move(hook);
}

}  // namespace vlm::platform
