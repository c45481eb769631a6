#include "planner/planner.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <map>
#include <set>
#include <utility>

#include "ipv4lib/ipv4.h"
#include "ipv6lib/ipv6.h"

namespace planner {

const char* profile_name(profile p) noexcept {
  switch (p) {
    case profile::standard:
      return "Standard";
    case profile::aws:
      return "AWS";
    case profile::azure:
      return "Azure";
    case profile::gcp:
      return "Google Cloud";
  }
  return "";
}

const char* profile_key(profile p) noexcept {
  switch (p) {
    case profile::standard:
      return "standard";
    case profile::aws:
      return "aws";
    case profile::azure:
      return "azure";
    case profile::gcp:
      return "gcp";
  }
  return "";
}

bool profile_from_key(std::string_view key, profile* out) noexcept {
  for (profile p : {profile::standard, profile::aws, profile::azure, profile::gcp}) {
    if (key == profile_key(p)) {
      *out = p;
      return true;
    }
  }
  return false;
}

namespace {

// Addresses a cloud reserves in every IPv4 subnet, and the range of prefix
// lengths it offers; Standard reserves network and broadcast from /30 up.
struct limits {
  int reserved;
  int shortest;
  int longest;
};

limits limits_of(profile p) noexcept {
  switch (p) {
    case profile::aws:
      return {5, 16, 28};
    case profile::azure:
      return {5, 0, 29};
    case profile::gcp:
      return {4, 0, 29};
    case profile::standard:
      break;
  }
  return {2, 0, 32};
}

uint128 size_of(int prefix, int bits) noexcept {
  return uint128(1) << (bits - prefix);  // callers keep prefix > 0 for 128 bits
}

}  // namespace

// The host count with the growth margin, whole; past 2^64 only approximately.
long double grown_count(uint64_t hosts, const plan& p) noexcept {
  if (!(p.growth > 0)) return static_cast<long double>(hosts);
  const long double exact = static_cast<long double>(hosts) * (100.0L + p.growth) / 100.0L;
  // 110 % of 100 is 110, not 111: a result within rounding noise of a whole
  // number is that number.
  long double r = std::roundl(exact);
  if (std::fabs(exact - r) > exact * 1e-12L) r = std::ceil(exact);
  return r;
}

uint64_t grown_hosts(uint64_t hosts, const plan& p) noexcept {
  if (!(p.growth > 0)) return hosts;
  const long double r = grown_count(hosts, p);
  if (!(r < 18446744073709551615.0L)) return std::numeric_limits<uint64_t>::max();
  return static_cast<uint64_t>(r);
}

int prefix_for(uint64_t hosts, bool v6, const plan& p) noexcept {
  const uint64_t h = grown_hosts(hosts, p);
  if (h == 0) return -1;
  if (v6) {
    // LANs are /64 whatever their size; only a count past what a /64 offers
    // (one address is the subnet-router anycast address) takes a shorter
    // prefix, from the grown count before it is cut off at 64 bits.
    if (h <= std::numeric_limits<uint64_t>::max() - 1) return 64;
    const long double g = grown_count(hosts, p);
    int prefix = 63;
    while (prefix > 0 && std::ldexp(1.0L, 128 - prefix) - 1.0L < g) --prefix;
    return prefix;
  }
  const limits lim = limits_of(p.prof);
  if (p.prof == profile::standard) {
    if (h == 1) return 32;
    if (h == 2) return p.rfc3021 ? 31 : 30;
  }
  if (h > (uint64_t(1) << 32) - static_cast<uint64_t>(lim.reserved)) return -1;
  int prefix = std::min(30, lim.longest);
  while ((uint64_t(1) << (32 - prefix)) < h + static_cast<uint64_t>(lim.reserved)) --prefix;
  return prefix;
}

// IPv6 usable range: in /64 to /126 the network address is the subnet-router
// anycast address (RFC 4291 2.6.1) and no host takes it; IPv6 has no
// broadcast, so the last address is usable. A /127 is a point-to-point link
// using both addresses (RFC 6164), a /128 a single host. Networks shorter than
// /64 follow the /64 rule.
usable usable_of(int prefix, bool v6, profile p) noexcept {
  usable u{};
  if (v6) {
    if (prefix >= 127) {
      u.capacity = ipv6count(prefix == 128 ? 1 : 2);
      u.first = 0;
      u.last = prefix == 128 ? 0 : 1;
      return u;
    }
    const uint128 all = prefix == 0 ? ~uint128(0) : size_of(prefix, 128) - 1;
    u.capacity = ipv6count(all);  // 2^n - 1, fits even for ::/0
    u.first = 1;
    u.last = all;
    return u;
  }
  const uint128 size = size_of(prefix, 32);
  if (p == profile::standard || prefix >= 31) {
    if (prefix >= 31) {
      u.capacity = ipv6count(size);
      u.first = 0;
      u.last = size - 1;
    } else {
      u.capacity = ipv6count(size - 2);
      u.first = 1;
      u.last = size - 2;
    }
    return u;
  }
  // AWS and Azure keep the network, the next three (router, DNS, future use)
  // and the broadcast; Google Cloud the network, the gateway and the last two.
  if (p == profile::gcp) {
    u.capacity = ipv6count(size >= 4 ? size - 4 : 0);
    u.first = 2;
    u.last = size - 3;
  } else {
    u.capacity = ipv6count(size >= 5 ? size - 5 : 0);
    u.first = 4;
    u.last = size - 2;
  }
  return u;
}

namespace {

struct netread {
  uint128 base = 0;
  int prefix = 0;
  bool v6 = false;
  std::string error;  // "" when it read
};

// "a.b.c.d/len" or "ipv6/len", host bits clear.
netread read_net(std::string_view t) {
  netread n;
  // Blanks around a network pasted from elsewhere are no error.
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\r'))
    t.remove_suffix(1);
  const std::size_t slash = t.find('/');
  if (t.empty()) {
    n.error = "empty";
    return n;
  }
  if (slash == std::string_view::npos) {
    n.error = "no prefix length (\"/len\")";
    return n;
  }
  const std::string_view addr = t.substr(0, slash);
  const std::string_view len = t.substr(slash + 1);
  n.v6 = addr.find(':') != std::string_view::npos;
  const int bits = n.v6 ? 128 : 32;
  if (len.empty() || len.size() > 3 ||
      !std::all_of(len.begin(), len.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    n.error = "the prefix length is not a number";
    return n;
  }
  int prefix = 0;
  for (char c : len) prefix = prefix * 10 + (c - '0');
  if (prefix > bits) {
    n.error = n.v6 ? "the prefix length is over 128" : "the prefix length is over 32";
    return n;
  }
  uint128 value = 0;
  if (n.v6) {
    const ipv6 a(addr);
    if (!a.is_valid() || a.has_zone()) {
      n.error = a.is_valid() ? "an address with a zone is no network" : "not an IPv6 address";
      return n;
    }
    value = a.value();
  } else {
    const ipv4 a(addr);
    if (!a.is_valid()) {
      n.error = "not an IPv4 or IPv6 address";
      return n;
    }
    value = a.value();
  }
  const uint128 host =
      prefix == 0 ? (n.v6 ? ~uint128(0) : uint128(0xffffffffu)) : size_of(prefix, bits) - 1;
  n.prefix = prefix;
  n.base = value & ~host;
  if (value & host) {
    n.error = "host bits are set; the network is ";
    n.error += n.v6 ? ipv6(n.base).compressed() : ipv4(static_cast<uint32_t>(n.base)).text();
    n.error += "/" + std::to_string(prefix);
  }
  return n;
}

std::string address_text(uint128 v, bool v6) {
  if (v6) return ipv6(v).compressed();
  char buf[16];
  return std::string(buf, ipv4::dotted_to(static_cast<uint32_t>(v), buf));
}

std::string cidr_text(uint128 base, int prefix, bool v6) {
  return address_text(base, v6) + "/" + std::to_string(prefix);
}

std::string mask_text(int prefix, bool v6) {
  if (v6) return "/" + std::to_string(prefix);
  const uint32_t m = prefix == 0 ? 0 : ~uint32_t(0) << (32 - prefix);
  return address_text(m, false);
}

// Free space kept as aligned blocks, one ordered set per prefix length (the
// buddy system's free lists): the smallest block that holds a need is the
// first non-empty list at or above its size, its lowest block the first entry.
class freespace {
 public:
  explicit freespace(int bits) : bits_(bits), lists_(bits + 1) {}

  void add(uint128 base, int prefix) { lists_[prefix].insert(base); }

  // Takes a /prefix from the smallest block that holds one, at its lowest
  // address; false when none does.
  bool take(int prefix, uint128* base) {
    for (int k = prefix; k >= 0; --k) {
      auto& list = lists_[k];
      if (list.empty()) continue;
      const uint128 b = *list.begin();
      list.erase(list.begin());
      split(b, k, prefix);
      *base = b;
      return true;
    }
    return false;
  }

  // Takes exactly the network base/prefix when it lies within a free block.
  bool take_at(uint128 base, int prefix) {
    for (int k = prefix; k >= 0; --k) {
      const uint128 b = k == 0 ? 0 : base & ~(size_of(k, bits_) - 1);
      auto& list = lists_[k];
      auto it = list.find(b);
      if (it == list.end()) continue;
      list.erase(it);
      // Halve towards the wanted network, freeing the other half each time.
      uint128 cur = b;
      for (int j = k + 1; j <= prefix; ++j) {
        const uint128 half = size_of(j, bits_);
        if (base & half) {
          lists_[j].insert(cur);
          cur += half;
        } else {
          lists_[j].insert(cur + half);
        }
      }
      return true;
    }
    return false;
  }

  // The prefix length of the largest free block; -1 when nothing is free.
  int largest() const noexcept {
    for (int k = 0; k <= bits_; ++k)
      if (!lists_[k].empty()) return k;
    return -1;
  }

  std::vector<netsets::interval<uint128>> intervals() const {
    std::vector<netsets::interval<uint128>> out;
    for (int k = 0; k <= bits_; ++k)
      for (uint128 b : lists_[k])
        out.push_back({b, k == 0 ? (bits_ == 128 ? ~uint128(0) : uint128(0xffffffffu))
                                 : b + size_of(k, bits_) - 1});
    return out;
  }

 private:
  // The upper halves of a block split down to prefix go back to the lists.
  void split(uint128 b, int from, int to) {
    for (int j = from + 1; j <= to; ++j) lists_[j].insert(b + size_of(j, bits_));
  }

  int bits_;
  std::vector<std::set<uint128>> lists_;
};

// The last address of base/prefix.
uint128 last_of(uint128 base, int prefix, int bits) noexcept {
  if (prefix == 0) return bits == 128 ? ~uint128(0) : uint128(0xffffffffu);
  return base + size_of(prefix, bits) - 1;
}

// Adds the size of a /prefix to a count of at most 2^128 addresses (the
// parents never overlap, so no sum passes that); full marks 2^128 itself.
void add_count(uint128& count, bool& full, int prefix, int bits) noexcept {
  if (prefix == 0 && bits == 128) {
    full = true;
    return;
  }
  const uint128 before = count;
  count += size_of(prefix, bits);
  if (count < before) full = true;  // wrapped: exactly 2^128
}

// One copy of a need waiting to be placed.
struct pending {
  std::size_t need;
  uint32_t copy;
  int prefix;
  uint64_t hosts;
};

std::string copy_name(const need& n, uint32_t copy) {
  return n.copies == 1 ? n.name : n.name + " " + std::to_string(copy);
}

std::string need_where(std::size_t i, const need& n) {
  std::string w = "need " + std::to_string(i + 1);
  if (!n.name.empty()) w += " (" + n.name + ")";
  return w;
}

}  // namespace

result compute(const plan& p) {
  result r;
  // Parents: the first that reads sets the family.
  bool v6 = false;
  bool family_known = false;
  std::vector<netsets::network<uint128>> parents;
  std::map<uint128, std::size_t> by_base;  // index into parents by network address
  for (std::size_t i = 0; i < p.parents.size(); ++i) {
    const std::string& text = p.parents[i];
    const std::string where = "parent " + std::to_string(i + 1);
    netread n = read_net(text);
    if (!n.error.empty()) {
      r.problems.push_back({where, text, n.error});
      continue;
    }
    if (family_known && n.v6 != v6) {
      r.problems.push_back(
          {where, text,
           v6 ? "an IPv4 network among IPv6 parents" : "an IPv6 network among IPv4 parents"});
      continue;
    }
    // Networks are disjoint or one holds the other: a neighbour in address
    // order is all that can meet the new one.
    const int bits = n.v6 ? 128 : 32;
    const uint128 last = last_of(n.base, n.prefix, bits);
    auto next = by_base.lower_bound(n.base);
    const netsets::network<uint128>* met = nullptr;
    if (next != by_base.end() && next->first <= last) met = &parents[next->second];
    if (!met && next != by_base.begin()) {
      const auto& q = parents[std::prev(next)->second];
      if (last_of(q.base, q.prefix, bits) >= n.base) met = &q;
    }
    if (met) {
      r.problems.push_back({where, text, "overlaps " + cidr_text(met->base, met->prefix, v6)});
      continue;
    }
    by_base.emplace(n.base, parents.size());
    v6 = n.v6;
    family_known = true;
    parents.push_back({n.base, n.prefix});
  }
  if (p.parents.empty()) r.problems.push_back({"parents", "", "no parent network"});
  if (!(p.growth >= 0 && p.growth <= kMaxGrowth))
    r.problems.push_back(
        {"growth", std::to_string(p.growth), "the growth margin is 0 to 10000 percent"});

  const int bits = v6 ? 128 : 32;
  freespace space(bits);
  uint128 total = 0;
  bool total_full = false;
  for (const auto& q : parents) {
    space.add(q.base, q.prefix);
    add_count(total, total_full, q.prefix, bits);
  }
  r.parent_size = total_full ? ipv6count::power_of_two(128) : ipv6count(total);

  const limits lim = limits_of(p.prof);
  const bool cloud = !v6 && p.prof != profile::standard;
  std::vector<pending> queue;
  std::vector<std::pair<std::size_t, netread>> fixed;
  uint64_t copies_total = 0;
  const bool growth_ok = p.growth >= 0 && p.growth <= kMaxGrowth;

  auto unplace = [&](std::size_t i, uint32_t copy, uint64_t hosts, int prefix, std::string reason) {
    r.unplaced.push_back({i, copy, copy_name(p.needs[i], copy), hosts, prefix, std::move(reason)});
  };
  auto size_text = [&](std::size_t i, uint32_t copy, int prefix) {
    return copy_name(p.needs[i], copy) + " needs a /" + std::to_string(prefix);
  };

  for (std::size_t i = 0; i < p.needs.size(); ++i) {
    const need& n = p.needs[i];
    const std::string where = need_where(i, n);
    const auto fault = [&](std::string text, std::string reason) {
      r.problems.push_back({where, std::move(text), std::move(reason), int(i)});
    };
    if (n.name.empty()) {
      fault("", "the need has no name");
      continue;
    }
    if (n.copies == 0) {
      fault("0", "the count of copies is 0");
      continue;
    }
    if (copies_total + n.copies > kMaxAllocations) {
      fault(std::to_string(n.copies), "too many copies: a plan places at most " +
                                          std::to_string(kMaxAllocations) + " networks");
      continue;
    }
    if (n.prefix < 0 && n.hosts == 0) {
      fault("0", "no hosts and no prefix length");
      continue;
    }
    if (n.prefix >= 0 && n.prefix > bits) {
      fault("/" + std::to_string(n.prefix),
            v6 ? "the prefix length is over 128" : "the prefix length is over 32");
      continue;
    }
    if (n.prefix == 0 && v6) {
      fault("/0", "a need cannot take all of IPv6");
      continue;
    }
    if (parents.empty() || !growth_ok) continue;  // reported above; nothing to place into
    if (!n.fixed.empty()) {
      netread f = read_net(n.fixed);
      if (!f.error.empty()) {
        fault(n.fixed, "the fixed network: " + f.error);
        continue;
      }
      if (f.v6 != v6) {
        fault(n.fixed, v6 ? "an IPv4 fixed network among IPv6 parents"
                          : "an IPv6 fixed network among IPv4 parents");
        continue;
      }
      if (n.copies != 1) {
        fault(n.fixed, "a fixed network is for a need of one copy");
        continue;
      }
      if (f.prefix == 0 && v6) {
        fault(n.fixed, "a need cannot take all of IPv6");
        continue;
      }
      fixed.emplace_back(i, std::move(f));
      copies_total += 1;
      continue;
    }
    copies_total += n.copies;
    const uint64_t hosts = n.prefix >= 0 ? 0 : grown_hosts(n.hosts, p);
    const int prefix = n.prefix >= 0 ? n.prefix : prefix_for(n.hosts, v6, p);
    for (uint32_t c = 1; c <= n.copies; ++c) {
      if (prefix < 0) {
        unplace(i, c, hosts, -1,
                copy_name(n, c) + " needs more addresses than an IPv" + (v6 ? "6" : "4") +
                    " network holds");
      } else if (cloud && prefix < lim.shortest) {
        unplace(i, c, hosts, prefix,
                size_text(i, c, prefix) + "; " + profile_name(p.prof) +
                    " subnets are no larger than /" + std::to_string(lim.shortest));
      } else if (cloud && prefix > lim.longest) {
        unplace(i, c, hosts, prefix,
                size_text(i, c, prefix) + "; " + profile_name(p.prof) +
                    " subnets are no smaller than /" + std::to_string(lim.longest));
      } else {
        queue.push_back({i, c, prefix, hosts});
      }
    }
  }

  uint128 allocated = 0;
  bool allocated_full = false;
  auto place = [&](std::size_t i, uint32_t copy, uint64_t hosts, uint128 base, int prefix) {
    const need& n = p.needs[i];
    allocation a;
    a.need = i;
    a.copy = copy;
    a.name = copy_name(n, copy);
    a.hosts = hosts;
    a.v6 = v6;
    a.base = base;
    a.prefix = prefix;
    a.network = cidr_text(base, prefix, v6);
    a.mask = mask_text(prefix, v6);
    const usable u = usable_of(prefix, v6, p.prof);
    a.first = address_text(base + u.first, v6);
    a.last = address_text(base + u.last, v6);
    if (!v6 && prefix <= 30) a.broadcast = address_text(base + size_of(prefix, 32) - 1, false);
    a.capacity = u.capacity;
    a.spare = ipv6count(u.capacity.value() >= hosts ? u.capacity.value() - hosts : 0);
    a.note = n.note;
    a.vlan = n.vlan;
    add_count(allocated, allocated_full, prefix, bits);
    r.allocations.push_back(std::move(a));
  };

  r.allocations.reserve(std::min<uint64_t>(copies_total, kMaxAllocations));
  // Fixed needs first, in plan order: each keeps its network when it is free.
  for (auto& [i, f] : fixed) {
    const need& n = p.needs[i];
    const uint64_t hosts = n.prefix >= 0 ? 0 : grown_hosts(n.hosts, p);
    const int wanted = n.prefix >= 0 ? n.prefix : prefix_for(n.hosts, v6, p);
    const std::string keeps = n.name + " keeps " + cidr_text(f.base, f.prefix, v6);
    bool inside = false;
    auto holder = by_base.upper_bound(f.base);
    if (holder != by_base.begin()) {
      const auto& q = parents[std::prev(holder)->second];
      inside = q.prefix <= f.prefix && last_of(q.base, q.prefix, bits) >= f.base;
    }
    if (!inside) {
      unplace(i, 1, hosts, f.prefix, keeps + ", which lies outside the parents");
    } else if (wanted < 0 || f.prefix > wanted) {
      unplace(i, 1, hosts, wanted,
              wanted < 0 ? keeps + ", but no network holds that many hosts"
                         : keeps + ", which is too small: it needs a /" + std::to_string(wanted));
    } else if (cloud && f.prefix < lim.shortest) {
      unplace(i, 1, hosts, f.prefix,
              keeps + "; " + profile_name(p.prof) + " subnets are no larger than /" +
                  std::to_string(lim.shortest));
    } else if (cloud && f.prefix > lim.longest) {
      unplace(i, 1, hosts, f.prefix,
              keeps + "; " + profile_name(p.prof) + " subnets are no smaller than /" +
                  std::to_string(lim.longest));
    } else if (!space.take_at(f.base, f.prefix)) {
      unplace(i, 1, hosts, f.prefix, keeps + ", which is not free");
    } else {
      place(i, 1, hosts, f.base, f.prefix);
    }
  }

  // Then largest first; ties keep plan order.
  std::stable_sort(queue.begin(), queue.end(),
                   [](const pending& a, const pending& b) { return a.prefix < b.prefix; });
  for (const pending& q : queue) {
    uint128 base = 0;
    if (space.take(q.prefix, &base)) {
      place(q.need, q.copy, q.hosts, base, q.prefix);
      continue;
    }
    const int largest = space.largest();
    unplace(q.need, q.copy, q.hosts, q.prefix,
            size_text(q.need, q.copy, q.prefix) +
                (largest < 0 ? "; no free space is left"
                             : "; the largest free block is a /" + std::to_string(largest)));
  }

  // Sorted through an index: moving the allocations themselves, each with
  // several short strings, costs more than the placing.
  {
    std::vector<std::pair<uint128, std::size_t>> order;
    order.reserve(r.allocations.size());
    for (std::size_t k = 0; k < r.allocations.size(); ++k)
      order.push_back({r.allocations[k].base, k});
    std::sort(order.begin(), order.end());
    std::vector<allocation> sorted;
    sorted.reserve(order.size());
    for (const auto& o : order) sorted.push_back(std::move(r.allocations[o.second]));
    r.allocations = std::move(sorted);
  }
  std::stable_sort(r.unplaced.begin(), r.unplaced.end(), [](const unplaced& a, const unplaced& b) {
    return a.need != b.need ? a.need < b.need : a.copy < b.copy;
  });

  auto free = space.intervals();
  netsets::normalize(free);
  for (const auto& n : netsets::to_networks(free)) {
    // The IPv4 blocks live in the low 32 bits: their lengths count from bit 32.
    r.free.push_back(cidr_text(n.base, v6 ? n.prefix : n.prefix - 96, v6));
  }

  r.allocated = allocated_full ? ipv6count::power_of_two(128) : ipv6count(allocated);
  const long double whole =
      total_full ? 340282366920938463463374607431768211456.0L : static_cast<long double>(total);
  const long double used = allocated_full ? 340282366920938463463374607431768211456.0L
                                          : static_cast<long double>(allocated);
  r.utilisation = whole > 0 ? static_cast<double>(used / whole) : 0;
  return r;
}

}  // namespace planner
