// The view saved, copied and printed by a running engine: the picture is the
// one the window shows (upright, unsheared, its own colours), whatever the
// format, and every failure is told.
#include <gtest/gtest.h>

#include <QFile>
#include <QPaintEngine>
#include <QPrinter>

#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "codecs/image_file.h"
#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "output/support/output_fixture.h"
#include "codecs/support/test_images.h"

namespace vlm {
namespace {

namespace fs = std::filesystem;

codecs::Image fromQImage(const QImage& q) {
  codecs::Image image;
  image.width = q.width();
  image.height = q.height();
  image.pixels.resize(image.stride() * static_cast<size_t>(image.height));
  for (int y = 0; y < image.height; ++y) {
    const uchar* s = q.constScanLine(image.height - 1 - y);
    for (int x = 0; x < image.width; ++x) {
      uint8_t* d = image.row(y) + x * 3;
      d[0] = s[x * 3 + 2], d[1] = s[x * 3 + 1], d[2] = s[x * 3];
    }
  }
  return image;
}

class ImageOutput : public test::OutputTest {
 protected:
  void SetUp() override {
    OutputTest::SetUp();
    if (!startWithModel()) GTEST_SKIP() << "no GL context for a shown view";
  }
  // Saves the view under the dialog answer and returns the file written.
  std::string save(const std::string& typed, int filter) {
    {
      std::lock_guard lock(mutex);
      dialogAnswers = {{true, (dir_ / typed).string(), filter}};
      dialogRequests.clear();
    }
    EXPECT_EQ(vlm_SaveImage(), 1);
    waitFor([this] {
      std::lock_guard lock(mutex);
      return !dialogRequests.empty();
    });
    return typed;
  }
};

TEST_F(ImageOutput, EverySavedFormatHoldsThePictureOfTheWindow) {
  struct Case {
    const char* typed;
    int filter;
    const char* written;
    bool exact;
  };
  const Case cases[] = {{"shot", 0, "shot.bmp", true},      {"shot", 1, "shot.pcx", true},
                        {"shot", 2, "shot.tif", true},      {"shot", 3, "shot.jpg", false},
                        {"shot", 4, "shot.tga", true},      {"shot", 5, "shot.rgb", true},
                        {"shot", 6, "shot.png", true},      {"other.gif", 7, "other.gif", false}};
  for (const Case& c : cases) {
    save(c.typed, c.filter);
    const fs::path file = dir_ / c.written;
    ASSERT_TRUE(waitFor([&] { return fs::exists(file) && !fs::exists(file.string() + ".part"); }))
        << c.written << " was not written";
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // The frame the save drew is the one the window shows now.
    const codecs::Image shown = fromQImage(grabView());
    ASSERT_EQ(shown.width, 161);
    const codecs::DecodeResult back = codecs::decodeImageFile(file.string());
    ASSERT_TRUE(back.ok()) << c.written << ": " << back.detail;
    ASSERT_EQ(back.image.width, 161) << c.written;
    ASSERT_EQ(back.image.height, 103) << c.written;
    std::string where;
    if (c.exact)
      EXPECT_TRUE(test::samePixels(shown, back.image, where)) << c.written << ": " << where;
    else
      EXPECT_GT(test::psnr(shown, back.image), 25.0) << c.written;
  }
  {
    std::lock_guard lock(mutex);
    ASSERT_FALSE(dialogRequests.empty());
    EXPECT_EQ(dialogRequests.back().caption, "Save Image As");
    EXPECT_EQ(dialogRequests.back().initialName, "Velmora.png") << "the last type saved before GIF was PNG";
  }
  EXPECT_TRUE(boxes_->boxes().empty());
}

TEST_F(ImageOutput, ANameWithoutAnImageTypeIsRefusedAndNothingIsWritten) {
  save("notes.doc", 7);
  ASSERT_TRUE(waitFor([this] { return !boxes_->boxes().empty(); }));
  EXPECT_EQ(boxes_->boxes().front().caption, "Velmora API Error");
  EXPECT_NE(boxes_->boxes().front().text.find("notes.doc"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "notes.doc"));
}

TEST_F(ImageOutput, AnAddedExtensionAsksBeforeReplacingAFile) {
  { std::ofstream(dir_ / "keep.bmp") << "mine"; }
  boxes_->answer(platform::BOX_NO);
  save("keep", 0);
  ASSERT_TRUE(waitFor([this] { return !boxes_->boxes().empty(); }));
  EXPECT_EQ(boxes_->boxes().front().caption, "Save Image As");
  waitFor([] { return false; }, 1);
  EXPECT_EQ(test::readBytes(dir_ / "keep.bmp").size(), 4u) << "answered No: the file stays";
}

TEST_F(ImageOutput, AWriteThatFailsIsToldAndLeavesNoFile) {
  fs::create_directory(dir_ / "locked");
  fs::permissions(dir_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  if (::access((dir_ / "locked").c_str(), W_OK) == 0) GTEST_SKIP() << "running as a user who may write anywhere";
  save("locked/shot.bmp", 0);
  ASSERT_TRUE(waitFor([this] { return !boxes_->boxes().empty(); }));
  EXPECT_NE(boxes_->boxes().front().text.find("Unable to write the image file"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(dir_ / "locked"));
}

TEST_F(ImageOutput, CancellingTheDialogWritesNothing) {
  {
    std::lock_guard lock(mutex);
    dialogAnswers = {{false, "", 0}};
  }
  vlm_SaveImage();
  ASSERT_TRUE(waitFor([this] {
    std::lock_guard lock(mutex);
    return !dialogRequests.empty();
  }));
  waitFor([] { return false; }, 1);
  EXPECT_TRUE(boxes_->boxes().empty());
  for (const auto& e : fs::directory_iterator(dir_)) EXPECT_TRUE(e.is_directory()) << e.path();
}

TEST_F(ImageOutput, CopyPutsTheViewOnTheClipboard) {
  EXPECT_EQ(vlm_CopyImage(), 1);
  ASSERT_TRUE(waitFor([this] {
    std::lock_guard lock(mutex);
    return !clipboardPictures.empty();
  }));
  const codecs::Image shown = fromQImage(grabView());
  const codecs::Image copied = fromQImage(clipboardPictures.front().convertToFormat(QImage::Format_RGB888));
  std::string where;
  EXPECT_TRUE(test::samePixels(shown, copied, where)) << where;
}

TEST_F(ImageOutput, ACopyThatCannotHaveTheClipboardSaysSo) {
  {
    std::lock_guard lock(mutex);
    clipboardWorks = false;
  }
  vlm_CopyImage();
  ASSERT_TRUE(waitFor([this] { return !boxes_->boxes().empty(); }));
  EXPECT_EQ(boxes_->boxes().front().caption, "Copy Image Error");
  EXPECT_EQ(boxes_->boxes().front().text, "Unable to Copy Image.");
}

TEST_F(ImageOutput, PrintingToAPdfFile) {
  const std::string pdf = (dir_ / "view.pdf").string();
  makePrinter = [pdf] {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(pdf));
    return printer;
  };
  EXPECT_EQ(vlm_PrintImage(), 1);
  ASSERT_TRUE(waitFor([&] { return fs::exists(pdf) && fs::file_size(pdf) > 1000; })) << "no PDF written";
  waitFor([] { return false; }, 1);
  const std::vector<uint8_t> bytes = test::readBytes(pdf);
  ASSERT_GE(bytes.size(), 5u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), "%PDF-");
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_NE(text.find("/Subtype /Image"), std::string::npos) << "the picture is in the document";
  EXPECT_TRUE(boxes_->boxes().empty());
}

// A printer whose device cannot stretch pictures.
class RigidPaintEngine : public QPaintEngine {
 public:
  RigidPaintEngine() : QPaintEngine(QPaintEngine::PaintEngineFeatures()) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++drawn; }
  Type type() const override { return QPaintEngine::User; }
  int drawn = 0;
};

class RigidPrinter : public QPrinter {
 public:
  QPaintEngine* paintEngine() const override { return &engine; }
  mutable RigidPaintEngine engine;
};

TEST_F(ImageOutput, APrinterWithoutStretchingPrintsNothingAndSaysNothing) {
  makePrinter = [] { return std::unique_ptr<QPrinter>(std::make_unique<RigidPrinter>()); };
  vlm_PrintImage();
  ASSERT_TRUE(waitFor([this] {
    std::lock_guard lock(mutex);
    return printDialogs == 1;
  }));
  waitFor([] { return false; }, 1);
  EXPECT_TRUE(boxes_->boxes().empty());
}

TEST_F(ImageOutput, CancellingThePrintDialogPrintsNothing) {
  vlm_PrintImage();
  ASSERT_TRUE(waitFor([this] {
    std::lock_guard lock(mutex);
    return printDialogs == 1;
  }));
  waitFor([] { return false; }, 1);
  EXPECT_TRUE(boxes_->boxes().empty());
}

}  // namespace
}  // namespace vlm
