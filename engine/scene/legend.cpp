#include "engine/scene/legend.h"

#include "engine/engine_state.h"
#include "engine/render/overlay_units.h"
#include "engine/scene/scene_content.h"
#include "model/association_lookup.h"
#include "model/attributes.h"
#include "model/color_entries.h"
#include "model/tuning.h"
#include "scene/fonts/code_page.h"
#include "scene/fonts/system_font_metrics.h"

namespace vlm {

float legendTopOf(const EngineState& state) {
  const ViewState& v = state.view->view;
  return static_cast<float>(render::overlayHeight(v) - v.toolbarHeight.load());
}

scene::LegendLayout legendLayoutOf(EngineState& state) {
  scene::LegendInput in;
  const ViewState& v = state.view->view;
  in.viewportWidth = render::overlayWidth(v);
  in.viewportHeight = render::overlayHeight(v);
  in.barHeight = v.toolbarHeight.load();
  in.font = &scene::systemFontMetrics();
  in.showAll = state.model->scene.legend.showAllAttributes.load();
  const InputState& input = state.main->input;
  in.currentAttribute = input.selectedObjectType == 2 ? input.selectedObjectIndex.load() : -1;
  in.widestRecorded = state.model->scene.legend.widestLine;

  ModelContext ctx = modelContext(state);
  AssociationSet& set = state.model->associations;
  for (int32_t attribute : scene::kLegendOrder) {
    scene::LegendAttribute a;
    a.attribute = attribute;
    a.displayName = scene::toCodePage(attributeDisplayName(attribute));
    const Association* saved = attributeToPassSaved(set, attribute);
    a.scale = defaultAttributeScale(attribute, false);
    if (saved != nullptr) {
      a.associated = true;
      a.hasField = associationField(*state.data, saved->field) != nullptr;
      if (a.hasField) a.fieldName = scene::toCodePage(saved->fieldName);
      a.scale = saved->scale;
      const HandlePositions p = tuningHandlePositions(ctx, *saved);
      a.pmin = p.pmin, a.pmax = p.pmax;
    }
    in.attributes.push_back(std::move(a));
  }

  const ColorModel& colour = state.view->colorModel;
  in.colourContinuous = colour.rampType != kRampCategorical;
  const Association* colourPass = attributeToPassSaved(set, ATTRIB_COLOR);
  in.colourHasField = colourPass != nullptr && associationField(*state.data, colourPass->field) != nullptr;
  in.colourScale = colourPass != nullptr ? colourPass->scale : defaultAttributeScale(ATTRIB_COLOR, false);
  for (const ColorEntry& e : colour.entries) {
    scene::ColourBarEntry b;
    b.position = e.position;
    b.rgb[0] = e.red, b.rgb[1] = e.green, b.rgb[2] = e.blue;
    if (in.colourHasField)
      b.text = scene::toCodePage(colourEntryValueText(ctx, e, colourPass->field, colourPass->fieldType));
    in.colourEntries.push_back(std::move(b));
  }
  return scene::layOutLegend(in);
}

bool treeLayoutOf(EngineState& state, const scene::LegendLayout& legend, scene::TreeLayout& out) {
  const DataTable& t = *state.data;
  if (t.sourceKind != DSK_ACCESS || !state.model->scene.tree.enabled) return false;
  scene::TreeInput in;
  for (const AccessObject& o : t.accessObjects) in.items.push_back({scene::toCodePage(o.name), o.kind});
  in.current = t.currentAccessObject;
  in.state = state.model->scene.tree;
  in.left = 170.0f;  // beside the colour bar and its texts
  in.top = legend.top;
  in.font = &scene::systemFontMetrics();
  out = scene::layOutTree(in);
  return true;
}

std::vector<HotRect> layoutLegendForPicking(EngineState& state) {
  if (!state.view->view.legendOn.load()) return {};
  scene::LegendLayout layout = legendLayoutOf(state);
  std::vector<HotRect> rects = layout.hot;
  scene::TreeLayout tree;
  if (treeLayoutOf(state, layout, tree)) rects.insert(rects.end(), tree.hot.begin(), tree.hot.end());
  if (SceneContent* content = sceneContent(state)) content->legendHot = rects;
  state.model->scene.legend.sliderLeft = layout.slider.shown ? static_cast<int32_t>(layout.slider.left) : 0;
  return rects;
}

}  // namespace vlm
