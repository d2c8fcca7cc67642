// File > Open Database Server: the connection dialog, then the engine opens
// the server's first table as it opens a database file.
#include "engine/vlmapi.h"
#include "host/engine_exports.h"
#include "host/main_window.h"
#include "host/server_connection_dialog.h"

namespace vlm::host {
namespace {

// The last connection of this session, without its password.
ServerConnection& lastConnection() {
  static ServerConnection last;
  return last;
}

}  // namespace

void MainWindow::openServerFromDialog() {
  ServerConnectionDialog dialog(this, lastConnection());
  if (dialog.exec() != QDialog::Accepted) return;
  ServerConnection c = dialog.connection();
  const QByteArray text = connectionText(c).toUtf8();
  c.password.clear();
  lastConnection() = c;
  if (!engineRunning_ || !engineExports().openFile) return;
  if (engineExports().cancelAction) engineExports().cancelAction();
  setStopEnabled(true);
  engineExports().openFile(text.constData(), 0);
}

}  // namespace vlm::host
