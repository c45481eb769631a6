#pragma once
// An address plan: parent blocks, needs sized by a profile's rules, and each
// need placed into the parents' free space, largest first, each on its natural
// boundary in the smallest free block that holds it, so the same plan always
// gives the same result and the free space stays in few pieces.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ipv6lib/ipv6net.h"
#include "netsets/intervals.h"

namespace planner {

using ::uint128;  // from ipv6lib, host order

// How a cloud or a plain LAN reserves addresses in every subnet.
enum class profile {
  standard,  // network and broadcast reserved; /31 links with RFC 3021 on
  aws,       // 5 reserved, no subnet smaller than /28
  azure,     // 5 reserved, no subnet smaller than /29
  gcp,       // 4 reserved, no subnet smaller than /29
};
// "Standard", "AWS", "Azure", "Google Cloud".
const char* profile_name(profile p) noexcept;
// "standard", "aws", "azure", "gcp": the key in plan files and on the command line.
const char* profile_key(profile p) noexcept;
// Reads a key; false (and *out untouched) for anything else.
bool profile_from_key(std::string_view key, profile* out) noexcept;

// One line of the needs list.
struct need {
  std::string name;
  uint64_t hosts = 0;   // hosts wanted; used when prefix is -1
  int prefix = -1;      // a prefix length given instead of a host count
  uint32_t copies = 1;  // "P2P x 8": eight networks of this size
  std::string note;
  std::optional<uint32_t> vlan;
  std::string fixed;  // a network the need keeps when it is free; "" for none

  bool operator==(const need& o) const {
    return name == o.name && hosts == o.hosts && prefix == o.prefix && copies == o.copies &&
           note == o.note && vlan == o.vlan && fixed == o.fixed;
  }
  bool operator!=(const need& o) const { return !(*this == o); }
};

struct plan {
  std::vector<std::string> parents;  // "10.20.0.0/22", "2001:db8::/48"
  std::vector<need> needs;
  profile prof = profile::standard;
  bool rfc3021 = false;  // two hosts take a /31 (Standard only)
  double growth = 0;     // percent added to every host count before sizing

  bool operator==(const plan& o) const {
    return parents == o.parents && needs == o.needs && prof == o.prof && rfc3021 == o.rfc3021 &&
           growth == o.growth;
  }
  bool operator!=(const plan& o) const { return !(*this == o); }
};

// The most copies of needs one plan places; more is a problem, not hours of work.
inline constexpr uint64_t kMaxAllocations = uint64_t(1) << 20;
// The largest growth margin a plan takes, in percent.
inline constexpr double kMaxGrowth = 10000;

// hosts with the plan's growth margin added, rounded up; UINT64_MAX when that
// does not fit.
uint64_t grown_hosts(uint64_t hosts, const plan& p) noexcept;

// The prefix length hosts take under the plan's profile, growth included;
// -1 when no subnet of the family holds that many. The result may lie outside
// what the profile allows (AWS subnets are no larger than /16); compute says so.
// IPv6 host counts take a /64 under every profile.
int prefix_for(uint64_t hosts, bool v6, const plan& p) noexcept;

// A need (or one copy of it) placed in a parent.
struct allocation {
  std::size_t need;  // index into plan.needs
  uint32_t copy;     // 1 .. copies
  std::string name;  // the need's name; "P2P 3" for the third of several copies
  uint64_t hosts;    // hosts needed, growth included (0 for a need given as a prefix)
  bool v6;
  uint128 base;  // the network, host order (IPv4 in the low 32 bits)
  int prefix;
  std::string network;  // "10.20.0.0/25"
  std::string mask;     // "255.255.255.128"; "/64" for IPv6
  std::string first;    // first and last usable address, reservations respected
  std::string last;
  std::string broadcast;  // IPv4 with a broadcast address; "" otherwise
  ipv6count capacity;     // usable addresses
  ipv6count spare;        // capacity - hosts
  std::string note;       // the need's note and VLAN, for the tables and the export
  std::optional<uint32_t> vlan;
};

// A need (or one copy) that found no room, and why:
// "Sales needs a /25; the largest free block is a /26".
struct unplaced {
  std::size_t need;
  uint32_t copy;
  std::string name;
  uint64_t hosts;
  int prefix;  // the size it needed; -1 when it could not be sized
  std::string reason;
};

// A parent or need that does not read; the rest of the plan is still computed.
struct problem {
  std::string where;  // "parent 2", "need 5 (Sales)"
  std::string text;
  std::string reason;
  int need = -1;  // the need's place in the plan's list, -1 for a parent
};

struct result {
  std::vector<allocation> allocations;      // in address order
  std::vector<planner::unplaced> unplaced;  // in plan order
  std::vector<problem> problems;
  std::vector<std::string> free;  // the space left, aggregated, in CIDR, address order
  ipv6count parent_size;          // addresses in the parents
  ipv6count allocated;            // addresses in the allocations
  double utilisation = 0;         // allocated / parent_size, 0 .. 1
};

// Sizes and places every need of the plan: fixed networks first, then largest
// first. What does not read is a problem and is left out; the rest is computed.
result compute(const plan& p);

// The usable addresses of a subnet of that length under the profile, and the
// first and last of them as offsets from the network address. The clouds'
// reservations are IPv4's; in IPv6 a /64 to /126 keeps its subnet-router
// anycast address (the network address) from hosts, a /127 and a /128 use all.
struct usable {
  ipv6count capacity;
  uint128 first;
  uint128 last;
};
usable usable_of(int prefix, bool v6, profile p) noexcept;

// The plan as a JSON document with "format": "orvex-plan/1".
std::string to_json(const plan& p);
// Reads a plan file; false with *error saying what and where for a file that
// does not read or comes from a newer version (*out untouched then).
bool from_json(std::string_view text, plan* out, std::string* error);

// Every column of every allocation, a header line first; fields quoted where
// they hold the delimiter, a quote or a line break.
std::string to_csv(const result& r, char delimiter = ',');

}  // namespace planner
