#include "netsets/netlist.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "ipv4lib/ipv4.h"

namespace netsets {

namespace {

bool is_blank(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// One end of a range or a lone address.
struct address {
  uint128 value = 0;
  bool v6 = false;
  const char* error = nullptr;
};

address read_address(std::string_view t) {
  address a;
  if (t.find(':') != std::string_view::npos) {
    const ipv6 v(t);
    if (!v.is_valid()) {
      a.error = "not an IPv4 or IPv6 address";
    } else if (v.has_zone()) {
      a.error = "an address with a zone is no network";
    } else {
      a.value = v.value();
      a.v6 = true;
    }
    return a;
  }
  const ipv4 v(t);
  if (!v.is_valid())
    a.error = "not an IPv4 or IPv6 address";
  else
    a.value = v.value();
  return a;
}

// "address" or "address/len": the network it lies in.
struct span {
  uint128 first = 0;
  uint128 last = 0;
  bool v6 = false;
  const char* error = nullptr;
};

span read_network(std::string_view t) {
  span s;
  const std::size_t slash = t.find('/');
  const address a = read_address(t.substr(0, slash));
  if (a.error) {
    s.error = a.error;
    return s;
  }
  s.v6 = a.v6;
  const int bits = a.v6 ? 128 : 32;
  int prefix = bits;
  if (slash != std::string_view::npos) {
    const std::string_view len = t.substr(slash + 1);
    prefix = 0;
    bool ok = !len.empty() && len.size() <= 3;
    for (std::size_t i = 0; ok && i < len.size(); ++i) {
      ok = len[i] >= '0' && len[i] <= '9';
      prefix = prefix * 10 + (len[i] - '0');
    }
    if (!ok || prefix > bits) {
      s.error = a.v6 ? "prefix length must be 0-128" : "prefix length must be 0-32";
      return s;
    }
  }
  if (a.v6) {
    const uint128 host = host_mask<uint128>(prefix);
    s.first = a.value & ~host;
    s.last = a.value | host;
  } else {
    const uint32_t host = host_mask<uint32_t>(prefix);
    s.first = static_cast<uint32_t>(a.value) & ~host;
    s.last = static_cast<uint32_t>(a.value) | host;
  }
  return s;
}

// The prefix length of a dotted mask that may follow an address: any
// contiguous mask the address is aligned to, or a usual mask of /8 and longer
// (then the address may be any of the network's), or an ACL wildcard: one the
// address is aligned to, or any in 0.0.0.0/8 (host bits cleared, as with a
// mask). kNoMask when the word is no mask for this address, so it reads as an
// item of its own; kGappedMask for a word that can only be meant as a mask or
// wildcard but has a gap: 255.x and 0.x are no addresses anyone lists.
constexpr int kNoMask = -1;
constexpr int kGappedMask = -2;
int mask_prefix(uint32_t address, std::string_view t) {
  const ipv4 m(t);
  if (!m.is_valid() || t.find('.') == std::string_view::npos) return kNoMask;
  const uint32_t v = m.value();
  if ((~v & (~v + 1)) == 0) {  // ones at the top: a mask
    const int ones = v == ~uint32_t(0) ? 32 : v ? __builtin_clz(~v) : 0;
    if (ones >= 8 || (address & ~v) == 0) return ones;
    // 0.0.0.0 after any other address is the wildcard of one host.
    if (v != 0) return kNoMask;
  }
  // Ones at the bottom: a wildcard. 255.255.255.255 read as a mask above.
  if ((v & (v + 1)) == 0 && ((address & v) == 0 || v < (1u << 24)))
    return v ? __builtin_clz(v) : 32;
  if (v >> 24 == 255 || v >> 24 == 0) return kGappedMask;
  return kNoMask;
}

}  // namespace

netlist::netlist(std::string text) : source_(std::move(text)) {
  std::size_t pos = 0;
  const std::size_t size = source_.size();
  while (pos < size) {
    std::size_t end = source_.find('\n', pos);
    if (end == std::string::npos) end = size;
    ++lines_;
    read_line(lines_, pos, end);
    pos = end + 1;
  }
  std::size_t six = 0;
  for (const item& it : items_) six += it.v6 ? 1 : 0;
  v4_.reserve(items_.size() - six);
  v6_.reserve(six);
  for (const item& it : items_) {
    if (it.v6)
      v6_.push_back({it.first, it.last});
    else
      v4_.push_back({static_cast<uint32_t>(it.first), static_cast<uint32_t>(it.last)});
  }
  normalize(v4_);
  normalize(v6_);
}

void netlist::read_line(uint32_t line, std::size_t begin, std::size_t end) {
  // A byte order mark, left by editors that mark UTF-8 files with it, at the
  // start of the text or of a file joined on after another.
  if (end - begin >= 3 && std::memcmp(source_.data() + begin, "\xEF\xBB\xBF", 3) == 0) begin += 3;
  // Searched within the line only: a list without comments has no '#' at all.
  const void* hash = std::memchr(source_.data() + begin, '#', end - begin);
  if (hash) end = static_cast<std::size_t>(static_cast<const char*>(hash) - source_.data());
  std::size_t part = begin;
  for (std::size_t i = begin; i <= end; ++i) {
    if (i == end || source_[i] == ',' || source_[i] == ';') {
      read_part(line, part, i);
      part = i + 1;
    }
  }
}

void netlist::fail(uint32_t line, std::size_t begin, std::size_t end, const char* reason) {
  problems_.push_back({line, source_.substr(begin, end - begin), reason});
}

void netlist::read_part(uint32_t line, std::size_t begin, std::size_t end) {
  std::vector<word>& words = words_;
  words.clear();
  std::size_t i = begin;
  auto flush = [&](std::size_t count) {
    std::size_t w = 0;
    const std::string_view src(source_);
    auto text_of = [&](std::size_t k) {
      return src.substr(words[k].begin, words[k].end - words[k].begin);
    };
    auto add = [&](std::size_t from, std::size_t to, const span& s) {
      items_.push_back({s.first, s.last, line, static_cast<uint32_t>(words[from].begin),
                        static_cast<uint32_t>(words[to].end - words[from].begin), s.v6});
    };
    auto range = [&](std::size_t from, std::size_t to, std::string_view lo, std::string_view hi) {
      const std::size_t b = words[from].begin, e = words[to].end;
      if (hi.empty()) return fail(line, b, e, "range without an end");
      if (lo.empty()) return fail(line, b, e, "range without a start");
      const address x = read_address(lo);
      const address y = read_address(hi);
      if (x.error) return fail(line, b, e, x.error);
      if (y.error) return fail(line, b, e, y.error);
      if (x.v6 != y.v6) return fail(line, b, e, "range mixes IPv4 and IPv6");
      if (y.value < x.value) return fail(line, b, e, "range given backwards");
      add(from, to, span{x.value, y.value, x.v6, nullptr});
    };
    while (w < count) {
      const std::string_view t = text_of(w);
      const std::size_t dash = t.find('-');
      const bool next = w + 1 < count;
      if (next && text_of(w + 1) == "-") {
        if (w + 2 < count) {
          range(w, w + 2, t, text_of(w + 2));
          w += 3;
        } else {
          range(w, w + 1, t, {});
          w += 2;
        }
      } else if (next && dash == std::string_view::npos && text_of(w + 1).front() == '-') {
        range(w, w + 1, t, text_of(w + 1).substr(1));
        w += 2;
      } else if (next && dash == t.size() - 1) {
        range(w, w + 1, t.substr(0, dash), text_of(w + 1));
        w += 2;
      } else if (dash != std::string_view::npos) {
        range(w, w, t.substr(0, dash), t.substr(dash + 1));
        w += 1;
      } else {
        span s = read_network(t);
        std::size_t last = w;
        if (!s.error && !s.v6 && next && t.find('/') == std::string_view::npos) {
          const int prefix = mask_prefix(static_cast<uint32_t>(s.first), text_of(w + 1));
          if (prefix == kGappedMask) {
            fail(line, words[w].begin, words[w + 1].end, "mask or wildcard with a gap");
            w += 2;
            continue;
          }
          if (prefix >= 0) {
            const uint32_t host = host_mask<uint32_t>(prefix);
            s.first = static_cast<uint32_t>(s.first) & ~host;
            s.last = static_cast<uint32_t>(s.first) | host;
            last = w + 1;
          }
        }
        if (s.error)
          fail(line, words[w].begin, words[w].end, s.error);
        else
          add(w, last, s);
        w = last + 1;
      }
    }
  };
  while (i < end) {
    while (i < end && is_blank(source_[i])) ++i;
    if (i == end) break;
    const std::size_t b = i;
    while (i < end && !is_blank(source_[i])) ++i;
    words.push_back({b, i});
  }
  flush(words.size());
}

// Results ------------------------------------------------------------------

namespace {

template <class T>
std::vector<network<T>> nets(const intervalset<T>& s) {
  return to_networks(s);
}

}  // namespace

netresult aggregate(const netlist& a) {
  return {nets(a.v4()), nets(a.v6())};
}

netresult merge(const netlist& a, const netlist& b) {
  return {nets(unite(a.v4(), b.v4())), nets(unite(a.v6(), b.v6()))};
}

netresult common(const netlist& a, const netlist& b) {
  return {nets(intersect(a.v4(), b.v4())), nets(intersect(a.v6(), b.v6()))};
}

netresult exclude(const netlist& a, const netlist& b) {
  return {nets(subtract(a.v4(), b.v4())), nets(subtract(a.v6(), b.v6()))};
}

rangeresult ranges(const netlist& a) {
  return {a.v4(), a.v6()};
}

netresult networks_of(const rangeresult& r) {
  return {nets(r.v4), nets(r.v6)};
}

const char* relation_name(relation r) noexcept {
  switch (r) {
    case relation::duplicate:
      return "duplicate";
    case relation::contains:
      return "contains";
    case relation::inside:
      return "inside";
    case relation::overlaps:
      return "overlaps";
  }
  return "";
}

namespace {

struct entry {
  uint128 first;
  uint128 last;
  uint32_t index;
  uint8_t list;
};

bool before(uint8_t la, uint32_t ia, uint8_t lb, uint32_t ib) {
  return la != lb ? la < lb : ia < ib;
}

void sort_entries(std::vector<entry>& e) {
  std::sort(e.begin(), e.end(), [](const entry& x, const entry& y) {
    return x.first != y.first ? x.first < y.first : x.last > y.last;
  });
}

// Calls pair(p, q, relation) for every two sorted entries that meet, p the
// one earlier in list order.
template <class Pair>
void sweep(const std::vector<entry>& e, Pair pair) {
  // Items still open at the current start: each of them meets it.
  std::vector<const entry*> open;
  for (const entry& cur : e) {
    std::size_t keep = 0;
    for (const entry* o : open)
      if (o->last >= cur.first) open[keep++] = o;
    open.resize(keep);
    for (const entry* o : open) {
      const bool o_first = before(o->list, o->index, cur.list, cur.index);
      const entry& p = o_first ? *o : cur;
      const entry& q = o_first ? cur : *o;
      relation r;
      if (p.first == q.first && p.last == q.last)
        r = relation::duplicate;
      else if (p.first <= q.first && p.last >= q.last)
        r = relation::contains;
      else if (q.first <= p.first && q.last >= p.last)
        r = relation::inside;
      else
        r = relation::overlaps;
      pair(p, q, r);
    }
    open.push_back(&cur);
  }
}

void sorted_entries(const netlist& a, const netlist* b, std::vector<entry>& e4,
                    std::vector<entry>& e6) {
  const netlist* lists[2] = {&a, b};
  for (uint8_t l = 0; l < 2; ++l) {
    if (!lists[l]) continue;
    const auto& items = lists[l]->items();
    for (uint32_t i = 0; i < items.size(); ++i)
      (items[i].v6 ? e6 : e4).push_back({items[i].first, items[i].last, i, l});
  }
  sort_entries(e4);
  sort_entries(e6);
}

bool pair_before(const overlap& x, const overlap& y) {
  if (x.first_list != y.first_list || x.first != y.first)
    return before(x.first_list, x.first, y.first_list, y.first);
  return before(x.second_list, x.second, y.second_list, y.second);
}

}  // namespace

std::vector<overlap> overlaps(const netlist& a, const netlist* b) {
  std::vector<entry> e4, e6;
  sorted_entries(a, b, e4, e6);
  std::vector<overlap> out;
  const auto add = [&out](const entry& p, const entry& q, relation r) {
    out.push_back({p.index, q.index, p.list, q.list, r});
  };
  sweep(e4, add);
  sweep(e6, add);
  std::sort(out.begin(), out.end(), pair_before);
  return out;
}

void for_each_overlap(const netlist& a, const std::function<void(const overlap&)>& each,
                      std::size_t least_held) {
  std::vector<entry> e4, e6;
  sorted_entries(a, nullptr, e4, e6);
  // The pairs each item opens, so the items can be taken in runs whose pairs
  // fit what is held at a time.
  const std::size_t n = a.items().size();
  std::vector<uint64_t> opened(n, 0);
  uint64_t total = 0;
  const auto count = [&](const entry& p, const entry&, relation) {
    ++opened[p.index];
    ++total;
  };
  sweep(e4, count);
  sweep(e6, count);
  // A sixteenth of all pairs at least, so a huge output costs at most
  // seventeen sweeps.
  const uint64_t held = std::max<uint64_t>({least_held, total / 16, 1});
  std::vector<overlap> run;
  for (std::size_t lo = 0; lo < n;) {
    std::size_t hi = lo;
    uint64_t pairs = 0;
    while (hi < n && (hi == lo || pairs + opened[hi] <= held)) pairs += opened[hi++];
    if (pairs > 0) {
      run.clear();
      run.reserve(pairs);
      const auto keep = [&](const entry& p, const entry& q, relation r) {
        if (p.index >= lo && p.index < hi) run.push_back({p.index, q.index, 0, 0, r});
      };
      sweep(e4, keep);
      sweep(e6, keep);
      std::sort(run.begin(), run.end(), pair_before);
      for (const overlap& o : run) each(o);
    }
    lo = hi;
  }
}

std::string text(const network<uint32_t>& n, notation how) {
  const ipv4 base(n.base);
  switch (how) {
    case notation::mask:
      return base.text() + ' ' + ipv4(~host_mask<uint32_t>(n.prefix)).text();
    case notation::wildcard:
      return base.text() + ' ' + ipv4(host_mask<uint32_t>(n.prefix)).text();
    case notation::range:
      return text(to_interval(n));
    case notation::cidr:
      break;
  }
  return base.text() + '/' + std::to_string(n.prefix);
}

std::string text(const network<uint128>& n, notation how) {
  if (how == notation::range) return text(to_interval(n));
  return ipv6(n.base).compressed() + '/' + std::to_string(n.prefix);
}

std::string text(const interval<uint32_t>& r) {
  return ipv4(r.first).text() + " - " + ipv4(r.last).text();
}

std::string text(const interval<uint128>& r) {
  return ipv6(r.first).compressed() + " - " + ipv6(r.last).compressed();
}

}  // namespace netsets
