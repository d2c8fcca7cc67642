// Normalisation cost per sample: 1M samples x 10 associations per rebuild.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>

#include "data/data_table.h"
#include "data/text_pool.h"
#include "model/association_ops.h"
#include "model/normalise.h"
#include "model/space_settings_table.h"

namespace {

constexpr int32_t kSamples = 1000000;
constexpr int32_t kCategories = 40;

struct World {
  std::unique_ptr<vlm::DataTable> table = std::make_unique<vlm::DataTable>();
  std::unique_ptr<vlm::AssociationSet> set = std::make_unique<vlm::AssociationSet>();
  vlm::ColorModel colour, savedColour;
  std::atomic<int32_t> saved{1};
  vlm::SpaceSettings space;

  vlm::ModelContext ctx() {
    return vlm::ModelContext{*set, *table, colour, savedColour, saved};
  }

  vlm::DataField& addField(const char* name, uint8_t type) {
    vlm::DataField& f = table->fields[static_cast<size_t>(table->fieldCount++)];
    std::snprintf(f.name, sizeof f.name, "%s", name);
    f.type = type;
    f.cells.resize(static_cast<size_t>(table->rowCapacity));
    return f;
  }

  World() {
    vlm::DataTable& t = *table;
    t.rowCount = kSamples;
    t.rowCapacity = kSamples;
    t.sourceKind = vlm::DSK_CLIPBOARD;
    uint32_t seed = 12345;
    auto next = [&seed] {
      seed = seed * 1664525u + 1013904223u;
      return seed >> 8;
    };
    vlm::DataField& ints = addField("Count", vlm::FT_INTEGER);
    ints.min.i = 0;
    ints.max.i = 99999;
    vlm::DataField& reals = addField("Price", vlm::FT_REAL);
    reals.min.f = 0.0f;
    reals.max.f = 1000.0f;
    vlm::DataField& texts = addField("Kind", vlm::FT_TEXT);
    for (int32_t c = 0; c < kCategories; ++c) {
      vlm::internText(t.textPool, "kind " + std::to_string(c));
      vlm::DistinctValue d;
      d.value = c;
      texts.distinct.push_back(d);
    }
    texts.distinctCount = kCategories;
    for (int32_t s = 0; s < kSamples; ++s) {
      const bool present = next() % 50 != 0;
      vlm::Cell& a = ints.cells[static_cast<size_t>(s)];
      a.value.i = static_cast<int32_t>(next() % 100000);
      a.flags = present ? vlm::kCellPresent : 0;
      vlm::Cell& b = reals.cells[static_cast<size_t>(s)];
      b.value.f = static_cast<float>(next() % 1000000) * 0.001f;
      b.flags = present ? vlm::kCellPresent : 0;
      vlm::Cell& c = texts.cells[static_cast<size_t>(s)];
      c.engineWord = present ? static_cast<int32_t>(next() % kCategories) : -1;
      c.value.i = c.engineWord;
      c.flags = present ? vlm::kCellPresent : 0;
    }
    vlm::fillDefaultSpaceSettings(space);
  }
};

// kind 0 linear, 1 LOGN, 2 categorical, 3 a mix of the three.
void associateTen(World& w, int kind) {
  auto ctx = w.ctx();
  vlm::deleteAllAssociationsLocked(ctx);
  const int32_t attributes[10] = {vlm::ATTRIB_AXISX, vlm::ATTRIB_AXISY, vlm::ATTRIB_AXISZ,
                                  vlm::ATTRIB_SIZE,  vlm::ATTRIB_HEIGHT, vlm::ATTRIB_BASE,
                                  vlm::ATTRIB_DIMX,  vlm::ATTRIB_DIMY,  vlm::ATTRIB_ROTX,
                                  vlm::ATTRIB_ROTY};
  for (int i = 0; i < 10; ++i) {
    const int k = kind == 3 ? i % 3 : kind;
    if (k == 2) {
      vlm::associateFieldLocked(ctx, 2, 0, attributes[i], -1, vlm::MAP_LINEAR);
    } else {
      vlm::associateFieldLocked(ctx, i % 2, 0, attributes[i], -1,
                                k == 1 ? vlm::MAP_LOGN : vlm::MAP_LINEAR);
    }
  }
}

World& world() {
  static World w;
  return w;
}

void BM_Normalise(benchmark::State& state) {
  World& w = world();
  associateTen(w, static_cast<int>(state.range(0)));
  auto ctx = w.ctx();
  for (auto _ : state) {
    vlm::roundAndNormaliseLocked(ctx, w.space);
    benchmark::DoNotOptimize(w.set->passes[0].values);
    benchmark::ClobberMemory();
  }
  state.counters["per_sample"] = benchmark::Counter(
      static_cast<double>(kSamples) * 10.0,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_Normalise)
    ->ArgName("linear0_logn1_categorical2_mixed3")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
