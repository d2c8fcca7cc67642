#include "platform/web_page.h"

#include <QDesktopServices>
#include <QUrl>

#include "platform/host_bridge.h"

namespace vlm::platform {

bool openWebPage(const std::string& address) {
  const QUrl url(QString::fromStdString(address));
  if (!url.isValid()) return false;
  return HostBridge::instance().runOnHost([url]() -> intptr_t { return QDesktopServices::openUrl(url) ? 1 : 0; }) != 0;
}

}  // namespace vlm::platform
