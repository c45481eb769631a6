#pragma once
// Host list files: a three-line header, the column header and one line per
// row, "address<delimiter>name", in UTF-8 with LF line ends. Names are not
// quoted. Opening merges the names back into a list, strictly in list order.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "hostlist/namerun.h"

class QIODevice;
class THostListModel;

// The file types of the dialogs, in order; each names its delimiter.
QStringList SaveFileFilters();
QStringList OpenFileFilters();
// The entry (0-based) preselected for the editor's delimiter: comma 0,
// semicolon 1, tab 2, blank 3, anything else 0.
int PreselectedFileFilter(QChar delimiter);
// The delimiter of a chosen entry; the "All files" entries use `fallback`.
char SaveFileDelimiter(int filter, QChar fallback);
char OpenFileDelimiter(int filter, QChar fallback);

enum class TFileResult { Done, Failed, Cancelled };

// Told how far a long task is (done of total); returns false to stop it.
using TProgressFn = std::function<bool(int64_t done, int64_t total)>;
// Writes one block to the file; returns the bytes written (a full disk gives
// fewer). Tests put a failing one in.
using TBlockWriteFn = std::function<int64_t(QIODevice& file, const char* data, int64_t size)>;

struct THostListSave {
  char delimiter = ',';
  QDateTime when;
  TProgressFn progress;
  TBlockWriteFn write;
};

// Writes the list to `path`, replacing the file only when everything was
// written: a failure or a cancel leaves an existing file as it was.
TFileResult SaveHostListFile(const QString& path, const THostListModel& model,
                             const THostListSave& how);

// Takes the file's content block by block; returns false when the block could
// not be written.
using TBlockSinkFn = std::function<bool(const char* data, std::size_t size)>;
// Produces the content of the file (header, column header and rows) in blocks
// of about 1 MB, as SaveHostListFile writes it; how.write is not used.
TFileResult WriteHostList(const THostListModel& model, const THostListSave& how,
                          const TBlockSinkFn& sink);

// Rows whose names contain `delimiter` (they would not read back whole):
// the first `max` rows and how many there are in all.
struct TDelimiterClash {
  std::vector<int> rows;
  int64_t count = 0;
};
TDelimiterClash RowsWithDelimiter(const THostListModel& model, char delimiter, std::size_t max);

// What reading a file found for a list: the names of the matched rows
// (`matched` rows from row 0 on) and the address texts that differ from the
// dotted form. Nothing is applied to the list yet.
struct THostListMerge {
  TFileResult result = TFileResult::Done;
  int matched = 0;
  TNameRuns names;
  std::vector<std::pair<uint32_t, std::string>> addressTexts;
};
THostListMerge ReadHostListFile(const QString& path, const THostListModel& model, char delimiter,
                                const TProgressFn& progress = {});
