#pragma once
// What the frame draws between its fixed steps. The scene Parts (space lists,
// objects, water level, textured planes, overlays) plug in by installing their
// own FrameContent; the default draws the objects and nothing else.
namespace vlm {
struct EngineState;
}

namespace vlm::render {

struct FrameContent {
  virtual ~FrameContent() = default;
  // The three space lists: 0 before the objects, 1 drawn with the depth test
  // passing always, 2 after it with the depth test back to less.
  virtual void drawSpaceList(EngineState&, int /*which*/) {}
  virtual void drawObjects(EngineState& state);
  virtual void drawWater(EngineState&) {}
  virtual void drawTexturedSpace(EngineState&) {}
  // Whether the overlay step runs (the legend or the information panel is on).
  virtual bool overlaysOn(EngineState& state);
  virtual void drawOverlays(EngineState&) {}
  // The context is about to go: delete the content's own lists and textures.
  virtual void releaseGl(EngineState&) {}
};

}  // namespace vlm::render
