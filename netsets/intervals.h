#pragma once
// Address sets as sorted lists of disjoint, non-touching intervals of 32-bit or
// 128-bit values. Every operation is one linear pass over its inputs, so the
// size of the networks involved never matters, only how many there are.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "ipv6lib/ipv6.h"
#include "ipv6lib/ipv6net.h"

namespace netsets {

template <class T>
inline constexpr int kBits = static_cast<int>(sizeof(T) * 8);

template <class T>
struct interval {
  T first;
  T last;
  bool operator==(const interval& o) const noexcept { return first == o.first && last == o.last; }
  bool operator!=(const interval& o) const noexcept { return !(*this == o); }
};

// A network: base with its host bits clear and the prefix length.
template <class T>
struct network {
  T base;
  int prefix;
  bool operator==(const network& o) const noexcept { return base == o.base && prefix == o.prefix; }
  bool operator!=(const network& o) const noexcept { return !(*this == o); }
};

// Sorted, disjoint and never adjacent: two runs that touch are one run.
template <class T>
using intervalset = std::vector<interval<T>>;

// The host bits of a prefix length: 2^(bits - prefix) - 1.
template <class T>
constexpr T host_mask(int prefix) noexcept {
  return prefix <= 0 ? ~T(0) : prefix >= kBits<T> ? T(0) : (~T(0)) >> prefix;
}

template <class T>
constexpr T last_of(const network<T>& n) noexcept {
  return n.base | host_mask<T>(n.prefix);
}

template <class T>
constexpr interval<T> to_interval(const network<T>& n) noexcept {
  return {n.base, last_of(n)};
}

namespace detail {
inline int clz(uint32_t v) noexcept {
  return v ? __builtin_clz(v) : 32;
}
inline int clz(uint128 v) noexcept {
  const auto hi = static_cast<uint64_t>(v >> 64);
  const auto lo = static_cast<uint64_t>(v);
  return hi ? __builtin_clzll(hi) : lo ? 64 + __builtin_clzll(lo) : 128;
}
inline int ctz(uint32_t v) noexcept {
  return v ? __builtin_ctz(v) : 32;
}
inline int ctz(uint128 v) noexcept {
  const auto hi = static_cast<uint64_t>(v >> 64);
  const auto lo = static_cast<uint64_t>(v);
  return lo ? __builtin_ctzll(lo) : hi ? 64 + __builtin_ctzll(hi) : 128;
}

// Sorts IPv4 intervals by their first address in three passes of 11 bits:
// on long lists a few moves per item cost less than the comparisons of a sort.
inline void radix_sort(intervalset<uint32_t>& s) {
  constexpr int kDigit = 11;
  constexpr uint32_t kBuckets = 1u << kDigit;
  std::vector<uint32_t> counts(3 * kBuckets, 0);
  for (const interval<uint32_t>& x : s)
    for (int pass = 0; pass < 3; ++pass)
      ++counts[pass * kBuckets + ((x.first >> (pass * kDigit)) & (kBuckets - 1))];
  intervalset<uint32_t> other(s.size());
  intervalset<uint32_t>* from = &s;
  intervalset<uint32_t>* to = &other;
  for (int pass = 0; pass < 3; ++pass) {
    uint32_t* c = counts.data() + pass * kBuckets;
    // A digit all items share orders nothing.
    if (c[(s.front().first >> (pass * kDigit)) & (kBuckets - 1)] == s.size()) continue;
    uint32_t sum = 0;
    for (uint32_t b = 0; b < kBuckets; ++b) {
      const uint32_t n = c[b];
      c[b] = sum;
      sum += n;
    }
    for (const interval<uint32_t>& x : *from)
      (*to)[c[(x.first >> (pass * kDigit)) & (kBuckets - 1)]++] = x;
    std::swap(from, to);
  }
  if (from != &s) s.swap(other);
}
}  // namespace detail

// Sorts and merges overlapping and touching intervals in place.
template <class T>
void normalize(intervalset<T>& s) {
  if (s.empty()) return;
  const auto by_first = [](const interval<T>& a, const interval<T>& b) {
    return a.first < b.first;
  };
  if (!std::is_sorted(s.begin(), s.end(), by_first)) {
    if constexpr (sizeof(T) == 4) {
      if (s.size() >= 1024)
        detail::radix_sort(s);
      else
        std::sort(s.begin(), s.end(), by_first);
    } else {
      std::sort(s.begin(), s.end(), by_first);
    }
  }
  std::size_t out = 0;
  for (std::size_t i = 1; i < s.size(); ++i) {
    interval<T>& cur = s[out];
    // cur.last + 1 would wrap at the last address; the first test covers that.
    if (cur.last == ~T(0) || s[i].first <= cur.last + 1) {
      if (s[i].last > cur.last) cur.last = s[i].last;
    } else {
      s[++out] = s[i];
    }
  }
  s.resize(out + 1);
}

template <class T>
intervalset<T> unite(const intervalset<T>& a, const intervalset<T>& b) {
  intervalset<T> r;
  r.reserve(a.size() + b.size());
  std::merge(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(r),
             [](const interval<T>& x, const interval<T>& y) { return x.first < y.first; });
  normalize(r);
  return r;
}

template <class T>
intervalset<T> intersect(const intervalset<T>& a, const intervalset<T>& b) {
  intervalset<T> r;
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const T lo = std::max(a[i].first, b[j].first);
    const T hi = std::min(a[i].last, b[j].last);
    if (lo <= hi) r.push_back({lo, hi});
    if (a[i].last < b[j].last)
      ++i;
    else
      ++j;
  }
  return r;
}

template <class T>
intervalset<T> subtract(const intervalset<T>& a, const intervalset<T>& b) {
  intervalset<T> r;
  std::size_t j = 0;
  for (const interval<T>& x : a) {
    T from = x.first;
    bool open = true;  // whether addresses from 'from' on are still left
    while (j < b.size() && b[j].last < from) ++j;
    std::size_t k = j;
    while (open && k < b.size() && b[k].first <= x.last) {
      if (b[k].first > from) r.push_back({from, static_cast<T>(b[k].first - 1)});
      if (b[k].last >= x.last) {
        open = false;
      } else {
        from = b[k].last + 1;
        ++k;
      }
    }
    if (open) r.push_back({from, x.last});
    j = k;
  }
  return r;
}

// The addresses of parent that a does not hold.
template <class T>
intervalset<T> complement(const intervalset<T>& a, const network<T>& parent) {
  return subtract(intervalset<T>{to_interval(parent)}, a);
}

// The fewest networks that cover exactly [first, last], in order.
template <class T>
void append_networks(T first, T last, std::vector<network<T>>& out) {
  for (;;) {
    const T span = last - first;  // size - 1
    // The largest block aligned at first that does not pass last.
    int k = detail::ctz(first);
    const int fit = span == ~T(0) ? kBits<T> : kBits<T> - 1 - detail::clz(static_cast<T>(span + 1));
    if (fit < k) k = fit;
    out.push_back({first, kBits<T> - k});
    const T step = host_mask<T>(kBits<T> - k);
    if (step == span) return;
    first += step + 1;
  }
}

// The smallest exact list of networks covering the set.
template <class T>
std::vector<network<T>> to_networks(const intervalset<T>& s) {
  std::vector<network<T>> out;
  out.reserve(s.size());
  for (const interval<T>& x : s) append_networks(x.first, x.last, out);
  return out;
}

// How many addresses the set holds, exact: 2^128 for the whole IPv6 space.
template <class T>
ipv6count count(const intervalset<T>& s) noexcept {
  uint128 total = 0;
  for (const interval<T>& x : s) {
    if (kBits<T> == 128 && x.first == 0 && x.last == ~T(0)) return ipv6count::power_of_two(128);
    total += static_cast<uint128>(x.last - x.first) + 1;
  }
  return ipv6count(total);
}

// The one shortest network holding every address of a non-empty set, and how
// many addresses it adds.
template <class T>
struct summary_t {
  network<T> net;
  ipv6count added;
};

template <class T>
summary_t<T> summarize(const intervalset<T>& s) noexcept {
  const T lo = s.front().first;
  const T hi = s.back().last;
  const int prefix = detail::clz(static_cast<T>(lo ^ hi));
  const network<T> net{static_cast<T>(lo & ~host_mask<T>(prefix)), prefix};
  const ipv6count have = count(s);
  const ipv6count size = ipv6count::power_of_two(kBits<T> - prefix);
  // size >= have > 0, so the difference fits in 128 bits even for ::/0.
  return {net, ipv6count(static_cast<uint128>(size.value() - have.value()))};
}

}  // namespace netsets
