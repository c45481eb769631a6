#include "netsets/setjob.h"

#include <algorithm>
#include <utility>

namespace netsets {

bool uses_b(operation op) noexcept {
  return op == operation::merge || op == operation::common || op == operation::exclude ||
         op == operation::overlaps;
}

std::string add_decimal(const std::string& a, const std::string& b) {
  std::string r;
  int carry = 0;
  for (std::size_t i = 0; i < a.size() || i < b.size() || carry; ++i) {
    int d = carry;
    if (i < a.size()) d += a[a.size() - 1 - i] - '0';
    if (i < b.size()) d += b[b.size() - 1 - i] - '0';
    r.push_back(static_cast<char>('0' + d % 10));
    carry = d / 10;
  }
  std::reverse(r.begin(), r.end());
  const std::size_t nonzero = r.find_first_not_of('0');
  return nonzero == std::string::npos ? "0" : r.substr(nonzero);
}

list_counts count_list(const netlist& l) {
  list_counts c;
  c.lines = l.line_count();
  c.networks = to_networks(l.v4()).size() + to_networks(l.v6()).size();
  c.addresses = add_decimal(count(l.v4()).decimal(), count(l.v6()).decimal());
  c.problems = l.problems().size();
  return c;
}

namespace {

std::string counted(const std::string& n, const char* one, const char* many) {
  return n + ' ' + (n == "1" ? one : many);
}

std::string counted(std::size_t n, const char* one, const char* many) {
  return counted(std::to_string(n), one, many);
}

template <class T>
std::string size_of(const network<T>& n) {
  return ipv6count::power_of_two(kBits<T> - n.prefix).decimal();
}

template <class T>
std::string size_of(const interval<T>& r) {
  if (kBits<T> == 128 && r.first == 0 && r.last == ~T(0))
    return ipv6count::power_of_two(128).decimal();
  return ipv6count(static_cast<uint128>(r.last - r.first) + 1).decimal();
}

template <class T>
std::string first_network(T first, T last) {
  std::vector<network<T>> nets;
  append_networks(first, last, nets);
  return netsets::text(nets.front(), notation::cidr);
}

std::string csv_field(const std::string& s) {
  if (s.find_first_of(",\"\n") == std::string::npos) return s;
  std::string q = "\"";
  for (char c : s) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + '"';
}

template <class T>
uint64_t pairs_among(std::vector<interval<T>>& items) {
  std::sort(items.begin(), items.end(), [](const interval<T>& x, const interval<T>& y) {
    return x.first != y.first ? x.first < y.first : x.last > y.last;
  });
  std::vector<T> lasts;
  lasts.reserve(items.size());
  for (const interval<T>& x : items) lasts.push_back(x.last);
  std::sort(lasts.begin(), lasts.end());
  uint64_t pairs = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    // Every item that ends before this one starts is sorted before it.
    const auto ended = std::lower_bound(lasts.begin(), lasts.end(), items[i].first) - lasts.begin();
    pairs += i - static_cast<std::size_t>(ended);
  }
  return pairs;
}

}  // namespace

uint64_t overlap_pair_count(const netlist& a, const netlist* b) {
  std::vector<interval<uint128>> v4, v6;
  for (const netlist* l : {&a, b}) {
    if (!l) continue;
    for (const item& it : l->items()) (it.v6 ? v6 : v4).push_back({it.first, it.last});
  }
  return pairs_among(v4) + pairs_among(v6);
}

std::string counts_text(const list_counts& c) {
  return counted(c.lines, "line", "lines") + ", " + counted(c.networks, "network", "networks") +
         ", " + counted(c.addresses, "address", "addresses");
}

std::unique_ptr<setresult> setresult::run(std::string a, std::string b, operation op, notation how,
                                          const job_control& control) {
  auto report = [&](int percent) {
    if (control.progress) control.progress(percent);
  };
  std::unique_ptr<setresult> r(new setresult);
  r->op_ = op;
  r->how_ = how;
  report(0);
  r->a_ = std::make_shared<const netlist>(std::move(a));
  if (control.cancelled()) return nullptr;
  report(uses_b(op) ? 40 : 80);
  r->b_ = std::make_shared<const netlist>(uses_b(op) ? std::move(b) : std::string());
  if (control.cancelled()) return nullptr;
  report(80);
  const netlist& la = *r->a_;
  const netlist& lb = *r->b_;
  r->counts_[0] = count_list(la);
  r->counts_[1] = count_list(lb);
  for (uint8_t l = 0; l < 2; ++l) {
    const std::size_t n = r->list(l).problems().size();
    for (std::size_t i = 0; i < n; ++i) r->problems_.push_back({l, static_cast<uint32_t>(i)});
  }
  if (control.cancelled()) return nullptr;
  report(90);
  switch (op) {
    case operation::aggregate:
      r->nets_ = aggregate(la);
      break;
    case operation::merge:
      r->nets_ = merge(la, lb);
      break;
    case operation::common:
      r->nets_ = common(la, lb);
      break;
    case operation::exclude:
      r->nets_ = exclude(la, lb);
      break;
    case operation::ranges:
      r->ranges_ = ranges(la);
      break;
    case operation::summary:
      if (!la.v4().empty()) r->summary4_.push_back(summarize(la.v4()));
      if (!la.v6().empty()) r->summary6_.push_back(summarize(la.v6()));
      break;
    case operation::overlaps: {
      const uint64_t pairs = overlap_pair_count(la, &lb);
      if (pairs > kMaxOverlapPairs)
        r->unlisted_pairs_ = pairs;
      else
        r->overlaps_ = overlaps(la, &lb);
      break;
    }
  }
  if (control.cancelled()) return nullptr;
  report(100);
  return r;
}

std::vector<std::string> setresult::columns(operation op) {
  switch (op) {
    case operation::ranges:
      return {"Range", "Addresses"};
    case operation::summary:
      return {"Network", "Addresses added"};
    case operation::overlaps:
      return {"Item", "Line", "Relation", "Other item", "Line"};
    default:
      return {"Network", "Addresses"};
  }
}

std::size_t setresult::row_count() const noexcept {
  switch (op_) {
    case operation::ranges:
      return ranges_.size();
    case operation::summary:
      return summary4_.size() + summary6_.size();
    case operation::overlaps:
      return overlaps_.size();
    default:
      return nets_.size();
  }
}

std::string setresult::network_text(std::size_t row) const {
  switch (op_) {
    case operation::ranges:
      return row < ranges_.v4.size() ? netsets::text(ranges_.v4[row])
                                     : netsets::text(ranges_.v6[row - ranges_.v4.size()]);
    case operation::summary:
      return row < summary4_.size() ? netsets::text(summary4_[row].net, how_)
                                    : netsets::text(summary6_[row - summary4_.size()].net, how_);
    default:
      return row < nets_.v4.size() ? netsets::text(nets_.v4[row], how_)
                                   : netsets::text(nets_.v6[row - nets_.v4.size()], how_);
  }
}

std::string setresult::cell(std::size_t row, int column) const {
  if (row >= row_count()) return std::string();
  if (op_ == operation::overlaps) {
    const overlap& o = overlaps_[row];
    const uint8_t l = column < 2 ? o.first_list : o.second_list;
    const item& it = list(l).items()[column < 2 ? o.first : o.second];
    switch (column) {
      case 0:
      case 3:
        return std::string(list(l).text_of(it));
      case 1:
      case 4:
        return std::string(l ? "B " : "A ") + std::to_string(it.line);
      case 2:
        return relation_name(o.rel);
      default:
        return std::string();
    }
  }
  if (column == 0) return network_text(row);
  if (column != 1) return std::string();
  switch (op_) {
    case operation::ranges:
      return row < ranges_.v4.size() ? size_of(ranges_.v4[row])
                                     : size_of(ranges_.v6[row - ranges_.v4.size()]);
    case operation::summary:
      return row < summary4_.size() ? summary4_[row].added.decimal()
                                    : summary6_[row - summary4_.size()].added.decimal();
    default:
      return row < nets_.v4.size() ? size_of(nets_.v4[row])
                                   : size_of(nets_.v6[row - nets_.v4.size()]);
  }
}

std::string setresult::count_text() const {
  const std::size_t n = row_count();
  std::string t;
  switch (op_) {
    case operation::ranges:
      t = counted(n, "range", "ranges");
      break;
    case operation::overlaps:
      t = unlisted_pairs_
              ? counted(std::to_string(unlisted_pairs_), "overlapping pair", "overlapping pairs") +
                    ", too many to list (at most " + std::to_string(kMaxOverlapPairs) + ")"
              : counted(n, "overlapping pair", "overlapping pairs");
      break;
    default:
      t = counted(n, "network", "networks");
  }
  if (!problems_.empty())
    t += " (" + counted(problems_.size(), "entry", "entries") + " ignored, see Problems)";
  return t;
}

std::string setresult::calc_network(std::size_t row, bool* v6) const {
  *v6 = false;
  if (row >= row_count()) return std::string();
  switch (op_) {
    case operation::ranges:
      if (row < ranges_.v4.size())
        return first_network(ranges_.v4[row].first, ranges_.v4[row].last);
      *v6 = true;
      row -= ranges_.v4.size();
      return first_network(ranges_.v6[row].first, ranges_.v6[row].last);
    case operation::summary:
      if (row < summary4_.size()) return netsets::text(summary4_[row].net, notation::cidr);
      *v6 = true;
      return netsets::text(summary6_[row - summary4_.size()].net, notation::cidr);
    case operation::overlaps: {
      const overlap& o = overlaps_[row];
      const item& it = list(o.first_list).items()[o.first];
      *v6 = it.v6;
      if (it.v6) return first_network(it.first, it.last);
      return first_network(static_cast<uint32_t>(it.first), static_cast<uint32_t>(it.last));
    }
    default:
      if (row < nets_.v4.size()) return netsets::text(nets_.v4[row], notation::cidr);
      *v6 = true;
      return netsets::text(nets_.v6[row - nets_.v4.size()], notation::cidr);
  }
}

std::string setresult::row_text(std::size_t row) const {
  if (op_ != operation::summary && op_ != operation::overlaps) return cell(row, 0);
  std::string t;
  const int n = column_count();
  for (int c = 0; c < n; ++c) {
    if (c) t += '\t';
    t += cell(row, c);
  }
  return t;
}

std::string setresult::text() const {
  std::string t;
  const std::size_t n = row_count();
  for (std::size_t i = 0; i < n; ++i) {
    t += row_text(i);
    t += '\n';
  }
  return t;
}

std::string setresult::csv() const {
  std::string t;
  const std::vector<std::string> head = columns(op_);
  for (std::size_t c = 0; c < head.size(); ++c) {
    if (c) t += ',';
    t += csv_field(head[c]);
  }
  t += '\n';
  const std::size_t n = row_count();
  for (std::size_t i = 0; i < n; ++i) {
    for (int c = 0; c < static_cast<int>(head.size()); ++c) {
      if (c) t += ',';
      t += csv_field(cell(i, c));
    }
    t += '\n';
  }
  return t;
}

}  // namespace netsets
