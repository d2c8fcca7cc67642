#include "tools/grid/grid_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/host_messages.h"
#include "engine/worker_thread.h"
#include "engine/commands/command_ids.h"
#include "model/space_settings_table.h"
#include "output/texture_file_dialog.h"
#include "platform/common_dialogs.h"
#include "platform/host_bridge.h"
#include "platform/host_queue.h"
#include "platform/report.h"
#include "tools/grid/grid_edits.h"
#include "tools/grid/grid_rows.h"
#include "tools/host_widget.h"
#include "tools/model_edit.h"
#include "tools/tools_state.h"

namespace vlm::tools {
namespace {

// The list's background and the two brushes the Selector uses too.
const QColor kBackground(176, 184, 190);
const QColor kBrushLight(144, 240, 144);
const QColor kBrushDark(128, 176, 128);

constexpr WindowRect kGridDefault{10, 10, 220, 300};

QColor colourOf(uint32_t c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

QString qs(const std::string& s) { return QString::fromUtf8(s.c_str()); }

int32_t rowOf(const QListWidgetItem* item) { return item ? item->data(Qt::UserRole).toInt() : -1; }

int32_t planeOfBitmapRow(int32_t row) {
  for (int32_t l = 0; l < 3; ++l)
    if (latticeRow(l, kLatBitmapFile) == row) return l + 1;
  return 0;
}

class GridDelegate : public QStyledItemDelegate {
 public:
  explicit GridDelegate(GridWindow& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return {option.rect.width(), option.fontMetrics.height() + 6};
  }

  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const int32_t r = index.data(Qt::UserRole).toInt();
    if (r < 0 || r >= kSpaceSettingCount) return;
    const SpaceSettings& space = grid_.rows();
    const SpaceSetting& row = space.rows[static_cast<size_t>(r)];
    const QFontMetrics& fm = option.fontMetrics;
    const GridRowLayout l = layOutGridRow(option.rect, row, fm);
    p->save();
    const bool header = isGroupHeader(row);
    if (header) p->fillRect(option.rect, kBackground.darker(112));
    if (option.state & QStyle::State_Selected) p->fillRect(option.rect, kBrushLight);
    p->setPen(QColor(0x30, 0x30, 0x30));
    p->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    QFont font = option.font;
    font.setBold(header);
    p->setFont(font);
    p->setPen(Qt::black);
    p->drawText(l.name, Qt::AlignVCenter | Qt::AlignLeft, fm.elidedText(qs(row.name), Qt::ElideRight, l.name.width()));
    p->setFont(option.font);
    switch (gridRowType(row)) {
      case GridRowType::Switch:
        p->drawText(l.control, Qt::AlignVCenter | Qt::AlignLeft, qs(switchText(row)));
        break;
      case GridRowType::Slider: {
        p->drawText(l.minText, Qt::AlignVCenter | Qt::AlignLeft, qs(sliderBoundText(row, row.min)));
        p->drawText(l.maxText, Qt::AlignVCenter | Qt::AlignRight, qs(sliderBoundText(row, row.max)));
        p->setPen(QColor(0x50, 0x50, 0x50));
        p->drawLine(l.trackStart, l.trackY, l.trackEnd, l.trackY);
        const int x = sliderPixelOf(row.value, l.trackStart, l.trackEnd, row.min, row.max);
        const QRect thumb(x - 3, l.trackY - fm.height() / 2 + 1, 7, fm.height() - 2);
        p->fillRect(thumb, kBrushDark);
        p->drawRect(thumb);
        p->setPen(Qt::black);
        p->drawText(l.valueText, Qt::AlignVCenter | Qt::AlignRight, qs(sliderBoundText(row, row.value)));
        break;
      }
      case GridRowType::Colour: {
        const QRect swatch = l.control.adjusted(0, 2, -4, -3);
        p->fillRect(swatch, colourOf(row.colorref));
        p->setPen(Qt::black);
        p->drawRect(swatch);
        break;
      }
      case GridRowType::Text:
        p->drawText(l.control, Qt::AlignVCenter | Qt::AlignLeft,
                    fm.elidedText(qs(textRowText(space, r)), Qt::ElideRight, l.control.width()));
        break;
    }
    p->restore();
  }

 private:
  GridWindow& grid_;
};

}  // namespace

GridRowLayout layOutGridRow(const QRect& row, const SpaceSetting& setting, const QFontMetrics& fm) {
  GridRowLayout l;
  const int left = row.left();
  l.name = QRect(left + 4, row.top(), kGridControlLeft - 6, row.height());
  l.control = QRect(left + kGridControlLeft, row.top(), std::max(10, row.width() - kGridControlLeft - 4), row.height());
  if (gridRowType(setting) != GridRowType::Slider) return l;
  const QString least = qs(sliderBoundText(setting, setting.min));
  const QString greatest = qs(sliderBoundText(setting, setting.max));
  int valueWidth = fm.horizontalAdvance(greatest);
  if (setting.index == kRowArrowType)
    for (int32_t v = setting.min; v <= setting.max; ++v)
      valueWidth = std::max(valueWidth, fm.horizontalAdvance(qs(sliderBoundText(setting, v))));
  valueWidth = std::max(valueWidth, fm.horizontalAdvance(QString::number(setting.min))) + 6;
  const int minWidth = fm.horizontalAdvance(least);
  const int maxWidth = fm.horizontalAdvance(greatest);
  const int end = l.control.right();
  l.valueText = QRect(end - valueWidth, row.top(), valueWidth, row.height());
  l.minText = QRect(l.control.left(), row.top(), minWidth, row.height());
  l.maxText = QRect(l.valueText.left() - 8 - maxWidth, row.top(), maxWidth, row.height());
  l.trackStart = l.minText.right() + 7;
  l.trackEnd = std::max(l.trackStart + 10, l.maxText.left() - 7);
  l.trackY = row.center().y();
  return l;
}

GridWindow::GridWindow(EngineState& state, QWidget* owner)
    : ToolWindow(state, state.main->settings.grid, kGridDefault, QStringLiteral(" Grid"), 120, owner) {
  setObjectName(QStringLiteral("grid"));
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("gridList"));
  list_->setItemDelegate(new GridDelegate(*this));
  list_->setSelectionMode(QAbstractItemView::NoSelection);
  list_->setFocusPolicy(Qt::StrongFocus);
  list_->setMouseTracking(false);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QPalette pal = list_->palette();
  pal.setColor(QPalette::Base, kBackground);
  list_->setPalette(pal);
  list_->viewport()->installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_);
}

QListWidgetItem* GridWindow::itemOfRow(int32_t row) const {
  for (int i = 0; i < list_->count(); ++i)
    if (rowOf(list_->item(i)) == row) return list_->item(i);
  return nullptr;
}

void GridWindow::refill() {
  const bool read = tryWithLock(state_, [this](EngineState& s) { rows_ = s.view->space; });
  if (!read) {
    // A load or a rebuild holds the settings: look again in a moment.
    if (!refillQueued_) {
      refillQueued_ = true;
      QPointer<GridWindow> self(this);
      QTimer::singleShot(50, this, [self] {
        if (!self) return;
        self->refillQueued_ = false;
        self->refill();
      });
    }
    return;
  }
  const int scroll = list_->verticalScrollBar()->value();
  list_->clear();
  for (int32_t r : shownGridRows(rows_)) {
    auto* item = new QListWidgetItem(list_);
    item->setData(Qt::UserRole, r);
    item->setData(Qt::DisplayRole, qs(rows_.rows[static_cast<size_t>(r)].name));
    // The name column is narrow: a cut name is read whole from the tip.
    item->setData(Qt::ToolTipRole, qs(rows_.rows[static_cast<size_t>(r)].name).trimmed());
    item->setData(Qt::AccessibleDescriptionRole, qs(controlText(rows_, r)));
  }
  list_->verticalScrollBar()->setValue(scroll);
}

void GridWindow::requestMenu(int32_t row) {
  platform::HostMessageData d;
  d.message = HM_SHOW_GRID_MENU;
  d.wParam = static_cast<uintptr_t>(row);
  platform::HostBridge::instance().send(std::move(d));
}

void GridWindow::editRow(std::function<RowEffects(SpaceSettings&)> change) {
  const bool now = editModel(state_, [change = std::move(change)](EngineState& s) {
    applyRowEffects(s, change(s.view->space));
  });
  if (now) {
    refill();
    return;
  }
  // The edit waits for the engine thread: the list follows once it is made.
  editModel(state_, [](EngineState& s) { refreshGridLater(s); });
}

void GridWindow::setSlider(int32_t row, int x) {
  QListWidgetItem* item = itemOfRow(row);
  if (!item) return;
  SpaceSetting& shown = rows_.rows[static_cast<size_t>(row)];
  const GridRowLayout l = layOutGridRow(list_->visualItemRect(item), shown, list_->fontMetrics());
  const int32_t value = sliderValueAt(x, l.trackStart, l.trackEnd, shown.min, shown.max);
  if (value == shown.value) return;
  shown.value = value;
  item->setData(Qt::AccessibleDescriptionRole, qs(controlText(rows_, row)));
  editModel(state_, [row, value](EngineState& s) { applyRowEffects(s, setSliderRow(s.view->space, row, value)); });
  list_->viewport()->update(list_->visualItemRect(item));
}

void GridWindow::chooseBitmap(int32_t row) {
  if (choosePlaneTexture(state_, planeOfBitmapRow(row))) refill();
}

void GridWindow::pressRow(int32_t row, int x, bool rightButton) {
  if (row < 0 || row >= kSpaceSettingCount) return;
  const SpaceSetting& setting = rows_.rows[static_cast<size_t>(row)];
  const GridRowType type = gridRowType(setting);
  if (rightButton || isNameAreaClick(type, x)) {
    requestMenu(row);
    return;
  }
  switch (type) {
    case GridRowType::Switch:
      editRow([row](SpaceSettings& space) { return toggleSwitchRow(space, row); });
      break;
    case GridRowType::Colour: {
      const std::optional<uint32_t> c = platform::chooseColour(this, setting.colorref);
      if (c) editRow([row, colour = *c](SpaceSettings& space) { return setColourRow(space, row, colour); });
      break;
    }
    case GridRowType::Slider:
      dragRow_ = row;
      setSlider(row, x);
      break;
    case GridRowType::Text:
      if (row == kRowLabelFont) {
        const std::optional<platform::FontChoice> f = platform::chooseFont(this, labelFontChoice(rows_));
        if (f) editRow([font = *f](SpaceSettings& space) { return setLabelFont(space, font); });
      } else if (planeOfBitmapRow(row) != 0) {
        chooseBitmap(row);
      }
      break;
  }
}

void GridWindow::dragTo(int x) {
  if (dragRow_ >= 0) setSlider(dragRow_, x);
}

void GridWindow::release() { dragRow_ = -1; }

bool GridWindow::eventFilter(QObject* watched, QEvent* e) {
  if (watched != list_->viewport()) return ToolWindow::eventFilter(watched, e);
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* m = static_cast<QMouseEvent*>(e);
      QListWidgetItem* item = list_->itemAt(m->position().toPoint());
      if (!item) return true;
      const QRect rect = list_->visualItemRect(item);
      if (m->button() == Qt::LeftButton || m->button() == Qt::RightButton)
        pressRow(rowOf(item), m->position().toPoint().x() - rect.left(), m->button() == Qt::RightButton);
      return true;
    }
    case QEvent::MouseMove: {
      auto* m = static_cast<QMouseEvent*>(e);
      if (dragRow_ >= 0 && (m->buttons() & Qt::LeftButton)) dragTo(m->position().toPoint().x());
      return true;
    }
    case QEvent::MouseButtonRelease:
      release();
      return true;
    case QEvent::ContextMenu:
      return true;  // the right press asked for the Grid menu already
    default:
      return ToolWindow::eventFilter(watched, e);
  }
}

void GridWindow::closedByUser() { closeGrid(state_); }

bool openGrid(EngineState& state) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    platform::reportError("Unable to open Grid.");
    return false;
  }
  ToolsState& tools = toolsOf(state);
  if (!tools.grid) tools.grid = new GridWindow(state, hostWidget(state));
  tools.grid->refill();
  tools.grid->openWindow();
  postRefresh(state);  // the Grid's menu item and toolbar button show it
  return true;
}

void closeGrid(EngineState& state) {
  ToolsState& tools = toolsOf(state);
  if (!tools.grid) return;
  tools.grid->closeWindow();
  postRefresh(state);
  postEngine(state, CMD_DRAW_SCENE);
}

bool isGridOn(EngineState& state) {
  ToolsState& tools = toolsOf(state);
  return tools.grid && tools.grid->isOpen();
}

void refreshGridLater(EngineState& state) {
  std::weak_ptr<ToolsState> weak = std::atomic_load(&state.main->tools);
  platform::queueOnHost(QCoreApplication::instance(), [weak] {
    auto tools = weak.lock();
    if (tools && tools->grid && tools->grid->isOpen()) tools->grid->refill();
  });
}

}  // namespace vlm::tools
