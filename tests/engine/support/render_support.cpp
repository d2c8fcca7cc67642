#include "render_support.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QVariant>

#include <mutex>

#include "engine/commands/command_ids.h"
#include "engine/render/render_commands.h"
#include "engine/render/surface_format.h"
#include "platform/command_queue.h"
#include "platform/report.h"

namespace vlm::test {

std::shared_ptr<EngineState> makeRenderState() {
  auto s = std::make_shared<EngineState>();
  s->main = std::make_unique<MainRecord>();
  s->view = std::make_unique<ViewRecord>();
  s->model = std::make_unique<ModelRecord>();
  s->data = std::make_unique<DataTable>();
  s->main->engineThread = std::make_shared<WorkerThread>(
      "engine-under-test", [](EngineState&, WorkerThread&, platform::Command&) { return true; }, nullptr, nullptr);
  // A white light colour and a black background unless a test says otherwise.
  for (float& c : s->view->space.rows[0].rgba) c = 0.0f;
  s->view->space.rows[0].rgba[3] = 1.0f;
  for (float& c : s->view->space.rows[1].rgba) c = 0.2f;
  s->view->space.rows[1].rgba[3] = 1.0f;
  return s;
}

std::vector<int32_t> drainEngineQueue(EngineState& state) {
  std::vector<int32_t> numbers;
  auto& queue = state.main->engineThread->queue();
  bool quit = false;
  while (queue.size() > 0) {
    auto c = queue.next(std::chrono::milliseconds(0), &quit);
    if (!c) break;
    numbers.push_back(c->number);
  }
  return numbers;
}

ViewHost::ViewHost(int width, int height, bool stereo) {
  host = std::make_unique<QObject>();
  window = std::make_unique<QWindow>();
  window->setSurfaceType(QSurface::OpenGLSurface);
  window->setFormat(render::wantedSurfaceFormat(stereo));
  window->resize(width, height);
  window->create();
  window->show();
  for (int i = 0; i < 50 && !window->isExposed(); ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  host->setProperty("vlm3DWindow", QVariant::fromValue(static_cast<QObject*>(window.get())));
}

void FramePixels::readBack(const EngineState& state) {
  width = state.view->view.viewportWidth;
  height = state.view->view.viewportHeight;
  pixels.assign(size_t(width) * height * 4, 0);
  GLint mapColor = 0;
  glGetIntegerv(GL_MAP_COLOR, &mapColor);
  glPixelTransferi(GL_MAP_COLOR, GL_FALSE);  // the text pixel maps would blacken RGBA reads
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glPixelTransferi(GL_MAP_COLOR, mapColor);
}

void CaptureContent::drawOverlays(EngineState& state) {
  readBack(state);
  ++frames;
}

std::array<uint8_t, 4> FramePixels::at(int x, int y) const {
  std::array<uint8_t, 4> p{};
  if (x < 0 || y < 0 || x >= width || y >= height) return p;
  const size_t i = (size_t(y) * width + x) * 4;
  for (int k = 0; k < 4; ++k) p[k] = pixels[i + k];
  return p;
}

struct ErrorRecorder::Shared {
  std::mutex mutex;
  std::vector<std::string> texts;
  platform::ErrorSink previous;
};

ErrorRecorder::ErrorRecorder() : shared(std::make_shared<Shared>()) {
  auto s = shared;
  shared->previous = platform::setErrorSink([s](const char* text) {
    std::lock_guard lock(s->mutex);
    s->texts.emplace_back(text);
  });
}

ErrorRecorder::~ErrorRecorder() { platform::setErrorSink(shared->previous); }

std::vector<std::string> ErrorRecorder::texts() const {
  std::lock_guard lock(shared->mutex);
  return shared->texts;
}

std::shared_ptr<CaptureContent> openView(EngineState& state, ViewHost& host) {
  state.main->hostWindow = host.host.get();
  auto capture = std::make_shared<CaptureContent>();
  render::setFrameContent(state, capture);
  return openContext(state, host) ? capture : nullptr;
}

bool openContext(EngineState& state, ViewHost& host) {
  platform::Command open;
  open.number = CMD_OPEN_WINDOW;
  if (!onOpenWindow(state, open)) return false;
  platform::Command resize;
  resize.number = CMD_RESIZE;
  resize.wParam = static_cast<uintptr_t>(host.window->width());
  resize.lParam = static_cast<uintptr_t>(host.window->height());
  onResize(state, resize);
  return true;
}

void setSingleObject(EngineState& state, int shape, float w, float d, float h, float r, float g, float b) {
  ModelRecord& m = *state.model;
  m.objects.assign(1, ObjectRecord{});
  ObjectRecord& o = m.objects[0];
  o.shape = static_cast<uint8_t>((shape << 4) | 6);
  o.width = w, o.depth = d, o.height = h;
  o.red = r, o.green = g, o.blue = b, o.alpha = 1.0f;
  m.objectCount = 1;
  m.selectionFlags.assign(1, 1);
  state.view->view.cacheValid[CACHE_OBJECTS] = false;
}

void drawScene(EngineState& state) {
  platform::Command c;
  c.number = CMD_DRAW_SCENE;
  onDrawScene(state, c);
}

void closeView(EngineState& state) {
  platform::Command c;
  c.number = CMD_CLOSE_WINDOW;
  onCloseWindow(state, c);
}

}  // namespace vlm::test
