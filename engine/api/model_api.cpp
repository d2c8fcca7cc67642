// Exported association and colour functions. Those that change the model take
// the data lock here, at the entry point; engine-thread code that already holds
// the lock calls the model operations' ...Locked forms instead.
#include <cstddef>
#include <cstring>
#include <type_traits>

#include "data/text_buffer.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "model/attributes.h"
#include "model/color_schemes.h"
#include "model/colorref.h"
#include "model/mapping_options.h"
#include "platform/host_read_guard.h"

using namespace vlm;

namespace {

// The exported pass record is the leading part of an Association.
static_assert(std::is_standard_layout_v<Association>);
#define VLM_SAME_OFFSET(member) static_assert(offsetof(vlm_pass, member) == offsetof(Association, member))
VLM_SAME_OFFSET(field);
VLM_SAME_OFFSET(fieldName);
VLM_SAME_OFFSET(fieldType);
VLM_SAME_OFFSET(flags);
VLM_SAME_OFFSET(options);
VLM_SAME_OFFSET(min);
VLM_SAME_OFFSET(max);
VLM_SAME_OFFSET(scale);
VLM_SAME_OFFSET(values);
VLM_SAME_OFFSET(displayMin);
VLM_SAME_OFFSET(displayMax);
VLM_SAME_OFFSET(transformOrigin);
VLM_SAME_OFFSET(transformRange);
#undef VLM_SAME_OFFSET
static_assert(sizeof(vlm_pass::fieldName) == sizeof(Association::fieldName));

int copyOut(char* buffer, const char* text) {
  if (!buffer) return 0;
  return static_cast<int>(writeText(buffer, kTextBufferSize, text ? text : "")) + 1;
}

// Runs `op` with the model context under the data lock.
template <typename Op>
auto withModel(Op op) -> decltype(op(std::declval<ModelContext&>())) {
  auto state = currentState();
  using R = decltype(op(std::declval<ModelContext&>()));
  if (!state) return R();
  platform::DataLockGuard guard(state->main->dataLock);
  ModelContext ctx = modelContext(*state);
  return op(ctx);
}

// Runs `op` on the state for a reader of the associations: under the data
// lock, waiting for a load that holds it; or under the hold of the calling
// thread, or of a worker that waits for this (host) thread's answer.
template <typename R, typename Op>
R readModel(R none, Op op) {
  auto state = currentState();
  if (!state) return none;
  platform::DataLock& lock = state->main->dataLock;
  if (lock.heldByCurrentThread()) return op(*state);
  platform::HostReadGuard read(lock);
  return op(*state);
}

}  // namespace

VLM_API void vlm_AssociateField(int field, int categorical, int attribute, int scale, int options) {
  withModel([&](ModelContext& ctx) { return associateFieldLocked(ctx, field, categorical, attribute, scale, options); });
}

VLM_API int vlm_DeleteAssociation(int index) {
  if (index < 0) return 0;
  return withModel([&](ModelContext& ctx) { return deleteAssociationLocked(ctx, index); });
}

VLM_API void vlm_DeleteAllAssociations(void) {
  withModel([](ModelContext& ctx) {
    deleteAllAssociationsLocked(ctx);
    return 0;
  });
}

VLM_API void vlm_DeleteField(int attribute) {
  withModel([&](ModelContext& ctx) {
    deleteFieldLocked(ctx, attribute);
    return 0;
  });
}

VLM_API void vlm_RotateField(int attribute) {
  withModel([&](ModelContext& ctx) { return rotateFieldLocked(ctx, attribute); });
}

VLM_API int vlm_IsSomethingToDelete(void) {
  auto state = currentState();
  if (!state) return 0;
  return isSomethingToDelete(state->main->input.selectedObjectType, state->model->selectedCount);
}

VLM_API int vlm_AttributeToAssociation(int attribute) {
  return readModel(-1, [&](EngineState& s) { return attributeToAssociation(s.model->associations, attribute); });
}

VLM_API int vlm_AttributeToField(int attribute) {
  return readModel(-1, [&](EngineState& s) { return attributeToField(s.model->associations, attribute); });
}

VLM_API const void* vlm_AttributeToPField(int attribute) {
  auto state = currentState();
  return state ? attributeToDataField(state->model->associations, *state->data, attribute) : nullptr;
}

VLM_API void* vlm_AttributeToPass(int attribute) {
  auto state = currentState();
  return state ? attributeToPass(state->model->associations, attribute) : nullptr;
}

VLM_API void* vlm_AttributeToPassSaved(int attribute) {
  auto state = currentState();
  return state ? attributeToPassSaved(state->model->associations, attribute) : nullptr;
}

VLM_API int vlm_AttributeToText(int attribute, char* buffer) {
  return copyOut(buffer, attributeDisplayName(attribute));
}

VLM_API int vlm_AttributeToIDText(int attribute, char* buffer) { return copyOut(buffer, attributeIdText(attribute)); }

VLM_API int vlm_TextToAttribute(char* text) { return text ? textToAttribute(text) : ATTRIB_NO; }

VLM_API int vlm_TextToSerie(char* text) {
  auto state = currentState();
  if (!state || !text) return -1;
  return textToSerie(*state->data, text);
}

VLM_API int vlm_OptionsToText(int options, char* buffer) {
  return copyOut(buffer, optionsToText(static_cast<uint8_t>(options)).c_str());
}

VLM_API int vlm_TextToOptions(char* text) { return text ? textToOptions(text) : 0; }

VLM_API int vlm_GetAssociationMapping(int index) {
  return readModel(0, [&](EngineState& s) { return associationMapping(s.model->associations, index); });
}

VLM_API void vlm_SetAssociationMapping(int index, int flag) {
  withModel([&](ModelContext& ctx) {
    setAssociationMappingLocked(ctx, index, flag);
    return 0;
  });
}

VLM_API float vlm_GetAssociationScale(int index) {
  return readModel(0.0f, [&](EngineState& s) { return associationScale(s.model->associations, index); });
}

VLM_API void vlm_SetAssociationScale(int index, float value) {
  withModel([&](ModelContext& ctx) {
    setAssociationScaleLocked(ctx, index, value);
    return 0;
  });
}

VLM_API void vlm_ResetAssociationScale(int index) {
  if (index < 0) return;
  withModel([&](ModelContext& ctx) {
    resetAssociationScaleLocked(ctx, index);
    return 0;
  });
}

VLM_API int vlm_GetNumberOfAssociations(void) {
  return readModel(0, [](EngineState& s) { return static_cast<int>(s.model->associations.count); });
}

VLM_API int vlm_ObjectToAttribute(int name) {
  auto state = currentState();
  if (!state) return ATTRIB_NO;
  const InputState& in = state->main->input;
  return objectToAttribute(name, in.selectedObjectType, in.selectedObjectIndex);
}

VLM_API int vlm_ObjectToField(int name) {
  auto state = currentState();
  if (!state) return -1;
  const InputState& in = state->main->input;
  return objectToField(state->model->associations, name, in.selectedObjectType, in.selectedObjectIndex);
}

VLM_API void vlm_ColorrefToRgba(const uint32_t* colorref, float alpha, float* rgba) {
  if (!colorref || !rgba) return;
  colorrefToRgba(*colorref, alpha, rgba);
}

VLM_API uint32_t vlm_RgbToColorref(float red, float green, float blue) { return rgbToColorref(red, green, blue); }

VLM_API int vlm_SetDefaultColorModel(int model) {
  auto state = currentState();
  if (!state) return 0;
  {
    platform::DataLockGuard guard(state->main->dataLock);
    applyDefaultColorScheme(state->view->space, model);
  }
  return postEngine(*state, CMD_SET_DEFAULT_COLOR_MODEL) ? 1 : 0;
}

VLM_API int vlm_SetDefaultColorModel2(void) {
  auto state = currentState();
  return state && postEngine(*state, CMD_SET_DEFAULT_COLOR_MODEL) ? 1 : 0;
}
