// vlmac: the Velmora host program.
#include <QApplication>
#include <QMessageBox>

#include <string>
#include <vector>

#include "host/command_line.h"
#include "host/main_window.h"
#include "host/setup_switches.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  const vlm::host::CommandLine line = vlm::host::parseCommandLine(arguments);
  if (const auto exitCode = vlm::host::runSwitches(line, argc, argv)) return *exitCode;
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
