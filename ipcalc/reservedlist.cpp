#include "ipcalc/reservedlist.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <string>

#include "common/platform.h"
#include "ipv4lib/fieldsplitter.h"
#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4host.h"

namespace {
const char kFileName[] = "reserved.lst";

// The file is plain 8-bit text: UTF-8 when it decodes as such, else Latin-1.
QString Decode(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString s = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
  if (utf8.hasError()) return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
  return s;
}

std::string Trimmed(const std::string& line) {
  std::size_t first = 0, last = line.size();
  while (first < last && static_cast<unsigned char>(line[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(line[last - 1]) <= ' ') --last;
  return line.substr(first, last - first);
}

void ReadLine(const std::string& raw, std::vector<TChartEntry>& rows) {
  const std::string line = Trimmed(raw);
  const TFieldSplitter fields(line, ';');
  if (fields.FCount < 2) return;
  const std::string block = fields.Field(1);
  const ipv4host network(block);
  if (!network.is_valid()) return;
  TChartEntry e;
  e.block = Decode(block);
  e.usage = Decode(fields.Field(2));
  if (fields.FCount >= 3) e.reference = Decode(fields.Field(3));
  e.key = network.network_value();
  e.mask = network.mask_value();
  rows.push_back(e);
}
}  // namespace

QStringList ReservedListCandidates(const QString& workDir, const QString& programDir) {
  return DataFileCandidates(kFileName, workDir, programDir);
}

QByteArray ReadReservedList(const QStringList& candidates, QString* usedPath) {
  return ReadFirstFile(candidates, usedPath);
}

std::vector<TChartEntry> ParseReservedList(const QByteArray& content) {
  std::vector<TChartEntry> rows;
  const std::string all = content.toStdString();
  std::size_t pos = 0;
  while (pos < all.size()) {
    std::size_t end = all.find('\n', pos);
    if (end == std::string::npos) end = all.size();
    // A line longer than the limit is read in pieces, each judged on its own.
    for (std::size_t p = pos; p < end || p == pos; p += kMaxReservedLine) {
      ReadLine(all.substr(p, std::min<std::size_t>(kMaxReservedLine, end - p)), rows);
      if (end - p <= std::size_t(kMaxReservedLine)) break;
    }
    pos = end + 1;
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const TChartEntry& a, const TChartEntry& b) { return a.key < b.key; });
  return rows;
}

int ChartHighlightIndex(const std::vector<TChartEntry>& rows, const QString& addressText,
                        uint32_t maskInUse) {
  // An unreadable address counts as 0.0.0.0, as the block test always has.
  return ChartHighlightIndex(rows, ipv4(addressText.trimmed().toStdString()).value(), maskInUse);
}

int ChartHighlightIndex(const std::vector<TChartEntry>& rows, uint32_t address,
                        uint32_t maskInUse) {
  int found = -1;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    // In chart order the blocks that follow all start above the address.
    if (rows[i].key > address) break;
    if ((address & rows[i].mask) == rows[i].key && maskInUse >= rows[i].mask) found = int(i);
  }
  return found;
}
