#include "output/support/output_fixture.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <chrono>
#include <thread>

#include "engine/engine_state.h"
#include "engine/render/surface_format.h"
#include "engine/support/scene_support.h"
#include "engine/support/table_loader.h"
#include "engine/vlmapi.h"
#include "output/html_report.h"
#include "platform/host_bridge.h"

namespace vlm::test {

void OutputTest::SetUp() {
  EngineTest::SetUp();
  previousDialog_ = platform::setFileDialogHandler([this](const platform::FileDialogRequest& r) {
    std::lock_guard lock(mutex);
    dialogRequests.push_back(r);
    if (dialogAnswers.empty()) return platform::FileDialogResult{};
    const size_t i = std::min(dialogRequests.size(), dialogAnswers.size()) - 1;
    return dialogAnswers[i];
  });
  previousClipboard_ = platform::setPictureClipboardHandler([this](const QImage& picture) {
    std::lock_guard lock(mutex);
    if (!clipboardWorks) return false;
    clipboardPictures.push_back(picture);
    return true;
  });
  previousPrinter_ = platform::setPrinterChooser([this](const platform::PrintRequest&) {
    std::lock_guard lock(mutex);
    ++printDialogs;
    return makePrinter ? makePrinter() : std::unique_ptr<QPrinter>();
  });
  previousOpener_ = platform::setUrlOpener([this](const std::string& address) {
    std::lock_guard lock(mutex);
    opened.push_back(address);
    return browserStarts;
  });
  setReportDialogHandler([this](ReportOptions& options) { return reportDialog ? reportDialog(options) : false; });
}

void OutputTest::TearDown() {
  EngineTest::TearDown();
  platform::setFileDialogHandler(previousDialog_);
  platform::setPictureClipboardHandler(previousClipboard_);
  platform::setPrinterChooser(previousPrinter_);
  platform::setUrlOpener(previousOpener_);
  setReportDialogHandler(nullptr);
}

bool OutputTest::waitFor(const std::function<bool()>& done, int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    platform::HostBridge::instance().pump();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done();
}

bool OutputTest::startWithModel(int width, int height) {
  view_->setSurfaceType(QSurface::OpenGLSurface);
  view_->setFormat(render::wantedSurfaceFormat(false));
  view_->resize(width, height);
  view_->create();
  view_->show();
  waitFor([this] { return view_->isExposed(); }, 5);
  if (!init()) return false;
  if (vlm_OpenWindow() != 1) return false;
  const int rect[4] = {0, 0, width, height};
  vlm_ResizeWindow(nullptr, rect);
  auto state = currentState();
  loadTable(*state, {{"x", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
                     {"y", {"3", "1", "4", "1", "5", "9", "2", "6", "5", "3"}},
                     {"z", {"2", "7", "1", "8", "2", "8", "1", "8", "2", "8"}},
                     {"name", {"Ann", "Bob", "Cid", "Dan", "Eve", "Fay", "Gus", "Hal", "Ivy", "Jon"}}});
  selectAll(*state);
  vlm_CreateDefaultModel(1);
  if (!waitFor([] { return vlm_GetNumberOfObjects() == 10; })) return false;
  vlm_DrawScene();
  waitFor([] { return false; }, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  return true;
}

QImage OutputTest::grabView() {
  QScreen* screen = view_->screen() ? view_->screen() : QGuiApplication::primaryScreen();
  if (!screen) return {};
  // The colours as stored: the window's alpha channel is not part of the picture.
  const QImage grabbed = screen->grabWindow(view_->winId()).toImage();
  if (grabbed.depth() != 32) return grabbed.convertToFormat(QImage::Format_RGB888);
  const QImage opaque(grabbed.constBits(), grabbed.width(), grabbed.height(), grabbed.bytesPerLine(),
                      QImage::Format_RGB32);
  return opaque.convertToFormat(QImage::Format_RGB888);
}

}  // namespace vlm::test
