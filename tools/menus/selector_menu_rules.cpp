#include "tools/menus/selector_menu_rules.h"

#include "data/data_table.h"
#include "tools/menus/menu_ids.h"

namespace vlm::tools {

bool selectorMethodAllowed(int32_t command, int32_t fieldType, int32_t distinctCount) {
  const bool fewValues = distinctCount <= kSamplesLimit;
  switch (fieldType) {
    case FT_INTEGER:
    case FT_REAL:
    case FT_DATETIME:
      return command == CMD_ID_RANGE_SLIDER || command == CMD_ID_ITEM_SLIDER ||
             (command == CMD_ID_SAMPLES && fewValues);
    case FT_TEXT:
    case FT_BOOLEAN:
    case FT_FLAG:
    case FT_TEXT2:
      return command == CMD_ID_ITEM_SLIDER || command == CMD_ID_SUBSTRING ||
             (command == CMD_ID_SAMPLES && fewValues);
    case FT_SIZE:
      return command == CMD_ID_RANGE_SLIDER || command == CMD_ID_ITEM_SLIDER;
    default:
      return false;
  }
}

void applySelectorRules(Menu& menu, const SelectorRowInfo& row) {
  for (int32_t id : {CMD_ID_RANGE_SLIDER, CMD_ID_ITEM_SLIDER, CMD_ID_SAMPLES, CMD_ID_SUBSTRING})
    setEnabled(menu, id, selectorMethodAllowed(id, row.fieldType, row.distinctCount));
  setEnabled(menu, CMD_ID_NONE, row.samplesRow);
  if (row.samplesRow) {
    setChecked(menu, CMD_ID_SINGLE, row.samplesMode == 1);
    setChecked(menu, CMD_ID_MULTIPLE, row.samplesMode == 2);
  }
}

}  // namespace vlm::tools
