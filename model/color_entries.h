#pragma once
// Colour entries: adding, fitting them to the colour field, and the edits of the
// colour popup menu.
#include <cstdint>
#include <optional>
#include <string>

#include "model/model_context.h"

namespace vlm {

// Parses a value text for the colour field's type into `out.value`; false when the
// text names no value of the field.
bool parseEntryValue(const ModelContext& ctx, int32_t field, int32_t fieldType, const char* text,
                     ColorEntry& out);
// Appends an entry to the working copy (33 at most); the value range widens to
// include its value.
bool addColourEntry(ModelContext& ctx, int32_t field, int32_t fieldType, const char* text,
                    float red, float green, float blue);
// Text of an entry's value as the legend shows it and the model file stores it.
std::string colourEntryValueText(const ModelContext& ctx, const ColorEntry& entry, int32_t field,
                                 int32_t fieldType);
// Sets the value range from the field, re-places every entry and drops repeated
// neighbours (same position and colour) while more than two remain.
void fitColourEntries(ModelContext& ctx, int32_t field, int32_t fieldType);
// Every rebuild: the working entries are re-added from the saved copy by their value
// texts, then fitted. Allocates nothing once the entries have been built once.
void rebuildColourForField(ModelContext& ctx, int32_t field, int32_t fieldType);
void copyColourToSaved(ModelContext& ctx);
// Sorts entries by position, keeping the order of equal positions.
void sortColourEntries(ColorModel& model);

// Set entry colour: allowed while ATTRIB_COLOR has a field and `index` names an entry.
bool canSetEntryColour(const ModelContext& ctx, int32_t index);
// Applies the chooser's result; nullopt (cancelled) only asks for a redraw.
bool applyEntryColour(ModelContext& ctx, int32_t index, std::optional<uint32_t> colorref);
// Set entry value: allowed for an entry strictly between the first and the last.
bool canSetEntryValue(const ModelContext& ctx, int32_t index);
// Applies the edited text; an empty text, a text naming no value or a position
// outside 0..1 changes nothing.
bool applyEntryValue(ModelContext& ctx, int32_t index, const char* text);
// Remove point: drops entry `index` while more than two entries remain.
bool removeColourEntry(ModelContext& ctx, int32_t index);

// The colour bar's drags, the inverse of how the bar is drawn. The scale drag
// sets the colour association's scale (0..100; false without an association).
bool dragColourScaleLocked(ModelContext& ctx, float scale);
// The stop drag moves entry `index` (not the first nor the last, while the
// colour attribute has a field) to the field value at bar position `position`
// (0..1), kept between its neighbours so the entries stay sorted; a field of
// whole numbers or categories takes the nearest one. The value text follows.
bool dragColourStopLocked(ModelContext& ctx, int32_t index, float position);

}  // namespace vlm
