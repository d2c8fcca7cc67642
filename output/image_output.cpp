#include "output/image_output.h"

#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QScreen>

#include <algorithm>
#include <filesystem>

#include "codecs/image_file.h"
#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "output/view_capture.h"
#include "platform/command_queue.h"
#include "platform/host_bridge.h"
#include "platform/message_box.h"
#include "platform/picture_clipboard.h"
#include "platform/printer_choice.h"

namespace vlm {
namespace {

using codecs::ImageType;

// The save filters in their order; the types of the first seven.
const platform::FileFilter kSaveFilters[] = {
    {"Bitmap Files (*.BMP)", "*.bmp;*.dib;*.rle"},
    {"PCX Files (*.PCX)", "*.pcx;*.pcc"},
    {"TIFF Files (*.TIF)", "*.tif;*.tiff"},
    {"JPEG Files (*.JPG)", "*.jpg;*.jpeg;*.jpe;*.jfif"},
    {"Targa Files (*.TGA)", "*.tga"},
    {"RGB Files (*.RGB)", "*.rgb;*.sgi"},
    {"PNG Files (*.PNG)", "*.png"},
    {"All Files", "*.*"},
};
constexpr ImageType kFilterTypes[] = {codecs::IMAGE_BMP,   codecs::IMAGE_PCX, codecs::IMAGE_TIFF, codecs::IMAGE_JPEG,
                                      codecs::IMAGE_TARGA, codecs::IMAGE_RGB, codecs::IMAGE_PNG};
constexpr int kFilterCount = static_cast<int>(std::size(kSaveFilters));
constexpr int kAllFilesFilter = kFilterCount - 1;

int filterOfType(ImageType type) {
  for (int i = 0; i < static_cast<int>(std::size(kFilterTypes)); ++i)
    if (kFilterTypes[i] == type) return i;
  return kAllFilesFilter;
}

// The file name part of a path (after the last slash).
std::string fileNamePart(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string modelNameOf(EngineState& state) {
  std::lock_guard lock(state.model->nameMutex);
  return state.model->modelName;
}

void showBox(const std::string& caption, const std::string& text) {
  platform::MessageBoxRequest box;
  box.caption = caption;
  box.text = text;
  box.icon = platform::BoxIcon::None;
  platform::showMessageBox(box);
}

// What the host thread settles in the save dialog.
struct SaveChoice {
  bool go = false;
  std::string path;
  ImageType type = codecs::IMAGE_NONE;
};

// Host thread: the dialog, the extension rule, the type and folder remembered.
SaveChoice chooseImageFile(EngineState& state) {
  SaveChoice choice;
  MainRecord& m = *state.main;
  const platform::FileDialogRequest request = saveImageRequest(modelNameOf(state), m.modelFolder, m.output.lastImageType);
  const platform::FileDialogResult result = platform::showFileDialog(request);
  if (!result.accepted || result.path.empty()) return choice;
  choice.path = finalImageName(result.path, result.filterIndex, m.output.lastImageType);
  choice.type = codecs::imageTypeOfName(choice.path);
  if (choice.type == codecs::IMAGE_NONE) {
    vlm_Error(("Unable to save the image: \"" + fileNamePart(choice.path) +
               "\" is not the name of an image file (use an extension such as .bmp, .jpg or .png).")
                  .c_str());
    return choice;
  }
  // The dialog asked about the name as typed; an extension added here makes
  // another name, which must not replace a file unasked.
  std::error_code ec;
  if (choice.path != result.path && std::filesystem::exists(choice.path, ec)) {
    platform::MessageBoxRequest box;
    box.caption = "Save Image As";
    box.text = fileNamePart(choice.path) + " already exists.\nDo you want to replace it?";
    box.icon = platform::BoxIcon::Warning;
    box.buttons = platform::BoxButtons::YesNo;
    box.defaultButton = platform::BOX_NO;
    if (platform::showMessageBox(box) != platform::BOX_YES) return choice;
  }
  m.output.lastImageType = choice.type;
  m.modelFolder = std::filesystem::path(choice.path).parent_path().string();
  choice.go = true;
  return choice;
}

bool printerCanStretch(QPrinter& printer) {
  QPaintEngine* engine = printer.paintEngine();
  return engine && engine->hasFeature(QPaintEngine::PixmapTransform);
}

// Host thread: the print dialog and the page.
void printPicture(const QImage& picture) {
  platform::PrintRequest request;
  std::unique_ptr<QPrinter> printer = platform::choosePrinter(request);
  if (!printer) return;
  // A printer that cannot stretch a picture prints nothing, and says nothing.
  if (!printerCanStretch(*printer)) return;
  printer->setDocName(QStringLiteral("Velmora Image"));
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double screenDpiX = screen ? screen->logicalDotsPerInchX() : 96.0;
  const double screenDpiY = screen ? screen->logicalDotsPerInchY() : 96.0;
  QPainter painter;
  if (!painter.begin(printer.get())) {
    vlm_Error("Unable to print the image: the printer cannot be started.");
    return;
  }
  const PrintPlacement place = printPlacement(picture.width(), picture.height(), printer->logicalDpiX(),
                                              printer->logicalDpiY(), screenDpiX, screenDpiY, printer->width(),
                                              printer->height());
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRect(place.x, place.y, place.width, place.height), picture);
  painter.end();
}

}  // namespace

std::string initialImageName(const std::string& modelName, ImageType lastType) {
  std::string base = fileNamePart(modelName);
  if (base.empty()) base = "Velmora";
  const size_t dot = base.find_last_of('.');
  if (dot != std::string::npos && dot > 0) base.resize(dot);
  return base + codecs::defaultExtension(lastType);
}

platform::FileDialogRequest saveImageRequest(const std::string& modelName, const std::string& modelFolder,
                                             ImageType lastType) {
  platform::FileDialogRequest r;
  r.save = true;
  r.caption = "Save Image As";
  r.directory = modelFolder;
  r.initialName = initialImageName(modelName, lastType);
  r.filters.assign(std::begin(kSaveFilters), std::end(kSaveFilters));
  r.filterIndex = filterOfType(lastType);
  r.confirmOverwrite = true;
  return r;
}

std::string finalImageName(const std::string& chosen, int filterIndex, ImageType lastType) {
  if (fileNamePart(chosen).find('.') != std::string::npos) return chosen;
  const ImageType type = filterIndex >= 0 && filterIndex < static_cast<int>(std::size(kFilterTypes))
                             ? kFilterTypes[filterIndex]
                             : lastType;
  return chosen + codecs::defaultExtension(type);
}

codecs::ChannelOrder channelOrderFor(ImageType type) {
  return type == codecs::IMAGE_JPEG || type == codecs::IMAGE_RGB ? codecs::ChannelOrder::RGB
                                                                 : codecs::ChannelOrder::BGR;
}

PrintPlacement printPlacement(int32_t imageWidth, int32_t imageHeight, double printerDpiX, double printerDpiY,
                              double screenDpiX, double screenDpiY, int32_t pageWidth, int32_t pageHeight) {
  PrintPlacement p;
  if (screenDpiX <= 0.0) screenDpiX = 96.0;
  if (screenDpiY <= 0.0) screenDpiY = 96.0;
  const double sx = printerDpiX / screenDpiX * 0.8, sy = printerDpiY / screenDpiY * 0.8;
  p.x = p.y = pageWidth / 10;
  double width = imageWidth * sx, height = imageHeight * sy;
  const double roomX = pageWidth - 2.0 * p.x, roomY = pageHeight - 2.0 * p.y;
  if (width > roomX || height > roomY) {
    const double f = std::max(0.0, std::min(roomX / width, roomY / height));
    width *= f;
    height *= f;
  }
  p.width = static_cast<int32_t>(width);
  p.height = static_cast<int32_t>(height);
  return p;
}

bool onCopyImage(EngineState& state, const platform::Command&) {
  CapturedPixels pixels;
  bool ok = captureView(state, codecs::ChannelOrder::BGR, pixels) == CaptureStatus::Ok;
  if (ok) {
    const QImage picture = toQImage(pixels);
    ok = !picture.isNull() && platform::putPictureOnClipboard(picture);
  }
  if (!ok) showBox("Copy Image Error", "Unable to Copy Image.");
  return true;
}

bool onSaveImage(EngineState& state, const platform::Command&) {
  CapturedPixels pixels;
  const CaptureStatus status = prepareCapture(state, pixels);
  if (status == CaptureStatus::OutOfMemory) {
    vlm_Error("Failed to allocate memory for image. ");
    return true;
  }
  if (status != CaptureStatus::Ok) return true;
  SaveChoice choice;
  platform::HostBridge& bridge = platform::HostBridge::instance();
  auto ask = [&]() -> intptr_t {
    choice = chooseImageFile(state);
    return 1;
  };
  if (bridge.isHostThread() || !bridge.hostWindow()) ask();
  else bridge.runOnHost(ask);
  if (!choice.go) return true;
  readCapture(state, channelOrderFor(choice.type), pixels);
  std::string error;
  if (!codecs::writeImageFile(choice.path, pixels.view(), error))
    vlm_Error(("Unable to write the image file " + choice.path + ": " + error).c_str());
  return true;
}

bool onPrintImage(EngineState& state, const platform::Command&) {
  CapturedPixels pixels;
  if (captureView(state, codecs::ChannelOrder::BGR, pixels) != CaptureStatus::Ok) return true;
  QImage picture = toQImage(pixels);
  if (picture.isNull()) return true;
  // The dialog and the page belong to the host thread; the engine thread goes
  // on with its commands meanwhile.
  QObject* host = platform::HostBridge::instance().hostWindow();
  if (!host || platform::HostBridge::instance().isHostThread()) {
    printPicture(picture);
    return true;
  }
  QMetaObject::invokeMethod(host, [picture = std::move(picture)] { printPicture(picture); }, Qt::QueuedConnection);
  return true;
}

}  // namespace vlm
