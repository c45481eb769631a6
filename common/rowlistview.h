#pragma once
// A report-style list of uniform rows for very long models: whole-row,
// multiple selection, grid lines and a column header, drawing only the rows
// in sight. Unlike QTableView it keeps nothing per row (its vertical header
// holds several bytes for every row), so a list of sixteen million rows
// costs no memory in the view.

#include <QAbstractItemView>
#include <utility>
#include <vector>

class QHeaderView;

class TRowListView : public QAbstractItemView {
  Q_OBJECT
 public:
  // Runs of rows, first and last, sorted and apart.
  using Runs = std::vector<std::pair<int, int>>;

  explicit TRowListView(QWidget* parent = nullptr);

  void setModel(QAbstractItemModel* model) override;
  QHeaderView* Header() const { return FHeader; }

  // The most rows this view can show: every row's pixel position must fit
  // the int coordinates of Qt's item views, with room for the viewport.
  int MaxRows() const;
  int RowHeight() const { return FRowHeight; }
  // The first row in sight.
  int TopRow() const;
  // The selected rows as sorted, separate runs (in the order of the list).
  Runs SelectedRows() const;

  QRect visualRect(const QModelIndex& index) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  QModelIndex indexAt(const QPoint& point) const override;
  // Typing does not search: a search through millions of rows would stall.
  void keyboardSearch(const QString&) override {}

 signals:
  // Ctrl+C and Ctrl+V in the list.
  void copyRequested();
  void pasteRequested();

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  int horizontalOffset() const override;
  int verticalOffset() const override;
  bool isIndexHidden(const QModelIndex&) const override { return false; }
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
  QRegion visualRegionForSelection(const QItemSelection& selection) const override;
  void updateGeometries() override;
  void paintEvent(QPaintEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  // Repaints the rows in sight; the base class would unite the rectangles
  // of every changed cell, all million of them after a select-all rename.
  void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                   const QList<int>& roles = QList<int>()) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Rows wholly in sight (at least 1).
  int PageRows() const;
  void UpdateRowHeight();

  QHeaderView* FHeader = nullptr;
  int FRowHeight = 20;
  bool FUpdating = false;  // setting the viewport margins resizes the viewport
};
