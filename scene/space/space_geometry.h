#pragma once
// The space around the objects as plain geometry: lattice lines, planes, axes
// with their arrow heads and pick names, lattice label texts, water. Computed
// from the space settings, the axis tick records and the axis associations;
// drawn by space_draw. Kept apart from GL so it can be checked directly.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/data_table.h"
#include "model/association.h"
#include "model/space_settings.h"
#include "platform/regional_settings.h"
#include "scene/scene_values.h"

namespace vlm::scene {

using Vec3 = std::array<float, 3>;

struct Segment {
  Vec3 a, b;
};

struct LatticeLines {
  int32_t lattice = 0;  // 0 Base, 1 Back, 2 Side
  float rgba[4] = {0, 0, 0, 1};
  float lineWidth = 1.0f;
  std::vector<Segment> lines;
};

struct PlaneQuad {
  int32_t lattice = 0;
  float rgba[4] = {0, 0, 0, 1};
  Vec3 corners[4];          // (low, low), (high, low), (high, high), (low, high)
  float texCoords[4][2] = {};
  uint32_t texture = 0;     // 0: not textured
  float shiftH = 0, shiftV = 0, scaleH = 10, scaleV = 10, rotation = 0;
};

enum ArrowType : int32_t { ARROW_NONE = 0, ARROW_LINE = 1, ARROW_PYRAMID = 2, ARROW_CUBE = 3, ARROW_BALL = 4 };

struct AxisHalf {
  int32_t axis = 0;  // 0 X, 1 Y, 2 Z
  bool positive = true;
  Vec3 tip{};
  int32_t lineName = 0;
  int32_t arrowName = 0;
};

struct AxesGeometry {
  bool on = false;
  float rgba[4] = {0, 0, 0, 1};
  float lineWidth = 2.0f;
  float arrowSize = 3.0f;
  int32_t arrowType = ARROW_PYRAMID;
  std::vector<AxisHalf> halves;
};

struct SpaceText {
  Vec3 position{};
  std::string codes;  // character codes of the label font
  float rgba[4] = {0, 0, 0, 1};
  bool rightAligned = false;
  bool title = false;
  int32_t axis = 0;
};

struct WaterQuad {
  Vec3 corners[4];
  float rgba[4] = {0, 0, 0, 1};
};

struct SpaceGeometry {
  std::vector<LatticeLines> lattices;
  std::vector<Segment> cubeEdges;  // the Cube switch: the far edges of the data space
  float cubeRgba[4] = {0, 0, 0, 1};
  std::vector<PlaneQuad> planes;
  AxesGeometry axes;
  std::vector<SpaceText> texts;
  WaterQuad water;
};

struct SpaceInput {
  const SpaceSettings* space = nullptr;
  const AssociationSet* associations = nullptr;  // passes
  const DataTable* table = nullptr;
  platform::RegionalSettings regional{};
  SceneExtents extents;  // of the last placement, for the cube without axes
};

// Pick names of the axis halves and their arrow heads.
constexpr int32_t kAxisLineName = 2000000011;   // + 2 x axis, + 1 for the negative half
constexpr int32_t kAxisArrowName = 2000000017;  // likewise
constexpr int32_t kWaterName = 2000000000;

// One tick of an axis: its data value and its position in scene units (Y negated).
struct Tick {
  float value = 0;
  float position = 0;
};
// The ticks of axis `axis` through its association (empty without one): from the
// record's low by its step up to its high, at most `density` of them, skipping
// negative positions; then, for a record straddling zero, -step, -2 step, ... down
// to the low.
std::vector<Tick> axisTicks(const AxisRecord& record, const Association* pass, int32_t axis, int32_t density);

SpaceGeometry buildSpaceGeometry(const SpaceInput& in);

// The data value at the water height z (scene units, as the objects are
// placed) read back through the vertical attribute's own scaling: for Axis Z
// the value placed at z, for Height and Size the value of an object standing
// on the base whose top reaches z. Empty without a vertical attribute with a
// field, or at scale 0 (every value at the same height).
std::string waterValueText(const VerticalAttribute& vertical, float waterZ);

}  // namespace vlm::scene
