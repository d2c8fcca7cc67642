#pragma once
// Open and save dialogs of the engine, always shown on the host thread.
// Tests replace the dialog by a handler that answers as a user would.
#include <functional>
#include <string>
#include <vector>

namespace vlm::platform {

struct FileFilter {
  std::string label;     // "Bitmap Files (*.BMP)"
  std::string patterns;  // "*.bmp;*.dib;*.rle"
};

struct FileDialogRequest {
  bool save = true;  // a Save As dialog; otherwise an Open dialog for an existing file
  std::string caption;
  std::string directory;    // where it starts
  std::string initialName;  // the name typed in at the start
  std::vector<FileFilter> filters;
  int filterIndex = 0;  // preselected filter, 0-based
  bool confirmOverwrite = true;
  bool resizable = true;
};

struct FileDialogResult {
  bool accepted = false;
  std::string path;     // as typed or chosen, with its folder
  int filterIndex = 0;  // the filter selected when the dialog closed
};

using FileDialogHandler = std::function<FileDialogResult(const FileDialogRequest&)>;

// Replaces the dialog (null restores Qt's); returns the previous handler.
FileDialogHandler setFileDialogHandler(FileDialogHandler handler);

// Shows the dialog on the host thread (waiting for it from any other thread).
FileDialogResult showFileDialog(const FileDialogRequest& request);

}  // namespace vlm::platform
