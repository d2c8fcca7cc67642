#include "host/progress_part.h"

#include <QPainter>

#include "host/status_texts.h"

namespace vlm::host {

ProgressPart::ProgressPart(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("progress")); }

void ProgressPart::begin(int64_t first, int64_t last) {
  first_ = first, last_ = last, current_ = 0;
  update();
}

void ProgressPart::step(int64_t current) {
  current_ = progressValue(current, last_);
  update();
}

void ProgressPart::end() {
  current_ = 0;
  update();
}

int ProgressPart::filledWidth() const { return progressFill(width() - 2, current_, first_, last_); }

void ProgressPart::paintEvent(QPaintEvent*) {
  const int fill = filledWidth();
  if (fill <= 0) return;
  QPainter p(this);
  // The active-caption colour of the system: the palette's highlight.
  p.fillRect(QRect(1, 2, fill, height() - 4), palette().color(QPalette::Active, QPalette::Highlight));
}

}  // namespace vlm::host
