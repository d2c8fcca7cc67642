#pragma once
// The road from the worker threads to the host's window thread: posted and sent
// host messages, and work that must run on the host thread (message boxes,
// dialogs, menus).
//
// A thread that blocks on the host thread must never deadlock with a host thread
// that blocks on it: every wait the host thread makes on a worker (opening and
// closing the window, waiting for the data lock) goes through pump(), which runs
// queued host work while it waits.
#include <QEvent>
#include <QObject>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace vlm::platform {

struct HostMessageData {
  uint32_t message = 0;
  uintptr_t wParam = 0;
  uintptr_t lParam = 0;
  int64_t extra = 0;  // a third count, where a message carries one
  std::string text;   // a text carried with the message (status texts, file names)
};

// The event the host window receives for every host message. A posted one is
// made on a worker and read and deleted on the host thread: it is handed over
// through Qt's queue (see tsan_handover.h), and read through data().
class HostMessageEvent : public QEvent {
 public:
  static QEvent::Type eventType();
  explicit HostMessageEvent(HostMessageData data) : QEvent(eventType()), data_(std::move(data)) {}
  ~HostMessageEvent() override;
  const HostMessageData& data() const;
  intptr_t result = 0;  // set by the host for sent messages

 private:
  HostMessageData data_;
};

class HostBridge {
 public:
  static HostBridge& instance();

  // Host side: where host messages go, and which thread is the host thread.
  void attach(QObject* hostWindow);
  void detach();
  bool isHostThread() const;
  QObject* hostWindow() const;

  bool post(HostMessageData data);
  // Delivers on the host thread and waits for the result. Returns 0 when the
  // host is gone or stops answering within `timeout` (negative: no limit).
  intptr_t send(HostMessageData data, std::chrono::milliseconds timeout = std::chrono::milliseconds(-1));
  // Runs `work` on the host thread and returns its result (directly when called there).
  intptr_t runOnHost(std::function<intptr_t()> work,
                     std::chrono::milliseconds timeout = std::chrono::milliseconds(-1));
  // Queues `work` to run on the host thread and returns at once (directly
  // when called there). False when there is no host. Work posted from one
  // thread runs in posting order.
  bool postWork(std::function<void()> work);
  // Runs queued host work; does nothing off the host thread.
  void pump();
  // On the host thread: whether it is running host work that `thread` waits
  // for right now (a send, a message box, a menu it asked for).
  bool isServing(std::thread::id thread) const;
  // Waits on the host thread until `done` holds, running host work meanwhile.
  bool waitPumping(const std::function<bool()>& done, std::chrono::milliseconds timeout);
  // Called whenever host work is queued (the data lock wakes its waiters with it).
  void setWakeHook(std::function<void()> hook);

 private:
  HostBridge();
  struct Impl;
  Impl* impl_;
};

}  // namespace vlm::platform
