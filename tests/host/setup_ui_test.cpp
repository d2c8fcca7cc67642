// How installation and removal talk to the user: top-most boxes with the
// exact captions and texts on a display, the terminal without one.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>
#include <string>

#include "host/installation.h"
#include "host/setup_ui.h"
#include "host/support/host_fixture.h"

namespace vlm::test {
namespace {

using namespace vlm::host;

struct SeenBox {
  QString caption, text;
  bool topMost = false;
  bool seen = false;
};

// Presses `button` on the next box and records it.
void pressOnNextBox(QMessageBox::StandardButton button, SeenBox& seen) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, button, &seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen = {box->windowTitle(), box->text(), box->windowFlags().testFlag(Qt::WindowStaysOnTopHint), true};
    box->button(button)->click();
    timer->stop();
    timer->deleteLater();
  });
  timer->start(30);
}

TEST(SetupUiTest, TheCompletionMessageIsATopMostBox) {
  SeenBox seen;
  pressOnNextBox(QMessageBox::Ok, seen);
  BoxSetupUi().tell(kInstalledCaption, kInstalledText, false);
  ASSERT_TRUE(seen.seen);
  EXPECT_EQ(seen.caption, QStringLiteral("Velmora ACCESS Installation Complete"));
  EXPECT_EQ(seen.text, QString::fromUtf8(kInstalledText));
  EXPECT_TRUE(seen.topMost);
}

TEST(SetupUiTest, TheRemovalQuestionIsAnsweredWithYesOrNo) {
  for (auto button : {QMessageBox::Yes, QMessageBox::No}) {
    SeenBox seen;
    pressOnNextBox(button, seen);
    const bool yes = BoxSetupUi().ask(kRemovalCaption, kRemovalQuestion);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(yes, button == QMessageBox::Yes);
    EXPECT_EQ(seen.caption, QStringLiteral("Velmora Uninstalltion"));
    EXPECT_EQ(seen.text, QStringLiteral("Do you want to completely remove  \n Velmora ACCESS and all its components?  "));
    EXPECT_TRUE(seen.topMost);
  }
}

// The terminal's answers: written to a file that stands for the standard input.
bool terminalAnswer(const std::string& input, std::string* shown = nullptr) {
  std::FILE* in = std::tmpfile();
  std::FILE* out = std::tmpfile();
  std::fputs(input.c_str(), in);
  std::rewind(in);
  const bool yes = TerminalSetupUi(in, out, out).ask(kRemovalCaption, kRemovalQuestion);
  if (shown) {
    std::rewind(out);
    char buffer[512] = {};
    const size_t n = std::fread(buffer, 1, sizeof buffer - 1, out);
    *shown = std::string(buffer, n);
  }
  std::fclose(in);
  std::fclose(out);
  return yes;
}

TEST(SetupUiTest, OnTheTerminalOnlyYesRemoves) {
  std::string shown;
  EXPECT_TRUE(terminalAnswer("y\n", &shown));
  EXPECT_EQ(shown,
            "Velmora Uninstalltion\nDo you want to completely remove  \n Velmora ACCESS and all its components? [y/N] y\n");
  EXPECT_TRUE(terminalAnswer("YES\r\n"));
  EXPECT_FALSE(terminalAnswer("n\n"));
  EXPECT_FALSE(terminalAnswer("yes please\n"));
  EXPECT_FALSE(terminalAnswer("\n"));
  EXPECT_FALSE(terminalAnswer(""));
}

TEST(SetupUiTest, TerminalMessagesGoToOutputAndProblemsToErrors) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  TerminalSetupUi ui(stdin, out, err);
  ui.tell(kInstalledCaption, kInstalledText, false);
  ui.tell(kIncompleteCaption, "\n - the help launcher: missing\n", true);
  auto text = [](std::FILE* f) {
    std::rewind(f);
    char buffer[1024] = {};
    return std::string(buffer, std::fread(buffer, 1, sizeof buffer - 1, f));
  };
  EXPECT_EQ(text(out).rfind("Velmora ACCESS Installation Complete\nCongratulations!\n", 0), 0u) << text(out);
  EXPECT_EQ(text(err), "Velmora ACCESS Installation Incomplete\n- the help launcher: missing\n");
  std::fclose(out);
  std::fclose(err);
}

TEST(SetupUiTest, BoxesOnlyWhereSomeoneSeesThem) {
  struct Saved {
    std::string name;
    std::optional<std::string> value;
  };
  std::vector<Saved> saved;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* v = std::getenv(name);
    saved.push_back({name, v ? std::optional<std::string>(v) : std::nullopt});
    unsetenv(name);
  }
  EXPECT_FALSE(hasDisplay());
  setenv("DISPLAY", ":0", 1);
  EXPECT_TRUE(hasDisplay());
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EXPECT_FALSE(hasDisplay()) << "a box nobody sees could never be answered";
  setenv("QT_QPA_PLATFORM", "minimal", 1);
  EXPECT_FALSE(hasDisplay());
  unsetenv("DISPLAY");
  setenv("QT_QPA_PLATFORM", "wayland", 1);
  EXPECT_TRUE(hasDisplay());
  unsetenv("QT_QPA_PLATFORM");
  setenv("WAYLAND_DISPLAY", "wayland-0", 1);
  EXPECT_TRUE(hasDisplay());
  for (const Saved& s : saved) s.value ? setenv(s.name.c_str(), s.value->c_str(), 1) : unsetenv(s.name.c_str());
}

}  // namespace
}  // namespace vlm::test
