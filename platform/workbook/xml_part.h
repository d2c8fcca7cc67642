#pragma once
// An XML part of a zip archive, read token by token while it unpacks: the
// part is never held whole, so a sheet of any size costs a small buffer.
#include <QXmlStreamReader>

#include <functional>
#include <memory>
#include <string>

#include "platform/workbook/zip_archive.h"

namespace vlm::platform::workbook {

// No cell text is longer (a sheet's own limit is far lower).
constexpr qsizetype kMaxCellText = 1 << 20;

class XmlPart {
 public:
  explicit XmlPart(std::unique_ptr<ZipArchive::Part> part);
  // An XML text already in memory.
  explicit XmlPart(const std::string& text);

  // The next token; EndDocument at the end, Invalid on an error (error() says
  // which: damaged XML, a damaged part, or the budget spent).
  QXmlStreamReader::TokenType next();
  QXmlStreamReader& reader() { return reader_; }
  const std::string& error() const { return error_; }

  // The attribute's value (empty when absent); valid until next(). With a
  // namespace, only an attribute of that namespace counts.
  QStringView attribute(QStringView name) const;
  QStringView attribute(QStringView namespaceUri, QStringView name) const;
  // Whether the current start element has this local name.
  bool isStart(QStringView name) const;
  bool isEnd(QStringView name) const;

  // At a start element: its character data, of its children too, up to its
  // end element (which is then the current token). False on an error, or
  // past kMaxCellText characters.
  bool readText(QString& out);
  // Hands every token to `visit` up to the end of the document; false on
  // damaged XML (`error` says why) or when `visit` answers false (it says
  // why itself, or the part's error is taken).
  bool forEach(std::string& error, const std::function<bool(QXmlStreamReader::TokenType)>& visit);

  // At a start element: passes over it and everything inside it.
  bool skipElement();

 private:
  bool feed();

  std::unique_ptr<ZipArchive::Part> part_;
  QXmlStreamReader reader_;
  std::string error_;
  bool fed_all_ = false;
};

// The text of a QString as UTF-8.
std::string utf8(QStringView text);

}  // namespace vlm::platform::workbook
