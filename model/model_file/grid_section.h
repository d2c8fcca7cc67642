#pragma once
// Section "Grid" of a model file: the engine's label, animation and water
// switches, then the rows of the space settings that the Grid edits, in the
// file's order of keys.
#include <cstdint>
#include <vector>

#include "model/model_file/model_file_content.h"
#include "model/space_settings.h"
#include "platform/profile_file.h"

namespace vlm {

// Writes every key over what the file holds (the section is not cleared).
void writeGridSection(platform::ProfileDocument& doc, const ModelFileGridSwitches& switches,
                      const SpaceSettings& space);

// What reading the section leaves for the engine to do.
struct GridReadResult {
  ModelFileGridSwitches switches;
  // Colour rows handed to the Grid's colour command after reading (text and
  // menu, lattices, planes, labels, water).
  std::vector<int32_t> gridColourRows;
  // The plane texture paths read, X (Base), Y (Back), Z (Side); empty for none.
  std::string texturePaths[3];
};

// Reads every key with the default "0" into `space`: values of switches and
// sliders as read, colours with their reference recomputed, the transparency
// rows from each colour's alpha, the label font's face, size, weight and
// slant, and each plane's texture path (its texture itself is the engine's).
GridReadResult readGridSection(const platform::ProfileDocument& doc, SpaceSettings& space);

}  // namespace vlm
