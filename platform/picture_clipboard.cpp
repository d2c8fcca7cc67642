#include "platform/picture_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <mutex>

#include "platform/host_bridge.h"

namespace vlm::platform {
namespace {

std::mutex g_mutex;
PictureClipboardHandler g_handler;

bool putOnDesktop(const QImage& picture) {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (!app) return false;
  QClipboard* board = QGuiApplication::clipboard();
  if (!board) return false;
  auto* mime = new QMimeData;
  mime->setImageData(picture);
  board->setMimeData(mime, QClipboard::Clipboard);  // the clipboard owns it now
  return true;
}

}  // namespace

PictureClipboardHandler setPictureClipboardHandler(PictureClipboardHandler handler) {
  std::lock_guard lock(g_mutex);
  PictureClipboardHandler old = std::move(g_handler);
  g_handler = std::move(handler);
  return old;
}

bool putPictureOnClipboard(const QImage& picture) {
  PictureClipboardHandler handler;
  {
    std::lock_guard lock(g_mutex);
    handler = g_handler;
  }
  HostBridge& bridge = HostBridge::instance();
  auto work = [&]() -> intptr_t { return (handler ? handler(picture) : putOnDesktop(picture)) ? 1 : 0; };
  if (bridge.isHostThread() || !bridge.hostWindow()) return work() == 1;
  return bridge.runOnHost(work) == 1;
}

}  // namespace vlm::platform
