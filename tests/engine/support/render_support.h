#pragma once
// Engine state and a real 3D view window for the rendering tests (Xvfb, llvmpipe).
#include <GL/gl.h>

#include <QObject>
#include <QWindow>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/render/frame_content.h"
#include "engine/worker_thread.h"

namespace vlm::test {

// A state with all four records and an engine thread that is never started, so
// that posted commands can be inspected in its queue.
std::shared_ptr<EngineState> makeRenderState();

// The commands queued for the engine thread of `state`, drained.
std::vector<int32_t> drainEngineQueue(EngineState& state);

// A host window object carrying the 3D window as property "vlm3DWindow". The
// 3D window is created and shown with the view's format on the calling thread.
struct ViewHost {
  ViewHost(int width = 200, int height = 200, bool stereo = false);
  std::unique_ptr<QObject> host;
  std::unique_ptr<QWindow> window;
};

// Reads back the back buffer at the end of each frame, before the swap.
// The back buffer of the last frame, read back as RGBA, bottom row first.
struct FramePixels {
  void readBack(const EngineState& state);
  std::array<uint8_t, 4> at(int x, int y) const;  // zero outside the frame
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
};

struct CaptureContent : render::FrameContent, FramePixels {
  bool overlaysOn(EngineState&) override { return true; }
  void drawOverlays(EngineState& state) override;
  int frames = 0;
};

// Records what goes through platform::reportError while it lives.
struct ErrorRecorder {
  ErrorRecorder();
  ~ErrorRecorder();
  std::vector<std::string> texts() const;
  struct Shared;
  std::shared_ptr<Shared> shared;
};

// Opens the context of `state` on `host` on the calling thread, with a capture.
std::shared_ptr<CaptureContent> openView(EngineState& state, ViewHost& host);

// Opens the rendering context on the host's window and sizes the view to it,
// as the engine thread does; false when the context cannot be made.
bool openContext(EngineState& state, ViewHost& host);

// A frame as the draw command makes it, and the context closed as the window's
// close does (on the calling thread).
void drawScene(EngineState& state);
void closeView(EngineState& state);

// One object of shape `shape` at the origin with the given size and colour.
void setSingleObject(EngineState& state, int shape, float w, float d, float h, float r, float g, float b);

}  // namespace vlm::test
