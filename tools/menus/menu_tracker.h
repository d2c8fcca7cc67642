#pragma once
// Shows a popup menu at the pointer on the host thread and returns the chosen
// command id (0 when the menu is dismissed). Tests put a chooser in its place.
#include <cstdint>
#include <functional>

#include "tools/menus/menu.h"

class QWidget;

namespace vlm::tools {

using MenuChooser = std::function<int32_t(const Menu&)>;

// Replaces the real menu by `chooser` (null restores it); returns the previous one.
MenuChooser setMenuChooser(MenuChooser chooser);

// Tracks `menu` over `owner` at the pointer position. A chosen item that is
// disabled or not in the menu counts as dismissed.
int32_t trackMenu(const Menu& menu, QWidget* owner);

}  // namespace vlm::tools
