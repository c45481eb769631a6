#include "ipv6lib/ipv6reserved.h"

#include <algorithm>

namespace {

std::string_view trimmed(std::string_view s) noexcept {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// Why a block field makes no block; nullptr when it does.
const char* block_problem(std::string_view field, const ipv6net& net) noexcept {
  if (net.error() == ipv6net::e_address) return "not an IPv6 address";
  if (field.find('/') == std::string_view::npos) return "no prefix length";
  if (net.error() == ipv6net::e_prefix) return "invalid prefix length";
  if (net.address().has_zone()) return "a zone in a block";
  if (net.address() != net.network()) return "address bits set after the prefix";
  return nullptr;
}

}  // namespace

std::string ipv6listerror::message() const {
  return "Line " + std::to_string(line) + ": " + reason + ": " + text;
}

void ipv6reserved::read(std::string_view content) {
  rows_.clear();
  errors_.clear();
  int number = 0;
  while (!content.empty()) {
    ++number;
    const std::size_t end = content.find('\n');
    const std::string_view line = trimmed(content.substr(0, end));
    content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);

    const std::size_t first = line.find(';');
    if (first == std::string_view::npos || line.front() == '#') continue;  // a comment or blank
    const std::string_view block = trimmed(line.substr(0, first));
    std::string_view rest = line.substr(first + 1);
    const std::size_t second = rest.find(';');
    const std::string_view usage = trimmed(rest.substr(0, second));
    const std::string_view reference =
        second == std::string_view::npos ? std::string_view() : trimmed(rest.substr(second + 1));

    // A block without "/len" must not take a default: -1 makes it fail.
    const ipv6net net(block, -1);
    const char* problem = block_problem(block, net);
    if (!problem && usage.empty()) problem = "no usage";
    if (problem) {
      errors_.push_back({number, std::string(line), problem});
      continue;
    }
    rows_.push_back({net, std::string(block), std::string(usage), std::string(reference), number});
  }
  std::stable_sort(rows_.begin(), rows_.end(), [](const ipv6block& a, const ipv6block& b) {
    const uint128 x = a.block.network().value(), y = b.block.network().value();
    return x != y ? x < y : a.block.prefix() < b.block.prefix();
  });
}

int ipv6reserved::match(const ipv6& a) const noexcept {
  return match(ipv6net(a, 128));
}

int ipv6reserved::match(const ipv6net& n) const noexcept {
  if (!n.is_valid()) return -1;
  int found = -1;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const ipv6net& b = rows_[i].block;
    if (b.contains(n) && (found < 0 || b.prefix() > rows_[std::size_t(found)].block.prefix()))
      found = int(i);
  }
  return found;
}
