#include "model/color_schemes.h"

#include "model/space_settings_table.h"

namespace vlm {
namespace {

struct SchemeColours {
  uint32_t background, light, menu, axes, lattice, plane, label, water;
};

constexpr SchemeColours kDark = {0x000000, 0x888888, 0xAAAAAA, 0xBBBBBB,
                                 0xAAAAAA, 0x666666, 0xAAAAAA, 0x222222};
constexpr SchemeColours kLight = {0xFFFFFF, 0x888888, 0x333333, 0x333333,
                                  0x444444, 0x999999, 0x333333, 0xDDDDDD};

void setWithTransparencyAlpha(SpaceSettings& space, int32_t row, uint32_t colorref) {
  gridSetColour(space, row, colorref);
}

}  // namespace

void applyDefaultColorScheme(SpaceSettings& space, int32_t model) {
  const SchemeColours& c = model == kDarkScheme ? kDark : kLight;
  setRowColour(space.rows[kRowBackgroundColor], c.background, 1.0f);
  setRowColour(space.rows[kRowLightColor], c.light, 0.75f);
  setRowColour(space.rows[kRowMenuColor], c.menu, 1.0f);
  setRowColour(space.rows[kRowLabelColor], c.label, 1.0f);
  setWithTransparencyAlpha(space, kRowAxesColor, c.axes);
  for (int32_t lattice = 0; lattice < 3; ++lattice) {
    setWithTransparencyAlpha(space, latticeRow(lattice, kLatColor), c.lattice);
    setWithTransparencyAlpha(space, latticeRow(lattice, kLatPlaneColor), c.plane);
  }
  setWithTransparencyAlpha(space, kRowWaterColor, c.water);
  space.scheme = model;
}

}  // namespace vlm
