#include "platform/password_prompt.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QThread>

#include <memory>
#include <mutex>

#include "platform/host_bridge.h"

namespace vlm::platform {
namespace {

std::mutex g_mutex;
PasswordHandler g_handler;

std::optional<std::string> showQtPrompt(const PasswordRequest& request) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return std::nullopt;
  QString text = QString("Password for %1:").arg(QString::fromStdString(request.connection));
  if (!request.reason.empty()) text = QString::fromStdString(request.reason) + "\n\n" + text;
  bool ok = false;
  const QString answer = QInputDialog::getText(qobject_cast<QWidget*>(HostBridge::instance().hostWindow()), "Database Password", text,
                                               QLineEdit::Password, QString(), &ok);
  if (!ok) return std::nullopt;
  return answer.toStdString();
}

}  // namespace

PasswordHandler setPasswordHandler(PasswordHandler handler) {
  std::lock_guard lock(g_mutex);
  PasswordHandler old = std::move(g_handler);
  g_handler = std::move(handler);
  return old;
}

std::optional<std::string> askPassword(const PasswordRequest& request) {
  PasswordHandler handler;
  {
    std::lock_guard lock(g_mutex);
    handler = g_handler;
  }
  if (handler) return handler(request);
  HostBridge& bridge = HostBridge::instance();
  if (bridge.isHostThread()) return showQtPrompt(request);
  if (!bridge.hostWindow()) return std::nullopt;
  auto answer = std::make_shared<std::optional<std::string>>();
  bridge.runOnHost([request, answer] {
    *answer = showQtPrompt(request);
    return intptr_t{1};
  });
  return *answer;
}

}  // namespace vlm::platform
