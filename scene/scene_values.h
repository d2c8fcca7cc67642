#pragma once
// What the model rebuild leaves behind for the frame, the camera and the tools:
// the scene centre and extents, the vertical attribute, the object labels, and
// the state of the overlays. Written on the engine thread under the data lock.
#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace vlm {

// Label texts of the objects, one run of character codes per labelled object.
// An object's label id (ObjectRecord::labelList) is 1 + its index in `offsets`;
// 0 means no label. The texts are drawn by glCallLists inside the object list,
// so a million labels cost a million short runs, not a million display lists.
struct LabelStore {
  std::vector<unsigned char> chars;
  std::vector<uint32_t> offsets;  // start of run k; run k ends at offsets[k + 1] or chars.size()
  void clear() {
    chars.clear();
    offsets.clear();
  }
  size_t count() const { return offsets.size(); }
  const unsigned char* text(size_t k, size_t& length) const {
    const size_t begin = offsets[k];
    const size_t end = k + 1 < offsets.size() ? offsets[k + 1] : chars.size();
    length = end - begin;
    return chars.data() + begin;
  }
};

struct SceneExtents {
  float xMin = 0, xMax = 0, yMin = 0, yMax = 0, zMin = 0, zMax = 0;
};

// The attribute that drives the vertical extent (for the water label), with
// what its placement used, so that a height in the scene reads back as the
// data value placed there.
struct VerticalAttribute {
  int32_t attribute = 0;  // ATTRIB_AXISZ, ATTRIB_HEIGHT, ATTRIB_SIZE or 0 for none
  int32_t field = -1;
  int32_t fieldType = 0;
  float dataMin = 0.0f, dataMax = 1.0f;
  uint8_t options = 1;  // MappingOptions
  float scale = 50.0f;
  float displayMin = 0.0f, displayMax = 1.0f;
  float transformOrigin = 0.0f, transformRange = 1.0f;
  float baseHeight = 4.0f;  // the objects' height before Height and Size scale it
};

struct LegendState {
  std::atomic<bool> showAllAttributes{false};  // vlm_SetDefaultLabels; the builders turn it off
  int32_t widestLine = 0;         // pixels
  int32_t sliderLeft = 0;         // window x of the tuning slider's left end
  int32_t redrawsForWidth = 0;    // a width change redraws once
};

struct PanelState {
  bool hintLine = true;  // "DoubleClick/RightClick for Menu"
};

// The database tree of an Access source: two nodes, "Tables" and "Queries".
struct DatabaseTreeState {
  bool enabled = true;
  std::array<bool, 2> expanded = {true, false};
  int32_t scroll = 0;  // first item shown
  int32_t visibleItems = 12;
};

// The automatic builders' cursor over the fields.
struct BuilderCursor {
  int32_t field = -1;
  int32_t direction = 1;  // 1 forward, -1 backward
  int32_t lastType = 0;
};

struct SceneValues {
  float centre[3] = {0, 0, 0};
  SceneExtents extents;
  bool extentsValid = false;
  VerticalAttribute vertical;
  bool labelsPresent = false;
  LabelStore labels;
  bool speechActive = false;
  int32_t speechField = -1;
  LegendState legend;
  PanelState panel;
  DatabaseTreeState tree;
  BuilderCursor cursor;
};

}  // namespace vlm
