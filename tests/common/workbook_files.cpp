#include "common/workbook_files.h"

#include <xlsxwriter.h>
#include <zip.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <charconv>
#include <filesystem>
#include <fstream>

namespace vlm::test {

std::string zipBytes(const std::vector<std::pair<std::string, std::string>>& parts) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  zip_source_keep(buffer);
  for (const auto& [name, text] : parts) {
    zip_source_t* part = zip_source_buffer(archive, text.data(), text.size(), 0);
    zip_file_add(archive, name.c_str(), part, ZIP_FL_ENC_UTF_8);
  }
  zip_close(archive);
  std::string out;
  zip_source_open(buffer);
  zip_source_seek(buffer, 0, SEEK_END);
  const zip_int64_t size = zip_source_tell(buffer);
  zip_source_seek(buffer, 0, SEEK_SET);
  out.resize(static_cast<size_t>(size));
  zip_source_read(buffer, out.data(), static_cast<zip_uint64_t>(size));
  zip_source_close(buffer);
  zip_source_free(buffer);
  zip_error_fini(&error);
  return out;
}

namespace {

std::string escapeXml(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '&') out += "&amp;";
    else if (c == '"') out += "&quot;";
    else out += c;
  }
  return out;
}

}  // namespace

std::string xlsxBytes(const std::vector<XlsxSheet>& sheets, const std::vector<std::string>& sharedStrings,
                      const std::string& stylesBody, int activeTab) {
  const std::string ns = "http://schemas.openxmlformats.org/";
  std::vector<std::pair<std::string, std::string>> parts;
  parts.push_back({"[Content_Types].xml",
                   "<?xml version=\"1.0\"?><Types xmlns=\"" + ns + "package/2006/content-types\"/>"});
  parts.push_back({"_rels/.rels", "<?xml version=\"1.0\"?><Relationships xmlns=\"" + ns +
                                      "package/2006/relationships\"><Relationship Id=\"rId1\" Type=\"" + ns +
                                      "officeDocument/2006/relationships/officeDocument\" "
                                      "Target=\"xl/workbook.xml\"/></Relationships>"});
  std::string book = "<?xml version=\"1.0\"?><workbook xmlns=\"" + ns + "spreadsheetml/2006/main\" xmlns:r=\"" + ns +
                     "officeDocument/2006/relationships\"><bookViews><workbookView activeTab=\"" +
                     std::to_string(activeTab) + "\"/></bookViews><sheets>";
  std::string rels = "<?xml version=\"1.0\"?><Relationships xmlns=\"" + ns + "package/2006/relationships\">";
  for (size_t i = 0; i < sheets.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    book += "<sheet name=\"" + escapeXml(sheets[i].name) + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
    rels += "<Relationship Id=\"rId" + n + "\" Type=\"" + ns +
            "officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
    parts.push_back({"xl/worksheets/sheet" + n + ".xml", "<?xml version=\"1.0\"?><worksheet xmlns=\"" + ns +
                                                             "spreadsheetml/2006/main\">" + sheets[i].body +
                                                             "</worksheet>"});
  }
  book += "</sheets></workbook>";
  if (!sharedStrings.empty()) {
    rels += "<Relationship Id=\"rIdS\" Type=\"" + ns +
            "officeDocument/2006/relationships/sharedStrings\" Target=\"/xl/sharedStrings.xml\"/>";
    std::string sst = "<?xml version=\"1.0\"?><sst xmlns=\"" + ns + "spreadsheetml/2006/main\">";
    for (const std::string& s : sharedStrings) sst += "<si><t xml:space=\"preserve\">" + escapeXml(s) + "</t></si>";
    parts.push_back({"xl/sharedStrings.xml", sst + "</sst>"});
  }
  if (!stylesBody.empty()) {
    rels += "<Relationship Id=\"rIdT\" Type=\"" + ns +
            "officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/>";
    parts.push_back({"xl/styles.xml", "<?xml version=\"1.0\"?><styleSheet xmlns=\"" + ns +
                                          "spreadsheetml/2006/main\">" + stylesBody + "</styleSheet>"});
  }
  rels += "</Relationships>";
  parts.push_back({"xl/workbook.xml", book});
  parts.push_back({"xl/_rels/workbook.xml.rels", rels});
  return zipBytes(parts);
}

std::string odsBytes(const std::string& tables, const std::string& settingsBody) {
  const std::string ns =
      " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
      " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
      " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
      " xmlns:config=\"urn:oasis:names:tc:opendocument:xmlns:config:1.0\"";
  std::vector<std::pair<std::string, std::string>> parts;
  parts.push_back({"mimetype", "application/vnd.oasis.opendocument.spreadsheet"});
  parts.push_back({"content.xml", "<?xml version=\"1.0\"?><office:document-content" + ns +
                                      "><office:body><office:spreadsheet>" + tables +
                                      "</office:spreadsheet></office:body></office:document-content>"});
  if (!settingsBody.empty())
    parts.push_back({"settings.xml", "<?xml version=\"1.0\"?><office:document-settings" + ns +
                                         "><office:settings><config:config-item-set config:name=\"ooo:view-settings\">"
                                         "<config:config-item-map-indexed config:name=\"Views\">"
                                         "<config:config-item-map-entry>" +
                                         settingsBody +
                                         "</config:config-item-map-entry></config:config-item-map-indexed>"
                                         "</config:config-item-set></office:settings></office:document-settings>"});
  return zipBytes(parts);
}

bool writeXlsx(const std::string& path, const std::string& sheetName, const std::vector<std::vector<std::string>>& rows,
               const std::string& selection) {
  lxw_workbook* book = workbook_new(path.c_str());
  if (!book) return false;
  lxw_worksheet* sheet = workbook_add_worksheet(book, sheetName.c_str());
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      const std::string& text = rows[r][c];
      if (text.empty()) continue;
      double number = 0;
      const auto parsed = std::from_chars(text.data(), text.data() + text.size(), number);
      if (parsed.ec == std::errc() && parsed.ptr == text.data() + text.size())
        worksheet_write_number(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), number, nullptr);
      else
        worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), text.c_str(), nullptr);
    }
  }
  if (!selection.empty()) {
    lxw_row_t r1 = 0, r2 = 0;
    lxw_col_t c1 = 0, c2 = 0;
    const size_t colon = selection.find(':');
    r1 = lxw_name_to_row(selection.substr(0, colon).c_str());
    c1 = lxw_name_to_col(selection.substr(0, colon).c_str());
    r2 = colon == std::string::npos ? r1 : lxw_name_to_row(selection.substr(colon + 1).c_str());
    c2 = colon == std::string::npos ? c1 : lxw_name_to_col(selection.substr(colon + 1).c_str());
    worksheet_set_selection(sheet, r1, c1, r2, c2);
  }
  return workbook_close(book) == LXW_NO_ERROR;
}

std::string libreOfficeProgram() {
  for (const char* name : {"soffice", "libreoffice", "localc"}) {
    const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!found.isEmpty()) return found.toStdString();
  }
  return {};
}

std::string convertWithLibreOffice(const std::string& path, const std::string& folder, const std::string& extension) {
  const std::string program = libreOfficeProgram();
  if (program.empty()) return {};
  // A profile of its own, so that a running office or another test is not disturbed.
  QTemporaryDir profile;
  QProcess office;
  office.start(QString::fromStdString(program),
               {QStringLiteral("-env:UserInstallation=file://") + profile.path(), QStringLiteral("--headless"),
                QStringLiteral("--convert-to"), QString::fromStdString(extension), QStringLiteral("--outdir"),
                QString::fromStdString(folder), QString::fromStdString(path)});
  if (!office.waitForFinished(120000) || office.exitCode() != 0) {
    office.kill();
    office.waitForFinished();
    return {};
  }
  const std::string out =
      folder + "/" + std::filesystem::path(path).stem().string() + "." + extension;
  return std::filesystem::exists(out) ? out : std::string();
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace vlm::test
