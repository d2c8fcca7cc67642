#pragma once
// A small data table and model state for the model tests.
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/data_table.h"
#include "model/association.h"
#include "model/color_model.h"
#include "model/model_context.h"

namespace vlm::test {

// Row count and capacity (rounded up to 500) of the table; every field's cells follow.
void setRows(DataTable& table, int32_t rows);

int32_t addIntegerField(DataTable& table, const char* name,
                        const std::vector<std::optional<int32_t>>& values);
int32_t addRealField(DataTable& table, const char* name,
                     const std::vector<std::optional<float>>& values);
// Text cells go to the pool; the distinct list is sorted and each cell's engine word
// holds its category index (missing values share an empty entry at the end).
int32_t addTextField(DataTable& table, const char* name,
                     const std::vector<std::optional<std::string>>& values,
                     uint8_t type = FT_TEXT);
int32_t addBooleanField(DataTable& table, const char* name,
                        const std::vector<std::optional<bool>>& values, uint8_t type = FT_BOOLEAN);
int32_t addSizeField(DataTable& table, const char* name,
                     const std::vector<std::optional<int32_t>>& bytes);
int32_t addUntypedField(DataTable& table, const char* name);

struct ModelWorld {
  std::unique_ptr<DataTable> table = std::make_unique<DataTable>();
  std::unique_ptr<AssociationSet> set = std::make_unique<AssociationSet>();
  ColorModel colour;
  ColorModel savedColour;
  std::atomic<int32_t> saved{1};
  ModelHooks hooks;
  int32_t defaultOptions = MAP_LINEAR;
  int32_t selectedObjectType = 0;
  int32_t selectedObjectIndex = 0;

  ModelContext ctx() {
    return ModelContext{*set, *table, colour, savedColour, saved, defaultOptions,
                        selectedObjectType, selectedObjectIndex, {}, &hooks};
  }
  const Association& pass(int32_t i) const { return set->passes[static_cast<size_t>(i)]; }
  const Association& savedPass(int32_t i) const { return set->saved[static_cast<size_t>(i)]; }
  float value(int32_t association, int32_t sample) const {
    return set->passes[static_cast<size_t>(association)].values[static_cast<size_t>(sample)];
  }
};

}  // namespace vlm::test
