#pragma once
// What the calculator window shows for given inputs and options, computed
// without any widget: the result panel of the network calculation, the mask
// readers, the labels and bit colours of the mask viewer and the address
// history rules. The window only copies these results into its controls.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4host.h"

// Latin-1 text of a library string.
QString QtText(const std::string& s);

// The mask of n leading one bits (n 0-32).
uint32_t PrefixMaskValue(int n);

// Reads a mask given as a dotted quad, as "/" and a prefix length (1-32) or as
// a number of hosts (the smallest block holding that many hosts plus network
// and broadcast, at least /30, at most 128.0.0.0). The result is invalid when
// nothing could be read; ok tells whether it is a mask of prefix 8-32.
ipv4 ParseMaskText(const QString& text, bool& ok);

// "FF.FF.FF.00" for 255.255.255.0.
QString HexMaskText(const ipv4& mask);

// What the address field holds when it is examined.
struct AddressInput {
  QString text;          // the field's text without blanks and control characters at either end
  bool network = false;  // text is a network ("10.1.2.3/16", "10.1.2.3 255.255.0.0")
  QString addressText;  // what the field keeps: text for a network, else text cut at "/" or a blank
  ipv4 address;         // the address to examine; invalid when addressText is none
  QString maskText;     // the network's dotted mask; empty unless a network
};
AddressInput ReadAddressInput(const QString& fieldText);

// Inputs of one network calculation.
struct NetCalcInput {
  QString addressText;  // text of the address field
  ipv4 address;         // the examined address (FAddress)
  ipv4 networkMask;     // the dotted network mask read so far (FNetworkMask)
  QString maskText;     // text of the network mask field, read when networkMask is invalid
  bool classDESubnets = true;
  bool classASupernets = true;
  int macFormat = 0;
};

// Everything the result panel shows for one calculation.
struct NetCalcResult {
  enum Kind {
    MissingMask,      // empty mask text: nothing computed
    InvalidMask,      // "Invalid network mask."
    HostMask,         // mask 255.255.255.255: remark only
    ZeroNetwork,      // network 0.0.0.0: remark only
    Network,          // every line filled
    SupernetTooWide,  // class D address under a mask reaching below 224.0.0.0
    NotAccepted,      // invalid address, or class D/E without class D/E subnets
  };
  Kind kind = NotAccepted;

  QString addressText;      // address field after cutting off "/p" or a mask
  ipv4 address;             // FAddress after that cleaning
  ipv4 mask;                // the mask in use
  bool clearFirst = false;  // the whole panel and the tables are cleared first

  // Caption of the network line: "Network [MAC]:" for a multicast network,
  // else "Network:" (also when the line stays empty).
  QString nwCaption = QStringLiteral("Network:");
  QString network, supernet, hostRange, numberOfHosts, broadcast, nextNetwork, ptr, ipv6, remarks;
  // Each of these left unset leaves the window's value as it is.
  std::optional<bool> numberOfHostsVisible;
  std::optional<bool> subnetTable;     // the new FSubnetTable
  std::optional<QString> networkText;  // the new FNetworkText
  QString prevNetworkText;             // FPrevNetworkText (empty unless Network)
  // Whether there is a network below / above the one shown to step to: not
  // below 0.0.0.0, not past 255.255.255.255 (where the next address wraps).
  bool canStepPrev = false, canStepNext = false;

  // The multicast panel and its page go with the examined address: filled
  // with mcIp / mcMac and shown for a multicast address (whatever became of
  // the mask), hidden for any other.
  bool multicast = false;
  QString mcIp, mcMac;
};

NetCalcResult ComputeNetwork(const NetCalcInput& in);

// The result of one calculation as plain values and the remark: what
// ComputeNetwork is built on, and what callers that examine many networks at a
// time use without the cost of QString.
struct TNetFacts {
  NetCalcResult::Kind kind = NetCalcResult::NotAccepted;
  std::string addressText;  // address field after cutting off "/p" or a mask
  ipv4 address;             // the address read from that text
  ipv4 mask;                // the mask in use
  std::string remarks;
  std::string multicastMac;  // group MAC of a multicast address; "" otherwise
  // The network case (networkValue also for a multicast address under too
  // wide a mask).
  bool multicastNetwork = false;  // the network is a group: "Network [MAC]:"
  bool hasHostRange = false;      // not "n.a."
  bool hasBroadcast = false;      // not "n.a."
  uint32_t networkValue = 0, firstHost = 0, lastHost = 0, broadcastValue = 0;
  uint32_t nextNetworkValue = 0, previousNetworkValue = 0, hostCount = 0;
  ipv4 supernetMask;  // as shown: 255.0.0.0 at the widest without class A supernets
  int macFormat = 0;
};

// Examines an address (as read from addressText) under a mask already read;
// the steps after the mask is known. The second form reuses the texts' room.
TNetFacts ExamineNetwork(std::string_view addressText, const ipv4& address, const ipv4& mask,
                         bool classDESubnets, bool classASupernets, int macFormat);
void ExamineNetwork(std::string_view addressText, const ipv4& address, const ipv4& mask,
                    bool classDESubnets, bool classASupernets, int macFormat, TNetFacts& facts);

// The value lines of the result panel in the network case.
enum TNetLine {
  nlNetwork,        // "192.168.1.0  255.255.255.0", with " [MAC]" for a group
  nlSupernet,       // "255.255.255.0"
  nlHostRange,      // "192.168.1.1 - 192.168.1.254" or "n.a."
  nlNumberOfHosts,  // "(254 addresses)"
  nlBroadcast,      // "192.168.1.255" or "n.a."
  nlNextNetwork,    // "192.168.2.0"
  nlPtr,            // "10.1.168.192.in-addr.arpa"
  nlIPv6,           // "::FFFF:C0A8:10A"
};
// Appends the text of a line to out; nothing unless facts.kind is Network.
void AppendNetLine(const TNetFacts& facts, TNetLine line, std::string& out);
// The same written at out, which has room for kNetLineRoom bytes; returns the end.
inline constexpr std::size_t kNetLineRoom = 64;
char* PutNetLine(const TNetFacts& facts, TNetLine line, char* out);

// How the address field is read: a network text ("10.1.2.3/16", "10.1.2.3
// 255.255.0.0") gives the address and the mask text, which goes into the mask
// field; any other text is cut at its first "/" and then at its first blank and
// read as an address.
struct TAddressField {
  std::string text;      // the field's text afterwards
  ipv4 address;          // invalid when unreadable
  std::string maskText;  // the mask the text carries; "" when it carries none
};
TAddressField ReadAddressField(std::string_view text);
// The address part of such a text: cut at its first "/", then at its first blank.
std::string_view CutAddressText(std::string_view text);
// The same into a field read before, reusing its texts' room.
void ReadAddressField(std::string_view text, TAddressField& field);

// The shortest mask under which the network address of address/mask is still
// a network address (for 128.0.0.0 the mask widened by one bit only, never
// beyond /1).
ipv4 SupernetMask(uint32_t address, uint32_t mask);

// What the mask viewer made of a typed mask.
struct ViewerMaskCheck {
  ipv4 mask;  // the value read (kept even when not usable)
  bool usable = false;
  bool empty = false;  // the text was empty
  bool usageShown = false;
  int usageCount = 0;
};
ViewerMaskCheck CheckViewerMask(const QString& text, bool classASupernets);

// The labels of the mask viewer for a mask.
struct ViewerLabels {
  QString subnetMask, prefix, hostCount, wildcard, hex, usage;
  int position = 0;
  bool subnetTable = false;
  bool usageShown = false;
};
ViewerLabels ComputeViewerLabels(const ipv4& mask, bool rfc3021, bool usageShown, int usageCount);

// Whether a mask of this prefix length still leaves room for subnets, so that
// the subnet table is filled (/31 counts only with RFC 3021 subnets).
bool SubnetTableFor(int prefix, bool rfc3021);

// The mask of a track bar position; without RFC 3021 subnets 31 means /32.
ipv4 TrackBarMask(int position, bool rfc3021);

// What a digit of the binary mask view stands for; the window gives each its colour.
enum TBitRole { brNetwork, brSupernet, brSubnetting, brHost };
// The roles of the 32 digits of the binary mask view, bit 31 first.
std::array<TBitRole, 32> BinMaskRoles(const ipv4& mask, const ipv4& address, bool viewerMode);
// The hint of the binary mask view over a digit of the given role.
QString BitHint(TBitRole role, const ipv4& address, bool viewerMode);

// The history entry for a typed address or network text ("10.1.2.3" for
// "10.1.2.3/16"); empty when the text is neither or is 0.0.0.0.
QString HistoryEntry(const QString& text);
// Adds the entry for text to the history (oldest first, at most 10) unless the
// text itself is already an entry; returns whether the list changed.
bool AddToHistory(QStringList& history, const QString& text);
// The entries written to the settings file: of the last 10, those that are an
// address with a class or a valid network text.
QStringList HistoryToSave(const QStringList& history);

// A dotted quad.
bool IsDottedQuad(const QString& text);
// An address with a prefix or a mask that reads as a valid network.
bool IsNetworkText(const QString& text);
// Without class A supernets a mask field below 255.0.0.0 (or not dotted) is reset.
bool BelowClassAMask(const QString& text);
