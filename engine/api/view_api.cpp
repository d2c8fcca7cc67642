// Exports of the rendering, camera and input family. Almost all of them post a
// command to the engine thread; the camera resets and the field of view work
// on the calling thread under the view lock.
#include <QObject>
#include <QStatusBar>
#include <QToolBar>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include "engine/camera/navigation.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/input/mouse_event.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"

namespace {

using vlm::currentState;

int post(int32_t number, uintptr_t wParam = 0, uintptr_t lParam = 0) {
  auto state = currentState();
  if (!state) return 0;
  return vlm::postEngine(*state, number, wParam, lParam) ? 1 : 0;
}

int postMouse(int32_t number, int x, int y, int flags) {
  return post(number, static_cast<uintptr_t>(static_cast<uint32_t>(flags)), vlm::packMousePosition(x, y));
}

QWindow* viewWindowOf(void* hostWindow) {
  auto* host = static_cast<QObject*>(hostWindow);
  return host ? qobject_cast<QWindow*>(host->property("vlm3DWindow").value<QObject*>()) : nullptr;
}

// The height of a host bar where it lies over the 3D view: the legend moves
// down by it. A bar beside the view (a main window's tool bar and status bar
// areas) covers nothing. The host may re-create its toolbar (a style change),
// so the handles given at start can be stale: the bars are looked up under
// the main window each time.
template <class Bar>
int barOverView(void* hostWindow, QWindow* view) {
  auto* host = qobject_cast<QWidget*>(static_cast<QObject*>(hostWindow));
  if (!host) return 0;
  Bar* bar = host->findChild<Bar*>(QString(), Qt::FindDirectChildrenOnly);
  if (!bar || !bar->isVisible()) return 0;
  if (!view) return bar->height();
  // Compared in the main window's own coordinates where the view's container
  // widget is found: global positions of a native child window come from the
  // window system and lag behind the layout while the window first shows, which
  // left the legend pushed down by a bar that was never over the view.
  const QWindow* holder = view->parent();
  for (QWidget* w : host->findChildren<QWidget*>()) {
    if (!holder || w->windowHandle() != holder || w == host) continue;
    const QRect viewRect(w->mapTo(host, QPoint(0, 0)), w->size());
    const QRect covered = bar->geometry().intersected(viewRect);
    return covered.isEmpty() ? 0 : covered.height();
  }
  const QRect barRect(bar->mapToGlobal(QPoint(0, 0)), bar->size());
  const QRect viewRect(view->mapToGlobal(QPoint(0, 0)), view->size());
  const QRect covered = barRect.intersected(viewRect);
  return covered.isEmpty() ? 0 : covered.height();
}

}  // namespace

VLM_API int vlm_DrawScene(void) { return post(vlm::CMD_DRAW_SCENE); }

VLM_API int vlm_ResizeWindow(void* /*hostDc*/, const int* clientRect) {
  auto state = currentState();
  if (!state || !clientRect) return 0;
  vlm::ViewState& v = state->view->view;
  QWindow* view = viewWindowOf(state->main->hostWindow);
  v.toolbarHeight = barOverView<QToolBar>(state->main->hostWindow, view);
  v.statusBarHeight = barOverView<QStatusBar>(state->main->hostWindow, view);
  // The rectangle is in device pixels; the ratio tells the overlays how big a window pixel is.
  if (view) v.devicePixelRatio = static_cast<float>(view->devicePixelRatio());
  const int width = clientRect[2] - clientRect[0], height = clientRect[3] - clientRect[1];
  return vlm::postEngine(*state, vlm::CMD_RESIZE, static_cast<uintptr_t>(width < 0 ? 0 : width),
                         static_cast<uintptr_t>(height < 0 ? 0 : height))
             ? 1
             : 0;
}

VLM_API int vlm_SetRenderQuality(int quality) {
  return post(vlm::CMD_SET_RENDER_QUALITY, static_cast<uintptr_t>(static_cast<intptr_t>(quality)));
}

VLM_API int vlm_GetWindowColorDepth(void) {
  auto state = currentState();
  return state ? state->view->view.windowColorDepth.load() : 0;
}

VLM_API int vlm_InvalidateGraphicCache(void) {
  auto state = currentState();
  if (state)
    for (auto& flag : state->view->view.cacheValid) flag = false;
  return 0;
}

VLM_API int vlm_DrawSceneAntialiased(void) { return post(vlm::CMD_DRAW_ANTIALIASED); }

VLM_API int vlm_OnButtonDown(int x, int y, int flags) { return postMouse(vlm::CMD_BUTTON_DOWN, x, y, flags); }
VLM_API int vlm_OnButtonUp(int x, int y, int flags) { return postMouse(vlm::CMD_BUTTON_UP, x, y, flags); }
VLM_API int vlm_OnDblclkLeft(int x, int y, int flags) { return postMouse(vlm::CMD_DOUBLE_CLICK, x, y, flags); }
VLM_API int vlm_OnMouseMove(int x, int y, int flags) { return postMouse(vlm::CMD_MOUSE_MOVE, x, y, flags); }
VLM_API int vlm_OnMouseWheel(vlm_wparam wParam, vlm_lparam lParam) {
  return post(vlm::CMD_MOUSE_WHEEL, wParam, lParam);
}
VLM_API int vlm_OnMouseHover(vlm_wparam wParam, vlm_lparam lParam) {
  return post(vlm::CMD_MOUSE_HOVER, wParam, lParam);
}
VLM_API int vlm_OnMouseLeave(vlm_wparam wParam, vlm_lparam lParam) {
  return post(vlm::CMD_MOUSE_LEAVE, wParam, lParam);
}
VLM_API int vlm_OnKeyDown(int virtualKey) { return post(vlm::CMD_KEY_DOWN, static_cast<uintptr_t>(virtualKey)); }
VLM_API int vlm_OnKeyUp(int virtualKey) { return post(vlm::CMD_KEY_UP, static_cast<uintptr_t>(virtualKey)); }

VLM_API void vlm_SaveMousePosition(int x, int y) {
  auto state = currentState();
  if (!state) return;
  state->main->input.currentX = static_cast<int16_t>(x);
  state->main->input.currentY = static_cast<int16_t>(y);
}

VLM_API void vlm_FixMouse(int mode) {
  auto state = currentState();
  if (state && (mode == 1 || mode == 2)) state->main->input.fixMouse = mode;
}

VLM_API int vlm_UpdateView(void) { return post(vlm::CMD_UPDATE_VIEW); }

VLM_API void vlm_Animation(int on) {
  auto state = currentState();
  if (state) vlm::setAnimation(*state, on);
}

VLM_API int vlm_IsAnimated(void) {
  auto state = currentState();
  return state ? state->main->input.animationOn.load() : 0;
}

VLM_API void vlm_ResetCameraPosition(void) {
  auto state = currentState();
  if (state) vlm::resetCameraPosition(*state);
}

VLM_API void vlm_ResetModelPosition(void) {
  auto state = currentState();
  if (state) vlm::resetModelPosition(*state);
}

VLM_API void vlm_SetInitPosition(void) {
  auto state = currentState();
  if (state) vlm::setInitPosition(*state);
}

VLM_API int vlm_GetInitPosition(void) {
  auto state = currentState();
  return state ? vlm::getInitPosition(*state) : 0;
}

VLM_API void vlm_SetFieldOfView(float degrees) {
  auto state = currentState();
  if (state) vlm::setFieldOfView(*state, degrees);
}

VLM_API float vlm_GetFieldOfView(void) {
  auto state = currentState();
  return state ? vlm::getFieldOfView(*state) : 0.0f;
}

VLM_API int vlm_DoThis(int kind) { return post(vlm::CMD_DO_THIS, 0, static_cast<uintptr_t>(kind)); }

VLM_API int vlm_UpdateModel(int resetPosition) {
  return post(vlm::CMD_UPDATE_MODEL, static_cast<uintptr_t>(resetPosition));
}
