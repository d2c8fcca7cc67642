#include "engine/picking/pick_sources.h"

#include "engine/render/object_drawing.h"

namespace vlm {
namespace {

PickSources makeDefaults() {
  PickSources s;
  s.legendRects = [](EngineState&) { return std::vector<PickRect>{}; };
  s.drawPass = [](EngineState& state, PickPass pass) {
    if (pass == PickPass::Objects) render::drawObjectsImmediate(state, true);
  };
  return s;
}

}  // namespace

PickSources& pickSources() {
  static PickSources sources = makeDefaults();
  return sources;
}

}  // namespace vlm
