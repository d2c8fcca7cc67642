#include "model/color_dialogs.h"

#include "platform/common_dialogs.h"

namespace vlm {

std::optional<uint32_t> chooseEntryColour(QWidget* parent, uint32_t current) {
  return platform::chooseColour(parent, current);
}

std::optional<std::string> askEntryValue(QWidget* parent, const std::string& current) {
  return platform::askText(parent, {"Set Value", "Value:", current});
}

}  // namespace vlm
