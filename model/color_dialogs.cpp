#include "model/color_dialogs.h"

#include <QColor>
#include <QColorDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QString>

namespace vlm {

std::optional<uint32_t> chooseEntryColour(QWidget* parent, uint32_t current) {
  const QColor start(static_cast<int>(current & 0xFF), static_cast<int>((current >> 8) & 0xFF),
                     static_cast<int>((current >> 16) & 0xFF));
  // Qt keeps the custom colours of the colour dialog for the life of the process.
  const QColor chosen = QColorDialog::getColor(start, parent, QString(),
                                               QColorDialog::DontUseNativeDialog);
  if (!chosen.isValid()) return std::nullopt;
  return static_cast<uint32_t>(chosen.red()) | (static_cast<uint32_t>(chosen.green()) << 8) |
         (static_cast<uint32_t>(chosen.blue()) << 16);
}

std::optional<std::string> askEntryValue(QWidget* parent, const std::string& current) {
  bool ok = false;
  const QString text = QInputDialog::getText(parent, QStringLiteral("Set Value"),
                                             QStringLiteral("Value:"), QLineEdit::Normal,
                                             QString::fromLocal8Bit(current.c_str()), &ok);
  if (!ok) return std::nullopt;
  return text.toLocal8Bit().toStdString();
}

}  // namespace vlm
