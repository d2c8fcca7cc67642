#include "host/support/host_fixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTimer>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "engine/vlmapi.h"
#include "host/main_window.h"
#include "host/view_window.h"

namespace vlm::test {

bool waitFor(const std::function<bool()>& done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

void answerNextBox(int button, std::shared_ptr<BoxAnswer> seen) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, button, seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen->caption = box->windowTitle();
    seen->text = box->text();
    seen->seen = true;
    if (QAbstractButton* b = box->button(static_cast<QMessageBox::StandardButton>(button)))
      b->click();
    else
      box->reject();
    timer->stop();
    timer->deleteLater();
  });
  timer->start(50);
}

bool hasExport(const char* name) { return dlsym(RTLD_DEFAULT, name) != nullptr; }

std::string writeSampleFile(const std::string& name, int rows) {
  const char* dir = std::getenv("XDG_CONFIG_HOME");
  const std::string path = std::string(dir ? dir : "/tmp") + "/" + name;
  std::ofstream out(path);
  out << "name\tx\ty\tvalue\n";
  for (int i = 0; i < rows; ++i) out << "item" << i << "\t" << (i % 5) * 10 << "\t" << (i / 5) * 10 << "\t" << i * 3 + 1 << "\n";
  return path;
}

QImage grabView(host::MainWindow& window) {
  QWidget* view = window.findChild<QWidget*>(QStringLiteral("view"));
  if (!view) return {};
  const QPoint at = view->mapToGlobal(QPoint(0, 0));
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen->grabWindow(0, at.x(), at.y(), view->width(), view->height()).toImage();
}

int distinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2) {
      colours.insert(image.pixel(x, y));
      if (colours.size() > 1000) return colours.size();
    }
  return colours.size();
}

QPoint colouredPixel(const QImage& image) {
  for (int y = image.height() / 8; y < image.height() * 7 / 8; y += 2)
    for (int x = 220; x < image.width() - 10; x += 2) {
      const QColor c = image.pixelColor(x, y);
      if (c.hsvSaturation() > 150 && c.value() > 80) return QPoint(x, y);
    }
  return QPoint(-1, -1);
}

QString saveScreenshot(const QImage& image, const QString& name) {
  const char* env = std::getenv("VLM_SCREENSHOT_DIR");
  const QString dir = env && *env ? QString::fromUtf8(env) : QStringLiteral("/tmp/velmora-screens");
  QDir().mkpath(dir);
  const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
  image.save(path);
  return path;
}

void HostTest::SetUp() {
  // Each test runs in its own process: the settings store follows this folder.
  dir_ = (std::filesystem::temp_directory_path() /
          ("vlm-host-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name()))
             .string();
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
  setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
}

void HostTest::TearDown() {
  if (window_) {
    window_->stopEngine();
    window_.reset();
  }
  QCoreApplication::processEvents();
  std::filesystem::remove_all(dir_);
}

bool HostTest::start(const std::string& file) {
  vlm_WriteHostDword("FirstRun", 0, 1);  // no tool-window arrangement moving the window
  if (!tipsAtStart_) vlm_WriteHostDword("ShowTips", 0, 1);  // no Tip of the Day over the window
  // No Calculator shown again with the first data over the view, and no spoken
  // row: speech cannot start on a machine without sound, and its warning would
  // stand over the window.
  vlm_WriteHostDword("Calculator", 0, 1);
  vlm_WriteHostDword("SpeechCalculator", 0, 1);
  window_ = std::make_unique<host::MainWindow>();
  window_->showNormal();
  window_->resize(900, 700);
  waitFor([&] { return window_->view()->isExposed(); }, 5000);
  if (!window_->startEngine()) return false;
  window_->afterStart(file);
  QCoreApplication::processEvents();
  return true;
}

}  // namespace vlm::test
