#include "engine/scene/panel_content.h"

#include "data/value_text.h"
#include "engine/engine_state.h"
#include "engine/render/overlay_units.h"
#include "scene/fonts/code_page.h"
#include "scene/fonts/system_font_metrics.h"

namespace vlm {

const char* panelRowWord(int32_t sourceKind, int32_t language) {
  if (sourceKind == DSK_EXCEL) {
    switch (language) {
      case 2: return "Zeile";
      case 3: return "Linea";
      case 4: return "Linge";
      default: break;
    }
  }
  return "Row";
}

int32_t panelRowNumber(const DataTable& t, int32_t sample) {
  const bool hasId = sample >= 0 && static_cast<size_t>(sample) < t.rowIds.size();
  switch (t.sourceKind) {
    case DSK_EXCEL: return hasId ? t.rowIds[static_cast<size_t>(sample)] : 0;
    case DSK_ACCESS: return hasId ? t.rowIds[static_cast<size_t>(sample)] + 1 : 0;
    case DSK_CLIPBOARD: return sample + 1;
    default: return 0;
  }
}

scene::PanelInput panelInputOf(EngineState& state, int32_t sample) {
  scene::PanelInput in;
  const DataTable& t = *state.data;
  in.hintLine = state.model->scene.panel.hintLine && state.main->settings.advisor != 0;
  in.rowWord = panelRowWord(t.sourceKind, state.main->settings.language);
  in.rowNumber = panelRowNumber(t, sample);
  char text[1024];
  for (int32_t f = 0; f < t.fieldCount; ++f) {
    scene::PanelField field;
    field.name = scene::toCodePage(t.fields[static_cast<size_t>(f)].name);
    valueText(t, f, sample, text, sizeof text, true, state.main->regional);
    field.value = scene::toCodePage(text);
    in.fields.push_back(std::move(field));
  }
  const ViewState& v = state.view->view;
  in.mouseX = static_cast<int32_t>(render::overlayX(v, state.main->input.currentX.load()));
  in.mouseY = static_cast<int32_t>(render::overlayYDown(v, state.main->input.currentY.load()));
  in.viewportWidth = render::overlayWidth(v);
  in.viewportHeight = render::overlayHeight(v);
  in.font = &scene::systemFontMetrics();
  return in;
}

}  // namespace vlm
