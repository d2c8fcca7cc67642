#include "scene/space/space_geometry.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "data/value_text.h"
#include "model/association_lookup.h"
#include "model/scaled_value.h"
#include "model/space_settings_table.h"
#include "scene/fonts/code_page.h"

namespace vlm::scene {
namespace {

constexpr int32_t kAxisAttributes[3] = {ATTRIB_AXISX, ATTRIB_AXISY, ATTRIB_AXISZ};
constexpr int kMaxTicks = 1000;  // a runaway step never floods a list

const SpaceSetting& row(const SpaceSettings& s, int32_t index) { return s.rows[static_cast<size_t>(index)]; }
bool on(const SpaceSettings& s, int32_t index) { return row(s, index).value != 0; }
void copyRgba(float dst[4], const float src[4]) { std::memcpy(dst, src, sizeof(float) * 4); }

struct AxisInfo {
  const Association* pass = nullptr;
  float low = 0, high = 0;  // scaled ends in scene units, Y negated
};

float signFor(int32_t axis) { return axis == 1 ? -1.0f : 1.0f; }

AxisInfo axisInfo(const SpaceInput& in, int32_t axis) {
  AxisInfo info;
  const AssociationSet& set = *in.associations;
  const int32_t index = attributeToAssociation(set, kAxisAttributes[axis]);
  if (index < 0) return info;
  info.pass = &set.passes[static_cast<size_t>(index)];
  const AxisRecord& r = in.space->axes[static_cast<size_t>(axis)];
  info.low = signFor(axis) * scaledValue(*info.pass, r.low);
  info.high = signFor(axis) * scaledValue(*info.pass, r.high);
  return info;
}

Vec3 point(int32_t axisA, float a, int32_t axisB, float b) {
  Vec3 p{0, 0, 0};
  p[static_cast<size_t>(axisA)] = a;
  p[static_cast<size_t>(axisB)] = b;
  return p;
}

bool zeroLength(const Segment& s) { return s.a == s.b; }

// The plane of each lattice and its two axes.
constexpr int32_t kLatticeAxes[3][2] = {{0, 1}, {0, 2}, {1, 2}};

void rawBaseLattice(const SpaceInput& in, SpaceGeometry& g) {
  const SpaceSettings& s = *in.space;
  if (!on(s, kRowLatticeBase)) return;
  LatticeLines lat;
  lat.lattice = 0;
  copyRgba(lat.rgba, row(s, latticeRow(0, kLatColor)).rgba);
  lat.lineWidth = static_cast<float>(row(s, latticeRow(0, kLatLineWidth)).value) * 0.1f;
  const AxisRecord& X = s.axes[0];
  const AxisRecord& Y = s.axes[1];
  auto walk = [](const AxisRecord& r, auto&& emit) {
    const float step = std::fabs(r.step);
    if (!(step > 0.0f)) {
      emit(r.low);
      return;
    }
    const float dir = r.high >= r.low ? 1.0f : -1.0f;
    const float span = std::fabs(r.high - r.low);
    for (int i = 0; i < kMaxTicks && static_cast<float>(i) * step <= span * 1.00001f; ++i)
      emit(r.low + dir * static_cast<float>(i) * step);
  };
  walk(X, [&](float x) { lat.lines.push_back({{x, Y.low, 0}, {x, Y.high, 0}}); });
  walk(Y, [&](float y) { lat.lines.push_back({{X.low, y, 0}, {X.high, y, 0}}); });
  g.lattices.push_back(std::move(lat));
}

std::string tickText(const SpaceInput& in, const Association& pass, float value) {
  char text[1024];
  if (pass.field < 0) return {};
  if (labelText(*in.table, pass.field, value, text, sizeof text, in.regional) == 0) return {};
  return toCodePage(text);
}

void latticeLabels(const SpaceInput& in, const AxisInfo info[3], const std::vector<Tick> ticks[3],
                   SpaceGeometry& g) {
  const SpaceSettings& s = *in.space;
  const bool byObject = on(s, kRowLabelColorByObject);
  const float* labelColour = row(s, kRowLabelColor).rgba;
  // X texts take the Base colour, Y the Back colour, Z the Side colour. Texts
  // are drawn opaque: a lattice's transparency thins its lines, but one-pixel
  // strokes of text at half strength fade into the background.
  auto colourOf = [&](int32_t axis) {
    const float* c = byObject ? row(s, latticeRow(axis, kLatColor)).rgba : labelColour;
    return std::array<float, 4>{c[0], c[1], c[2], 1.0f};
  };

  for (int32_t axis = 0; axis < 3; ++axis) {
    const AxisInfo& a = info[axis];
    if (a.pass == nullptr || a.pass->field < 0) continue;
    const std::string name = toCodePage(a.pass->fieldName);
    const AxisRecord& r = s.axes[static_cast<size_t>(axis)];
    const float sign = signFor(axis);
    const float highEnd = scaledValue(*a.pass, r.high) * 1.2f * 1.02f;
    const float lowEnd = scaledValue(*a.pass, r.low) * 1.2f * 1.02f;
    SpaceText title;
    title.position = point(axis, sign * highEnd, axis == 0 ? 1 : 0, 0.0f);
    title.codes = name;
    copyRgba(title.rgba, colourOf(axis).data());
    title.title = true;
    title.axis = axis;
    g.texts.push_back(title);
    if (lowEnd < -50.0f) {
      title.position = point(axis, sign * lowEnd, axis == 0 ? 1 : 0, 0.0f);
      title.rightAligned = true;
      g.texts.push_back(title);
    }
  }

  for (int32_t lattice = 0; lattice < 3; ++lattice) {
    if (!on(s, latticeRow(lattice, -1))) continue;  // the lattice's own switch
    for (int32_t k = 0; k < 2; ++k) {
      if (!on(s, latticeRow(lattice, k == 0 ? kLatFirstLabels : kLatSecondLabels))) continue;
      const int32_t axis = kLatticeAxes[lattice][k];
      const int32_t other = kLatticeAxes[lattice][1 - k];
      const AxisInfo& a = info[axis];
      if (a.pass == nullptr || a.pass->field < 0) continue;
      const int32_t density = row(s, densityRow(axis)).value;
      const float edge = info[other].pass ? info[other].low : 0.0f;
      std::string previous;
      int32_t n = 0;
      for (const Tick& t : ticks[axis]) {
        const bool skip = density > 39 && (n++ % 2) == 1;
        if (skip) continue;
        std::string text = tickText(in, *a.pass, t.value);
        if (text.empty() || text == previous) continue;
        previous = text;
        SpaceText label;
        label.position = point(axis, t.position, other, edge);
        label.codes = std::move(text);
        copyRgba(label.rgba, colourOf(axis).data());
        label.axis = axis;
        g.texts.push_back(std::move(label));
      }
    }
  }
}

void planeTexCoords(int32_t lattice, float tc[4][2]) {
  static constexpr float kCoords[3][4][2] = {
      {{0, 1}, {1, 1}, {1, 0}, {0, 0}},  // Base
      {{0, 0}, {1, 0}, {1, 1}, {0, 1}},  // Back
      {{1, 0}, {0, 0}, {0, 1}, {1, 1}},  // Side
  };
  std::memcpy(tc, kCoords[lattice], sizeof(float) * 8);
}

void planes(const SpaceInput& in, const AxisInfo info[3], bool anyAxis, SpaceGeometry& g) {
  const SpaceSettings& s = *in.space;
  for (int32_t lattice = 0; lattice < 3; ++lattice) {
    if (!on(s, latticeRow(lattice, kLatPlane))) continue;
    const int32_t A = kLatticeAxes[lattice][0], B = kLatticeAxes[lattice][1];
    float aLo = info[A].low, aHi = info[A].high, bLo = info[B].low, bHi = info[B].high;
    if (!anyAxis && lattice == 0) {
      aLo = s.axes[0].low, aHi = s.axes[0].high, bLo = s.axes[1].low, bHi = s.axes[1].high;
    }
    PlaneQuad q;
    q.lattice = lattice;
    copyRgba(q.rgba, row(s, latticeRow(lattice, kLatPlaneColor)).rgba);
    q.corners[0] = point(A, aLo, B, bLo);
    q.corners[1] = point(A, aHi, B, bLo);
    q.corners[2] = point(A, aHi, B, bHi);
    q.corners[3] = point(A, aLo, B, bHi);
    planeTexCoords(lattice, q.texCoords);
    const AxisRecord& holder = s.axes[static_cast<size_t>(lattice)];  // X Base, Y Back, Z Side
    if (on(s, latticeRow(lattice, kLatImage)) && holder.textureId != 0) {
      q.texture = holder.textureId;
      q.shiftH = static_cast<float>(row(s, latticeRow(lattice, kLatShiftHorizontal)).value);
      q.shiftV = static_cast<float>(row(s, latticeRow(lattice, kLatShiftVertical)).value);
      q.scaleH = static_cast<float>(row(s, latticeRow(lattice, kLatScaleHorizontal)).value);
      q.scaleV = static_cast<float>(row(s, latticeRow(lattice, kLatScaleVertical)).value);
      q.rotation = static_cast<float>(row(s, latticeRow(lattice, kLatRotation)).value);
    }
    g.planes.push_back(q);
  }
}

void axes(const SpaceInput& in, const AxisInfo info[3], SpaceGeometry& g) {
  const SpaceSettings& s = *in.space;
  AxesGeometry& ax = g.axes;
  ax.on = on(s, kRowAxes);
  copyRgba(ax.rgba, row(s, kRowAxesColor).rgba);
  ax.lineWidth = static_cast<float>(row(s, kRowAxesLineWidth).value) * 0.1f;
  ax.arrowSize = static_cast<float>(row(s, kRowArrowSize).value) * 0.1f;
  ax.arrowType = row(s, kRowArrowType).value;
  if (!ax.on) return;
  for (int32_t axis = 0; axis < 3; ++axis) {
    if (info[axis].pass == nullptr) continue;
    const AxisRecord& r = s.axes[static_cast<size_t>(axis)];
    const float ends[2] = {1.2f * scaledValue(*info[axis].pass, r.high), 1.2f * scaledValue(*info[axis].pass, r.low)};
    for (int k = 0; k < 2; ++k) {
      const float end = signFor(axis) * ends[k];
      if (end == 0.0f) continue;
      AxisHalf h;
      h.axis = axis;
      h.positive = k == 0;
      h.tip = point(axis, end, axis == 0 ? 1 : 0, 0.0f);
      h.lineName = kAxisLineName + 2 * axis + k;
      h.arrowName = kAxisArrowName + 2 * axis + k;
      ax.halves.push_back(h);
    }
  }
}

void water(const SpaceInput& in, const AxisInfo info[3], SpaceGeometry& g) {
  const SpaceSettings& s = *in.space;
  float xLo = info[0].low, xHi = info[0].high, yLo = info[1].low, yHi = info[1].high;
  if (info[0].pass == nullptr) xLo = s.axes[0].low, xHi = s.axes[0].high;
  if (info[1].pass == nullptr) yLo = s.axes[1].low, yHi = s.axes[1].high;
  g.water.corners[0] = {xLo, yLo, 0};
  g.water.corners[1] = {xHi, yLo, 0};
  g.water.corners[2] = {xHi, yHi, 0};
  g.water.corners[3] = {xLo, yHi, 0};
  copyRgba(g.water.rgba, row(s, kRowWaterColor).rgba);
}

// The Cube switch closes the lattices into a box: the edges of the data space.
void cube(const SpaceInput& in, const AxisInfo info[3], bool anyAxis, SpaceGeometry& g) {
  const SpaceSettings& s = *in.space;
  if (!on(s, kRowCube)) return;
  float lo[3], hi[3];
  for (int i = 0; i < 3; ++i) lo[i] = info[i].low, hi[i] = info[i].high;
  if (!anyAxis) {
    lo[0] = s.axes[0].low, hi[0] = s.axes[0].high;
    lo[1] = s.axes[1].low, hi[1] = s.axes[1].high;
    lo[2] = 0.0f, hi[2] = std::max(in.extents.zMax, 1.0f);
  }
  copyRgba(g.cubeRgba, row(s, latticeRow(0, kLatColor)).rgba);
  for (int axis = 0; axis < 3; ++axis) {
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    for (int m = 0; m < 4; ++m) {
      Vec3 p{}, q{};
      p[static_cast<size_t>(axis)] = lo[axis];
      q[static_cast<size_t>(axis)] = hi[axis];
      p[static_cast<size_t>(a)] = q[static_cast<size_t>(a)] = (m & 1) ? hi[a] : lo[a];
      p[static_cast<size_t>(b)] = q[static_cast<size_t>(b)] = (m & 2) ? hi[b] : lo[b];
      if (p != q) g.cubeEdges.push_back({p, q});
    }
  }
}

}  // namespace

std::vector<Tick> axisTicks(const AxisRecord& r, const Association* pass, int32_t axis, int32_t density) {
  std::vector<Tick> ticks;
  if (pass == nullptr) return ticks;
  const float sign = signFor(axis);
  const int32_t limit = std::min(std::max(density, 1), kMaxTicks);
  if (!(r.step > 0.0f)) {
    const float p = scaledValue(*pass, r.low);
    if (p >= 0.0f) ticks.push_back({r.low, sign * p});
    return ticks;
  }
  int32_t count = 0;
  for (int i = 0; count < limit && i < kMaxTicks; ++i) {
    const float v = r.low + static_cast<float>(i) * r.step;
    if (v > r.high + std::fabs(r.step) * 1e-4f) break;
    const float p = scaledValue(*pass, v);
    if (p < 0.0f) continue;
    ticks.push_back({v, sign * p});
    ++count;
  }
  if (r.low < 0.0f && r.high > 0.0f) {
    for (int i = 1; i < kMaxTicks; ++i) {
      const float v = -static_cast<float>(i) * r.step;
      if (v < r.low - std::fabs(r.step) * 1e-4f) break;
      ticks.push_back({v, sign * scaledValue(*pass, v)});
    }
  }
  return ticks;
}

SpaceGeometry buildSpaceGeometry(const SpaceInput& in) {
  SpaceGeometry g;
  if (in.space == nullptr || in.associations == nullptr || in.table == nullptr) return g;
  const SpaceSettings& s = *in.space;
  AxisInfo info[3];
  bool anyAxis = false;
  for (int32_t axis = 0; axis < 3; ++axis) {
    info[axis] = axisInfo(in, axis);
    anyAxis = anyAxis || info[axis].pass != nullptr;
  }
  std::vector<Tick> ticks[3];
  for (int32_t axis = 0; axis < 3; ++axis)
    ticks[axis] = axisTicks(s.axes[static_cast<size_t>(axis)], info[axis].pass, axis, row(s, densityRow(axis)).value);

  if (!anyAxis) {
    rawBaseLattice(in, g);
  } else {
    for (int32_t lattice = 0; lattice < 3; ++lattice) {
      if (!on(s, latticeRow(lattice, -1))) continue;
      LatticeLines lat;
      lat.lattice = lattice;
      copyRgba(lat.rgba, row(s, latticeRow(lattice, kLatColor)).rgba);
      lat.lineWidth = static_cast<float>(row(s, latticeRow(lattice, kLatLineWidth)).value) * 0.1f;
      for (int k = 0; k < 2; ++k) {
        const int32_t axis = kLatticeAxes[lattice][k], other = kLatticeAxes[lattice][1 - k];
        for (const Tick& t : ticks[axis]) {
          Segment seg{point(axis, t.position, other, info[other].low), point(axis, t.position, other, info[other].high)};
          if (!zeroLength(seg)) lat.lines.push_back(seg);
        }
      }
      g.lattices.push_back(std::move(lat));
    }
    if (on(s, kRowLabels)) latticeLabels(in, info, ticks, g);
  }
  cube(in, info, anyAxis, g);
  planes(in, info, anyAxis, g);
  axes(in, info, g);
  water(in, info, g);
  return g;
}

std::string waterValueText(const VerticalAttribute& v, const AxisRecord& z, float waterZ) {
  if (v.attribute == 0 || v.field < 0) return {};
  if (z.high == z.low) return {};
  const float value = v.dataMin + (waterZ - z.low) / (z.high - z.low) * (v.dataMax - v.dataMin);
  char text[64] = {};
  switch (v.fieldType) {
    case FT_REAL: std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value)); break;
    case FT_BOOLEAN:
    case FT_FLAG: return value >= 0.5f ? "TRUE" : "FALSE";
    case FT_INTEGER:
    case FT_TEXT:
    case FT_DATETIME:
    case FT_SIZE: std::snprintf(text, sizeof text, "%i", static_cast<int>(value)); break;
    default: return {};
  }
  return text;
}

}  // namespace vlm::scene
