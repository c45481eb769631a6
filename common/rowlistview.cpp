#include "common/rowlistview.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <climits>

#include "common/reportlist.h"

namespace {

// Room kept free above the last row's position: the viewport's height and
// what Qt adds to a position while it handles the mouse and keys.
constexpr int64_t kPixelSlack = 1 << 20;

int64_t FloorDiv(int64_t a, int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int ClampToInt(int64_t v) {
  return int(std::clamp<int64_t>(v, INT_MIN / 2, INT_MAX / 2));
}

}  // namespace

TRowListView::TRowListView(QWidget* parent) : QAbstractItemView(parent) {
  // Coloured rows stay readable on dark palettes.
  setItemDelegate(new TReadableItemDelegate(this));
  setSelectionBehavior(SelectRows);
  setSelectionMode(ExtendedSelection);
  setEditTriggers(NoEditTriggers);
  setVerticalScrollMode(ScrollPerItem);
  setHorizontalScrollMode(ScrollPerPixel);
  setTabKeyNavigation(false);
  FHeader = new QHeaderView(Qt::Horizontal, this);
  FHeader->setObjectName(QStringLiteral("hdrRows"));
  FHeader->setSectionsClickable(false);
  FHeader->setHighlightSections(false);
  FHeader->setStretchLastSection(true);
  FHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  FHeader->setFocusPolicy(Qt::NoFocus);
  connect(FHeader, &QHeaderView::sectionResized, this, [this] {
    updateGeometries();
    viewport()->update();
  });
  UpdateRowHeight();
}

void TRowListView::setModel(QAbstractItemModel* model) {
  QAbstractItemView::setModel(model);
  FHeader->setModel(model);
  if (model) connect(model, &QAbstractItemModel::modelReset, this, [this] { updateGeometries(); });
  updateGeometries();
}

int TRowListView::MaxRows() const {
  return int((int64_t(INT_MAX) - kPixelSlack) / FRowHeight);
}

int TRowListView::TopRow() const {
  return verticalScrollBar()->value();
}

int TRowListView::PageRows() const {
  return std::max(1, viewport()->height() / FRowHeight);
}

TRowListView::Runs TRowListView::SelectedRows() const {
  Runs runs;
  if (!selectionModel()) return runs;
  for (const QItemSelectionRange& r : selectionModel()->selection())
    if (r.isValid()) runs.emplace_back(r.top(), r.bottom());
  std::sort(runs.begin(), runs.end());
  // Ranges may overlap or touch: join them.
  Runs joined;
  for (const auto& r : runs) {
    if (!joined.empty() && int64_t(r.first) <= int64_t(joined.back().second) + 1)
      joined.back().second = std::max(joined.back().second, r.second);
    else
      joined.push_back(r);
  }
  return joined;
}

QRect TRowListView::visualRect(const QModelIndex& index) const {
  if (!index.isValid() || index.parent() != rootIndex()) return QRect();
  const int64_t y = (int64_t(index.row()) - TopRow()) * FRowHeight;
  return QRect(FHeader->sectionViewportPosition(index.column()), ClampToInt(y),
               FHeader->sectionSize(index.column()), FRowHeight);
}

void TRowListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!index.isValid()) return;
  const int row = index.row();
  const int page = PageRows();
  int top = TopRow();
  switch (hint) {
    case EnsureVisible:
      if (row < top)
        top = row;
      else if (row >= top + page)
        top = row - page + 1;
      break;
    case PositionAtTop:
      top = row;
      break;
    case PositionAtBottom:
      top = row - page + 1;
      break;
    case PositionAtCenter:
      top = row - page / 2;
      break;
  }
  verticalScrollBar()->setValue(std::max(0, top));
  // The column only as far as it fits.
  const int x = FHeader->sectionPosition(index.column());
  const int w = FHeader->sectionSize(index.column());
  QScrollBar* h = horizontalScrollBar();
  if (x < h->value())
    h->setValue(x);
  else if (x + w > h->value() + viewport()->width())
    h->setValue(std::min(x, x + w - viewport()->width()));
}

QModelIndex TRowListView::indexAt(const QPoint& point) const {
  if (!model() || point.y() < 0) return QModelIndex();
  const int64_t row = TopRow() + int64_t(point.y()) / FRowHeight;
  if (row >= model()->rowCount(rootIndex())) return QModelIndex();
  const int column = FHeader->logicalIndexAt(point.x());
  if (column < 0) return QModelIndex();
  return model()->index(int(row), column, rootIndex());
}

QModelIndex TRowListView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
  if (!model()) return QModelIndex();
  const int rows = model()->rowCount(rootIndex());
  if (rows == 0) return QModelIndex();
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return model()->index(0, 0, rootIndex());
  int64_t row = current.row();
  switch (action) {
    case MoveUp:
    case MovePrevious:
      --row;
      break;
    case MoveDown:
    case MoveNext:
      ++row;
      break;
    case MovePageUp:
      row -= PageRows();
      break;
    case MovePageDown:
      row += PageRows();
      break;
    case MoveHome:
      row = 0;
      break;
    case MoveEnd:
      row = rows - 1;
      break;
    case MoveLeft:
    case MoveRight:
      break;
  }
  return model()->index(int(std::clamp<int64_t>(row, 0, rows - 1)), 0, rootIndex());
}

int TRowListView::horizontalOffset() const {
  return horizontalScrollBar()->value();
}

int TRowListView::verticalOffset() const {
  // Exact while the list stays within MaxRows().
  return ClampToInt(int64_t(TopRow()) * FRowHeight);
}

void TRowListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
  if (!model() || !selectionModel()) return;
  const int rows = model()->rowCount(rootIndex());
  const QRect r = rect.normalized();
  const int64_t first = TopRow() + FloorDiv(r.top(), FRowHeight);
  const int64_t last = TopRow() + FloorDiv(r.bottom(), FRowHeight);
  if (rows == 0 || last < 0 || first >= rows) {
    selectionModel()->select(QItemSelection(), command);
    return;
  }
  const int columns = model()->columnCount(rootIndex());
  const QItemSelection selection(
      model()->index(int(std::max<int64_t>(first, 0)), 0, rootIndex()),
      model()->index(int(std::min<int64_t>(last, rows - 1)), columns - 1, rootIndex()));
  selectionModel()->select(selection, command);
}

QRegion TRowListView::visualRegionForSelection(const QItemSelection& selection) const {
  // Only the rows in sight matter; a long selection repaints all of them.
  if (selection.size() > 64) return QRegion(viewport()->rect());
  const int top = TopRow();
  const int bottom = top + PageRows();
  QRegion region;
  for (const QItemSelectionRange& range : selection) {
    const int a = std::max(range.top(), top);
    const int b = std::min(range.bottom(), bottom);
    if (a > b) continue;
    region += QRect(0, (a - top) * FRowHeight, viewport()->width(), (b - a + 1) * FRowHeight);
  }
  return region;
}

void TRowListView::updateGeometries() {
  // The base class asks already while this view is being built.
  if (FUpdating || !FHeader) return;
  FUpdating = true;
  const int headerHeight = FHeader->isHidden() ? 0 : FHeader->sizeHint().height();
  setViewportMargins(0, headerHeight, 0, 0);
  const QRect vg = viewport()->geometry();
  FHeader->setGeometry(vg.left(), vg.top() - headerHeight, vg.width(), headerHeight);
  const int rows = model() ? model()->rowCount(rootIndex()) : 0;
  const int page = PageRows();
  QScrollBar* v = verticalScrollBar();
  v->setSingleStep(1);
  v->setPageStep(page);
  v->setRange(0, std::max(0, rows - page));
  QScrollBar* h = horizontalScrollBar();
  h->setSingleStep(std::max(1, FRowHeight));
  h->setPageStep(std::max(1, vg.width()));
  h->setRange(0, std::max(0, FHeader->length() - vg.width()));
  FHeader->setOffset(h->value());
  QAbstractItemView::updateGeometries();
  FUpdating = false;
}

void TRowListView::scrollContentsBy(int dx, int) {
  if (dx && FHeader) FHeader->setOffset(horizontalScrollBar()->value());
  viewport()->update();
}

void TRowListView::paintEvent(QPaintEvent*) {
  if (!model()) return;
  QPainter painter(viewport());
  QStyleOptionViewItem base;
  initViewItemOption(&base);
  const int rows = model()->rowCount(rootIndex());
  const int columns = model()->columnCount(rootIndex());
  const int top = TopRow();
  const int end =
      int(std::min<int64_t>(rows, int64_t(top) + viewport()->height() / FRowHeight + 2));
  const QColor grid =
      QColor::fromRgba(QRgb(style()->styleHint(QStyle::SH_Table_GridLineColor, &base, this)));
  const QModelIndex current = currentIndex();
  const int width = viewport()->width();
  for (int row = top; row < end; ++row) {
    const int y = (row - top) * FRowHeight;
    const bool selected =
        selectionModel() && selectionModel()->isSelected(model()->index(row, 0, rootIndex()));
    for (int column = 0; column < columns; ++column) {
      const int x = FHeader->sectionViewportPosition(column);
      const int w = FHeader->sectionSize(column);
      if (x >= width || x + w <= 0) continue;
      QStyleOptionViewItem option = base;
      option.rect = QRect(x, y, w - 1, FRowHeight - 1);
      if (selected) option.state |= QStyle::State_Selected;
      const QModelIndex index = model()->index(row, column, rootIndex());
      itemDelegateForIndex(index)->paint(&painter, option, index);
    }
    painter.setPen(grid);
    painter.drawLine(0, y + FRowHeight - 1, width, y + FRowHeight - 1);
    if (hasFocus() && current.isValid() && current.row() == row) {
      QStyleOptionFocusRect focus;
      focus.initFrom(this);
      focus.rect =
          QRect(0, y, std::min(width, FHeader->length() - horizontalOffset()), FRowHeight - 1);
      focus.backgroundColor = palette().color(selected ? QPalette::Highlight : QPalette::Base);
      style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
  }
  painter.setPen(grid);
  const int bottom = (end - top) * FRowHeight - 1;
  for (int column = 0; column < columns; ++column) {
    const int x = FHeader->sectionViewportPosition(column) + FHeader->sectionSize(column) - 1;
    if (x >= 0 && x < width) painter.drawLine(x, 0, x, bottom);
  }
}

void TRowListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                               const QList<int>&) {
  if (!topLeft.isValid() || !bottomRight.isValid()) return;
  const int top = TopRow();
  if (bottomRight.row() >= top && topLeft.row() <= top + PageRows()) viewport()->update();
}

void TRowListView::keyPressEvent(QKeyEvent* event) {
  if (event == QKeySequence::Copy) {
    emit copyRequested();
    event->accept();
    return;
  }
  if (event == QKeySequence::Paste) {
    emit pasteRequested();
    event->accept();
    return;
  }
  QAbstractItemView::keyPressEvent(event);
}

bool TRowListView::viewportEvent(QEvent* event) {
  // No item tool tips or "What's this" per row: the list's own hint stands.
  if (event->type() == QEvent::ToolTip || event->type() == QEvent::WhatsThis) return false;
  return QAbstractItemView::viewportEvent(event);
}

void TRowListView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
    UpdateRowHeight();
  QAbstractItemView::changeEvent(event);
}

void TRowListView::UpdateRowHeight() {
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.features |= QStyleOptionViewItem::HasDisplay;
  option.text = QStringLiteral("0.0.0.0");
  const QSize size = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
  // One pixel for the grid line below each row.
  FRowHeight = std::max(size.height(), fontMetrics().height() + 2) + 1;
  updateGeometries();
  viewport()->update();
}
