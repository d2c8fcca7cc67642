#pragma once
// The tooltip texts of the toolbar commands (at most 64 characters each).
#include <QString>

namespace vlm::host {

QString tooltipFor(int command);
// The label of a toolbar button in the full style; `excel` picks the Excel kind's labels.
QString toolbarLabelFor(int command, bool excel);

}  // namespace vlm::host
