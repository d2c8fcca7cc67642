#include "tools/selector/edit_selection_box.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace vlm::selector {

EditSelectionBox::EditSelectionBox(QWidget* parent, const std::string& low, const std::string& high)
    : QDialog(parent),
      min_(new QLineEdit(QString::fromStdString(low))),
      max_(new QLineEdit(QString::fromStdString(high))),
      distance_(new QLineEdit) {
  setObjectName(QStringLiteral("editSelection"));
  setWindowTitle(QStringLiteral(" Edit Selection"));
  min_->setObjectName(QStringLiteral("min"));
  max_->setObjectName(QStringLiteral("max"));
  distance_->setObjectName(QStringLiteral("distance"));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Min"), min_);
  form->addRow(QStringLiteral("Max"), max_);
  form->addRow(QStringLiteral("Distance"), distance_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  min_->selectAll();
}

std::string EditSelectionBox::minText() const { return min_->text().toStdString(); }
std::string EditSelectionBox::maxText() const { return max_->text().toStdString(); }
std::string EditSelectionBox::distanceText() const { return distance_->text().toStdString(); }

void EditSelectionBox::placeAt(const QPoint& pointer) {
  adjustSize();
  QScreen* screen = QGuiApplication::screenAt(pointer);
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QRect desk = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const QSize size = frameSize().expandedTo(sizeHint());
  const int x = std::max(desk.left(), std::min(pointer.x(), desk.right() + 1 - size.width()));
  const int y = std::max(desk.top(), std::min(pointer.y(), desk.bottom() + 1 - size.height()));
  move(x, y);
}

}  // namespace vlm::selector
