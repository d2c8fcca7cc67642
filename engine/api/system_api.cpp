// The exported life cycle of the engine and its error reports.
#include <QGuiApplication>
#include <QMetaObject>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "engine/camera/navigation.h"
#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/commands/thread_loops.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/host_messages.h"
#include "engine/settings_store.h"
#include "engine/system_lifecycle.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "model/color_ramps.h"
#include "model/color_schemes.h"
#include "model/space_settings_table.h"
#include "output/textures.h"
#include "platform/clock.h"
#include "platform/host_bridge.h"
#include "platform/message_box.h"
#include "platform/registry_store.h"
#include "platform/report.h"
#include "sound/sound_hooks.h"
#include "tools/calculator/calculator_window.h"
#include "tools/selector/selector_window.h"
#include "tools/tools_lifecycle.h"

namespace vlm {

ProductNames productNamesFor(int32_t applicationId, bool* known) {
  ProductNames names;
  bool ok = true;
  switch (applicationId) {
    case 21: case 22: case 25: case 26: names.applicationKind = 1; break;
    case 23: case 24: names.applicationKind = 2; break;
    default: ok = false; break;
  }
  if (ok) names.secondCode = applicationId - 20;
  if (names.applicationKind == 2) {
    names.productName = "Velmora ACCESS";
    names.shortName = "vlmac";
    names.registryRoot = "SOFTWARE\\Velmora\\Velmora.Access\\";
  }
  if (known) *known = ok;
  return names;
}

TeardownTimeouts& teardownTimeouts() {
  static TeardownTimeouts timeouts;
  return timeouts;
}

namespace {

std::string startupFolder() {
  std::error_code ec;
  std::string folder = std::filesystem::current_path(ec).string();
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

// Waits on the host thread for a worker while still serving its requests.
bool waitForEvent(const platform::ManualResetEvent& event, std::chrono::milliseconds timeout) {
  return platform::HostBridge::instance().waitPumping([&] { return event.isSet(); }, timeout);
}

void endWorker(std::shared_ptr<WorkerThread> thread, std::chrono::milliseconds timeout) {
  if (thread) thread->join(timeout);
}

}  // namespace
}  // namespace vlm

using namespace vlm;

VLM_API int vlm_AppIDToProductVersion(int applicationId, int* applicationKind, int* secondCode) {
  bool known = false;
  const ProductNames names = productNamesFor(applicationId, &known);
  if (applicationKind) *applicationKind = names.applicationKind;
  if (secondCode) *secondCode = known ? names.secondCode : 0;
  return known ? 1 : 0;
}

VLM_API int vlm_InitSystem(void* hostInstance, void* hostWindow, void* hostToolbar, void* hostStatusBar,
                           int applicationId) {
  if (!hostInstance || !hostWindow) return 0;
  if (currentState()) return 0;  // one engine per process

  auto state = std::make_shared<EngineState>();
  try {
    state->main = std::make_unique<MainRecord>();
    state->view = std::make_unique<ViewRecord>();
    state->model = std::make_unique<ModelRecord>();
    state->data = std::make_unique<DataTable>();
  } catch (const std::bad_alloc&) {
    return 0;
  }
  MainRecord& m = *state->main;
  const ProductNames names = productNamesFor(applicationId, nullptr);
  m.applicationId = applicationId;
  m.applicationKind = names.applicationKind;
  m.productName = names.productName;
  m.shortName = names.shortName;
  m.registryRoot = names.registryRoot;
  m.hostInstance = hostInstance;
  m.hostWindow = hostWindow;
  m.hostToolbar = hostToolbar;
  m.hostStatusBar = hostStatusBar;
  m.startTime = platform::tickCount();

  resetCameraPosition(*state);
  resetModelPosition(*state);
  setInitPosition(*state);
  m.startupFolder = startupFolder();
  m.modelFolder = m.dataFolder = m.imageFolder = m.startupFolder;
  m.regional = platform::readRegionalSettings();
  m.hostThreadId = std::this_thread::get_id();

  platform::HostBridge& bridge = platform::HostBridge::instance();
  bridge.attach(static_cast<QObject*>(hostWindow));
  // A host thread waiting for the data lock still runs host work sent to it.
  bridge.setWakeHook([weak = std::weak_ptr<EngineState>(state)] {
    if (auto s = weak.lock()) s->main->dataLock.nudge();
  });
  m.dataLock.setPump([] { platform::HostBridge::instance().pump(); });
  platform::setErrorSink([](const char* text) { vlm_Error(text); });

  fillDefaultSpaceSettings(state->view->space);
  applyDefaultColorScheme(state->view->space, 2);
  {
    ModelContext ctx = modelContext(*state);
    applyNamedRamp(ctx, 0, -1, 0, -1);
  }
  installTableHooks(state);
  installOutputHooks(*state);
  installSoundHooks(*state);
  registerAllHandlers();
  setCurrentState(state);

  m.dataDone.reset();
  auto data = makeDataThread();
  std::atomic_store(&m.dataThread, data);
  if (!data->start(state)) {
    std::atomic_store(&m.dataThread, std::shared_ptr<WorkerThread>());
    vlm_DeinitSystem();
    return 0;
  }
  m.dataDone.wait();
  // The source application may already run beside the engine.
  if (m.applicationKind == 2) vlm_IsAccessRunning();

  m.engineDone.reset();
  readSettings(*state, platform::RegistryStore::instance());
  resetCameraPosition(*state);
  resetModelPosition(*state);
  // The windows are arranged on the first run only; later starts keep the
  // placement the host saved.
  if (m.settings.firstRun) {
    vlm_AutoArrange(1);
    m.settings.firstRun = 0;
  }
  return 1;
}

VLM_API int vlm_OpenWindow(void) {
  auto state = currentState();
  if (!state) return 0;
  MainRecord& m = *state->main;
  if (std::atomic_load(&m.engineThread)) return 1;
  const auto timeout = teardownTimeouts().openWindow;
  m.engineDone.reset();
  m.windowOpenResult.store(0);
  auto engine = makeEngineThread();
  std::atomic_store(&m.engineThread, engine);
  if (!engine->start(state)) {
    std::atomic_store(&m.engineThread, std::shared_ptr<WorkerThread>());
    return 0;
  }
  if (!waitForEvent(m.engineDone, timeout)) return 0;
  m.engineDone.reset();
  engine->post(CMD_OPEN_WINDOW);
  if (!waitForEvent(m.engineDone, timeout)) return 0;
  if (m.windowOpenResult.load() != 1) {
    engine->join(std::chrono::milliseconds(1000));
    return 0;
  }
  return 1;
}

VLM_API void vlm_CloseWindow(void) {
  auto state = currentState();
  if (!state) return;
  MainRecord& m = *state->main;
  auto engine = std::atomic_load(&m.engineThread);
  if (!engine) return;
  // Taken without waiting: no data-thread or API work may start while the
  // window closes. The engine thread may still take it, so that work queued
  // before the close (a rebuild waiting for the lock) finishes rather than
  // waiting out the time-out.
  // A holder the force displaced (a load) finishes its step first; the engine
  // thread gets in only after it, so two threads are never in at once.
  m.dataLock.forceLending(engine->threadId());
  const auto start = std::chrono::steady_clock::now();
  m.engineDone.reset();
  engine->post(CMD_CLOSE_WINDOW);
  waitForEvent(m.engineDone, teardownTimeouts().closeWindow);
  std::atomic_store(&m.engineThread, std::shared_ptr<WorkerThread>());
  endWorker(engine, std::chrono::milliseconds(0));
  // Wait (serving the host's queued work) for the displaced holder within the
  // close's time; one still inside after it gets the lock back on release.
  const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  m.dataLock.waitForDisplaced(std::max(std::chrono::milliseconds(0), teardownTimeouts().closeWindow - spent));
  m.dataLock.release();
}

VLM_API void vlm_DeinitSystem(void) {
  auto state = currentState();
  if (!state) return;
  MainRecord& m = *state->main;
  if (std::atomic_load(&m.engineThread)) vlm_CloseWindow();
  calculator::destroyWindow(*state);  // its rectangle goes with the settings
  postData(*state, CMD_CLOSE_CONNECTION);
  if (auto data = std::atomic_load(&m.dataThread)) {
    m.dataDone.reset();
    data->post(CMD_QUIT_DATA_THREAD);
    waitForEvent(m.dataDone, teardownTimeouts().dataThread);
    std::atomic_store(&m.dataThread, std::shared_ptr<WorkerThread>());
    // A thread that did not end keeps its own reference to the state.
    endWorker(data, std::chrono::milliseconds(0));
  }
  selector::destroyWindow(*state);
  tools::closeTools(*state);  // the tool windows' rectangles are written with the settings
  writeSettings(*state, platform::RegistryStore::instance());
  platform::setErrorSink(nullptr);
  platform::HostBridge::instance().setWakeHook(nullptr);
  platform::HostBridge::instance().detach();
  setCurrentState(nullptr);
}

VLM_API int vlm_Error(const char* text) {
  platform::MessageBoxRequest box;
  box.caption = "Velmora API Error";
  box.text = text ? text : "";
  box.icon = platform::BoxIcon::Warning;
  box.buttons = platform::BoxButtons::Ok;
  box.topMost = true;
  box.beep = true;
  return platform::showMessageBox(box);
}

VLM_API void vlm_Quit(const char* text) {
  vlm_Error(text);
  vlm_DeinitSystem();
  std::_Exit(1);
}

VLM_API intptr_t vlm_SendMessage(unsigned int message, vlm_wparam wParam, vlm_lparam lParam) {
  platform::HostMessageData data;
  data.message = message;
  data.wParam = wParam;
  data.lParam = lParam;
  return platform::HostBridge::instance().send(std::move(data));
}

VLM_API int vlm_PostMessage(unsigned int message, vlm_wparam wParam, vlm_lparam lParam) {
  platform::HostMessageData data;
  data.message = message;
  data.wParam = wParam;
  data.lParam = lParam;
  return platform::HostBridge::instance().post(std::move(data)) ? 1 : 0;
}

VLM_API int vlm_IsSaved(void) {
  auto state = currentState();
  return state ? state->model->saved.load() : 1;
}

VLM_API int vlm_IsConfirmationRequired(void) {
  auto state = currentState();
  return state ? state->main->settings.asking : 1;
}

VLM_API void vlm_SetConfirmation(int required) {
  if (auto state = currentState()) state->main->settings.asking = required ? 1 : 0;
}

VLM_API void vlm_AutoArrange(int mode) {
  auto state = currentState();
  if (!state || (mode != 1 && mode != 2)) return;
  MainRecord& m = *state->main;
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect desk = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  EngineSettings& e = m.settings;
  // The tool windows keep their rectangles here; then they are opened and placed.
  if (mode == 1) {
    const int w = desk.width() * 75 / 100;
    e.view3D = {desk.x(), desk.y(), w, desk.height()};
    e.view3DMaximised = 0;
    const int stripW = desk.width() - w;
    const int h3 = desk.height() / 3;
    e.selector.rect = {desk.x() + w, desk.y(), stripW, h3};
    e.calculator.rect = {desk.x() + w, desk.y() + h3, stripW, h3};
    e.grid.rect = {desk.x() + w, desk.y() + 2 * h3, stripW, h3};
  } else {
    e.view3D = {0, 0, desk.width(), desk.height()};
    e.view3DMaximised = 1;
    const int b = desk.width() * 75 / 100;
    const int h = desk.height() * 2 / 3;
    const int w = desk.width() - b;
    e.grid.rect = {b - 10, 30, w, h};
    e.calculator.rect = {b - 40, 30 + desk.height() / 8, w, h};
    e.selector.rect = {b - 70, 30 + 2 * (desk.height() / 8), w, h};
  }
  tools::arrangeToolWindows(*state);
  postHost(*state, HM_LAYOUT, 2, 0);
  calculator::openWindow(*state);  // opens, or moves an open one, where it was just placed
  if (auto* host = qobject_cast<QWidget*>(static_cast<QObject*>(m.hostWindow))) {
    const WindowRect r = e.view3D;
    const bool maximise = e.view3DMaximised != 0;
    // Moved without waiting for the host thread.
    QMetaObject::invokeMethod(
        host,
        [host, r, maximise] {
          if (maximise) {
            host->showMaximized();
          } else {
            host->showNormal();
            host->setGeometry(r.x, r.y, r.width, r.height);
          }
          host->raise();
          host->activateWindow();
        },
        Qt::QueuedConnection);
  }
  postRefresh(*state);
}
