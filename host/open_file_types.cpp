#include "host/open_file_types.h"

#include <QFileInfo>

#include "host/engine_exports.h"

namespace vlm::host {
namespace {

const EngineExports& ex() { return engineExports(); }

bool canOpenModels() { return ex().openModel != nullptr; }
bool canOpenDataFiles() { return ex().openFile != nullptr; }
bool canOpenWorkbooks() { return ex().excelOpen != nullptr; }

void openModel(const std::string& path) { ex().openModel(path.c_str()); }
void openDataFile(const std::string& path) { ex().openFile(path.c_str(), 0); }
// A workbook opens in the spreadsheet workspace, which loads the cells saved
// as selected in its active sheet (the whole sheet when one cell is).
void openWorkbook(const std::string& path) { ex().excelOpen(path.c_str(), nullptr); }

QString patterns(const OpenFileType& type) {
  QStringList p;
  for (const QString& e : type.extensions) p << QStringLiteral("*.") + e;
  return p.join(QLatin1Char(' '));
}

}  // namespace

const std::vector<OpenFileType>& openFileTypes() {
  static const std::vector<OpenFileType> types = {
      {QStringLiteral("Velmora Model Files"), {QStringLiteral("vlm")}, canOpenModels, openModel},
      {QStringLiteral("Text Files (Tab delimited)"),
       {QStringLiteral("txt"), QStringLiteral("tsv"), QStringLiteral("tab")},
       canOpenDataFiles,
       openDataFile},
      {QStringLiteral("CSV Files (Comma delimited)"), {QStringLiteral("csv")}, canOpenDataFiles, openDataFile},
      {QStringLiteral("Workbooks"),
       {QStringLiteral("xlsx"), QStringLiteral("xlsm"), QStringLiteral("ods"), QStringLiteral("xls")},
       canOpenWorkbooks,
       openWorkbook},
      {QStringLiteral("Databases"),
       {QStringLiteral("sqlite"), QStringLiteral("sqlite3"), QStringLiteral("db"), QStringLiteral("db3"),
        QStringLiteral("mdb"), QStringLiteral("accdb")},
       canOpenDataFiles,
       openDataFile},
  };
  return types;
}

QString openFileFilter(const OpenFileType& type) {
  return type.filter + QStringLiteral(" (") + patterns(type) + QLatin1Char(')');
}

QStringList openFileFilters(const std::vector<OpenFileType>& types) {
  QStringList all;
  for (const OpenFileType& t : types) all << patterns(t);
  QStringList filters;
  filters << QStringLiteral("Velmora Files (") + all.join(QLatin1Char(' ')) + QLatin1Char(')');
  for (const OpenFileType& t : types) filters << openFileFilter(t);
  filters << QStringLiteral("All Files (*)");
  return filters;
}

const OpenFileType* openFileTypeFor(const std::vector<OpenFileType>& types, const QString& path) {
  const QString extension = QFileInfo(path).suffix().toLower();
  for (const OpenFileType& t : types)
    if (t.extensions.contains(extension)) return &t;
  return nullptr;
}

QString cannotOpenReason(const std::vector<OpenFileType>& types, const QString& path) {
  const QString name = QFileInfo(path).fileName();
  const OpenFileType* type = openFileTypeFor(types, path);
  if (!type) {
    QStringList kinds;
    for (const OpenFileType& t : types)
      if (t.available()) kinds << t.filter + QStringLiteral(" (") + patterns(t) + QLatin1Char(')');
    return QStringLiteral("Velmora cannot open \"%1\": it does not read files of this type.\n\nIt reads:\n%2")
        .arg(name, kinds.join(QLatin1Char('\n')));
  }
  if (!type->available())
    return QStringLiteral("Velmora cannot open \"%1\": this version does not read %2 yet.").arg(name, type->filter);
  return {};
}

}  // namespace vlm::host
