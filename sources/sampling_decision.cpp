#include "sources/sampling_decision.h"

#include <chrono>

#include "engine/engine_state.h"
#include "sources/load_control.h"
#include "sources/load_control_dialog.h"
#include "sources/progress.h"

namespace vlm {

bool decideSampling(EngineState& state, int32_t sourceRows, SamplingPlan& plan) {
  LoadControl& settings = state.main->loadControl;
  if (loadControlNeeded(settings, sourceRows)) {
    settings.effectiveMethod = settings.method;
    LoadControlDialogInput input;
    input.sourceRows = sourceRows;
    input.settings = settings;
    const LoadControlAnswer answer = askLoadControl(input);
    if (applyLoadControlAnswer(settings, answer) != LoadControlOutcome::Accepted) {
      settings.connectionResult = -11;
      return false;
    }
  }
  settings.effectiveMethod = effectiveMethodFor(settings, sourceRows);
  plan = samplingPlanFor(settings);
  if (plan.method == SAMPLE_RANDOM) {
    const int32_t count = sampleCountFor(sourceRows, clampPercent(settings.percent));
    HostProgress progress(state);
    const bool show = count > 500;
    if (show) progress.begin(" working", 0, count);
    const auto seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    plan.sampleList = drawSampleList(sourceRows, count, seed, [&](int32_t made) {
      if (show) progress.step(made);
    });
    progress.end();
  }
  return true;
}

}  // namespace vlm
