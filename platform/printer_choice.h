#pragma once
// The print dialog: which printer, as what device. Shown on the host thread;
// tests replace it by a handler that hands back a printer of their own (a PDF
// file, or a printer that cannot stretch pictures).
#include <QPrinter>

#include <functional>
#include <memory>

namespace vlm::platform {

struct PrintRequest {
  int copies = 1;
  int fromPage = 1;
  int toPage = 0xFFFF;
  int maxPage = 0xFFFF;
};

// Null when the user cancelled.
using PrinterChooser = std::function<std::unique_ptr<QPrinter>(const PrintRequest&)>;

// Replaces the dialog (null restores Qt's print dialog); returns the previous one.
PrinterChooser setPrinterChooser(PrinterChooser chooser);

// Call on the host thread.
std::unique_ptr<QPrinter> choosePrinter(const PrintRequest& request);

}  // namespace vlm::platform
