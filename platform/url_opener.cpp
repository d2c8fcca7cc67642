#include "platform/url_opener.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

#include <mutex>

#include "platform/host_bridge.h"

namespace vlm::platform {
namespace {

std::mutex g_mutex;
UrlOpener g_opener;

}  // namespace

UrlOpener setUrlOpener(UrlOpener opener) {
  std::lock_guard lock(g_mutex);
  UrlOpener old = std::move(g_opener);
  g_opener = std::move(opener);
  return old;
}

bool openUrl(const std::string& address) {
  UrlOpener opener;
  {
    std::lock_guard lock(g_mutex);
    opener = g_opener;
  }
  if (opener) return opener(address);
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
  auto work = [&address]() -> intptr_t {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(address))) ? 1 : 0;
  };
  HostBridge& bridge = HostBridge::instance();
  if (bridge.isHostThread() || !bridge.hostWindow()) return work() == 1;
  return bridge.runOnHost(work) == 1;
}

}  // namespace vlm::platform
