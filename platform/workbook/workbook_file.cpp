#include "platform/workbook/workbook_file.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cctype>

namespace vlm::platform::workbook {
namespace {

std::string lowerExtension(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

std::string fileName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool readBytes(WorkbookFormat format, std::string_view bytes, ReadBudget& budget, Workbook& book, std::string& error) {
  switch (format) {
    case WorkbookFormat::Xlsx: return readXlsx(bytes, budget, book, error);
    case WorkbookFormat::Ods: return readOds(bytes, budget, book, error);
    case WorkbookFormat::Csv: return readDelimited(bytes, ',', budget, book, error);
    case WorkbookFormat::Text: return readDelimited(bytes, '\t', budget, book, error);
    case WorkbookFormat::Xls: break;
  }
  error = "this kind of file is read from its path only";
  return false;
}

std::unique_ptr<Workbook> finished(std::unique_ptr<Workbook> book, bool ok, const std::string& name,
                                   std::string& error) {
  if (ok && book->sheets.empty()) {
    ok = false;
    error = "it holds no worksheet";
  }
  if (!ok) {
    error = "The workbook " + name + " cannot be read: " + (error.empty() ? "it is damaged" : error) + ".";
    return nullptr;
  }
  for (Sheet& s : book->sheets) s.finish();
  book->activeSheet = std::clamp<int32_t>(book->activeSheet, 0, static_cast<int32_t>(book->sheets.size()) - 1);
  return book;
}

}  // namespace

std::optional<WorkbookFormat> workbookFormatOf(const std::string& path) {
  const std::string ext = lowerExtension(path);
  if (ext == "xlsx" || ext == "xlsm") return WorkbookFormat::Xlsx;
  if (ext == "ods") return WorkbookFormat::Ods;
  if (ext == "xls") return WorkbookFormat::Xls;
  if (ext == "csv") return WorkbookFormat::Csv;
  if (ext == "txt" || ext == "tsv" || ext == "tab") return WorkbookFormat::Text;
  return std::nullopt;
}

bool isSpreadsheetFile(const std::string& path) {
  const auto f = workbookFormatOf(path);
  return f && (*f == WorkbookFormat::Xlsx || *f == WorkbookFormat::Ods || *f == WorkbookFormat::Xls);
}

std::unique_ptr<Workbook> readWorkbookBytes(std::string_view bytes, WorkbookFormat format, const std::string& name,
                                            const ReadLimits& limits, std::string& error) {
  auto book = std::make_unique<Workbook>();
  book->path = name;
  book->name = fileName(name);
  ReadBudget budget(limits);
  error.clear();
  bool ok = false;
  if (bytes.size() > limits.fileBytes)
    error = "it is larger than " + std::to_string(limits.fileBytes >> 20) + " MiB";
  else
    ok = readBytes(format, bytes, budget, *book, error);
  const std::string shown = book->name;
  return finished(std::move(book), ok, shown, error);
}

std::unique_ptr<Workbook> readWorkbookFile(const std::string& path, const ReadLimits& limits, std::string& error) {
  error.clear();
  const std::string name = fileName(path);
  const auto format = workbookFormatOf(path);
  if (!format) {
    error = "The file " + name + " is no workbook (.xlsx, .ods, .xls, .csv or .txt).";
    return nullptr;
  }
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) {
    error = "The workbook " + name + " cannot be opened: " + file.errorString().toStdString() + ".";
    return nullptr;
  }
  if (static_cast<uint64_t>(file.size()) > limits.fileBytes) {
    error = "The workbook " + name + " cannot be read: it is larger than " + std::to_string(limits.fileBytes >> 20) +
            " MiB.";
    return nullptr;
  }
  auto book = std::make_unique<Workbook>();
  book->path = QFileInfo(file).absoluteFilePath().toStdString();
  book->name = name;
  ReadBudget budget(limits);
  bool ok = false;
  if (*format == WorkbookFormat::Xls) {
    file.close();
    ok = readXls(path, budget, *book, error);
  } else {
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size()) {
      error = "it could not be read whole (" + file.errorString().toStdString() + ")";
    } else {
      ok = readBytes(*format, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), budget, *book,
                     error);
    }
  }
  return finished(std::move(book), ok, name, error);
}

}  // namespace vlm::platform::workbook
