#pragma once
// The host main window: menus, toolbar and status bar around the engine's 3D view.
#include <QMainWindow>

class QLabel;
class QWindow;

namespace vlm::host {

class View3DWindow;

class MainWindow : public QMainWindow {
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // Starts the engine on this window; false when it cannot start.
  bool startEngine();
  void stopEngine();
  bool engineRunning() const { return engineRunning_; }
  View3DWindow* view() const { return view_; }

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void handleHostMessage(class QEvent* e);

  View3DWindow* view_ = nullptr;
  QWidget* viewContainer_ = nullptr;
  QLabel* statusText_ = nullptr;
  bool engineRunning_ = false;
};

}  // namespace vlm::host
