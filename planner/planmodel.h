#pragma once
// What the Address Planner window edits and shows, apart from its widgets:
// the needs table as the user typed it, turned into a plan and back; the
// parents' text; the rows of the result, free space and problem lists; the
// summary line; and the atomic file write. Tests use all of it without a
// window.

#include <QAbstractTableModel>
#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <functional>
#include <vector>

#include "planner/planner.h"

class QIODevice;

// Columns of the needs table.
enum TNeedColumn { ncName = 0, ncHosts, ncPrefix, ncCopies, ncNote, ncVlan, ncFixed, ncCount };

// Copies one need may ask for: each copy is a network of its own.
constexpr uint32_t kMaxCopies = uint32_t(planner::kMaxAllocations);

// A cell of the needs table that does not read.
struct TNeedCellProblem {
  int row;       // 0-based row of the table
  int column;    // TNeedColumn
  QString text;  // "Hosts: \"12a\" is not a whole number"
  QString name;  // the need's name as typed, for the problem list
};

// One row of the needs table: the texts of its cells.
using TNeedRow = std::array<QString, ncCount>;

// The needs table: every cell kept as typed, so a cell that does not read
// stays for the user to correct and is marked, where a table of numbers
// would have to drop it.
class TPlanNeedsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TPlanNeedsModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

  // The caption of a column ("Name", "Hosts", ...).
  static QString ColumnCaption(int column);

  // Appends an empty row; its index.
  int AddRow();
  // Removes the given rows (any order, duplicates allowed).
  void RemoveRowList(QList<int> rows);
  // Replaces every row.
  void SetRows(const QVector<TNeedRow>& rows);
  const QVector<TNeedRow>& Rows() const { return FRows; }

  // Adds the lines of a spreadsheet selection or a "name, hosts" list as
  // rows before `row` (-1: at the end). Fields are split at tabs when the
  // line has one, else at commas, and fill the columns in order; a lone
  // "/len" in the hosts field is taken as a prefix length. A first line
  // whose hosts field reads "hosts" is a heading and skipped. Returns the
  // rows added; *overlong counts lines with more fields than columns
  // (their extra fields are not taken).
  int PasteText(const QString& text, int row = -1, int* overlong = nullptr);

  // The needs of the filled rows; a row with a cell that does not read is
  // left out and its cells are listed in *problems. *rowOfNeed gets the
  // table row of each need. Empty rows are no needs and no problem.
  std::vector<planner::need> Needs(std::vector<TNeedCellProblem>* problems,
                                   std::vector<int>* rowOfNeed = nullptr) const;
  // Fills the table from a plan's needs.
  void SetNeeds(const std::vector<planner::need>& needs);

  // The cells that do not read, in table order; refreshed on every change.
  const std::vector<TNeedCellProblem>& Problems() const { return FProblems; }
  // Whether a cell is marked as not reading.
  bool IsBadCell(int row, int column) const;

  // Reads one row into a need; false with the cells that do not read in
  // *problems (their row left 0). An empty row reads as no need and no
  // problem: false with nothing listed.
  static bool ReadRow(const TNeedRow& row, planner::need* out,
                      std::vector<TNeedCellProblem>* problems);

 signals:
  // The needs changed through an edit, a paste, an add or a removal; not
  // when the table is filled from a file.
  void needsEdited();

 private:
  void Revalidate();

  QVector<TNeedRow> FRows;
  std::vector<TNeedCellProblem> FProblems;
  // The marked cells as row << 8 | column, asked for on every cell drawn.
  QSet<quint64> FBadCells;
};

// The parent blocks typed in one field, separated by commas, semicolons or
// blanks.
std::vector<std::string> SplitParents(const QString& text);
QString JoinParents(const std::vector<std::string>& parents);

// A table of texts shown as it is: the result, the free space and the
// problem lists. Rows are made when the plan is computed and drawn on demand.
class TTextTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // Columns listed in rightAligned hold numbers.
  explicit TTextTableModel(const QStringList& headers, const QList<int>& rightAligned = {},
                           QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void SetRows(QVector<QStringList> rows);
  const QVector<QStringList>& Rows() const { return FRows; }
  // The cells of a row joined by tabs.
  QString RowText(int row) const;

 private:
  QStringList FHeaders;
  QList<int> FRightAligned;
  QVector<QStringList> FRows;
};

// Columns of the result list.
enum TResultColumn {
  rcName = 0,
  rcHosts,
  rcPrefix,
  rcNetwork,
  rcMask,
  rcFirst,
  rcLast,
  rcBroadcast,
  rcCapacity,
  rcSpare,
  rcVlan,
  rcNote,
  rcCount
};
QStringList ResultHeaders();
// One row per allocation, in address order.
QVector<QStringList> ResultRows(const planner::plan& p, const planner::result& r);
// The aggregated free blocks with their sizes.
QStringList FreeHeaders();
QVector<QStringList> FreeRows(const planner::result& r);
// Cells that do not read, the engine's problems, then the needs not placed
// with why. rowOfNeed (from Needs) names a need's problem by its table row,
// as the cells' problems are: rows that do not read leave gaps in the plan's
// numbering.
QStringList ProblemHeaders();
QVector<QStringList> ProblemRows(const std::vector<TNeedCellProblem>& cells,
                                 const planner::result& r, const std::vector<int>& rowOfNeed = {});
// "11 networks placed, none unplaced; 444 of 1024 addresses allocated (43.4%)".
QString SummaryText(const planner::result& r);

// Writes data to path through a temporary file that replaces it only when
// complete; false (the old file untouched) on any failure. `write` stands
// in for the device write in tests.
bool WriteFileAtomically(
    const QString& path, const QByteArray& data,
    const std::function<qint64(QIODevice*, const char*, qint64)>& write = nullptr);
