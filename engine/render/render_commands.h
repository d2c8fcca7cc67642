#pragma once
// Engine-thread handlers of the rendering, camera and input commands. The
// engine thread's dispatch table calls these; each runs on the engine thread,
// the only thread that calls OpenGL.
#include <memory>

namespace vlm {
struct EngineState;
namespace platform {
struct Command;
}
namespace render {
struct FrameContent;
}

// CMD_OPEN_WINDOW: creates the context on the host's 3D window; false on failure
// (the thread then ends).
bool onOpenWindow(EngineState&, const platform::Command&);
// CMD_CLOSE_WINDOW: destroys the context.
void onCloseWindow(EngineState&, const platform::Command&);
// CMD_RESIZE: wParam width, lParam height of the client area.
void onResize(EngineState&, const platform::Command&);
// CMD_SET_STEREO: wParam 0 off, else on. Re-creates the context; false when that
// failed (the restart message was shown and the thread must end).
bool onSetStereo(EngineState&, const platform::Command&);
// CMD_SET_RENDER_QUALITY: wParam quality.
void onSetRenderQuality(EngineState&, const platform::Command&);
// CMD_DRAW_SCENE (after coalescing) and CMD_DRAW_ANTIALIASED: one frame.
void onDrawScene(EngineState&, const platform::Command&);
void onUpdateView(EngineState&, const platform::Command&);
void onAnimate(EngineState&, const platform::Command&);
void onButtonDown(EngineState&, const platform::Command&);
void onButtonUp(EngineState&, const platform::Command&);
void onDoubleClick(EngineState&, const platform::Command&);
void onMouseMove(EngineState&, const platform::Command&);
void onMouseWheel(EngineState&, const platform::Command&);
void onKeyDown(EngineState&, const platform::Command&);
void onKeyUp(EngineState&, const platform::Command&);
// CMD_DO_THIS: wParam view code (0: take it from the last pick), lParam kind.
void onDoThis(EngineState&, const platform::Command&);

namespace render {
// Installs what the frame draws between its fixed steps (engine thread).
void setFrameContent(EngineState&, std::shared_ptr<FrameContent> content);
}  // namespace render

}  // namespace vlm
