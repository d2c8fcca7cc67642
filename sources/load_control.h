#pragma once
// The decisions of the Load Control dialog, apart from the dialog itself.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/settings.h"
#include "sources/sampling.h"

namespace vlm {

// What the dialog shows.
struct LoadControlDialogInput {
  int32_t sourceRows = 0;
  LoadControl settings;
};

// What the user left in the dialog: OK or not, the method of the selected
// radio button and the texts of the boxes.
struct LoadControlAnswer {
  bool ok = false;
  int32_t method = SAMPLE_ALL;
  std::string limit, each, percent, from, to, step;
};

enum class LoadControlOutcome {
  Accepted,   // OK with a number in every box of the method
  Rejected,   // OK, but a box of the method holds no number: ends like Cancel
  Cancelled,  // Cancel, or the dialog was closed
};

enum class LoadControlBox { Limit, Each, Percent, From, To, Step };

// "There is %i rows to load!\n" with the row count.
std::string loadControlMessage(int32_t sourceRows);

// The dialog is due when a load with control was asked for, or when the
// source has more rows than the limit and no earlier choice stands.
bool loadControlNeeded(const LoadControl& settings, int32_t sourceRows);

// Whether a box is enabled while `method` is selected (the limit always is).
bool loadControlBoxEnabled(int32_t method, LoadControlBox box);

// A box's text as a number: an optional sign and digits, blanks around them.
bool parseBoxNumber(std::string_view text, int32_t& value);

// 0 or less gives 1, above 100 gives 100.
int32_t clampPercent(int32_t percent);

// Applies the answer: OK stores the method, the limit and the boxes of the
// method that hold a number (the percent clamped, each and step at least 1).
// Sets samplingAccepted and clears withControl.
LoadControlOutcome applyLoadControlAnswer(LoadControl& settings, const LoadControlAnswer& answer);

// The method applied to a load of `sourceRows` rows: the saved one when the
// source has more rows than the limit, else All Records.
int32_t effectiveMethodFor(const LoadControl& settings, int32_t sourceRows);

// The sampling plan of the effective method (without the random draw).
SamplingPlan samplingPlanFor(const LoadControl& settings);

}  // namespace vlm
