#include "model/model_file/grid_section.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "model/colorref.h"
#include "model/model_file/model_file_values.h"
#include "model/space_settings_table.h"

namespace vlm {
namespace {

using platform::ProfileDocument;

constexpr const char* kGrid = "Grid";

// One key, or one group of four colour keys, in the file's order.
struct GridKey {
  enum class Kind {
    Labels, AnimationMode, Water,  // the engine's switches
    Switch, Integer,               // a row's value
    Colour,                        // "<key>R", "G", "B", "A" of a colour row
    FontFace, FontSize, FontWeight, FontItalic,
    TextureFile,                   // `row` is the plane: 0 X, 1 Y, 2 Z
  };
  std::string key;
  Kind kind;
  int32_t row = 0;
};

using K = GridKey::Kind;

std::vector<GridKey> makeGridKeys() {
  std::vector<GridKey> keys = {
      {"Labels", K::Labels},
      {"AnimationMode", K::AnimationMode},
      {"Water", K::Water},
      {"ColorSpace", K::Colour, kRowBackgroundColor},
      {"ColorLight", K::Colour, kRowLightColor},
      {"ColorTextMenu", K::Colour, kRowMenuColor},
      {"Axes", K::Switch, kRowAxes},
      {"ColorAxes", K::Colour, kRowAxesColor},
      {"AxesWidth", K::Integer, kRowAxesLineWidth},
      {"ArowType", K::Integer, kRowArrowType},
      {"ArowSize", K::Integer, kRowArrowSize},
      {"X_Density", K::Integer, kRowXDensity},
      {"Y_Density", K::Integer, kRowYDensity},
      {"Z_Density", K::Integer, kRowZDensity},
      {"Cube", K::Switch, kRowCube},
  };
  struct Group {
    const char* prefix;
    const char* firstLabels;
    const char* secondLabels;
  };
  static const Group groups[3] = {{"X_", "X_LatticeXlabels", "X_LatticeYlabels"},
                                  {"Y_", "Y_LatticeXlabels", "Y_LatticeZlabels"},
                                  {"Z_", "Z_LatticeYlabels", "Z_LatticeZlabels"}};
  for (int32_t lattice = 0; lattice < 3; ++lattice) {
    const std::string p = groups[lattice].prefix;
    const int32_t base = latticeRow(lattice, 0) - 1;
    keys.push_back({p + "Lattice", K::Switch, base});
    keys.push_back({p + "LatticeColor", K::Colour, latticeRow(lattice, kLatColor)});
    keys.push_back({p + "LatticeWidth", K::Integer, latticeRow(lattice, kLatLineWidth)});
    keys.push_back({groups[lattice].firstLabels, K::Switch, latticeRow(lattice, kLatFirstLabels)});
    keys.push_back({groups[lattice].secondLabels, K::Switch, latticeRow(lattice, kLatSecondLabels)});
    keys.push_back({p + "Plane", K::Switch, latticeRow(lattice, kLatPlane)});
    keys.push_back({p + "PlaneColor", K::Colour, latticeRow(lattice, kLatPlaneColor)});
    keys.push_back({p + "Texture", K::Switch, latticeRow(lattice, kLatImage)});
    keys.push_back({p + "TextureFile", K::TextureFile, lattice});
    keys.push_back({p + "TextureU", K::Integer, latticeRow(lattice, kLatShiftHorizontal)});
    keys.push_back({p + "TextureV", K::Integer, latticeRow(lattice, kLatShiftVertical)});
    keys.push_back({p + "TextureS", K::Integer, latticeRow(lattice, kLatScaleHorizontal)});
    keys.push_back({p + "TextureT", K::Integer, latticeRow(lattice, kLatScaleVertical)});
    keys.push_back({p + "TextureR", K::Integer, latticeRow(lattice, kLatRotation)});
  }
  const GridKey tail[] = {
      {"LabelFont", K::FontFace, kRowLabelFont},
      {"LabelFont_Size", K::FontSize, kRowLabelFont},
      {"LabelFont_Bold", K::FontWeight, kRowLabelFont},
      {"LabelFont_Italic", K::FontItalic, kRowLabelFont},
      {"Label3D", K::Switch, kRowLabel3D},
      {"Label3D_Depth", K::Integer, kRowLabel3DDepth},
      {"LabelColor", K::Colour, kRowLabelColor},
      {"LabelColorByObject", K::Switch, kRowLabelColorByObject},
      {"WaterColor", K::Colour, kRowWaterColor},
      {"CenterInMass", K::Switch, kRowCenterInMass},
      {"FieldOfView", K::Integer, kRowPerspective},
  };
  keys.insert(keys.end(), std::begin(tail), std::end(tail));
  return keys;
}

const std::vector<GridKey>& gridKeys() {
  static const std::vector<GridKey> keys = makeGridKeys();
  return keys;
}

// Colour rows whose colour the Grid takes after reading.
bool handedToGrid(int32_t row) {
  switch (row) {
    case kRowMenuColor:
    case kRowLabelColor:
    case kRowWaterColor:
      return true;
    default:
      for (int32_t lattice = 0; lattice < 3; ++lattice) {
        if (row == latticeRow(lattice, kLatColor) || row == latticeRow(lattice, kLatPlaneColor)) return true;
      }
      return false;
  }
}

std::string keyPart(const std::string& key, const char* part) { return key + part; }

std::string integer(int64_t v) { return std::to_string(v); }

}  // namespace

void writeGridSection(ProfileDocument& doc, const ModelFileGridSwitches& switches, const SpaceSettings& space) {
  for (const GridKey& k : gridKeys()) {
    const SpaceSetting& row = space.rows[static_cast<size_t>(std::clamp(k.row, 0, kSpaceSettingCount - 1))];
    switch (k.kind) {
      case K::Labels:
        doc.set(kGrid, k.key, integer(switches.labels));
        break;
      case K::AnimationMode:
        doc.set(kGrid, k.key, integer(switches.animationMode));
        break;
      case K::Water:
        doc.set(kGrid, k.key, switchText(switches.water != 0));
        break;
      case K::Switch:
        doc.set(kGrid, k.key, switchText(row.value != 0));
        break;
      case K::Integer:
        doc.set(kGrid, k.key, integer(row.value));
        break;
      case K::Colour:
        doc.set(kGrid, keyPart(k.key, "R"), modelRealText(row.rgba[0]));
        doc.set(kGrid, keyPart(k.key, "G"), modelRealText(row.rgba[1]));
        doc.set(kGrid, keyPart(k.key, "B"), modelRealText(row.rgba[2]));
        doc.set(kGrid, keyPart(k.key, "A"), modelRealText(row.alpha));
        break;
      case K::FontFace:
        doc.set(kGrid, k.key, space.labelFont.face);
        break;
      case K::FontSize:
        doc.set(kGrid, k.key, integer(row.value));
        break;
      case K::FontWeight:
        doc.set(kGrid, k.key, integer(space.labelFont.weight));
        break;
      case K::FontItalic:
        doc.set(kGrid, k.key, switchText(space.labelFont.italic));
        break;
      case K::TextureFile:
        doc.set(kGrid, k.key, space.axes[static_cast<size_t>(k.row)].texturePath);
        break;
    }
  }
}

GridReadResult readGridSection(const ProfileDocument& doc, SpaceSettings& space) {
  GridReadResult r;
  const auto text = [&doc](const std::string& key) { return doc.get(kGrid, key, "0"); };
  for (const GridKey& k : gridKeys()) {
    SpaceSetting& row = space.rows[static_cast<size_t>(std::clamp(k.row, 0, kSpaceSettingCount - 1))];
    switch (k.kind) {
      case K::Labels:
        r.switches.labels = readModelInteger(text(k.key));
        if (r.switches.labels != 1 && r.switches.labels != 2) r.switches.labels = 0;
        break;
      case K::AnimationMode:
        r.switches.animationMode = readModelInteger(text(k.key));
        break;
      case K::Water:
        r.switches.water = readModelInteger(text(k.key));
        break;
      case K::Switch:
      case K::Integer:
        row.value = readModelInteger(text(k.key));
        break;
      case K::Colour: {
        const float red = readModelReal(text(keyPart(k.key, "R")));
        const float green = readModelReal(text(keyPart(k.key, "G")));
        const float blue = readModelReal(text(keyPart(k.key, "B")));
        const float alpha = readModelReal(text(keyPart(k.key, "A")));
        row.rgba[0] = red;
        row.rgba[1] = green;
        row.rgba[2] = blue;
        row.colorref = rgbToColorref(red, green, blue);
        const int32_t transparency = transparencyRowOf(k.row);
        if (transparency >= 0) {
          // The percentage the Grid shows; the colour's alpha follows from it.
          const double percent = std::floor(100.0 - 100.0 * static_cast<double>(alpha) + 0.5);
          setTransparency(space, transparency, static_cast<int32_t>(std::clamp(percent, -1e9, 1e9)));
        } else {
          row.alpha = alpha;
          row.rgba[3] = alpha;
        }
        if (handedToGrid(k.row)) r.gridColourRows.push_back(k.row);
        break;
      }
      case K::FontFace:
        space.labelFont.face = text(k.key);
        row.text = space.labelFont.face;
        break;
      case K::FontSize: {
        // The size in tenths of a point; the font's height in points, and
        // the 3D text scale it gives.
        row.value = readModelInteger(text(k.key));
        const int32_t points = std::clamp(std::abs(row.value) / 10, 1, 500);
        space.labelFont.height = -points;
        row.secondary = static_cast<float>(std::abs(row.value)) * 0.035f;
        break;
      }
      case K::FontWeight:
        space.labelFont.weight = readModelInteger(text(k.key));
        break;
      case K::FontItalic:
        space.labelFont.italic = readModelSwitch(text(k.key));
        break;
      case K::TextureFile: {
        std::string path = text(k.key);
        if (path == "0") path.clear();  // the default of a missing key names no file
        r.texturePaths[k.row] = path;
        AxisRecord& axis = space.axes[static_cast<size_t>(k.row)];
        axis.texturePath = path;
        const size_t slash = path.find_last_of("/\\");
        axis.textureNameOffset = slash == std::string::npos ? 0 : static_cast<int32_t>(slash + 1);
        break;
      }
    }
  }
  return r;
}

}  // namespace vlm
