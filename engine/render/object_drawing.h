#pragma once
// The objects of the model drawn as their shapes, compiled into one list.
//
// drawObjectsImmediate draws the same geometry without calling any display list
// (the cached shape lists hold GLU quadrics, which Mesa cannot call in GL_SELECT
// mode); the selection pass uses it with names on.
#include <functional>

#include "scene/shapes/shape_types.h"

namespace vlm {
struct EngineState;
}

namespace vlm::render {

// The builder variant for the current render quality and textures.
scene::ShapeVariant objectVariant(const EngineState& state);

// Calls the object list when it is valid, otherwise compiles it (compile and
// execute). A shape that needed a new cached list leaves the list invalid, so
// the next frame compiles it completely. `drawFirst` (the object labels) is
// drawn first inside the list.
void drawObjectList(EngineState& state, const std::function<void()>& drawFirst = {});

// Every drawn object in immediate mode; with names, each object's index is
// loaded as its pick name.
void drawObjectsImmediate(EngineState& state, bool withNames);

}  // namespace vlm::render
