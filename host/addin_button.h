#pragma once
// The add-in's toolbar button face, handed over on the clipboard ("-c").
#include <QImage>

class QPalette;

namespace vlm::host {

// 16 × 16 pixels drawn in the three greys of a raised control (face 192,
// shadow 128, light 223) with three coloured objects on a lattice.
QImage addinButtonFace();
// The face with those greys in the system's colours: button, dark, midlight.
QImage withSystemColours(const QImage& face, const QPalette& palette);
// Puts the face in the system's colours on the clipboard; false when the
// clipboard did not take it.
bool putButtonImageOnClipboard();
// Runs until another program owns the clipboard: on this desktop the
// clipboard holds nothing once its owner has ended. Returns the exit code.
int offerClipboardUntilTaken();

}  // namespace vlm::host
