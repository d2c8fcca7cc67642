#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <mutex>

#include "platform/host_bridge.h"

namespace vlm::platform {
namespace {

std::mutex g_mutex;
MessageBoxHandler g_handler;

QMessageBox::Icon toQt(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Information: return QMessageBox::Information;
    case BoxIcon::Warning: return QMessageBox::Warning;
    case BoxIcon::Question: return QMessageBox::Question;
    case BoxIcon::Error: return QMessageBox::Critical;
    case BoxIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

int fromQt(int button) {
  switch (button) {
    case QMessageBox::Yes: return BOX_YES;
    case QMessageBox::No: return BOX_NO;
    case QMessageBox::Cancel: return BOX_CANCEL;
    default: return BOX_OK;
  }
}

int showQtBox(const MessageBoxRequest& request) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return BOX_OK;
  if (request.beep) QApplication::beep();
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  switch (request.buttons) {
    case BoxButtons::Ok: buttons = QMessageBox::Ok; break;
    case BoxButtons::YesNo: buttons = QMessageBox::Yes | QMessageBox::No; break;
    case BoxButtons::YesNoCancel: buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case BoxButtons::OkCancel: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
  }
  QWidget* owner = qobject_cast<QWidget*>(HostBridge::instance().hostWindow());
  QMessageBox box(toQt(request.icon), QString::fromStdString(request.caption),
                  QString::fromStdString(request.text), buttons, owner);
  if (request.topMost) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  switch (request.defaultButton) {
    case BOX_NO: box.setDefaultButton(QMessageBox::No); break;
    case BOX_CANCEL: box.setDefaultButton(QMessageBox::Cancel); break;
    case BOX_YES: box.setDefaultButton(QMessageBox::Yes); break;
    default: break;
  }
  return fromQt(box.exec());
}

}  // namespace

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler) {
  std::lock_guard lock(g_mutex);
  MessageBoxHandler old = std::move(g_handler);
  g_handler = std::move(handler);
  return old;
}

int showMessageBox(const MessageBoxRequest& request) {
  MessageBoxHandler handler;
  {
    std::lock_guard lock(g_mutex);
    handler = g_handler;
  }
  if (handler) return handler(request);
  HostBridge& bridge = HostBridge::instance();
  if (bridge.isHostThread() || !bridge.hostWindow()) {
    // Without a host window a box can only be shown from the GUI thread.
    if (!bridge.isHostThread() && QCoreApplication::instance() &&
        QCoreApplication::instance()->thread() != QThread::currentThread())
      return BOX_OK;
    return showQtBox(request);
  }
  return static_cast<int>(bridge.runOnHost([request] { return static_cast<intptr_t>(showQtBox(request)); }));
}

}  // namespace vlm::platform
