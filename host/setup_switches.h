#pragma once
// What the program does instead of starting its window: usage and version,
// installation ("-i"), removal ("-r"), the add-in's button image ("-c") and
// the package scripts' machine registration.
#include <optional>
#include <string>

#include "host/command_line.h"

namespace vlm::host {

std::string usageText();
std::string versionText();

// Runs the first switch that asks for it (help, version, the machine
// registration, then "-c", "-i", "-r" in that order) and returns the exit
// code; nothing when the program starts normally.
std::optional<int> runSwitches(const CommandLine& line, int& argc, char** argv);

}  // namespace vlm::host
