#include "platform/printer_choice.h"

#include <QApplication>
#include <QPrintDialog>

#include <mutex>

#include "platform/host_bridge.h"

namespace vlm::platform {
namespace {

std::mutex g_mutex;
PrinterChooser g_chooser;

std::unique_ptr<QPrinter> showQtDialog(const PrintRequest& request) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setCopyCount(request.copies);
  printer->setFromTo(request.fromPage, request.toPage);
  QPrintDialog dialog(printer.get(), qobject_cast<QWidget*>(HostBridge::instance().hostWindow()));
  dialog.setMinMax(1, request.maxPage);
  if (dialog.exec() != QDialog::Accepted) return nullptr;
  return printer;
}

}  // namespace

PrinterChooser setPrinterChooser(PrinterChooser chooser) {
  std::lock_guard lock(g_mutex);
  PrinterChooser old = std::move(g_chooser);
  g_chooser = std::move(chooser);
  return old;
}

std::unique_ptr<QPrinter> choosePrinter(const PrintRequest& request) {
  PrinterChooser chooser;
  {
    std::lock_guard lock(g_mutex);
    chooser = g_chooser;
  }
  return chooser ? chooser(request) : showQtDialog(request);
}

}  // namespace vlm::platform
