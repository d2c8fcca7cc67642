#include "host/command_line.h"

namespace vlm::host {
namespace {

bool isSwitch(const std::string& a, char letter) {
  return a.size() == 2 && (a[0] == '-' || a[0] == '/') && (a[1] == letter || a[1] == letter - 'a' + 'A');
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine c;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (a == "--help" || a == "-h" || a == "-?" || a == "/?") {
      c.help = true;
    } else if (a == "--version") {
      c.version = true;
    } else if (a == "--register-machine") {
      c.registerMachine = true;
      if (i + 1 < arguments.size()) c.machineFolder = arguments[++i];
    } else if (a == "--unregister-machine") {
      c.unregisterMachine = true;
    } else if (isSwitch(a, 'c')) {
      c.clipboardHandOver = true;
    } else if (isSwitch(a, 'i')) {
      c.install = true;
    } else if (isSwitch(a, 'r')) {
      c.remove = true;
    } else if (c.file.empty() && !a.empty()) {
      c.file = a;
    }
  }
  return c;
}

}  // namespace vlm::host
