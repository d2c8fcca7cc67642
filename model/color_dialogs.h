#pragma once
// The two dialogs of the colour popup menu. Host thread only; call them without the
// data lock and hand the result to applyEntryColour / applyEntryValue under it.
#include <cstdint>
#include <optional>
#include <string>

class QWidget;

namespace vlm {

// The colour chooser over `parent`, starting at `current` (0x00BBGGRR). Custom colours
// are kept between calls. nullopt when cancelled.
std::optional<uint32_t> chooseEntryColour(QWidget* parent, uint32_t current);
// A one-line edit asking for an entry's value, starting with `current`. nullopt when
// cancelled.
std::optional<std::string> askEntryValue(QWidget* parent, const std::string& current);

}  // namespace vlm
