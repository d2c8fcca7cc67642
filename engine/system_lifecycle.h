#pragma once
// Start and stop of the engine: the internals behind vlm_InitSystem,
// vlm_OpenWindow, vlm_CloseWindow and vlm_DeinitSystem.
#include <chrono>
#include <cstdint>
#include <memory>

namespace vlm {

struct EngineState;

struct ProductNames {
  int32_t applicationKind = 0;
  int32_t secondCode = 0;
  const char* productName = "Velmora EXCEL";
  const char* shortName = "vlmxl";
  const char* registryRoot = "SOFTWARE\\Velmora\\Velmora.Excel\\";
};
// Application ids 21..26; any other id gives kind 0 and the Excel names.
ProductNames productNamesFor(int32_t applicationId, bool* known);

// Waits that bound teardown; tests shorten them.
struct TeardownTimeouts {
  std::chrono::milliseconds closeWindow{15000};
  std::chrono::milliseconds dataThread{15000};
  std::chrono::milliseconds openWindow{30000};
};
TeardownTimeouts& teardownTimeouts();

}  // namespace vlm
