#include "engine/commands/bare_context.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QVariant>
#include <QWindow>

#include <memory>

#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/engine_state.h"

namespace vlm {
namespace {

// Lives on the engine thread only.
thread_local std::unique_ptr<QOpenGLContext> t_context;
thread_local QWindow* t_window = nullptr;

QWindow* viewWindow(EngineState& state) {
  auto* host = static_cast<QObject*>(state.main->hostWindow);
  if (!host) return nullptr;
  return qobject_cast<QWindow*>(host->property("vlm3DWindow").value<QObject*>());
}

bool drawBare(EngineState& state, const platform::Command&);

bool openBare(EngineState& state, const platform::Command& command) {
  QWindow* window = viewWindow(state);
  if (!window) return false;
  auto context = std::make_unique<QOpenGLContext>();
  context->setFormat(window->requestedFormat());
  if (!context->create()) return false;
  if (!context->makeCurrent(window)) return false;
  t_context = std::move(context);
  t_window = window;
  drawBare(state, command);
  return true;
}

bool closeBare(EngineState&, const platform::Command&) {
  if (t_context) t_context->doneCurrent();
  t_context.reset();
  t_window = nullptr;
  return true;
}

bool drawBare(EngineState& state, const platform::Command&) {
  if (!t_context || !t_window) return true;
  if (!t_context->makeCurrent(t_window)) return true;
  auto* gl = t_context->functions();
  const auto& v = state.view->view;
  if (v.viewportWidth > 0 && v.viewportHeight > 0) gl->glViewport(0, 0, v.viewportWidth, v.viewportHeight);
  gl->glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  t_context->swapBuffers(t_window);
  return true;
}

bool resizeBare(EngineState& state, const platform::Command& command) {
  state.view->view.viewportWidth = static_cast<int32_t>(command.wParam);
  state.view->view.viewportHeight = static_cast<int32_t>(command.lParam);
  return drawBare(state, command);
}

}  // namespace

void registerBareContextHandlers() {
  engineHandlers().set(CMD_OPEN_WINDOW, &openBare);
  engineHandlers().set(CMD_CLOSE_WINDOW, &closeBare);
  engineHandlers().set(CMD_DRAW_SCENE, &drawBare);
  engineHandlers().set(CMD_RESIZE, &resizeBare);
}

}  // namespace vlm
