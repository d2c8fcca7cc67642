#include "model/space_settings_table.h"

#include <cmath>
#include <cstdlib>

#include "model/color_schemes.h"
#include "model/colorref.h"

namespace vlm {
namespace {

struct RowSpec {
  const char* name;
  int32_t parent;
  uint8_t kind;
  int32_t value;
  int32_t min;
  int32_t max;
  const char* text;
};

constexpr RowSpec kTopRows[] = {
    /* 0 */ {"Background Color", 0, kKindColour, 0, 0, 0, ""},
    /* 1 */ {"Light Color", 0, kKindColour, 0, 0, 0, ""},
    /* 2 */ {"Menu Color", 0, kKindColour, 0, 0, 0, ""},
    /* 3 */ {"Axes", 0, kKindSwitchWithChildren, 1, 0, 1, ""},
    /* 4 */ {"    Color", 3, kKindColour, 0, 0, 0, ""},
    /* 5 */ {"    Transparency", 3, kKindSlider, 30, 0, 100, ""},
    /* 6 */ {"    Line Width", 3, kKindSlider, 20, 5, 50, ""},
    /* 7 */ {"    Arrow Type", 3, kKindSlider, 2, 0, 4, ""},
    /* 8 */ {"    Arrow Size", 3, kKindSlider, 30, 5, 100, ""},
    /* 9 */ {"    X Density", 0, kKindSlider, 10, 1, 100, ""},
    /* 10 */ {"    Y Density", 0, kKindSlider, 10, 1, 100, ""},
    /* 11 */ {"    Z Density", 0, kKindSlider, 10, 1, 100, ""},
    /* 12 */ {"    Cube", 0, kKindSwitch, 0, 0, 1, ""},
    /* 13 */ {"Labels", 0, kKindSwitchWithChildren, 1, 0, 1, ""},
    /* 14 */ {"    Font", 13, kKindText, 100, 0, 0, "Arial"},
    /* 15 */ {"    3D", 13, kKindSwitch, 0, 0, 1, ""},
    /* 16 */ {"        3D Depth", 15, kKindSlider, 1, 0, 10, ""},
    /* 17 */ {"    Color", 13, kKindColour, 0, 0, 0, ""},
    /* 18 */ {"    Color by Object", 13, kKindSwitch, 1, 0, 1, ""},
};

// Group-relative parents: -1 the group's own row, otherwise an offset in the group;
// kNoParent for the rows stored with parent 0.
constexpr int32_t kGroupRow = -1;
constexpr int32_t kNoParent = -2;

struct GroupRowSpec {
  const char* name;
  int32_t parent;
  uint8_t kind;
  int32_t value;
  int32_t min;
  int32_t max;
  const char* text;
};

constexpr GroupRowSpec kGroupRows[kLatticeGroupSize] = {
    {"    Color", kGroupRow, kKindColour, 0, 0, 0, ""},
    {"    Transparency", kGroupRow, kKindSlider, 50, 0, 100, ""},
    {"    Line Width", kGroupRow, kKindSlider, 10, 5, 100, ""},
    {nullptr, kNoParent, kKindSwitch, 1, 0, 1, ""},  // first axis labels
    {nullptr, kNoParent, kKindSwitch, 1, 0, 1, ""},  // second axis labels
    {"    Plane", kNoParent, kKindSwitch, 0, 0, 1, ""},
    {"        Color", kLatPlane, kKindColour, 0, 0, 0, ""},
    {"        Transparency", kLatPlane, kKindSlider, 75, 0, 100, ""},
    {"        Image", kLatPlane, kKindSwitch, 0, 0, 1, ""},
    {"            Bitmap File", kLatImage, kKindText, 0, 0, 0, "No File"},
    {"            Shift Horizontal", kLatImage, kKindSlider, 0, -50, 50, ""},
    {"            Shift Vertical", kLatImage, kKindSlider, 0, -50, 50, ""},
    {"            Scale Horizontal", kLatImage, kKindSlider, 10, 1, 100, ""},
    {"            Scale Vertical", kLatImage, kKindSlider, 10, 1, 100, ""},
    {"            Rotation", kLatImage, kKindAngleSlider, 0, 0, 360, ""},
};

struct LatticeSpec {
  int32_t row;
  const char* name;
  const char* firstLabels;
  const char* secondLabels;
};

constexpr LatticeSpec kLattices[3] = {
    {kRowLatticeBase, "Lattice Base", "    X Labels", "    Y Labels"},
    {kRowLatticeBack, "Lattice Back", "    X Labels", "    Z Labels"},
    {kRowLatticeSide, "Lattice Side", "    Y Labels", "    Z Labels"},
};

constexpr RowSpec kTailRows[] = {
    /* 67 */ {"Water Color", 0, kKindColourWithSwitch, 0, 0, 0, ""},
    /* 68 */ {"    Transparency", 0, kKindSlider, 30, 0, 100, ""},
    /* 69 */ {"Center in Mass", 0, kKindSwitchWithChildren, 1, 0, 1, ""},
    /* 70 */ {"Perspective", 0, kKindSlider, 25, 0, 100, ""},
    /* 71 */ {"3D Stereo", 0, kKindSwitch, 0, 0, 1, ""},
    /* 72 */ {"    Eye Offset", 71, kKindSlider, 20, -100, 100, ""},
};

uint8_t valueClassOf(uint8_t kind) {
  if (kind == kKindColour || kind == kKindColourWithSwitch) return kValueColour;
  if (kind == kKindText) return kValueText;
  return kValueNumber;
}

void setRow(SpaceSetting& row, int32_t index, const char* name, int32_t parent, uint8_t kind,
            int32_t value, int32_t min, int32_t max, const char* text) {
  row = SpaceSetting{};
  row.name = name;
  row.index = index;
  row.parent = parent;
  row.kind = kind;
  row.valueClass = valueClassOf(kind);
  row.value = value;
  row.min = min;
  row.max = max;
  row.text = text;
}

void setRow(SpaceSetting& row, int32_t index, const RowSpec& s) {
  setRow(row, index, s.name, s.parent, s.kind, s.value, s.min, s.max, s.text);
}

constexpr int32_t kColourTransparencyPairs[][2] = {
    {kRowAxesColor, kRowAxesTransparency},
    {latticeRow(0, kLatColor), latticeRow(0, kLatTransparency)},
    {latticeRow(0, kLatPlaneColor), latticeRow(0, kLatPlaneTransparency)},
    {latticeRow(1, kLatColor), latticeRow(1, kLatTransparency)},
    {latticeRow(1, kLatPlaneColor), latticeRow(1, kLatPlaneTransparency)},
    {latticeRow(2, kLatColor), latticeRow(2, kLatTransparency)},
    {latticeRow(2, kLatPlaneColor), latticeRow(2, kLatPlaneTransparency)},
    {kRowWaterColor, kRowWaterTransparency},
};

}  // namespace

void fillDefaultSpaceSettings(SpaceSettings& space) {
  int32_t index = 0;
  for (const RowSpec& s : kTopRows) {
    setRow(space.rows[index], index, s);
    ++index;
  }
  for (const LatticeSpec& lattice : kLattices) {
    setRow(space.rows[lattice.row], lattice.row, lattice.name, 0, kKindSwitchWithChildren, 1, 0, 1,
           "");
    for (int32_t offset = 0; offset < kLatticeGroupSize; ++offset) {
      const GroupRowSpec& g = kGroupRows[offset];
      const int32_t row = lattice.row + 1 + offset;
      const char* name = g.name;
      if (offset == kLatFirstLabels) name = lattice.firstLabels;
      if (offset == kLatSecondLabels) name = lattice.secondLabels;
      int32_t parent = 0;
      if (g.parent == kGroupRow) parent = lattice.row;
      else if (g.parent >= 0) parent = lattice.row + 1 + g.parent;
      setRow(space.rows[row], row, name, parent, g.kind, g.value, g.min, g.max, g.text);
    }
  }
  index = kRowWaterColor;
  for (const RowSpec& s : kTailRows) {
    setRow(space.rows[index], index, s);
    ++index;
  }

  space.labelFont = LabelFontSpec{};
  SpaceSetting& font = space.rows[kRowLabelFont];
  font.value = std::abs(space.labelFont.height * 10);
  font.secondary = static_cast<float>(std::abs(space.labelFont.height * 10)) * 0.035f;

  for (const auto& pair : kColourTransparencyPairs) {
    setTransparency(space, pair[1], space.rows[pair[1]].value);
  }
  applyDefaultColorScheme(space, 2);
  resetAxisRecords(space);
  for (AxisRecord& axis : space.axes) {
    axis.texturePath.clear();
    axis.textureNameOffset = 0;
    axis.textureId = 0;
  }
}

int32_t spaceRowFlags(const SpaceSetting& row) {
  return static_cast<int32_t>(row.kind) | (static_cast<int32_t>(row.valueClass) << 8);
}

int32_t transparencyRowOf(int32_t colourRow) {
  for (const auto& pair : kColourTransparencyPairs) {
    if (pair[0] == colourRow) return pair[1];
  }
  return -1;
}

int32_t colourRowOfTransparency(int32_t transparencyRow) {
  for (const auto& pair : kColourTransparencyPairs) {
    if (pair[1] == transparencyRow) return pair[0];
  }
  return -1;
}

void setRowColour(SpaceSetting& row, uint32_t colorref, float alpha) {
  row.colorref = colorref;
  row.alpha = alpha;
  colorrefToRgba(colorref, alpha, row.rgba);
}

bool gridSetColour(SpaceSettings& space, int32_t row, uint32_t colorref) {
  if (row < 0 || row >= kSpaceSettingCount) return false;
  const int32_t ownColour = colourRowOfTransparency(row);
  if (ownColour >= 0) row = ownColour;
  SpaceSetting& target = space.rows[row];
  if (target.valueClass != kValueColour) return false;
  const int32_t transparency = transparencyRowOf(row);
  const float alpha =
      transparency >= 0 ? transparencyToAlpha(space.rows[transparency].value) : target.alpha;
  setRowColour(target, colorref, alpha);
  return true;
}

void setTransparency(SpaceSettings& space, int32_t transparencyRow, int32_t value) {
  if (transparencyRow < 0 || transparencyRow >= kSpaceSettingCount) return;
  SpaceSetting& t = space.rows[transparencyRow];
  t.value = value;
  t.secondary = transparencyToAlpha(value);
  const int32_t colour = colourRowOfTransparency(transparencyRow);
  if (colour < 0) return;
  SpaceSetting& c = space.rows[colour];
  c.alpha = t.secondary;
  c.rgba[3] = t.secondary;
}

void resetAxisRecords(SpaceSettings& space) {
  for (int32_t axis = 0; axis < 3; ++axis) {
    AxisRecord& r = space.axes[axis];
    const int32_t density = space.rows[densityRow(axis)].value;
    r.low = -100.0f;
    r.high = 100.0f;
    r.step = density > 0 ? 200.0f / static_cast<float>(density) : 1.0f;
    r.subdivision = 1;
  }
}

void setDefaultAxisRecords(SpaceSettings& space, float centreX, float centreY) {
  resetAxisRecords(space);
  space.axes[0].low = -centreX;
  space.axes[0].high = 3.0f * centreX;
  space.axes[1].low = -centreY;
  space.axes[1].high = 3.0f * centreY;
  space.axes[2].low = -centreX;
  space.axes[2].high = 3.0f * centreX;
}

}  // namespace vlm
