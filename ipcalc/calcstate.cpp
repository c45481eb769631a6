#include "ipcalc/calcstate.h"

#include "common/settingsstore.h"
#include "ipcalc/netcalc.h"

namespace {

const QString kSection = QStringLiteral("MRIP");
// Keys a..j hold the history.
constexpr int kHistoryKeys = 10;

QString HistoryKey(int i) {
  return QString(QChar(QLatin1Char('a').unicode() + i));
}

}  // namespace

TCalcState LoadCalcState(const QString& iniFileName) {
  const SettingsFile ini(iniFileName);
  TCalcState s;
  for (int i = 0; i < kHistoryKeys; ++i) {
    const QString key = HistoryKey(i);
    if (!ini.ValueExists(kSection, key)) break;
    const QString entry = ini.ReadString(kSection, key, QStringLiteral("10.0.0.0"));
    if (!s.history.contains(entry)) s.history.append(entry);
  }
  s.viewerMask = ini.ReadString(kSection, QStringLiteral("LastMask"), s.viewerMask);
  s.networkMask = ini.ReadString(kSection, QStringLiteral("LastNetworkMask"), s.networkMask);
  const QString ip = ini.ReadString(kSection, QStringLiteral("LastIP"), s.address);
  if (!ip.isEmpty()) s.address = ip;
  s.subnetRow = ini.ReadInteger(kSection, QStringLiteral("LastSubnetMaskIndex"), 0);
  s.subnetworkRow = ini.ReadInteger(kSection, QStringLiteral("LastSubnetworkIndex"), 0);
  return s;
}

bool SaveCalcState(const QString& iniFileName, const TCalcState& state) {
  SettingsFile ini(iniFileName);
  if (!ini.Probe()) return false;
  const QStringList history = HistoryToSave(state.history);
  for (int i = 0; i < history.size(); ++i)
    if (!ini.WriteString(kSection, HistoryKey(i), history.at(i))) return false;
  if (IsDottedQuad(state.address) || IsNetworkText(state.address))
    if (!ini.WriteString(kSection, QStringLiteral("LastIP"), state.address)) return false;
  if (IsDottedQuad(state.viewerMask))
    if (!ini.WriteString(kSection, QStringLiteral("LastMask"), state.viewerMask)) return false;
  if (IsDottedQuad(state.networkMask))
    if (!ini.WriteString(kSection, QStringLiteral("LastNetworkMask"), state.networkMask))
      return false;
  if (!ini.WriteInteger(kSection, QStringLiteral("LastSubnetMaskIndex"), state.subnetRow))
    return false;
  return ini.WriteInteger(kSection, QStringLiteral("LastSubnetworkIndex"), state.subnetworkRow);
}
