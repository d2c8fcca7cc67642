// Test entry point: a QApplication exists for every test program, so tests can
// use the clipboard, message boxes and OpenGL contexts (under Xvfb). Without a
// display the offscreen platform stands in.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  const char* display = std::getenv("DISPLAY");
  if ((!display || !*display) && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
