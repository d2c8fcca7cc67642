#include "sources/load_control.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace vlm {

std::string loadControlMessage(int32_t sourceRows) {
  char text[64];
  std::snprintf(text, sizeof text, "There is %i rows to load!\n", sourceRows);
  return text;
}

bool loadControlNeeded(const LoadControl& settings, int32_t sourceRows) {
  return settings.withControl != 0 || (settings.samplingAccepted == 0 && sourceRows > settings.limit);
}

bool loadControlBoxEnabled(int32_t method, LoadControlBox box) {
  switch (box) {
    case LoadControlBox::Limit:
      return true;
    case LoadControlBox::Each:
      return method == SAMPLE_EACH;
    case LoadControlBox::Percent:
      return method == SAMPLE_RANDOM;
    case LoadControlBox::From:
    case LoadControlBox::To:
    case LoadControlBox::Step:
      return method == SAMPLE_RANGE;
  }
  return false;
}

bool parseBoxNumber(std::string_view text, int32_t& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  int64_t v = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  value = static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
  return true;
}

int32_t clampPercent(int32_t percent) { return std::clamp(percent, 1, 100); }

LoadControlOutcome applyLoadControlAnswer(LoadControl& settings, const LoadControlAnswer& answer) {
  settings.withControl = 0;
  if (!answer.ok) {
    settings.samplingAccepted = 0;
    return LoadControlOutcome::Cancelled;
  }
  const int32_t method = std::clamp(answer.method, int32_t{SAMPLE_ALL}, int32_t{SAMPLE_RANGE});
  settings.method = method;
  int32_t value = 0;
  if (parseBoxNumber(answer.limit, value)) settings.limit = value;
  bool complete = true;
  auto take = [&](const std::string& text, int32_t& into, int32_t (*fix)(int32_t)) {
    if (parseBoxNumber(text, value))
      into = fix(value);
    else
      complete = false;
  };
  auto atLeastOne = [](int32_t v) { return std::max(v, 1); };
  auto same = [](int32_t v) { return v; };
  switch (method) {
    case SAMPLE_EACH:
      take(answer.each, settings.each, atLeastOne);
      break;
    case SAMPLE_RANDOM:
      take(answer.percent, settings.percent, clampPercent);
      break;
    case SAMPLE_RANGE:
      take(answer.from, settings.from, same);
      take(answer.to, settings.to, same);
      take(answer.step, settings.step, atLeastOne);
      break;
    default:
      break;
  }
  settings.samplingAccepted = complete ? 1 : 0;
  return complete ? LoadControlOutcome::Accepted : LoadControlOutcome::Rejected;
}

int32_t effectiveMethodFor(const LoadControl& settings, int32_t sourceRows) {
  if (sourceRows <= settings.limit) return SAMPLE_ALL;
  return std::clamp(settings.method, int32_t{SAMPLE_ALL}, int32_t{SAMPLE_RANGE});
}

SamplingPlan samplingPlanFor(const LoadControl& settings) {
  SamplingPlan plan;
  plan.method = std::clamp(settings.effectiveMethod, int32_t{SAMPLE_ALL}, int32_t{SAMPLE_RANGE});
  plan.each = std::max(settings.each, 1);
  plan.from = settings.from;
  plan.to = settings.to;
  plan.step = std::max(settings.step, 1);
  return plan;
}

}  // namespace vlm
