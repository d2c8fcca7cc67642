#pragma once
// The real main window under Xvfb with a settings store of its own, and the
// helpers that drive it: waiting, answering message boxes, screenshots.
#include <QImage>
#include <QPoint>
#include <QString>

#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace vlm::host {
class MainWindow;
}

namespace vlm::test {

// Processes events until `done` holds or `ms` pass.
bool waitFor(const std::function<bool()>& done, int ms = 10000);
// Clicks `button` of the next message box that opens (from a timer), and
// records its caption and text.
struct BoxAnswer {
  QString caption, text;
  bool seen = false;
};
void answerNextBox(int button, std::shared_ptr<BoxAnswer> seen);
// Whether the engine carries an export.
bool hasExport(const char* name);
// A tab-separated file of `rows` rows in the test's folder.
std::string writeSampleFile(const std::string& name, int rows);
// The 3D view as shown on the screen.
QImage grabView(host::MainWindow& window);
// The number of distinct colours of an image (a blank view has one).
int distinctColours(const QImage& image);
// A strongly coloured pixel right of the legend texts (an object), or (-1, -1).
QPoint colouredPixel(const QImage& image);
// Saves a screenshot under $VLM_SCREENSHOT_DIR (default /tmp/velmora-screens).
QString saveScreenshot(const QImage& image, const QString& name);

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Creates and shows the window, starts the engine and runs the start steps.
  bool start(const std::string& file = {});
  std::string dir_;
  std::unique_ptr<host::MainWindow> window_;
  bool tipsAtStart_ = false;  // the Tip of the Day box at start
};

}  // namespace vlm::test
