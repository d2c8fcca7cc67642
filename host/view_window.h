#pragma once
// The 3D view: a native window the engine thread draws into with OpenGL.
// It only forwards input and size changes to the engine.
#include <QWindow>

namespace vlm::host {

class View3DWindow : public QWindow {
 public:
  View3DWindow();
  // True once the engine draws into the window.
  void setEngineActive(bool active) {
    engineActive_ = active;
    if (active) resizeEvent(nullptr);
  }

 protected:
  void exposeEvent(QExposeEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  bool engineActive_ = false;
};

}  // namespace vlm::host
