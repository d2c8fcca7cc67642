#pragma once
// Work that a worker queues for the host thread's windows, returning at once.
#include <QObject>

#include <functional>

namespace vlm::platform {

// Queues `work` for the host thread, behind what is queued there already;
// nothing runs when `context` is destroyed first. From a worker it goes
// through the host bridge, whose queue ThreadSanitizer sees: Qt's own queue
// locks live in the uninstrumented Qt libraries, so a call handed over
// through them would look like a race. On the host thread, or with no host
// attached (a window tested alone), it goes through Qt's queue of
// `context`'s thread.
void queueOnHost(QObject* context, std::function<void()> work);

}  // namespace vlm::platform
