#include <algorithm>
#include <cmath>
#include <mutex>

#include "engine/camera/navigation.h"
#include "engine/engine_state.h"
#include "engine/camera/camera_fit.h"
#include "engine/input/interaction_hooks.h"

namespace vlm {

void resetCameraPosition(EngineState& state) {
  stopAnimation(state);
  ViewState& v = state.view->view;
  std::lock_guard lock(v.mutex);
  v.rotation[0] = -70.0f;
  v.rotation[1] = 0.0f;
  v.rotation[2] = 0.0f;
}

namespace {

// The formula looks at the data alone: moved back until the space around it,
// the axes and their texts are in view too.
float fitToView(EngineState& state, const float camera[3]) {
  const ViewState& v = state.view->view;
  const auto& points = interactionHooks().framePoints;
  std::vector<FramePoint> shown;
  if (!points || v.viewportWidth <= 0 || v.viewportHeight <= 0 || !points(state, shown)) return camera[2];
  CameraSnapshot c = snapshotCamera(v);
  for (int i = 0; i < 3; ++i) c.cameraTranslation[i] = camera[i];
  FrameView view;
  view.width = v.viewportWidth;
  view.height = v.viewportHeight;
  return fittedCameraZ(c, view, shown);
}

}  // namespace

void resetModelPosition(EngineState& state) {
  stopAnimation(state);
  ViewState& v = state.view->view;
  float e[6] = {};
  const bool hasSamples = state.data && state.data->rowCount > 0;
  const auto& extents = interactionHooks().dataExtents;
  float camera[3] = {0.0f, -10.0f, -200.0f};
  if (hasSamples && extents && extents(state, e)) {
    const float E = std::max(e[1] - e[0], e[3] - e[2]);
    float T = e[5] - e[4];
    if (T == 0.0f) T = 1.0f;
    const float w = E / T, B = std::max(E, T);
    const bool odd = w < 0.005f || w > 200.0f;  // a very flat or very tall cloud
    const float k = odd ? 0.0f : 1.0f, f = odd ? 0.6f : 1.0f;
    if (state.main->settings.centerMass) {
      camera[0] = 0.0f;
      camera[1] = -0.2f * k * B;
      camera[2] = -2.0025f * f * B;
    } else {
      camera[0] = -0.25f * e[1];
      camera[1] = -0.42f * B;
      camera[2] = -3.25f * B;
    }
    camera[2] = fitToView(state, camera);
  }
  std::lock_guard lock(v.mutex);
  for (int i = 0; i < 3; ++i) v.cameraTranslation[i] = camera[i];
}

void setInitPosition(EngineState& state) {
  ViewState& v = state.view->view;
  std::lock_guard lock(v.mutex);
  for (int i = 0; i < 3; ++i) {
    v.initPosition[i] = v.sceneCentre[i];
    v.initPosition[3 + i] = v.cameraTranslation[i];
    v.initPosition[6 + i] = v.rotation[i];
  }
  v.initPositionStored = true;
}

int getInitPosition(EngineState& state) {
  stopAnimation(state);
  ViewState& v = state.view->view;
  std::lock_guard lock(v.mutex);
  if (!v.initPositionStored) {
    v.rotation[0] = -70.0f;
    v.rotation[1] = 0.0f;
    v.rotation[2] = 0.0f;
    return 0;
  }
  for (int i = 0; i < 3; ++i) {
    v.sceneCentre[i] = v.initPosition[i];
    v.cameraTranslation[i] = v.initPosition[3 + i];
    v.rotation[i] = v.initPosition[6 + i];
  }
  return 1;
}

void setFieldOfView(EngineState& state, float degrees) {
  ViewState& v = state.view->view;
  std::lock_guard lock(v.mutex);
  v.fieldOfView = degrees;
  v.sceneScale = degrees * 0.025f;
}

float getFieldOfView(const EngineState& state) {
  const ViewState& v = state.view->view;
  std::lock_guard lock(v.mutex);
  return v.fieldOfView;
}

}  // namespace vlm
