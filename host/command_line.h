#pragma once
// The program's command line.
#include <string>
#include <vector>

namespace vlm::host {

struct CommandLine {
  bool clipboardHandOver = false;  // "-c"
  bool install = false;            // "-i"
  bool remove = false;             // "-r"
  std::string file;                // the first plain argument
};

// Switches are whole arguments compared case-insensitively, so a file named
// "Q1-report.vlm" or "data-i.tsv" is a file and never a switch.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace vlm::host
