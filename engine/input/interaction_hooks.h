#pragma once
// What the input handlers ask of the other parts of the engine: picking, the
// legend-handle tuning, colour drags, field rotation and deletion, the database
// tree, speech and sound on click, loading a table. Each part installs its
// functions once at start, before the worker threads run; an empty function
// stands for "nothing there yet" (a pick then finds nothing, -1).
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/camera/camera_fit.h"

namespace vlm {

struct EngineState;

struct InteractionHooks {
  // The pick name at window position x, y (-1 for nothing).
  std::function<int32_t(EngineState&, int x, int y)> pick;
  // The attribute and the field of a legend or axis element's pick name.
  std::function<void(EngineState&, int32_t name, int32_t& attribute, int32_t& field)> elementInfo;
  // Re-places the objects from the associations (scene construction).
  std::function<void(EngineState&)> replaceObjects;
  std::function<void(EngineState&)> rebuildSpaceLists;
  std::function<void(EngineState&)> resetPositionScales;
  // Applies the drag of a tuning-slider handle for action modes 14-17.
  std::function<void(EngineState&, int32_t actionMode)> tuningDrag;
  std::function<void(EngineState&)> renormalise;
  std::function<void(EngineState&, int y)> colourScaleDrag;
  std::function<void(EngineState&, int stop, int y)> colourStopDrag;
  std::function<int(EngineState&)> colourStopCount;
  // Moves the current attribute to the next field / deletes its association.
  std::function<void(EngineState&)> rotateField;
  std::function<void(EngineState&)> deleteField;
  // Expands or collapses a database tree node; true when something changed.
  std::function<bool(EngineState&, int32_t name)> toggleTreeNode;
  // A sample was clicked: speak it or play its sound, as the settings say.
  std::function<void(EngineState&, int32_t sample)> sampleClicked;
  std::function<void(EngineState&)> cancelAction;
  // Loads table `table` of the data source when it is a valid one.
  std::function<bool(EngineState&, int table)> loadTable;
  // The extents of the placed data: x min, x max, y min, y max, z min, z max.
  std::function<bool(EngineState&, float extents[6])> dataExtents;
  // What the default camera position must show besides the data: the space
  // and its texts (false when it cannot be read now).
  std::function<bool(EngineState&, std::vector<FramePoint>&)> framePoints;
  // Re-applies the current model after the context was re-created.
  std::function<void(EngineState&)> reapplyModel;
};

// The process-wide hooks, with defaults for the parts not installed.
InteractionHooks& interactionHooks();

}  // namespace vlm
