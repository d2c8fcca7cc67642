#include "tools/selector/selector_list.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "data/data_table.h"
#include "tools/selector/row_edits.h"
#include "tools/selector/selector_rules.h"

namespace vlm::selector {
namespace {

const QColor kBackground(176, 184, 190);
const QColor kSeparator(146, 154, 162);
const QColor kCurrentName(204, 210, 216);
const QColor kDimText(92, 96, 100);
const QColor kGroove(70, 74, 80);
constexpr int kNameLeft = 4;
constexpr int kBoxSize = 10;

QString qtext(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

bool entriesRange(const RowView& row) {
  return row.type == FT_DATETIME || row.type == FT_TEXT || row.type == FT_TEXT2;
}

int32_t virtualKeyOf(const QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Home: return kKeyHome;
    case Qt::Key_End: return kKeyEnd;
    case Qt::Key_Left: return kKeyLeft;
    case Qt::Key_Up: return kKeyUp;
    case Qt::Key_Right: return kKeyRight;
    case Qt::Key_Down: return kKeyDown;
    case Qt::Key_Backspace: return kKeyBack;
    case Qt::Key_Delete: return kKeyDelete;
    case Qt::Key_Escape: return kKeyEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return kKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyReturn;
    case Qt::Key_Shift: return kKeyShift;
    case Qt::Key_Control: return kKeyControl;
    case Qt::Key_Alt: return kKeyMenu;
    default: return 0;
  }
}

}  // namespace

SelectorList::SelectorList(QWidget* parent, Actions actions)
    : QAbstractScrollArea(parent), actions_(std::move(actions)), selected_(144, 240, 144), unavailable_(128, 176, 128) {
  setObjectName(QStringLiteral("selectorList"));
  setFocusPolicy(Qt::StrongFocus);
  setFrameShape(QFrame::NoFrame);
  viewport()->setAutoFillBackground(false);
  viewport()->setMouseTracking(false);
  verticalScrollBar()->setSingleStep(18);
}

void SelectorList::setBrushes(const QColor& selected, const QColor& unavailable) {
  selected_ = selected;
  unavailable_ = unavailable;
  viewport()->update();
}

void SelectorList::takeView(const SelectorView& view) {
  const bool newTable = !haveView_ || view.generation != generation_;
  if (newTable) {
    sentEdit_.assign(static_cast<size_t>(view.fieldCount), 0);
    dragField_ = -1;
  }
  if (newTable || view.complete) {
    rows_.resize(static_cast<size_t>(view.fieldCount));
    sentEdit_.resize(static_cast<size_t>(view.fieldCount), 0);
  }
  haveView_ = true;
  generation_ = view.generation;
  for (const RowView& r : view.rows) {
    if (r.field < 0 || static_cast<size_t>(r.field) >= rows_.size()) continue;
    // A row the window changed since is kept as echoed: a later view brings it.
    if (r.appliedEdit < sentEdit_[static_cast<size_t>(r.field)]) continue;
    rows_[static_cast<size_t>(r.field)] = r;
  }
  bool pending = false;
  for (size_t f = 0; f < rows_.size(); ++f) pending = pending || sentEdit_[f] > rows_[f].appliedEdit;
  if (newTable || !pending) {
    currentRow_ = view.currentRow < static_cast<int32_t>(rows_.size()) ? view.currentRow : -1;
    currentValue_ = view.currentValue;
  }
  layoutItems();
  viewport()->update();
}

const RowView* SelectorList::row(int32_t field) const {
  if (field < 0 || static_cast<size_t>(field) >= rows_.size()) return nullptr;
  return &rows_[static_cast<size_t>(field)];
}

int SelectorList::rowHeight(const RowView& row) const {
  const int line = std::max(18, fontMetrics().height() + 4);
  switch (row.method) {
    case kRangeSlider:
    case kItemSlider:
      return 2 * line + 6;
    case kSubstring:
      return line + 8;
    default:
      return line;
  }
}

void SelectorList::layoutItems() {
  items_.clear();
  const int line = std::max(18, fontMetrics().height() + 4);
  int y = 0;
  for (const RowView& r : rows_) {
    if (r.method == kSamples && !r.values.empty()) {
      for (size_t v = 0; v < r.values.size(); ++v) {
        items_.push_back({r.field, static_cast<int32_t>(v), y, line});
        y += line;
      }
      y += 2;
      items_.back().height += 2;
    } else {
      const int h = rowHeight(r);
      items_.push_back({r.field, 0, y, h});
      y += h;
    }
  }
  contentHeight_ = y;
  verticalScrollBar()->setPageStep(viewport()->height());
  verticalScrollBar()->setRange(0, std::max(0, contentHeight_ - viewport()->height()));
}

int SelectorList::itemAt(int y) const {
  const int content = y + verticalScrollBar()->value();
  auto it = std::upper_bound(items_.begin(), items_.end(), content,
                             [](int value, const ListItem& item) { return value < item.top; });
  if (it == items_.begin()) return -1;
  --it;
  if (content >= it->top + it->height) return -1;
  return static_cast<int>(it - items_.begin());
}

int SelectorList::itemTop(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= items_.size()) return -1;
  return items_[static_cast<size_t>(index)].top - verticalScrollBar()->value();
}

Track SelectorList::track() const { return trackFor(viewport()->width()); }

int SelectorList::lowPixel(int32_t field) const {
  const RowView* r = row(field);
  return r ? pixelOf(track(), r->least, r->greatest, r->low) : -1;
}

int SelectorList::highPixel(int32_t field) const {
  const RowView* r = row(field);
  return r ? pixelOf(track(), r->least, r->greatest, r->high) : -1;
}

int SelectorList::itemPixelOf(int32_t field) const {
  const RowView* r = row(field);
  if (!r) return -1;
  return r->all ? track().x0 - 8 : itemPixel(track(), r->entryCount, r->item);
}

void SelectorList::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.fillRect(viewport()->rect(), kBackground);
  const int offset = verticalScrollBar()->value();
  const int bottom = offset + viewport()->height();
  for (size_t i = 0; i < items_.size(); ++i) {
    const ListItem& item = items_[i];
    if (item.top + item.height <= offset) continue;
    if (item.top >= bottom) break;
    paintItem(p, item, static_cast<int>(i), item.top - offset);
  }
}

void SelectorList::paintItem(QPainter& p, const ListItem& item, int, int y) {
  const RowView& r = rows_[static_cast<size_t>(item.field)];
  const int width = viewport()->width();
  const int line = std::max(18, fontMetrics().height() + 4);
  if (item.value == 0) {
    p.setPen(kSeparator);
    p.drawLine(0, y, width, y);
    const bool current = item.field == currentRow_;
    const QRect nameBox(0, y + 1, kControlLeft - 4, line - 1);
    if (current) p.fillRect(nameBox, kCurrentName);
    QFont font = p.font();
    font.setBold(current);
    p.setFont(font);
    p.setPen(Qt::black);
    const QRect text(kNameLeft, y + 1, kControlLeft - 4 - 2 * kNameLeft, line - 1);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, fontMetrics().elidedText(qtext(r.name), Qt::ElideRight, text.width()));
    font.setBold(false);
    p.setFont(font);
  }
  switch (r.method) {
    case kRangeSlider:
      paintRange(p, r, y);
      break;
    case kItemSlider:
      paintItemSlider(p, r, y);
      break;
    case kSamples:
      paintValue(p, r, item.value, y, line);
      break;
    case kSubstring:
      paintSubstring(p, r, y, item.height);
      break;
    default:
      p.setPen(kDimText);
      p.drawText(QRect(kControlLeft, y + 1, width - kControlLeft - 4, line - 1), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("(right-click for a query)"));
      break;
  }
}

void SelectorList::paintRange(QPainter& p, const RowView& r, int y) {
  const int line = std::max(18, fontMetrics().height() + 4);
  const Track t = track();
  const int half = (viewport()->width() - kControlLeft - 6) / 2;
  p.setPen(Qt::black);
  p.drawText(QRect(kControlLeft, y + 2, half, line - 2), Qt::AlignLeft | Qt::AlignVCenter,
             fontMetrics().elidedText(qtext(r.lowText), Qt::ElideRight, half));
  p.drawText(QRect(kControlLeft + half, y + 2, half, line - 2), Qt::AlignRight | Qt::AlignVCenter,
             fontMetrics().elidedText(qtext(r.highText), Qt::ElideRight, half));
  const int ty = y + line + 2 + line / 2;
  const int lowX = pixelOf(t, r.least, r.greatest, r.low);
  const int highX = pixelOf(t, r.least, r.greatest, r.high);
  p.fillRect(QRect(t.x0, ty - 1, t.x1 - t.x0 + 1, 2), kGroove);
  p.fillRect(QRect(lowX, ty - 3, std::max(highX - lowX, 1), 7), selected_);
  for (int x : {lowX, highX}) {
    const QRect thumb(x - 4, ty - 7, 9, 15);
    p.fillRect(thumb, unavailable_);
    p.setPen(Qt::black);
    p.drawRect(thumb.adjusted(0, 0, -1, -1));
  }
}

void SelectorList::paintItemSlider(QPainter& p, const RowView& r, int y) {
  const int line = std::max(18, fontMetrics().height() + 4);
  const Track t = track();
  const int width = viewport()->width() - kControlLeft - 6;
  p.setPen(Qt::black);
  const QString text = r.all ? QString::fromLatin1(kAllText) : qtext(r.itemText);
  p.drawText(QRect(kControlLeft, y + 2, width, line - 2), Qt::AlignLeft | Qt::AlignVCenter,
             fontMetrics().elidedText(text, Qt::ElideRight, width));
  const int ty = y + line + 2 + line / 2;
  p.fillRect(QRect(t.x0, ty - 1, t.x1 - t.x0 + 1, 2), kGroove);
  const int x = r.all ? t.x0 - 8 : itemPixel(t, r.entryCount, r.item);
  const QRect thumb(x - 4, ty - 7, 9, 15);
  p.fillRect(thumb, r.all ? selected_ : unavailable_);
  p.setPen(Qt::black);
  p.drawRect(thumb.adjusted(0, 0, -1, -1));
}

void SelectorList::paintValue(QPainter& p, const RowView& r, int32_t value, int y, int height) {
  if (value < 0 || static_cast<size_t>(value) >= r.values.size()) return;
  const ValueLine& v = r.values[static_cast<size_t>(value)];
  const QRect box(kControlLeft, y + (height - kBoxSize) / 2, kBoxSize, kBoxSize);
  if (v.selected) p.fillRect(box, v.available ? selected_ : unavailable_);
  p.setPen(v.available ? Qt::black : kDimText);
  p.drawRect(box.adjusted(0, 0, -1, -1));
  const int left = kControlLeft + kBoxSize + 6;
  const QRect text(left, y, viewport()->width() - left - 4, height);
  p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, fontMetrics().elidedText(qtext(v.text), Qt::ElideRight, text.width()));
  if (r.field == currentRow_ && value == currentValue_) {
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(text.adjusted(-2, 1, -1, -2));
  }
}

void SelectorList::paintSubstring(QPainter& p, const RowView& r, int y, int height) {
  const int line = std::max(18, fontMetrics().height() + 4);
  p.setPen(Qt::black);
  const QString label = QStringLiteral("Substr.");
  const int labelWidth = fontMetrics().horizontalAdvance(label) + 6;
  p.drawText(QRect(kControlLeft, y, labelWidth, height), Qt::AlignLeft | Qt::AlignVCenter, label);
  const QRect box(kControlLeft + labelWidth, y + (height - line) / 2, viewport()->width() - kControlLeft - labelWidth - 6,
                  line);
  p.fillRect(box, Qt::white);
  p.setPen(kGroove);
  p.drawRect(box.adjusted(0, 0, -1, -1));
  p.setPen(Qt::black);
  const QRect inner = box.adjusted(3, 0, -3, 0);
  p.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter, qtext(r.text));
  if (r.field == currentRow_) {
    const std::string before = r.text.substr(0, static_cast<size_t>(std::clamp<int32_t>(r.caret, 0, static_cast<int32_t>(r.text.size()))));
    const int x = inner.left() + fontMetrics().horizontalAdvance(qtext(before));
    p.drawLine(x, box.top() + 3, x, box.bottom() - 3);
  }
}

void SelectorList::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  layoutItems();
  viewport()->update();
}

RowView* SelectorList::editableRow(int32_t field) {
  if (field < 0 || static_cast<size_t>(field) >= rows_.size()) return nullptr;
  return &rows_[static_cast<size_t>(field)];
}

void SelectorList::send(Edit edit, RowView& r) {
  edit.field = r.field;
  edit.generation = generation_;
  edit.sequence = ++nextSequence_;
  sentEdit_[static_cast<size_t>(r.field)] = edit.sequence;
  if (actions_.send) actions_.send(std::move(edit));
}

void SelectorList::makeCurrent(int32_t field, int32_t value) {
  if (field == currentRow_ && value == currentValue_) return;
  currentRow_ = field;
  currentValue_ = value;
  if (RowView* r = editableRow(field)) {
    Edit edit;
    edit.kind = Edit::Kind::Current;
    edit.a = value;
    send(std::move(edit), *r);
  }
  viewport()->update();
}

void SelectorList::mousePressEvent(QMouseEvent* event) {
  if (actions_.anyClick) actions_.anyClick();
  setFocus(Qt::MouseFocusReason);
  const int index = itemAt(event->position().toPoint().y());
  if (index < 0) return;
  const ListItem item = items_[static_cast<size_t>(index)];
  makeCurrent(item.field, item.value);
  const uint32_t data = (static_cast<uint32_t>(item.value) << 16) | static_cast<uint32_t>(item.field);
  if (event->button() == Qt::RightButton || event->position().toPoint().x() < kControlLeft) {
    if (actions_.askMenu) actions_.askMenu(data, index);
    return;
  }
  if (event->button() == Qt::LeftButton) pressOn(item, index, event);
}

void SelectorList::pressOn(const ListItem& item, int, QMouseEvent* event) {
  RowView* r = editableRow(item.field);
  if (!r) return;
  const int x = event->position().toPoint().x();
  switch (r->method) {
    case kRangeSlider: {
      const Track t = track();
      const Grip grip = gripAt(x, pixelOf(t, r->least, r->greatest, r->low), pixelOf(t, r->least, r->greatest, r->high));
      if (grip == Grip::None) return;
      dragField_ = item.field;
      itemDrag_ = false;
      drag_ = RangeDrag{grip, x, r->low, r->high};
      return;
    }
    case kItemSlider:
      dragField_ = item.field;
      itemDrag_ = true;
      dragTo(x);
      return;
    case kSamples: {
      if (static_cast<size_t>(item.value) >= r->values.size()) return;
      if (r->samplesMode == kSingle) {
        for (ValueLine& v : r->values) v.selected = false;
        r->values[static_cast<size_t>(item.value)].selected = true;
      } else {
        r->values[static_cast<size_t>(item.value)].selected = !r->values[static_cast<size_t>(item.value)].selected;
      }
      Edit edit;
      edit.kind = Edit::Kind::Value;
      edit.method = kSamples;
      edit.a = item.value;
      send(std::move(edit), *r);
      viewport()->update();
      return;
    }
    default:
      return;
  }
}

void SelectorList::echoRange(RowView& r, Bounds b) {
  r.low = b.low;
  r.high = b.high;
  if (!actions_.boundText) return;
  if (std::string t = actions_.boundText(r, r.low); !t.empty()) r.lowText = std::move(t);
  if (std::string t = actions_.boundText(r, r.high); !t.empty()) r.highText = std::move(t);
}

void SelectorList::dragTo(int x) {
  RowView* r = editableRow(dragField_);
  if (!r) return;
  if (itemDrag_) {
    if (r->method != kItemSlider || r->entryCount <= 0) return;
    const int32_t entry = selector::itemAt(track(), r->entryCount, x);
    const bool all = entry < 0;
    if (all == r->all && (all || entry == r->item)) return;
    r->all = all;
    if (!all) r->item = entry;
    if (all) r->itemText = kAllText;
    Edit edit;
    edit.kind = Edit::Kind::Item;
    edit.method = kItemSlider;
    edit.a = entry;
    send(std::move(edit), *r);
  } else {
    if (r->method != kRangeSlider) return;
    const Bounds b = selector::dragTo(drag_, track(), r->least, r->greatest, r->integral, {r->low, r->high}, x);
    if (b.low == r->low && b.high == r->high) return;
    echoRange(*r, b);
    Edit edit;
    edit.kind = Edit::Kind::Range;
    edit.method = kRangeSlider;
    edit.low = b.low;
    edit.high = b.high;
    send(std::move(edit), *r);
  }
  viewport()->update();
}

void SelectorList::mouseMoveEvent(QMouseEvent* event) {
  if (dragField_ < 0 || !(event->buttons() & Qt::LeftButton)) return;
  dragTo(event->position().toPoint().x());
}

void SelectorList::mouseReleaseEvent(QMouseEvent*) { dragField_ = -1; }

void SelectorList::mouseDoubleClickEvent(QMouseEvent* event) {
  if (actions_.anyClick) actions_.anyClick();
  const int index = itemAt(event->position().toPoint().y());
  if (index < 0 || event->button() != Qt::LeftButton) return;
  const ListItem item = items_[static_cast<size_t>(index)];
  const RowView* r = row(item.field);
  if (!r) return;
  dragField_ = -1;
  if (r->method == kRangeSlider) {
    if (!entriesRange(*r) && actions_.editBox) actions_.editBox(item.field, event->globalPosition().toPoint());
    return;
  }
  const uint32_t data = (static_cast<uint32_t>(item.value) << 16) | static_cast<uint32_t>(item.field);
  if (actions_.askMenu) actions_.askMenu(data, index);
}

void SelectorList::keyPressEvent(QKeyEvent* event) {
  RowView* r = editableRow(currentRow_);
  if (!r || (r->method != kItemSlider && r->method != kSamples && r->method != kSubstring)) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  const int32_t key = virtualKeyOf(event);
  const std::string typed = key == 0 ? event->text().toStdString() : std::string();
  if (key == 0 && typed.empty()) return;
  if (r->method == kSubstring) {
    // Typing shows at once; the engine applies the same edit to the query.
    editSubstring(r->text, r->caret, key, typed);
  } else if (r->method == kSamples && (key == kKeyUp || key == kKeyDown || key == kKeyLeft || key == kKeyRight ||
                                       key == kKeyHome || key == kKeyEnd)) {
    const int32_t last = std::max(static_cast<int32_t>(r->values.size()) - 1, 0);
    int32_t v = currentValue_;
    if (key == kKeyHome) v = 0;
    if (key == kKeyEnd) v = last;
    if (key == kKeyUp || key == kKeyLeft) v = std::max(v - 1, 0);
    if (key == kKeyDown || key == kKeyRight) v = std::min(v + 1, last);
    currentValue_ = v;
  }
  Edit edit;
  edit.kind = Edit::Kind::Key;
  edit.method = r->method;
  edit.a = key;
  edit.text = typed;
  send(std::move(edit), *r);
  viewport()->update();
}

bool SelectorList::focusNextPrevChild(bool) { return false; }

}  // namespace vlm::selector
