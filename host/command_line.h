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
  bool help = false;                 // "--help", "-h", "-?"
  bool version = false;              // "--version"
  // The package's maintainer scripts: record or forget the machine's
  // installation folder ("--register-machine FOLDER", "--unregister-machine").
  bool registerMachine = false;
  bool unregisterMachine = false;
  std::string machineFolder;
};

// Switches are whole arguments compared case-insensitively, so a file named
// "Q1-report.vlm" or "data-i.tsv" is a file and never a switch.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace vlm::host
