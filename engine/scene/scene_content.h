#pragma once
// What the frame draws for the scene: the space lists, the objects with their
// labels, the water, the planes and the overlays. Each group lives in its own
// display list, compiled when its cache flag is clear and the model can be read.
#include <GL/gl.h>

#include <memory>
#include <vector>

#include "engine/render/frame_content.h"
#include "scene/fonts/label_fonts.h"
#include "scene/overlays/hot_rect.h"
#include "scene/space/space_draw.h"
#include "scene/space/space_geometry.h"

namespace vlm {

struct EngineState;

// Display lists and fonts of the scene, valid for one rendering context.
struct SceneGl {
  const void* context = nullptr;  // the RenderContext the ids belong to
  GLuint lattice = 0, axes = 0, labels = 0, planes = 0, water = 0, legend = 0, panel = 0;
  // The label font lists and how they were made.
  GLuint labelFontBase = 0;
  bool labelFontMade = false;
  bool labelFontOutline = false;
  int32_t labelFontDepth = -1;
  scene::LabelFontMetrics labelMetrics;
  // The geometry the space lists were compiled from (also the axes of the selection pass).
  scene::SpaceGeometry geometry;
  // The panel list shows this object at this mouse position.
  int32_t panelObject = -1;
  bool panelValid = false;
};

class SceneContent : public render::FrameContent {
 public:
  void drawSpaceList(EngineState& state, int which) override;
  void drawObjects(EngineState& state) override;
  void drawWater(EngineState& state) override;
  void drawTexturedSpace(EngineState& state) override;
  bool overlaysOn(EngineState& state) override;
  void drawOverlays(EngineState& state) override;
  void releaseGl(EngineState& state) override;

  SceneGl& gl() { return gl_; }
  // Makes the list ids belong to the current context; false without one.
  bool ensureContext(EngineState& state);
  // The label font as the current lists draw it (base 0 when none could be made).
  scene::LabelFontRef labelFont(EngineState& state);
  // Legend rectangles of the last layout.
  std::vector<scene::HotRect> legendHot;

 private:
  void compileSpace(EngineState& state);
  void compileLegend(EngineState& state);
  void drawPanel(EngineState& state);
  SceneGl gl_;
};

// Installs the scene's frame content and model hooks once per state (engine thread).
SceneContent& ensureSceneContent(EngineState& state);
// The installed scene content, or null.
SceneContent* sceneContent(EngineState& state);

}  // namespace vlm
