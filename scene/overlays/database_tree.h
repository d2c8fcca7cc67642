#pragma once
// The tree of an Access database's tables and queries: two expandable nodes with
// their items, the one in use highlighted, scroll controls when the items do not
// fit. Laid out in overlay pixels (y up) with named rectangles for picking.
#include <GL/gl.h>

#include <string>
#include <vector>

#include "scene/fonts/label_fonts.h"
#include "scene/overlays/hot_rect.h"
#include "scene/overlays/overlay_text.h"
#include "scene/scene_values.h"

namespace vlm::scene {

struct TreeItemInput {
  std::string name;  // character codes
  int32_t kind = 0;  // 21 table, 23 query
};

struct TreeInput {
  std::vector<TreeItemInput> items;  // the data source's object list, in its order
  int32_t current = -1;              // the item in use
  DatabaseTreeState state;
  float left = 0, top = 0;
  const LabelFontMetrics* font = nullptr;
};

struct TreeRow {
  OverlayText text;
  float boxX = 0, boxY = 0;  // the expand box of a node
  bool node = false, expanded = false, highlighted = false;
  int32_t item = -1;
};

struct TreeLayout {
  std::vector<TreeRow> rows;
  std::vector<float> connector;  // x0, y0, x1, y1 per connecting line
  bool scroll = false;
  float scrollX = 0, scrollTop = 0;
  std::vector<HotRect> hot;
};

constexpr int32_t kTreeNodeName = 2000000300;  // + 10 per node, + 1 for its expand box
constexpr int32_t kTreeScrollName = 2000000330;  // down, up, to the end, to the start
constexpr int32_t kTreeItemName = 2000000400;    // + item index

TreeLayout layOutTree(const TreeInput& in);
void drawTree(const TreeLayout& layout, GLuint fontBase, const float textRgba[4]);

// A click on a node, its box or a scroll control; true when the tree changed.
bool toggleTree(DatabaseTreeState& state, int32_t name, int32_t itemCount);

}  // namespace vlm::scene
