#include "host/tooltips.h"

#include "host/command_ids.h"

namespace vlm::host {

QString tooltipFor(int command) {
  const char* text = "";
  switch (command) {
    case ID_OPEN_MODEL: text = " Open Model \n Ctrl+O "; break;
    case ID_SAVE_MODEL: text = " Save Model "; break;
    case ID_GOTO: text = " Go to the data source \n Ctrl+A "; break;
    case ID_LOAD: text = " Load the data again \n Ctrl+L "; break;
    case ID_STOP: text = " Stop \n Ctrl+Z "; break;
    case ID_SELECTOR: text = " Selector \n (complex queries with visual feedback) "; break;
    case ID_CALCULATOR: text = " Calculator \n (statistics of the selected objects) "; break;
    case ID_GRID: text = " Grid \n (space settings) "; break;
    case ID_SCATTER: text = " Scatter \n Ctrl+1 "; break;
    case ID_BARS: text = " Bars \n Ctrl+2 "; break;
    case ID_TILES: text = " Tiles \n Ctrl+3 "; break;
    case ID_LEGEND: text = " Legend \n Ctrl+G "; break;
    case ID_WATER_LEVEL: text = " Water Level \n Ctrl+W "; break;
    case ID_INIT_POSITION: text = " Init Position \n Ctrl+I "; break;
    default: break;
  }
  return QString::fromLatin1(text).left(64);
}

QString toolbarLabelFor(int command, bool excel) {
  switch (command) {
    case ID_OPEN_MODEL: return QStringLiteral("Open");
    case ID_SAVE_MODEL: return QStringLiteral("Save");
    case ID_GOTO: return excel ? QStringLiteral("Excel") : QStringLiteral("Access");
    case ID_LOAD: return QStringLiteral("Load");
    case ID_STOP: return QStringLiteral("Stop");
    case ID_SELECTOR: return QStringLiteral("Select");
    case ID_CALCULATOR: return QStringLiteral("Calc");
    case ID_GRID: return QStringLiteral("Grid");
    case ID_SCATTER: return QStringLiteral("Scatter");
    case ID_BARS: return QStringLiteral("Bars");
    case ID_TILES: return QStringLiteral("Tiles");
    case ID_LEGEND: return QStringLiteral("Legend");
    case ID_WATER_LEVEL: return QStringLiteral("Water");
    case ID_INIT_POSITION: return QStringLiteral("Init");
    default: return {};
  }
}

}  // namespace vlm::host
