#pragma once
// What every tool window of the engine shares: modeless, owned by the host
// window, its rectangle kept in the engine's settings (and so persisted),
// clamped to at least 200 x 100 pixels inside the desktop, hidden rather than
// destroyed when closed, F1 for its help topic, and placed again when the
// windows are arranged.
#include <QRect>
#include <QWidget>

#include <cstdint>

#include "engine/settings.h"

namespace vlm {
struct EngineState;
}

namespace vlm::tools {

constexpr int kToolMinWidth = 200;
constexpr int kToolMinHeight = 100;

// The rectangle a tool window opens at: a stored rectangle of 0 x 0 takes the
// window's default; then at least 200 x 100, no larger than the desktop, and
// wholly inside it.
WindowRect clampToolRect(WindowRect stored, const WindowRect& fallback, const QRect& desktop);
// The rectangle stored on close: left and top at least 0, at least 200 x 100.
WindowRect storedToolRect(const QRect& geometry);
// The desktop the windows are clamped to.
QRect desktopRect();

class ToolWindow : public QWidget {
 public:
  // `place` lives in the engine's settings; `fallback` is the default rectangle.
  ToolWindow(EngineState& state, ToolWindowState& place, WindowRect fallback, const QString& caption,
             int32_t helpTopic, QWidget* owner);

  // Shows the window at its stored rectangle (clamped) and marks it open.
  void openWindow();
  // Stores the rectangle, marks it closed and hides it.
  void closeWindow();
  bool isOpen() const { return open_; }
  // Moves an open window to its stored rectangle without waiting (arranging).
  void placeFromSettings();
  // Stores the rectangle of an open window (teardown keeps where it stood).
  void storeGeometry();

 protected:
  // The close box: by default closeWindow(); tool windows add their own steps.
  virtual void closedByUser();
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

  EngineState& state_;

 private:
  ToolWindowState& place_;
  WindowRect fallback_;
  int32_t helpTopic_;
  bool open_ = false;
};

}  // namespace vlm::tools
