#pragma once
// The two ways installation and removal talk to the user: top-most message
// boxes on a display, the terminal without one.
#include <cstdio>

#include "host/installation.h"

namespace vlm::host {

class BoxSetupUi : public SetupUi {
 public:
  bool ask(const std::string& caption, const std::string& text) override;
  void tell(const std::string& caption, const std::string& text, bool problem) override;
};

// Writes messages to `out` (problems to `err`) and reads the answer to a
// question from `in`: "y" or "yes" is Yes, anything else (or nothing) No.
class TerminalSetupUi : public SetupUi {
 public:
  TerminalSetupUi(std::FILE* in = stdin, std::FILE* out = stdout, std::FILE* err = stderr)
      : in_(in), out_(out), err_(err) {}
  bool ask(const std::string& caption, const std::string& text) override;
  void tell(const std::string& caption, const std::string& text, bool problem) override;

 private:
  std::FILE* in_;
  std::FILE* out_;
  std::FILE* err_;
};

// Whether a display is there to show boxes on: an X or Wayland display, or a
// Qt platform chosen explicitly that is not one nobody sees (offscreen, minimal).
bool hasDisplay();

}  // namespace vlm::host
