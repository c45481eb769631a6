#pragma once
// The IP host list: every address of one network with a host name. Rows are
// produced on demand from the network, the row limit and the names the user
// changed; nothing is stored per generated row.

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "hostlist/namerun.h"
#include "ipv4lib/ipv4host.h"

// Rows first..last (inclusive), sorted and apart.
using TRowRuns = std::vector<std::pair<int, int>>;

// The network a calculator hands over as text ("192.168.1.0  255.255.255.0",
// "10.0.1.0/24"). Blanks are collapsed first: the network reader looks at 31
// characters only, and two 15-character quads with two blanks between them
// would lose the mask's last digit.
ipv4host HostListNetwork(const QString& text);
// The address to highlight in a list of `network`: `address` when it lies in
// the network, otherwise "" (nothing is highlighted).
QString HighlightedAddressIn(const ipv4host& network, const QString& address);

class THostListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // Default row limit when the option is 0 (or not a usable number).
  static constexpr int kDefaultLimit = 4096;

  explicit THostListModel(QObject* parent = nullptr);

  // Lists `network` anew: at most `limit` address rows (0 or less: 4096) and,
  // whatever the limit, no more rows than `maxRows` in all (what the view can
  // show). A cut list ends in the row "more..." named "...". Drops all names.
  void Generate(const ipv4host& network, int limit, int maxRows = INT32_MAX);

  // True in HighlightRole for the row whose address text equals the
  // highlighted address; the editor draws it blue and bold.
  static constexpr int HighlightRole = Qt::UserRole + 1;

  // The row whose address text equals `address` is highlighted.
  void SetHighlightedAddress(const QString& address);
  const QString& HighlightedAddress() const { return FHighlight; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The generated address rows (without "more...").
  int AddressRowCount() const { return FRowCount; }
  bool IsCut() const { return FCut; }
  // The row "more..." that ends a cut list: it stands for the rows left
  // out and is no host, so it is never named.
  bool IsMoreRow(int row) const { return FCut && row == FRowCount; }
  // `rows` without the row "more...".
  TRowRuns AddressRows(TRowRuns rows) const;
  // The host count panel: "254 hosts", "65534 hosts, 4096 shown".
  const QString& HostCountText() const { return FHostCountText; }
  const ipv4host& Network() const { return FNetwork; }

  // Address value of an address row.
  uint32_t AddressValue(int row) const { return FBase + uint32_t(row); }
  // The texts as shown (row "more..." included); "" outside the list.
  QString AddressText(int row) const;
  QString Name(int row) const;
  // The name a row has before the user changes it.
  std::string GeneratedName(int row) const;
  // The address text and the generated name as UTF-8, appended to `out`
  // (for the file writer, which walks the name runs itself).
  void AppendAddressText(int row, std::string& out) const;
  void AppendGeneratedName(int row, std::string& out) const;

  // Address, tab, name and CR LF for every row of `rows`, in list order.
  QString CopyText(const TRowRuns& rows) const;

  // Gives every address row of `rows` the name `name`.
  void SetName(const TRowRuns& rows, const QString& name);
  // Applies names collected for increasing rows (pasting, opening a file),
  // and address texts as they stood in a file.
  void ApplyNames(TNameRuns names,
                  const std::vector<std::pair<uint32_t, std::string>>& addressTexts = {});
  const TNameRuns& Names() const { return FNames; }

 private:
  void NamesChanged();

  ipv4host FNetwork;
  uint32_t FBase = 0;
  int FRowCount = 0;
  bool FCut = false;
  bool FPointToPoint = false;  // /31: both addresses are hosts
  bool FSingle = false;        // /32: the address alone
  QString FHostCountText;
  QString FHighlight;
  TNameRuns FNames;
  // Address texts taken from a file where they differ from the dotted form
  // ("010.0.0.1"); rare, so a map.
  std::map<uint32_t, std::string> FAddressTexts;
};
