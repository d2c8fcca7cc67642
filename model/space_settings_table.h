#pragma once
// The built-in table of the 73 space settings rows and the rules that tie colour
// rows to their transparency rows.
#include <cstdint>

#include "model/space_settings.h"

namespace vlm {

enum SpaceRow : int32_t {
  kRowBackgroundColor = 0,
  kRowLightColor = 1,
  kRowMenuColor = 2,
  kRowAxes = 3,
  kRowAxesColor = 4,
  kRowAxesTransparency = 5,
  kRowAxesLineWidth = 6,
  kRowArrowType = 7,
  kRowArrowSize = 8,
  kRowXDensity = 9,
  kRowYDensity = 10,
  kRowZDensity = 11,
  kRowCube = 12,
  kRowLabels = 13,
  kRowLabelFont = 14,
  kRowLabel3D = 15,
  kRowLabel3DDepth = 16,
  kRowLabelColor = 17,
  kRowLabelColorByObject = 18,
  kRowLatticeBase = 19,
  kRowLatticeBack = 35,
  kRowLatticeSide = 51,
  kRowWaterColor = 67,
  kRowWaterTransparency = 68,
  kRowCenterInMass = 69,
  kRowPerspective = 70,
  kRowStereo = 71,
  kRowEyeOffset = 72,
};

// Offsets inside a lattice group, counted from the group's first child row
// (lattice row + 1).
enum LatticeOffset : int32_t {
  kLatColor = 0,
  kLatTransparency = 1,
  kLatLineWidth = 2,
  kLatFirstLabels = 3,
  kLatSecondLabels = 4,
  kLatPlane = 5,
  kLatPlaneColor = 6,
  kLatPlaneTransparency = 7,
  kLatImage = 8,
  kLatBitmapFile = 9,
  kLatShiftHorizontal = 10,
  kLatShiftVertical = 11,
  kLatScaleHorizontal = 12,
  kLatScaleVertical = 13,
  kLatRotation = 14,
};
constexpr int32_t kLatticeGroupSize = 15;

// Row of a lattice group element; lattice 0 Base, 1 Back, 2 Side.
constexpr int32_t latticeRow(int32_t lattice, int32_t offset) {
  return (lattice == 0 ? kRowLatticeBase : lattice == 1 ? kRowLatticeBack : kRowLatticeSide) + 1 +
         offset;
}

// Density row of axis 0 X, 1 Y, 2 Z.
constexpr int32_t densityRow(int32_t axis) { return kRowXDensity + axis; }

// Fills every row with its name, parent, kind, default and range, the label font
// with its start values, the light colour scheme, and the default axis records.
void fillDefaultSpaceSettings(SpaceSettings& space);

// The row flags as the Grid stores them: kind in the low byte, value class above.
int32_t spaceRowFlags(const SpaceSetting& row);

// The transparency row that gives a colour row its alpha, or -1 for the colour rows
// with an alpha of their own (0, 1, 2, 17) and for non-colour rows.
int32_t transparencyRowOf(int32_t colourRow);
// The colour row whose alpha a transparency row sets, or -1.
int32_t colourRowOfTransparency(int32_t transparencyRow);

// Sets a colour row's reference and floats with the given alpha.
void setRowColour(SpaceSetting& row, uint32_t colorref, float alpha);
// Sets a row's colour as vlm_GridSetColor does: rows with an alpha of their own keep
// it, the others take the alpha of their transparency row. A transparency row index
// addresses its colour row. False for a row that holds no colour.
bool gridSetColour(SpaceSettings& space, int32_t row, uint32_t colorref);
// Stores a transparency value and applies (100 - value) x 0.01 to its colour row.
void setTransparency(SpaceSettings& space, int32_t transparencyRow, int32_t value);
// Alpha that a transparency percentage gives.
inline float transparencyToAlpha(int32_t value) { return static_cast<float>(100 - value) * 0.01f; }

// Every record low -100, high 100, step 200 / density (1 without density),
// subdivision 1; the texture parts stay.
void resetAxisRecords(SpaceSettings& space);
// Default axis records before every rebuild: low -100, high 100, step 200 / density,
// subdivision 1, then spread over the scene centre (cx, cy).
void setDefaultAxisRecords(SpaceSettings& space, float centreX, float centreY);

}  // namespace vlm
