#pragma once
// Object textures (one per distinct file name of the texture field) and the
// three plane textures of the space. GL work runs on the engine thread; the
// list is looked up by the rebuild on whichever thread normalises.
#include <cstdint>
#include <string>
#include <string_view>

#include "output/output_state.h"

namespace vlm {

struct EngineState;
struct Association;
namespace platform {
struct Command;
}

// The first entry named exactly `name` (byte by byte), searching up to the
// first free entry; -1 when none.
int32_t findTextureEntry(const ObjectTextureList& list, std::string_view name);
// Room for kTextureListStep more entries when the list is full; false when
// the memory cannot be had.
bool growTextureList(ObjectTextureList& list);
// The GL texture of the entry named `text`; 0 for none or an empty text.
uint32_t textureByName(EngineState& state, std::string_view text);

// The value text of a sample that names its texture (the same text for
// building and for looking up).
std::string textureNameOf(EngineState& state, int32_t field, int32_t sample);

// Engine thread, CMD_CREATE_TEXTURES: one texture per distinct name of the
// field, a name loaded once. A name that is no picture gets the text canvas's
// image of its text (samples below 2048) or no texture.
void createObjectTextures(EngineState& state, int32_t field);
// Engine thread, CMD_DELETE_TEXTURES: every object texture goes; the textures
// event is set.
void deleteObjectTextures(EngineState& state);
// Any thread (clearing the table): empties the list; the GL names are handed
// to the engine thread to delete.
void retireObjectTextures(EngineState& state);
// Engine thread, CMD_LOAD_TEXTURE_FILE: the picture of `path` becomes the
// texture of plane 1 (X, Base), 2 (Y, Back) or 3 (Z, Side); an empty path
// leaves the plane without one.
void loadPlaneTexture(EngineState& state, const std::string& path, int32_t plane);
// Engine thread, the context is about to go: its texture names die with it.
void releaseTextureNames(EngineState& state);

// Normalisation of ATTRIB_TEXTURE: every object gets the texture of its text.
void resolveObjectTextures(EngineState& state, const Association& pass);

// Installs the texture hooks of the model and of the table (at start).
void installOutputHooks(EngineState& state);

bool onCreateTextures(EngineState& state, const platform::Command& command);
bool onDeleteTextures(EngineState& state, const platform::Command& command);
bool onLoadTextureFile(EngineState& state, const platform::Command& command);

}  // namespace vlm
