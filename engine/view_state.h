#pragma once
// View record fields of the rendering context, camera and navigation.
//
// The engine thread owns these fields. The few that the host thread reads or
// writes directly through the exports (camera, field of view, initial position,
// GL strings) are guarded by `mutex`; plain flags crossing threads are atomic.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace vlm {

namespace render {
struct RenderContext;  // GL objects of the engine thread (engine/render/render_context.h)
struct FrameContent;   // what the frame draws between its fixed steps
}

// The graphic-cache valid flags: a cleared flag makes the next frame compile
// that group of display lists again.
enum GraphicCacheFlag : int {
  CACHE_OBJECTS = 0,
  CACHE_LEGEND = 1,
  CACHE_SPACE = 2,
  CACHE_WATER_LEVEL = 3,
  CACHE_TEXTURED_SPACE = 4,
  CACHE_DATABASE_TREE = 5,
  kGraphicCacheFlagCount = 6,
};

constexpr size_t kGlStringCapacity = 1024;  // each GL string is kept below this many bytes

struct ViewState {
  int32_t viewportWidth = 0;
  int32_t viewportHeight = 0;
  // Heights of the host's bars where they lie over the view (0 when they sit
  // beside it), in overlay pixels; set by the resize poster on the host thread.
  std::atomic<int32_t> toolbarHeight{0};
  std::atomic<int32_t> statusBarHeight{0};
  // Device pixels per window pixel of the view (2 on a doubled display). The
  // viewport and the mouse are in device pixels; the overlays are laid out in
  // window pixels and their glyphs drawn at this ratio.
  std::atomic<float> devicePixelRatio{1.0f};
  float aspect = 1.0f;
  int16_t renderQuality = 1;  // 1 high, 3 low
  int16_t wireframe = 0;
  float lightPosition[4] = {-12.5f, 50.0f, 50.0f, 0.0f};
  // Camera: guarded by `mutex` whenever the host thread may touch it.
  float fieldOfView = 50.0f;
  float sceneScale = 50.0f * 0.025f;
  float cameraTranslation[3] = {0.0f, -10.0f, -200.0f};
  float rotation[3] = {0.0f, 0.0f, 0.0f};
  float sceneCentre[3] = {0.0f, 0.0f, 0.0f};
  std::atomic<int32_t> waterLevelState{0};  // 0 hidden, 1 shown, 10 being dragged; set by vlm_SetWaterlevel
  float waterLevelPosition[3] = {0.0f, 0.0f, 5.0f};
  std::atomic<int32_t> stereo{0};
  std::atomic<float> stereoEyeOffset{2.0f};  // the Grid's Eye Offset / 10; set from the host thread
  // Stored initial position: scene centre, camera translation, rotation.
  float initPosition[9] = {};
  bool initPositionStored = false;
  std::atomic<float> navigationSpeed{1.0f};  // set by the loaders on the data thread
  std::atomic<int32_t> windowColorDepth{0};
  std::string glVendor, glRenderer, glVersion, glExtensions;  // each kept below 1024 characters
  // Legend, objects, space ...: see GraphicCacheFlag.
  std::atomic<bool> cacheValid[kGraphicCacheFlagCount] = {};
  // The legend switch (vlm_SetLabels); the frame draws the legend while it is on.
  std::atomic<bool> legendOn{true};
  // Set once a texture file is loaded: the canvas and pixel maps work in colour.
  bool colorTextures = false;
  // Whether the objects carry textures (the textured shape variant is used).
  bool texturesPresent = false;
  mutable std::mutex mutex;
  // Context, lists, fonts and canvas; exists only while the window is open.
  std::shared_ptr<render::RenderContext> render;
  // Installed by the scene; survives the re-creation of the context.
  std::shared_ptr<render::FrameContent> frameContent;
};

// A copy of the camera taken under the lock, for one frame or one pick.
struct CameraSnapshot {
  float fieldOfView = 50.0f;
  float sceneScale = 1.25f;
  float cameraTranslation[3] = {0.0f, -10.0f, -200.0f};
  float rotation[3] = {0.0f, 0.0f, 0.0f};
  float sceneCentre[3] = {0.0f, 0.0f, 0.0f};
};

inline CameraSnapshot snapshotCamera(const ViewState& v) {
  std::lock_guard lock(v.mutex);
  CameraSnapshot c;
  c.fieldOfView = v.fieldOfView;
  c.sceneScale = v.sceneScale;
  for (int i = 0; i < 3; ++i) {
    c.cameraTranslation[i] = v.cameraTranslation[i];
    c.rotation[i] = v.rotation[i];
    c.sceneCentre[i] = v.sceneCentre[i];
  }
  return c;
}

}  // namespace vlm
