#pragma once
// The host list's view: the common long-list view over the host list model,
// which costs no memory per row however many addresses it shows.

#include "common/rowlistview.h"
#include "hostlist/hostlistmodel.h"

// The host list as the editor shows it: the highlighted row blue and bold.
class THostListItems : public THostListModel {
  Q_OBJECT
 public:
  using THostListModel::THostListModel;
  QVariant data(const QModelIndex& index, int role) const override;
};

class THostListView : public TRowListView {
  Q_OBJECT
 public:
  explicit THostListView(QWidget* parent = nullptr);
};
