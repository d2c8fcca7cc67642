#pragma once
// What File > Open opens: one row per kind of file, with the filter text the
// dialog shows, the file name extensions it covers and how it is opened. A new
// kind of file (a database, a workbook) is one more row.
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

namespace vlm::host {

struct OpenFileType {
  QString filter;             // the dialog's text, before the patterns
  QStringList extensions;     // lower case, without the dot
  // Whether this engine can open the kind; without that the dialog still
  // lists it and says why a chosen file cannot be opened.
  std::function<bool()> available;
  // Starts opening a file (the engine loads it on its data thread).
  std::function<void(const std::string& path)> open;
};

// The rows in the order the dialog lists them: model files first.
const std::vector<OpenFileType>& openFileTypes();

// The dialog's filter list: every readable file, each row, then all files.
QStringList openFileFilters(const std::vector<OpenFileType>& types);
// The filter of one row, e.g. "CSV Files (Comma delimited) (*.csv)".
QString openFileFilter(const OpenFileType& type);

// The row whose extensions cover `path` (case-insensitively), or null.
const OpenFileType* openFileTypeFor(const std::vector<OpenFileType>& types, const QString& path);

// Why `path` cannot be opened (empty when its row can open it now).
QString cannotOpenReason(const std::vector<OpenFileType>& types, const QString& path);

}  // namespace vlm::host
