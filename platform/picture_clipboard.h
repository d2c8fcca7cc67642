#pragma once
// Pictures on the desktop clipboard. The platform's picture formats (PNG and
// the others Qt offers for an image) take the place of an enhanced metafile.
// Tests put a recorder in its place.
#include <QImage>

#include <functional>

namespace vlm::platform {

// Puts the picture on the clipboard (on the host thread); false when the
// clipboard cannot be had.
using PictureClipboardHandler = std::function<bool(const QImage& picture)>;

// Replaces the clipboard (null restores the desktop's); returns the previous one.
PictureClipboardHandler setPictureClipboardHandler(PictureClipboardHandler handler);

bool putPictureOnClipboard(const QImage& picture);

}  // namespace vlm::platform
