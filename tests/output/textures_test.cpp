// Object textures from a field of file names, plane textures, the texture
// file dialog and deleting textures, on a running engine.
#include <gtest/gtest.h>

#include <QPixmap>

#include <filesystem>
#include <fstream>

#include "codecs/image_file.h"
#include "codecs/support/test_images.h"
#include "engine/engine_state.h"
#include "engine/support/scene_support.h"
#include "engine/support/table_loader.h"
#include "engine/vlmapi.h"
#include "model/association.h"
#include "model/space_settings_table.h"
#include "output/support/output_fixture.h"
#include "output/texture_file_dialog.h"
#include "output/textures.h"

namespace vlm {
namespace {

namespace fs = std::filesystem;

codecs::Image solid(uint8_t b, uint8_t g, uint8_t r, int w = 16, int h = 8) {
  codecs::Image image;
  image.width = w;
  image.height = h;
  image.pixels.resize(image.stride() * static_cast<size_t>(h));
  for (size_t i = 0; i < image.pixels.size(); i += 3) image.pixels[i] = b, image.pixels[i + 1] = g, image.pixels[i + 2] = r;
  return image;
}

class Textures : public test::OutputTest {
 protected:
  void SetUp() override {
    OutputTest::SetUp();
    if (!startWithModel(200, 160)) GTEST_SKIP() << "no GL context for a shown view";
    state_ = currentState();
    std::string error;
    ASSERT_TRUE(codecs::writeImageFile(path("red.png"), codecs::viewOf(solid(0, 0, 255)), error)) << error;
    ASSERT_TRUE(codecs::writeImageFile(path("magenta.gif"), codecs::viewOf(solid(255, 0, 255, 32, 32)), error));
    ASSERT_TRUE(codecs::writeImageFile(path("blue.pcx"), codecs::viewOf(solid(255, 0, 0)), error));
    { std::ofstream(path("broken.png")) << "\x89PNG\r\n\x1A\n but then nothing"; }
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  // A table of `rows` samples whose field 1 names texture files.
  void loadNames(const std::vector<std::string>& names, int rows) {
    std::vector<std::string> ids, pics;
    for (int i = 0; i < rows; ++i) {
      ids.push_back(std::to_string(i + 1));
      pics.push_back(names[static_cast<size_t>(i) % names.size()]);
    }
    vlm_ModelReset();
    test::loadTable(*state_, {{"id", ids}, {"pic", pics}});
    test::selectAll(*state_);
  }
  void bindTexture() {
    vlm_AssociateField(1, 0, ATTRIB_TEXTURE, -1, 0);
    vlm_UpdateModel(0);
    ASSERT_TRUE(waitFor([this] {
      std::lock_guard lock(state_->main->output.texturesMutex);
      return state_->main->output.textures.count > 0;
    }));
    waitFor([] { return false; }, 1);
  }
  std::vector<TextureEntry> entries() {
    std::lock_guard lock(state_->main->output.texturesMutex);
    const ObjectTextureList& l = state_->main->output.textures;
    return {l.entries.begin(), l.entries.begin() + l.count};
  }
  std::shared_ptr<EngineState> state_;
};

TEST_F(Textures, ARepeatedFileNameLoadsOnce) {
  loadNames({path("red.png"), path("blue.pcx"), path("red.png"), path("red.png")}, 12);
  bindTexture();
  const std::vector<TextureEntry> list = entries();
  ASSERT_EQ(list.size(), 2u) << "two distinct names, two entries";
  EXPECT_EQ(list[0].name, path("red.png"));
  EXPECT_NE(list[0].texture, 0u);
  EXPECT_EQ(list[0].width, 16);
  EXPECT_NE(list[1].texture, 0u);
  EXPECT_NE(list[0].texture, list[1].texture);
  // Every object carries the texture of its name.
  const bool resolved = waitFor([this] {
    platform::DataLockGuard lock(state_->main->dataLock);
    return state_->model->objects.size() == 12 && state_->model->objects[0].texture != 0;
  });
  if (!resolved) {
    platform::DataLockGuard lock(state_->main->dataLock);
    ADD_FAILURE() << "objects " << state_->model->objects.size() << " first texture "
                  << (state_->model->objects.empty() ? -1 : state_->model->objects[0].texture) << " associations "
                  << state_->model->associations.count;
    return;
  }
  platform::DataLockGuard lock(state_->main->dataLock);
  for (size_t i = 0; i < 12; ++i)
    EXPECT_EQ(static_cast<uint32_t>(state_->model->objects[i].texture), list[i % 4 == 1 ? 1 : 0].texture) << i;
  EXPECT_TRUE(state_->view->view.texturesPresent);
  EXPECT_TRUE(state_->view->view.colorTextures) << "a picture file was loaded";
}

TEST_F(Textures, NamesThatAreNoPictureShowTheirTextOnlyBelow2048) {
  vlm_ModelReset();
  std::vector<std::string> ids, pics;
  for (int i = 0; i < 2050; ++i) {
    ids.push_back(std::to_string(i));
    pics.push_back(i < 2048 ? "Alpha" : "Omega " + std::to_string(i));
  }
  test::loadTable(*state_, {{"id", ids}, {"pic", pics}});
  test::selectAll(*state_);
  bindTexture();
  EXPECT_NE(textureByName(*state_, "Alpha"), 0u) << "the canvas picture of the text";
  EXPECT_EQ(textureByName(*state_, "Omega 2048"), 0u) << "past the canvas's samples: no texture";
  EXPECT_EQ(textureByName(*state_, ""), 0u);
  EXPECT_EQ(textureByName(*state_, "alpha"), 0u) << "names compare byte by byte";
  EXPECT_TRUE(boxes_->boxes().empty()) << "a missing picture is not an error";
}

TEST_F(Textures, TheTilesBuilderShowsItsSecondFieldOnTheTiles) {
  // A small table: Tiles puts the second field it picks on the texture.
  vlm_CreateDefaultModel(3);
  ASSERT_TRUE(waitFor([this] {
    platform::DataLockGuard lock(state_->main->dataLock);
    return state_->view->view.texturesPresent && state_->model->objects.size() == 10 &&
           state_->model->objects[0].texture != 0;
  })) << "the tiles carry textures";
  const std::vector<TextureEntry> list = entries();
  EXPECT_GE(list.size(), 2u);
  for (const TextureEntry& e : list) EXPECT_NE(e.texture, 0u) << e.name << ": the text drawn on the tile";
  EXPECT_TRUE(boxes_->boxes().empty());
}

TEST_F(Textures, DeletingAndClearingTheTable) {
  loadNames({path("red.png")}, 3);
  bindTexture();
  EXPECT_EQ(vlm_DeleteTextures(), 1);
  EXPECT_TRUE(entries().empty());
  bindTexture();
  EXPECT_FALSE(entries().empty());
  test::loadTable(*state_, {{"a", {"1"}}});  // a new table
  EXPECT_TRUE(entries().empty()) << "the textures go with the table";
  EXPECT_EQ(vlm_DeleteTextures(), 1);
}

TEST_F(Textures, APlaneTextureIsStoredWithItsPathAndName) {
  SpaceSettings& space = state_->view->space;
  EXPECT_EQ(vlm_LoadTextureFile(path("magenta.gif").c_str(), 1), 1);
  ASSERT_TRUE(waitFor([&] { return space.axes[0].textureId != 0; }));
  {
    platform::DataLockGuard lock(state_->main->dataLock);
    EXPECT_EQ(space.axes[0].texturePath, path("magenta.gif"));
    EXPECT_EQ(space.axes[0].texturePath.substr(static_cast<size_t>(space.axes[0].textureNameOffset)), "magenta.gif");
    EXPECT_EQ(space.rows[latticeRow(0, kLatBitmapFile)].text, "magenta.gif");
    EXPECT_EQ(space.axes[1].textureId, 0u);
    // The Base plane and its image shown.
    space.rows[latticeRow(0, kLatPlane)].value = 1;
    space.rows[latticeRow(0, kLatImage)].value = 1;
    space.rows[latticeRow(0, kLatPlaneColor)].rgba[3] = 1.0f;  // opaque: the picture's own colours
  }
  vlm_UpdateModel(0);
  waitFor([] { return false; }, 1);
  const QImage shot = grabView();
  int magenta = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) {
      const QColor c = shot.pixelColor(x, y);
      if (c.red() > 200 && c.green() < 60 && c.blue() > 200) ++magenta;
    }
  EXPECT_GT(magenta, 200) << "the GIF's colours as they are, on the plane";
  EXPECT_TRUE(state_->main->output.texturesEvent.isSet());
}

TEST_F(Textures, TheFirstPlaneTextureDropsTheObjectTextures) {
  loadNames({path("red.png")}, 3);
  bindTexture();
  ASSERT_FALSE(entries().empty());
  vlm_LoadTextureFile(path("blue.pcx").c_str(), 3);
  ASSERT_TRUE(waitFor([&] { return state_->view->space.axes[2].textureId != 0; }));
  EXPECT_TRUE(entries().empty());
}

TEST_F(Textures, BadPlaneTextureFilesAreTold) {
  vlm_LoadTextureFile(path("broken.png").c_str(), 2);
  ASSERT_TRUE(waitFor([this] { return boxes_->boxes().size() == 1; }));
  EXPECT_EQ(boxes_->boxes()[0].text, "Bad Image Format");
  vlm_LoadTextureFile(path("missing.png").c_str(), 2);
  ASSERT_TRUE(waitFor([this] { return boxes_->boxes().size() == 2; }));
  EXPECT_NE(boxes_->boxes()[1].text.find("missing.png"), std::string::npos);
  vlm_LoadTextureFile(path("notes.txt").c_str(), 2);  // no image type: nothing at all
  vlm_LoadTextureFile(path("red.png").c_str(), 7);    // no such plane: nothing either
  waitFor([] { return false; }, 1);
  EXPECT_EQ(boxes_->boxes().size(), 2u);
  EXPECT_EQ(state_->view->space.axes[1].textureId, 0u);
  EXPECT_TRUE(state_->main->output.texturesEvent.isSet());
}

TEST_F(Textures, TheTextureDialogComesBackForANameOfNoImageType) {
  {
    std::lock_guard lock(mutex);
    dialogAnswers = {{true, path("notes.txt"), 9}, {true, path("red.png"), 8}};
  }
  std::string chosen;
  EXPECT_EQ(selectTextureFile(*state_, chosen), 1);
  EXPECT_EQ(chosen, path("red.png"));
  std::lock_guard lock(mutex);
  ASSERT_EQ(dialogRequests.size(), 2u);
  const platform::FileDialogRequest& r = dialogRequests[0];
  EXPECT_EQ(r.caption, "Select Texture File");
  EXPECT_FALSE(r.save);
  ASSERT_GE(r.filters.size(), 9u);
  EXPECT_EQ(r.filters[0].label, "Graphic Files");
  EXPECT_EQ(r.filters[1].label, "Bitmap Files (*.BMP)");
  EXPECT_EQ(r.filters[2].label, "GIF Files (*.GIF)");
  EXPECT_EQ(r.filters.back().label, "All Files");
  EXPECT_EQ(dialogRequests[1].filterIndex, 9) << "reopened as the user left it";
  EXPECT_EQ(state_->main->output.lastTextureFilter, 8);
  EXPECT_EQ(state_->main->dataFolder, dir_.string());
  EXPECT_EQ(textureFileRequest(state_->main->dataFolder, 8).filterIndex, 8) << "the filter chosen last";
}

TEST_F(Textures, TheGridsBitmapFileRowLoadsTheChosenPicture) {
  {
    std::lock_guard lock(mutex);
    dialogAnswers = {{true, path("red.png"), 0}};
  }
  EXPECT_EQ(choosePlaneTexture(*state_, 2), 1);
  ASSERT_TRUE(waitFor([&] { return state_->view->space.axes[1].textureId != 0; }));
  {
    std::lock_guard lock(mutex);
    dialogAnswers = {{false, "", 0}};
  }
  EXPECT_EQ(choosePlaneTexture(*state_, 2), 0) << "cancelled";
}

}  // namespace
}  // namespace vlm
