#pragma once
// The Network Sets window's two lists as models over one run's result: the
// rows of the result and the lines that did not read. Every text is made when
// the view asks for it, so a million rows cost nothing up front.

#include <QAbstractTableModel>
#include <memory>

#include "netsets/setjob.h"

class TSetResultModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Shows result (nullptr: nothing).
  void SetResult(std::shared_ptr<netsets::setresult> result);
  const netsets::setresult* Result() const { return FResult.get(); }
  // Writes the networks in another notation from now on.
  void SetNotation(netsets::notation how);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::shared_ptr<netsets::setresult> FResult;
  // The captions of the operation shown; those of Aggregate A before a run.
  std::vector<std::string> FColumns = netsets::setresult::columns(netsets::operation::aggregate);
};

class TSetProblemModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void SetResult(std::shared_ptr<const netsets::setresult> result);
  // The row as "list<TAB>line<TAB>text<TAB>reason".
  QString RowText(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QString Cell(int row, int column) const;
  std::shared_ptr<const netsets::setresult> FResult;
};
