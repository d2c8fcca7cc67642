#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>
#include <QStringEncoder>

#include <algorithm>
#include <mutex>

#include "platform/host_bridge.h"

namespace vlm::platform {
namespace {

// The desktop clipboard belongs to the host thread; every access goes there
// for the clipboard's text, which is shared with it rather than copied, and
// is read or converted on the calling thread. Nothing when there is no text.
std::optional<QString> hostText() {
  std::optional<QString> result;
  const intptr_t ok = HostBridge::instance().runOnHost([&result]() -> intptr_t {
    QClipboard* board = QGuiApplication::clipboard();
    if (!board) return 0;
    const QMimeData* mime = board->mimeData(QClipboard::Clipboard);
    if (!mime || !mime->hasText()) return 0;
    result = mime->text();
    return 1;
  });
  if (!ok) return std::nullopt;
  return result;
}

class DesktopClipboard : public Clipboard {
 public:
  std::optional<std::string> readText() override {
    const std::optional<QString> text = hostText();
    if (!text) return std::nullopt;
    return toEngineLineEnds(text->toStdString());
  }

  std::optional<ClipboardTable> readTable() override {
    const std::optional<QString> text = hostText();
    if (!text) return std::nullopt;
    return desktopClipboardTable(*text);
  }

  std::optional<std::string> readBeginning(int lineBreaks) override {
    const std::optional<QString> text = hostText();
    if (!text) return std::nullopt;
    // Only the beginning is converted, however big the clipboard is.
    qsizetype end = 0;
    for (int breaks = 0; end < text->size() && breaks < lineBreaks; ++end) {
      const QChar c = (*text)[end];
      if (c != u'\r' && c != u'\n') continue;
      ++breaks;
      if (c == u'\r' && end + 1 < text->size() && (*text)[end + 1] == u'\n') ++end;
    }
    return toEngineLineEnds(text->left(end).toStdString());
  }

  bool writeText(std::string_view text) override {
    const std::string desktop = toDesktopLineEnds(text);
    return HostBridge::instance().runOnHost([&desktop]() -> intptr_t {
             QClipboard* board = QGuiApplication::clipboard();
             if (!board) return 0;
             board->setText(QString::fromStdString(desktop), QClipboard::Clipboard);
             return 1;
           }) == 1;
  }
};

}  // namespace

size_t beginningLength(std::string_view text, int lineBreaks) {
  size_t end = 0;
  for (int breaks = 0; end < text.size() && breaks < lineBreaks; ++end) {
    const char c = text[end];
    if (c != '\r' && c != '\n') continue;
    ++breaks;
    if (c == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
  }
  return end;
}

std::optional<std::string> Clipboard::readBeginning(int lineBreaks) {
  std::optional<std::string> text = readText();
  if (text) text->resize(beginningLength(*text, lineBreaks));
  return text;
}

// Written into room for the longest the UTF-8 may be, of which only what is
// written takes memory: a table of many megabytes is neither copied again nor
// faulted in small page by small page, which would cost more than its load.
std::optional<ClipboardTable> desktopClipboardTable(const QString& text) {
  QStringEncoder encoder(QStringEncoder::Utf8);
  ClipboardTable table;
  table.desktopLineEnds = true;
  if (!table.text.allocate(static_cast<size_t>(encoder.requiredSpace(text.size())))) return std::nullopt;
  const char* end = encoder.appendToBuffer(table.text.data(), text);
  table.text.setSize(static_cast<size_t>(end - table.text.data()));
  return table;
}

std::optional<ClipboardTable> Clipboard::readTable() {
  std::optional<std::string> text = readText();
  if (!text) return std::nullopt;
  ClipboardTable table;
  if (!table.text.allocate(text->size())) return std::nullopt;
  std::copy(text->begin(), text->end(), table.text.data());
  table.text.setSize(text->size());
  return table;
}

namespace {

std::mutex g_mutex;
std::shared_ptr<Clipboard> g_installed;

}  // namespace

struct MemoryClipboard::Impl {
  std::mutex mutex;
  std::optional<std::string> text;
  bool broken = false;
};

MemoryClipboard::MemoryClipboard() : impl_(std::make_shared<Impl>()) {}

std::optional<std::string> MemoryClipboard::readText() {
  std::lock_guard lock(impl_->mutex);
  if (impl_->broken) return std::nullopt;
  return impl_->text;
}

bool MemoryClipboard::writeText(std::string_view text) {
  std::lock_guard lock(impl_->mutex);
  if (impl_->broken) return false;
  impl_->text = std::string(text);
  return true;
}

void MemoryClipboard::setText(std::optional<std::string> text) {
  std::lock_guard lock(impl_->mutex);
  impl_->text = std::move(text);
}

std::optional<std::string> MemoryClipboard::text() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->text;
}

void MemoryClipboard::setBroken(bool broken) {
  std::lock_guard lock(impl_->mutex);
  impl_->broken = broken;
}

std::shared_ptr<Clipboard> clipboard() {
  std::lock_guard lock(g_mutex);
  if (!g_installed) g_installed = std::make_shared<DesktopClipboard>();
  return g_installed;
}

std::shared_ptr<Clipboard> setClipboard(std::shared_ptr<Clipboard> replacement) {
  std::lock_guard lock(g_mutex);
  std::shared_ptr<Clipboard> previous = std::move(g_installed);
  g_installed = std::move(replacement);
  return previous;
}

std::string toEngineLineEnds(std::string_view desktopText) {
  std::string out;
  out.reserve(desktopText.size() + desktopText.size() / 16);
  for (size_t i = 0; i < desktopText.size(); ++i) {
    const char c = desktopText[i];
    if (c == '\n' && (i == 0 || desktopText[i - 1] != '\r')) out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

std::string toDesktopLineEnds(std::string_view engineText) {
  std::string out;
  out.reserve(engineText.size());
  for (size_t i = 0; i < engineText.size(); ++i) {
    if (engineText[i] == '\r' && i + 1 < engineText.size() && engineText[i + 1] == '\n') continue;
    out.push_back(engineText[i]);
  }
  return out;
}

}  // namespace vlm::platform
