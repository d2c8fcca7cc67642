// The desktop clipboard itself, under Xvfb: a table put there by another X
// client with LF line ends pastes, and a copy can be read back by it.
#include <QCoreApplication>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "engine/vlmapi.h"
#include "sources/support/source_fixture.h"

namespace vlm {
namespace {

class X11ClipboardTest : public test::SourceTest {};

bool haveX11Clipboard() {
  return QGuiApplication::platformName() == "xcb" && std::system("command -v xclip >/dev/null 2>&1") == 0;
}

// Runs a shell command off the host thread (the host answers the X
// selection requests meanwhile) and returns its output.
std::string runPumping(const std::string& command) {
  std::string output;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    if (FILE* pipe = popen(command.c_str(), "r")) {
      char buffer[4096];
      size_t n;
      while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
      pclose(pipe);
    }
    done = true;
  });
  platform::HostBridge::instance().waitPumping(
      [&] {
        QCoreApplication::processEvents();
        return done.load();
      },
      std::chrono::milliseconds(20000));
  worker.join();
  return output;
}

TEST_F(X11ClipboardTest, DesktopClipboardPastesLfTablesAndTakesCopies) {
  if (!haveX11Clipboard()) GTEST_SKIP() << "needs the xcb platform and xclip";
  platform::setClipboard(nullptr);  // the desktop clipboard, not the in-memory one
  start();
  runPumping("printf 'name\\tvalue\\tday\\nalpha\\t2.50\\t2003-01-05\\nbeta\\t3\\t2003-01-06\\n' | "
             "timeout 20 xclip -selection clipboard -i -loops 3 >/dev/null 2>&1 &");
  // xclip owns the selection a moment later, and Qt learns of the new owner
  // only through its event loop.
  bool valid = false;
  for (int i = 0; i < 200 && !valid; ++i) {
    QCoreApplication::processEvents();
    valid = vlm_IsClipboardValid() == 1;
    if (!valid) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  EXPECT_TRUE(valid);
  ASSERT_TRUE(request([] {
    vlm_CancelAction();
    vlm_InitConnection(3);
  }));
  EXPECT_TRUE(boxTexts().empty());
  ASSERT_EQ(table().rowCount, 2);
  EXPECT_EQ(table().fields[0].type, FT_TEXT);
  EXPECT_EQ(table().fields[1].type, FT_REAL);
  EXPECT_EQ(table().fields[2].type, FT_DATETIME);
  EXPECT_EQ(cell(0, 1), "beta");

  ASSERT_EQ(vlm_CopyToClipboard(), 1);
  const std::string copied = runPumping("timeout 20 xclip -selection clipboard -o 2>/dev/null");
  EXPECT_EQ(copied.find('\r'), std::string::npos);
  EXPECT_EQ(copied.substr(0, 15), "name\tvalue\tday\n");
  EXPECT_NE(copied.find("\nalpha\t2.5\t"), std::string::npos);
}

}  // namespace
}  // namespace vlm
