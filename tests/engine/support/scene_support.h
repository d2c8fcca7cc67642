#pragma once
// A scene drawn for real under Xvfb: the scene's own frame content with a
// read-back of each frame, a table filled as a loader would, and projections of
// scene points to window pixels.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/scene/scene_content.h"
#include "engine/support/render_support.h"

namespace vlm::test {

struct SceneCapture : SceneContent, FramePixels {
  bool overlaysOn(EngineState&) override { return true; }
  void drawOverlays(EngineState& state) override;
  // Pixels within `radius` of (x, y) that pass `test`.
  template <typename Test>
  int count(int x, int y, int radius, Test&& test) const {
    int n = 0;
    for (int j = y - radius; j <= y + radius; ++j)
      for (int i = x - radius; i <= x + radius; ++i)
        if (i >= 0 && j >= 0 && i < width && j < height && test(at(i, j))) ++n;
    return n;
  }
  bool save(const std::string& path) const;
  int frames = 0;
};

// A state with the default space settings (dark scheme), the default colour
// ramp, the scene content and its context on `host`.
std::shared_ptr<SceneCapture> openSceneView(EngineState& state, ViewHost& host);

// The distinct-value list of a text field and each cell's category index, as the
// Selector's analysis leaves them after a load.
void buildCategories(DataTable& table, int32_t field);

// Every sample selected, as a load leaves them once the Selector has run.
void selectAll(EngineState& state);
// The rebuild under the data lock (it draws a frame).
void rebuild(EngineState& state, bool resetPosition = false);
// Window pixel (y up, like the read-back) of a scene point through the frame's matrices.
std::array<int, 2> project(EngineState& state, float x, float y, float z);

}  // namespace vlm::test
