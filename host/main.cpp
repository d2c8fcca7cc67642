// vlmac: the Velmora host program.
#include <QApplication>

#include "host/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velmora"));
  vlm::host::MainWindow window;
  window.show();
  if (!window.startEngine()) return 0;
  return app.exec();
}
