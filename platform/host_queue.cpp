#include "platform/host_queue.h"

#include <QMetaObject>
#include <QPointer>

#include "platform/host_bridge.h"

namespace vlm::platform {

void queueOnHost(QObject* context, std::function<void()> work) {
  if (!context) return;
  HostBridge& bridge = HostBridge::instance();
  QPointer<QObject> alive(context);
  if (!bridge.isHostThread() && bridge.postWork([alive, work] {
        if (alive) work();
      }))
    return;
  QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
}

}  // namespace vlm::platform
