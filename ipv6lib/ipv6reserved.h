#pragma once
// The special-purpose IPv6 block list "reserved6.lst": its lines read into
// rows in chart order, bad lines reported, and the block an address or a
// network falls in by longest match.

#include <string>
#include <string_view>
#include <vector>

#include "ipv6lib/ipv6net.h"

// One block of the list.
struct ipv6block {
  ipv6net block;          // the block, network/len
  std::string text;       // first field as written, e.g. "2001:db8::/32"
  std::string usage;      // second field
  std::string reference;  // the rest after the second ';', "" when there is none
  int line = 0;           // line number in the file, from 1
};

// A line that has a ';' but does not make a block.
struct ipv6listerror {
  int line = 0;        // line number in the file, from 1
  std::string text;    // the line, trimmed
  std::string reason;  // why it was left out

  // "Line N: reason: text".
  std::string message() const;
};

class ipv6reserved {
 public:
  // An empty list.
  ipv6reserved() = default;
  // Reads content as read() does.
  explicit ipv6reserved(std::string_view content) { read(content); }

  // Replaces the list with the lines of content. A line is "block;usage" or
  // "block;usage;reference", fields trimmed; lines without ';' and lines that
  // start with '#' are comments.
  // A block is an IPv6 network with "/len" and no bits set after the prefix,
  // without zone; the usage is not empty. Other lines with ';' are reported in
  // errors(). Rows are sorted by network, then wider blocks first, then by line.
  void read(std::string_view content);

  // The blocks in chart order.
  const std::vector<ipv6block>& rows() const noexcept { return rows_; }
  // The lines left out, in file order.
  const std::vector<ipv6listerror>& errors() const noexcept { return errors_; }
  // Index of the longest block that holds the address (the first row of
  // equal blocks); -1 when none does or the address is invalid.
  int match(const ipv6& a) const noexcept;
  // Index of the longest block that holds the whole network; -1 when none
  // does or the network is invalid.
  int match(const ipv6net& n) const noexcept;

 private:
  std::vector<ipv6block> rows_;
  std::vector<ipv6listerror> errors_;
};
