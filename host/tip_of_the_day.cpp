#include "host/tip_of_the_day.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/vlmapi.h"
#include "host/toolbar_images.h"

namespace vlm::host {

const std::vector<std::string>& tips() {
  static const std::vector<std::string> list = {
      "Right-click a line of the legend to bind any field to that attribute, and to choose its mapping: "
      "Linear, Log N or Exp, reversed or not.",
      "Press Tab to move the current attribute to the next field, and Delete to remove its field.",
      "Drag with the right mouse button to turn the scene; a quick flick keeps it spinning. "
      "Ctrl+I brings you back to the initial position.",
      "Right-click the colour bar to pick one of thirteen colour ramps, or to switch between "
      "continuous and categorical colours.",
      "Drag a colour point of the colour bar up or down to move it; right-click it to give it a "
      "colour or a value of its own.",
      "The Grid (Tools > Grid) edits the space around your data: background and lattice colours, "
      "axes, arrows, labels, planes, the water level and the perspective.",
      "A background colour you pick in the Grid also picks a light or dark scheme for the axes, "
      "lattices and labels, so they stay readable.",
      "Click an object to see its values; click it again to hide them. Right-click it for its menu.",
      "Paste a table from a spreadsheet with Ctrl+V: the first line is read as the field names.",
      "Press F1 for help about what you are pointing at: the legend line of an attribute, the Grid "
      "or the Setup Options.",
      "Ctrl+W shows the water level; drag it up and down to read values at its height.",
      "Setup Options (Tools > Options) turns off the questions before destructive actions, the "
      "automatic rotations, and these tips.",
  };
  return list;
}

TipOfTheDay::TipOfTheDay(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("tipOfTheDay"));
  setWindowTitle(QStringLiteral(" Tip of the Day"));
  setModal(false);
  auto* picture = new QLabel;
  picture->setPixmap(toolbarImage(17).pixmap(32, 32));
  auto* heading = new QLabel(QStringLiteral("<b>Did you know...</b>"));
  text_ = new QLabel;
  text_->setObjectName(QStringLiteral("tipText"));
  text_->setWordWrap(true);
  text_->setMinimumHeight(80);
  text_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  disable_ = new QCheckBox(QStringLiteral("Disable Tips"));
  disable_->setObjectName(QStringLiteral("disableTips"));
  auto* next = new QPushButton(QStringLiteral("&Next Tip"));
  auto* close = new QPushButton(QStringLiteral("&Close"));
  close->setDefault(true);
  auto* textColumn = new QVBoxLayout;
  textColumn->addWidget(heading);
  textColumn->addWidget(text_, 1);
  auto* top = new QHBoxLayout;
  top->addWidget(picture, 0, Qt::AlignTop);
  top->addLayout(textColumn, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(disable_);
  bottom->addStretch(1);
  bottom->addWidget(next);
  bottom->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(bottom);
  connect(next, &QPushButton::clicked, this, [this] { nextTip(); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  // Each start shows the tip after the one shown last.
  index_ = static_cast<int>(vlm_ReadHostDword("NextTip", 0) % tips().size());
  text_->setText(QString::fromStdString(tips()[static_cast<size_t>(index_)]));
  resize(440, 220);
}

void TipOfTheDay::nextTip() {
  index_ = (index_ + 1) % static_cast<int>(tips().size());
  text_->setText(QString::fromStdString(tips()[static_cast<size_t>(index_)]));
}

QString TipOfTheDay::tipText() const { return text_->text(); }

void TipOfTheDay::done(int result) {
  vlm_WriteHostDword("NextTip", static_cast<uint32_t>((index_ + 1) % static_cast<int>(tips().size())), 0);
  if (disable_->isChecked()) vlm_WriteHostDword("ShowTips", 0, 1);
  QDialog::done(result);
}

TipOfTheDay* showTipOfTheDayAtStart(QWidget* owner) {
  if (vlm_ReadHostDword("ShowTips", 1) == 0) return nullptr;
  auto* box = new TipOfTheDay(owner);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->show();
  // Arranging the windows at start raises the main window afterwards; the tip
  // stays in front of it.
  QTimer::singleShot(0, box, [box] {
    box->raise();
    box->activateWindow();
  });
  return box;
}

}  // namespace vlm::host
