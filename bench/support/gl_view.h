#pragma once
// A 640 x 480 window with a fresh engine state whose rendering context is
// opened on it as the engine thread opens it, for the benchmarks that draw or
// pick on the software rasteriser.
#include <QObject>
#include <QWindow>

#include <functional>
#include <memory>

#include "engine/engine_state.h"

namespace vlm::bench {

struct GlView {
  std::unique_ptr<QObject> host = std::make_unique<QObject>();
  std::unique_ptr<QWindow> window = std::make_unique<QWindow>();
  std::shared_ptr<EngineState> state = std::make_shared<EngineState>();
  bool ok = false;  // the context was opened

  // `prepare` runs once the records exist, before the context is opened.
  explicit GlView(const std::function<void(EngineState&)>& prepare = {});
};

}  // namespace vlm::bench
