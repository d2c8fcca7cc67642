#pragma once
// The information panel's content for the highlighted object.
#include "data/data_table.h"
#include "scene/overlays/info_panel.h"

namespace vlm {

struct EngineState;

// The row word of the source ("Row", or the Excel language's word).
const char* panelRowWord(int32_t sourceKind, int32_t excelLanguage);
// The row number shown: the Excel row id, the Access row id + 1, the clipboard
// sample index + 1, otherwise 0.
int32_t panelRowNumber(const DataTable& table, int32_t sample);

// Reads the data table: call under the data lock.
scene::PanelInput panelInputOf(EngineState& state, int32_t sample);

}  // namespace vlm
