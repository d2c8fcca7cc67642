#pragma once
// Everything the data-model operations read and write, gathered by the engine for
// one call. The engine owns every referenced object; the operations keep nothing.
#include <atomic>
#include <cstdint>
#include <functional>

#include "data/data_table.h"
#include "model/association.h"
#include "model/color_model.h"
#include "platform/regional_settings.h"

namespace vlm {

// Where the model reaches parts of the system above it. Every hook is optional.
struct ModelHooks {
  // ATTRIB_TEXTURE was associated: build the field's textures now on the engine
  // thread, or post the request from any other thread.
  std::function<void(int32_t field)> createTextures;
  // ATTRIB_SPEECH was associated: speak the field's name.
  std::function<void(const char* text)> speak;
  // Normalisation of a sound attribute: true when sound output is (now) open.
  std::function<bool()> openSound;
  // The start of every scene construction: sound output closes.
  std::function<void()> stopSound;
  // Normalisation of ATTRIB_SPEECH: speech is active for this field.
  std::function<void(int32_t field)> speechActive;
  // Normalisation of ATTRIB_LABEL / ATTRIB_TEXTURE: per-object preparation.
  std::function<void(const Association& pass)> buildLabels;
  std::function<void(const Association& pass)> resolveTextures;
  // Normalisation met the first axis association (X or Y) with a field.
  std::function<void()> clearDefaultPlacement;
  // Parses a date/time text; without it a date/time entry text must equal the
  // text of one of the field's values.
  std::function<bool(const char* text, TimeEntry& out)> parseTime;
  // A colour entry edit asks for a model rebuild, a cancelled one for a redraw.
  std::function<void()> updateModel;
  std::function<void()> redraw;
};

struct ModelContext {
  AssociationSet& associations;
  DataTable& table;
  ColorModel& colour;       // the working copy
  ColorModel& savedColour;  // follows every change; the model file is written from it
  std::atomic<int32_t>& saved;  // the model's saved flag
  int32_t defaultOptions = 1;     // MappingOptions of the settings store
  int32_t selectedObjectType = 0;
  int32_t selectedObjectIndex = 0;  // the current attribute while the type is 2
  platform::RegionalSettings regional{};
  const ModelHooks* hooks = nullptr;
};

inline void markUnsaved(ModelContext& ctx) { ctx.saved.store(0, std::memory_order_relaxed); }

// The attribute that "0 or negative" stands for: the selected object's index while
// the selected object type is 2, otherwise none (-1).
inline int32_t currentAttribute(const ModelContext& ctx) {
  return ctx.selectedObjectType == 2 ? ctx.selectedObjectIndex : -1;
}

}  // namespace vlm
