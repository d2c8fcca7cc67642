#pragma once
// A running engine with a shown 3D view and a small model on it, and every
// dialog, clipboard, printer and browser of the output replaced by a stand-in
// that answers as a user would and records what it was asked.
#include <QImage>
#include <QPrinter>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/support/engine_fixture.h"
#include "output/output_state.h"
#include "platform/file_dialog.h"
#include "platform/picture_clipboard.h"
#include "platform/printer_choice.h"
#include "platform/url_opener.h"

namespace vlm::test {

class OutputTest : public EngineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the engine on a shown view of the given size with a Scatter model
  // of a small table; false (the test skips) when no context can be made.
  bool startWithModel(int width = 161, int height = 103);
  // Runs host work and events until `done` holds or `seconds` pass.
  bool waitFor(const std::function<bool()>& done, int seconds = 20);
  // The view as the window system shows it (independent of the engine's read-back).
  QImage grabView();

  // The file dialog's answers, one per call (the last repeats); every request is kept.
  std::vector<platform::FileDialogResult> dialogAnswers;
  std::vector<platform::FileDialogRequest> dialogRequests;
  // The picture clipboard: what was put there, and whether it can be had.
  bool clipboardWorks = true;
  std::vector<QImage> clipboardPictures;
  // The printer handed back by the print dialog (null: cancelled).
  std::function<std::unique_ptr<QPrinter>()> makePrinter;
  int printDialogs = 0;
  // Addresses opened in the browser, and whether a browser starts.
  std::vector<std::string> opened;
  bool browserStarts = true;
  // The Create Report dialog's answer and the options it sets.
  std::function<bool(ReportOptions&)> reportDialog;

  std::mutex mutex;  // the stand-ins may be called from the engine thread

 private:
  platform::FileDialogHandler previousDialog_;
  platform::PictureClipboardHandler previousClipboard_;
  platform::PrinterChooser previousPrinter_;
  platform::UrlOpener previousOpener_;
};

}  // namespace vlm::test
