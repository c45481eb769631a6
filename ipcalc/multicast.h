#pragma once
// Multicast group texts: the scope remark and the group MAC address.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>

class ipv4;

// Scope remark of a group address ("reserved link local address", "GLOP
// address, BGP AS# 258", ...); mask decides whether a GLOP AS number is known.
std::string MulticastScope(uint32_t address, uint32_t mask);
QString MulticastScopeText(uint32_t address, uint32_t mask);
// Group MAC (01-00-5E + low 23 bits) in format 0 "01:00:5E:..", 1 "01-00-5E-..",
// 2 "0100.5E..."; "" for a non-class-D address or another format.
std::string MulticastMac(const ipv4& address, int macFormat);
QString MulticastMacText(const ipv4& address, int macFormat);

// The 32 group addresses that share the multicast MAC in macText (any of the
// three formats), lowest first; empty when macText is no 01-00-5E MAC.
QStringList MulticastGroupsOfMac(const QString& macText);
// The line "239.1.2.3  ->  01-00-5E-01-02-03".
QString IpToMacText(const QString& ipText, const QString& macText);
