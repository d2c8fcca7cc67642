#include "support/gl_view.h"

#include <QCoreApplication>
#include <QVariant>

#include "engine/commands/command_ids.h"
#include "engine/render/render_commands.h"
#include "engine/render/surface_format.h"
#include "platform/command_queue.h"

namespace vlm::bench {

GlView::GlView(const std::function<void(EngineState&)>& prepare) {
  window->setSurfaceType(QSurface::OpenGLSurface);
  window->setFormat(render::wantedSurfaceFormat(false));
  window->resize(640, 480);
  window->create();
  window->show();
  for (int i = 0; i < 50 && !window->isExposed(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  host->setProperty("vlm3DWindow", QVariant::fromValue(static_cast<QObject*>(window.get())));
  state->main = std::make_unique<MainRecord>();
  state->view = std::make_unique<ViewRecord>();
  state->model = std::make_unique<ModelRecord>();
  state->data = std::make_unique<DataTable>();
  state->main->hostWindow = host.get();
  if (prepare) prepare(*state);
  platform::Command c;
  c.number = CMD_OPEN_WINDOW;
  ok = onOpenWindow(*state, c);
  c.number = CMD_RESIZE;
  c.wParam = 640;
  c.lParam = 480;
  if (ok) onResize(*state, c);
}

}  // namespace vlm::bench
