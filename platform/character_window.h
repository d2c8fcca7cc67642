#pragma once
// The speaking character's window: a small frameless window on the host
// thread that shows the character, its mouth moving while it speaks. The
// character file is a PNG strip of square frames: 0 at rest, then mouth
// shapes, and a last frame with the eyes shut when there are four or more.
#include <QImage>

#include <functional>
#include <string>

class QWidget;

namespace vlm::platform {

struct CharacterFrames {
  QImage strip;
  int frames = 0;
  int size = 0;  // width and height of one frame
};

// Reads a character file; false when it is missing or not a strip of at least
// two square frames of 16 to 512 pixels.
bool loadCharacterFrames(const std::string& path, CharacterFrames& out);

// Creates and shows the window on the host thread; `speaking` is asked on
// every animation step. Null when there is no host to show it on.
QWidget* showCharacterWindow(const CharacterFrames& frames, std::function<bool()> speaking);

// Closes the window from any thread (on the host thread while there is one).
void closeCharacterWindow(QWidget* window);

}  // namespace vlm::platform
