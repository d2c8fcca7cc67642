#include "platform/workbook/xml_part.h"

namespace vlm::platform::workbook {
namespace {

constexpr size_t kPiece = 1 << 16;

}  // namespace

XmlPart::XmlPart(std::unique_ptr<ZipArchive::Part> part) : part_(std::move(part)) {
  reader_.setNamespaceProcessing(true);
}

XmlPart::XmlPart(const std::string& text) : fed_all_(true) {
  reader_.setNamespaceProcessing(true);
  reader_.addData(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

bool XmlPart::feed() {
  if (fed_all_ || !part_) return false;
  QByteArray piece(static_cast<qsizetype>(kPiece), Qt::Uninitialized);
  const int64_t n = part_->read(piece.data(), kPiece);
  if (n < 0) {
    error_ = part_->error();
    return false;
  }
  if (n == 0) {
    fed_all_ = true;
    return false;
  }
  piece.truncate(static_cast<qsizetype>(n));
  reader_.addData(piece);
  return true;
}

QXmlStreamReader::TokenType XmlPart::next() {
  for (;;) {
    const QXmlStreamReader::TokenType t = reader_.readNext();
    if (t != QXmlStreamReader::Invalid) return t;
    if (reader_.error() == QXmlStreamReader::PrematureEndOfDocumentError && feed()) continue;
    if (error_.empty()) {
      error_ = fed_all_ && reader_.error() == QXmlStreamReader::PrematureEndOfDocumentError
                   ? std::string("its XML ends too early")
                   : "its XML is damaged (" + reader_.errorString().toStdString() + ")";
    }
    return QXmlStreamReader::Invalid;
  }
}

bool XmlPart::forEach(std::string& error, const std::function<bool(QXmlStreamReader::TokenType)>& visit) {
  for (;;) {
    const QXmlStreamReader::TokenType t = next();
    if (t == QXmlStreamReader::EndDocument) return true;
    if (t == QXmlStreamReader::Invalid || !visit(t)) {
      if (error.empty()) error = error_;
      return false;
    }
  }
}

QStringView XmlPart::attribute(QStringView name) const {
  // The reader keeps its attributes (and the texts they refer to) until the next token.
  const QXmlStreamAttributes& attributes = reader_.attributes();
  for (const QXmlStreamAttribute& a : attributes)
    if (a.name() == name) return a.value();
  return {};
}

QStringView XmlPart::attribute(QStringView namespaceUri, QStringView name) const {
  const QXmlStreamAttributes& attributes = reader_.attributes();
  for (const QXmlStreamAttribute& a : attributes)
    if (a.name() == name && a.namespaceUri() == namespaceUri) return a.value();
  return {};
}

bool XmlPart::readText(QString& out) {
  out.clear();
  int depth = 1;
  while (depth > 0) {
    switch (next()) {
      case QXmlStreamReader::StartElement: ++depth; break;
      case QXmlStreamReader::EndElement: --depth; break;
      case QXmlStreamReader::Characters:
        if (out.size() + reader_.text().size() > kMaxCellText) {
          error_ = "a cell holds more than " + std::to_string(kMaxCellText) + " characters";
          return false;
        }
        out += reader_.text();
        break;
      case QXmlStreamReader::EndDocument:
      case QXmlStreamReader::Invalid: return false;
      default: break;
    }
  }
  return true;
}

bool XmlPart::skipElement() {
  int depth = 1;
  while (depth > 0) {
    switch (next()) {
      case QXmlStreamReader::StartElement: ++depth; break;
      case QXmlStreamReader::EndElement: --depth; break;
      case QXmlStreamReader::EndDocument:
      case QXmlStreamReader::Invalid: return false;
      default: break;
    }
  }
  return true;
}

bool XmlPart::isStart(QStringView name) const { return reader_.isStartElement() && reader_.name() == name; }
bool XmlPart::isEnd(QStringView name) const { return reader_.isEndElement() && reader_.name() == name; }

std::string utf8(QStringView text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace vlm::platform::workbook
