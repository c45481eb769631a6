#pragma once
// The special-purpose block list "reserved.lst": where it is found, how its
// lines are read, the chart order and which row an examined network selects.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

struct TChartEntry {
  QString block;      // first field as written, e.g. "192.168.0.0/16"
  QString usage;      // second field
  QString reference;  // third field, "" when the line has two
  uint32_t key = 0;   // network value of the block (the sort key)
  uint32_t mask = 0;  // mask of the block
};

// Longest line read at once; the rest of a longer line counts as a line of its own.
inline constexpr int kMaxReservedLine = 253;

// Places tried in order: the working directory, beside the program, the
// installed data folder, then the copy built into the program.
QStringList ReservedListCandidates(const QString& workDir, const QString& programDir);
// Content of the first candidate that opens; an empty array when none does.
// usedPath (optional) receives that candidate.
QByteArray ReadReservedList(const QStringList& candidates, QString* usedPath = nullptr);

// Rows of the file in chart order: ascending network value, lines with equal
// values in file order. Lines with fewer than two ';' fields, or whose block is
// no valid network, are skipped.
std::vector<TChartEntry> ParseReservedList(const QByteArray& content);

// Index of the last row whose block contains the address and is not smaller
// than a network under maskInUse; -1 when there is none. The rows are in
// chart order, as ParseReservedList gives them.
int ChartHighlightIndex(const std::vector<TChartEntry>& rows, const QString& addressText,
                        uint32_t maskInUse);
int ChartHighlightIndex(const std::vector<TChartEntry>& rows, uint32_t address, uint32_t maskInUse);
