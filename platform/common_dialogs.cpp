#include "platform/common_dialogs.h"

#include <QColor>
#include <QColorDialog>
#include <QFont>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>

#include <mutex>

namespace vlm::platform {
namespace {

std::mutex g_mutex;
DialogAnswerer g_answerer;

DialogAnswerer answerer() {
  std::lock_guard lock(g_mutex);
  return g_answerer;
}

QString qs(const std::string& text) { return QString::fromUtf8(text.c_str()); }

}  // namespace

DialogAnswerer setDialogAnswerer(DialogAnswerer answerer) {
  std::lock_guard lock(g_mutex);
  DialogAnswerer old = std::move(g_answerer);
  g_answerer = std::move(answerer);
  return old;
}

std::optional<uint32_t> chooseColour(QWidget* parent, uint32_t initial) {
  if (auto a = answerer(); a.colour) return a.colour(initial);
  const QColor start(static_cast<int>(initial & 0xFF), static_cast<int>((initial >> 8) & 0xFF),
                     static_cast<int>((initial >> 16) & 0xFF));
  const QColor chosen = QColorDialog::getColor(start, parent, QString(), QColorDialog::DontUseNativeDialog);
  if (!chosen.isValid()) return std::nullopt;
  return static_cast<uint32_t>(chosen.red()) | (static_cast<uint32_t>(chosen.green()) << 8) |
         (static_cast<uint32_t>(chosen.blue()) << 16);
}

std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial) {
  if (auto a = answerer(); a.font) return a.font(initial);
  QFont start(qs(initial.face));
  start.setPointSize(initial.points > 0 ? initial.points : 10);
  start.setWeight(static_cast<QFont::Weight>(initial.weight));
  start.setItalic(initial.italic);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, start, parent, QString(), QFontDialog::DontUseNativeDialog);
  if (!ok) return std::nullopt;
  FontChoice c;
  c.face = chosen.family().toStdString();
  c.points = chosen.pointSize() > 0 ? chosen.pointSize() : initial.points;
  c.weight = static_cast<int32_t>(chosen.weight());
  c.italic = chosen.italic();
  return c;
}

std::optional<std::string> askText(QWidget* parent, const TextRequest& request) {
  if (auto a = answerer(); a.text) return a.text(request);
  bool ok = false;
  const QString text = QInputDialog::getText(parent, qs(request.caption), qs(request.label), QLineEdit::Normal,
                                             qs(request.initial), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

}  // namespace vlm::platform
