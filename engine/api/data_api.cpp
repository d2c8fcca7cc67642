// Exported getters of the data table. They read without the data lock, as the
// table changes only between loads; indexes are checked so a stale index from
// the caller never reads outside the table.
#include <cstring>

#include "data/field_name.h"
#include "data/table_clear.h"
#include "data/table_getters.h"
#include "data/text_buffer.h"
#include "data/value_text.h"
#include "engine/engine_state.h"
#include "engine/vlmapi.h"

using namespace vlm;

namespace {

bool validField(const EngineState& s, int field) { return field >= 0 && field < s.data->fieldCount; }

void emptyText(char* buffer) {
  if (buffer) buffer[0] = '\0';
}

}  // namespace

VLM_API int vlm_InitializeDataMemory(void) {
  auto state = currentState();
  if (!state) return 0;
  platform::DataLockGuard guard(state->main->dataLock);
  clearTable(*state->data);
  return 1;
}

VLM_API int vlm_GetFieldName(int field, char* buffer) {
  auto state = currentState();
  if (!state || !buffer) return 0;
  if (!validField(*state, field)) {
    emptyText(buffer);
    return 1;
  }
  return copyFieldName(*state->data, field, buffer, kTextBufferSize);
}

VLM_API int vlm_GetFieldType(int field) {
  auto state = currentState();
  if (!state || !validField(*state, field)) return 0;
  return state->data->fields[static_cast<size_t>(field)].type;
}

VLM_API int vlm_IsFieldValid(int field) {
  auto state = currentState();
  if (!state || !validField(*state, field)) return 0;
  return state->data->fields[static_cast<size_t>(field)].flags & kFieldValid;
}

VLM_API int vlm_GetNumberOfFields(void) {
  auto state = currentState();
  return state ? state->data->fieldCount : 0;
}

VLM_API int vlm_GetNumberOfHits(void) {
  auto state = currentState();
  return state ? state->data->rowCount.get() : 0;
}

VLM_API int vlm_GetModelName(char* buffer) {
  auto state = currentState();
  if (!state) return 0;
  std::string name;
  {
    std::lock_guard lock(state->model->nameMutex);
    name = state->model->modelName;
  }
  if (buffer) writeText(buffer, kTextBufferSize, name);
  return static_cast<int>(name.size()) + 1;
}

VLM_API int vlm_GetRowIndex(int dataSourceKind, int sample) {
  auto state = currentState();
  if (!state) return -1;
  if (sample < 0 || sample >= state->data->rowCapacity) return sample;
  return rowIndex(*state->data, dataSourceKind, sample);
}

VLM_API int vlm_GetFirstAvailableField(void) {
  auto state = currentState();
  if (!state) return -1;
  return firstAvailableField(*state->data, state->main->fieldCursor);
}

VLM_API int vlm_GetNextAvailableField(void) {
  auto state = currentState();
  if (!state) return -1;
  return nextAvailableField(*state->data, state->main->fieldCursor);
}

VLM_API int vlm_GetValueAsText(int field, int sample, char* buffer, int group) {
  auto state = currentState();
  if (!state || !buffer) return 0;
  if (sample < 0 || sample >= state->data->rowCount || (field != -1 && !validField(*state, field))) {
    emptyText(buffer);
    return 0;
  }
  return valueText(*state->data, field, sample, buffer, kTextBufferSize, group != 0, state->main->regional);
}

VLM_API int vlm_GetSampleAsText(int field, int entry, char* buffer) {
  auto state = currentState();
  if (!state || !buffer) return 0;
  if (!validField(*state, field)) {
    emptyText(buffer);
    return 0;
  }
  return distinctValueText(*state->data, field, entry, buffer, kTextBufferSize, state->main->regional);
}

VLM_API int vlm_GetFieldValueAsText(int field, int which, char* buffer) {
  auto state = currentState();
  if (!state || !buffer) return 0;
  if (!validField(*state, field)) {
    writeText(buffer, kTextBufferSize, "N/A");
    return 0;
  }
  return fieldRangeText(*state->data, field, which, buffer, kTextBufferSize, state->main->regional);
}
