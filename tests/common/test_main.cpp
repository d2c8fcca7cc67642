// Test entry point: a QApplication exists for every test program, so tests can
// use the clipboard, message boxes and OpenGL contexts (under Xvfb).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
