// vlmac: the Velmora host program.
#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <string>
#include <vector>

#include "host/command_line.h"
#include "host/main_window.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  const vlm::host::CommandLine line = vlm::host::parseCommandLine(arguments);
  if (line.clipboardHandOver || line.install || line.remove) {
    std::fprintf(stderr, "vlmac: installation, removal and the clipboard hand-over are not part of this build\n");
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velmora"));
  vlm::host::MainWindow window;
  window.show();
  if (!window.startEngine()) {
    QMessageBox::critical(&window, QStringLiteral(" Velmora ACCESS"),
                          QStringLiteral("Velmora cannot start its engine on this display."));
    return 0;
  }
  window.afterStart(line.file);
  return app.exec();
}
