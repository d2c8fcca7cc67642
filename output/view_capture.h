#pragma once
// The picture of the 3D view: the GL window's client area less the host bars
// that lie over it, read from the front buffer after a fresh frame.
#include <QImage>

#include <cstdint>
#include <vector>

#include "codecs/image.h"

namespace vlm {

struct EngineState;

// A rectangle of the GL window, from its lower-left corner.
struct CaptureRegion {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

// The view less the two bars over it: the full width, the height less both
// covers, starting above the lower bar. Empty when nothing is left.
CaptureRegion captureRegion(int32_t viewWidth, int32_t viewHeight, int32_t topCover, int32_t bottomCover);

// How far the host's toolbar (top) and status bar (bottom) reach over the 3D
// window, in pixels; 0 for a bar beside it or for no bar. Asks the host thread.
struct BarCover {
  int32_t top = 0, bottom = 0;
};
BarCover barCover(EngineState& state);

struct CapturedPixels {
  int32_t width = 0, height = 0;
  int32_t y = 0;      // first row of the GL window read
  size_t stride = 0;  // bytes a row: 3 a pixel, padded to a multiple of 4
  codecs::ChannelOrder order = codecs::ChannelOrder::BGR;
  std::vector<uint8_t> bytes;  // rows from the bottom up

  codecs::ImageView view() const { return {width, height, stride, order, bytes.data()}; }
};

enum class CaptureStatus { Ok, NoView, OutOfMemory };

// Engine thread: sizes `out` for the region and allocates its rows (padded to
// 4 bytes, as the writers expect them), before any dialog is shown.
CaptureStatus prepareCapture(EngineState& state, CapturedPixels& out);
// Engine thread: draws a frame and reads the prepared region back in the
// given channel order.
void readCapture(EngineState& state, codecs::ChannelOrder order, CapturedPixels& out);
// Both at once.
CaptureStatus captureView(EngineState& state, codecs::ChannelOrder order, CapturedPixels& out);

// The pixels as a top-down 24-bit picture for Qt (clipboard, printer, report).
QImage toQImage(const CapturedPixels& pixels);

}  // namespace vlm
