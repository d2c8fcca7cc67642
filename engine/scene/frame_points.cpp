#include "engine/scene/frame_points.h"

#include "engine/engine_state.h"
#include "engine/render/overlay_units.h"
#include "engine/scene/scene_read_guard.h"
#include "engine/scene/space_lists.h"
#include "model/space_settings_table.h"
#include "scene/fonts/glyph_bitmaps.h"
#include "scene/space/space_geometry.h"

namespace vlm {
namespace {

void add(std::vector<FramePoint>& out, const scene::Vec3& p) {
  FramePoint f;
  for (int i = 0; i < 3; ++i) f.position[i] = p[static_cast<size_t>(i)];
  out.push_back(f);
}

}  // namespace

bool spaceFramePoints(EngineState& state, std::vector<FramePoint>& out) {
  SceneReadGuard read(state.main->dataLock);
  if (!read.ok()) return false;
  const scene::SpaceGeometry g = scene::buildSpaceGeometry(spaceInputOf(state));
  for (const scene::LatticeLines& lattice : g.lattices)
    for (const scene::Segment& s : lattice.lines) add(out, s.a), add(out, s.b);
  for (const scene::Segment& s : g.cubeEdges) add(out, s.a), add(out, s.b);
  for (const scene::PlaneQuad& q : g.planes)
    for (const scene::Vec3& c : q.corners) add(out, c);
  if (g.axes.on)
    for (const scene::AxisHalf& h : g.axes.halves) add(out, h.tip);

  const SpaceSettings& space = state.view->space;
  const bool outline = space.rows[kRowLabel3D].value != 0;
  const float ratio = outline ? 1.0f : render::overlayScale(state.view->view);
  const scene::LabelFontMetrics m = scene::glyphMetrics(scene::labelQFont(space.labelFont, ratio), scene::kLabelFontLists);
  const float size = space.rows[kRowLabelFont].secondary;
  for (const scene::SpaceText& t : g.texts) {
    const float width = scene::textAdvance(m, t.codes);
    if (outline) {
      // Outline texts lie in the scene along x, one em high along z.
      scene::Vec3 end = t.position;
      end[0] += (t.rightAligned ? -width : width) * size;
      end[2] += size;
      add(out, t.position);
      add(out, end);
      continue;
    }
    FramePoint f;
    for (int i = 0; i < 3; ++i) f.position[i] = t.position[static_cast<size_t>(i)];
    (t.rightAligned ? f.left : f.right) = width;
    f.above = static_cast<float>(m.height);
    f.below = static_cast<float>(m.height) * 0.25f;
    out.push_back(f);
  }
  return true;
}

}  // namespace vlm
