#include "platform/file_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

#include <mutex>

#include "platform/host_bridge.h"

namespace vlm::platform {
namespace {

std::mutex g_mutex;
FileDialogHandler g_handler;

// "Bitmap Files (*.BMP)" with "*.bmp;*.dib" becomes Qt's "Bitmap Files (*.BMP) (*.bmp *.dib)".
QString qtFilter(const FileFilter& f) {
  QString patterns = QString::fromStdString(f.patterns);
  patterns.replace(';', ' ');
  return QString::fromStdString(f.label) + " (" + patterns + ")";
}

FileDialogResult showQtDialog(const FileDialogRequest& request) {
  FileDialogResult result;
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return result;
  QWidget* owner = qobject_cast<QWidget*>(HostBridge::instance().hostWindow());
  QFileDialog dialog(owner, QString::fromStdString(request.caption), QString::fromStdString(request.directory));
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  // Qt's own dialog: the same on every desktop, and it reports the chosen filter.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  QStringList filters;
  for (const FileFilter& f : request.filters) filters << qtFilter(f);
  dialog.setNameFilters(filters);
  if (request.filterIndex >= 0 && request.filterIndex < filters.size())
    dialog.selectNameFilter(filters[request.filterIndex]);
  if (!request.initialName.empty()) dialog.selectFile(QString::fromStdString(request.initialName));
  if (!request.resizable) dialog.setSizeGripEnabled(false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;
  result.accepted = true;
  result.path = dialog.selectedFiles().front().toStdString();
  result.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
  if (result.filterIndex < 0) result.filterIndex = request.filterIndex;
  return result;
}

}  // namespace

FileDialogHandler setFileDialogHandler(FileDialogHandler handler) {
  std::lock_guard lock(g_mutex);
  FileDialogHandler old = std::move(g_handler);
  g_handler = std::move(handler);
  return old;
}

FileDialogResult showFileDialog(const FileDialogRequest& request) {
  FileDialogHandler handler;
  {
    std::lock_guard lock(g_mutex);
    handler = g_handler;
  }
  FileDialogResult result;
  HostBridge& bridge = HostBridge::instance();
  auto work = [&]() -> intptr_t {
    result = handler ? handler(request) : showQtDialog(request);
    return 1;
  };
  if (bridge.isHostThread() || !bridge.hostWindow()) work();
  else bridge.runOnHost(work);
  return result;
}

}  // namespace vlm::platform
