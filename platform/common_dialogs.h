#pragma once
// The common dialogs the tools ask for: colour, font and a one-line text (the
// file dialogs are platform/file_dialog.h). Each is shown on the host thread over `parent` and
// answers nothing (nullopt) when the user cancels. Tests replace the dialogs by
// a scripted answerer.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace vlm::platform {

struct FontChoice {
  std::string face = "Arial";
  int32_t points = 10;
  int32_t weight = 400;  // 100..900, 700 bold
  bool italic = false;
};

struct TextRequest {
  std::string caption;
  std::string label;
  std::string initial;
};

// What a test puts in place of the real dialogs; an empty member shows the real one.
struct DialogAnswerer {
  std::function<std::optional<uint32_t>(uint32_t initial)> colour;
  std::function<std::optional<FontChoice>(const FontChoice& initial)> font;
  std::function<std::optional<std::string>(const TextRequest&)> text;
};

// Replaces the answerer and returns the previous one.
DialogAnswerer setDialogAnswerer(DialogAnswerer answerer);

// Colours are 0x00BBGGRR. Custom colours stay for the life of the process.
std::optional<uint32_t> chooseColour(QWidget* parent, uint32_t initial);
// Screen fonts, starting from `initial`.
std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial);
std::optional<std::string> askText(QWidget* parent, const TextRequest& request);

}  // namespace vlm::platform
