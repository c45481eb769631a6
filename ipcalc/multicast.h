#pragma once
// Multicast group texts: the scope remark and the group MAC address.

#include <QString>
#include <cstdint>

class ipv4;

// Scope remark of a group address ("reserved link local address", "GLOP
// address, BGP AS# 258", ...); mask decides whether a GLOP AS number is known.
QString MulticastScopeText(uint32_t address, uint32_t mask);
// Group MAC (01-00-5E + low 23 bits) in format 0 "01:00:5E:..", 1 "01-00-5E-..",
// 2 "0100.5E..."; "" for a non-class-D address or another format.
QString MulticastMacText(const ipv4& address, int macFormat);
