#pragma once
// An IPv4 address paired with a subnet mask: where the address stands in its
// network and what the network, broadcast and next-network addresses are.

#include <cstdint>
#include <string>
#include <string_view>

#include "ipv4lib/ipv4.h"

class ipv4host {
 public:
  // Network flag bits of flags(); 0 means invalid.
  enum : uint32_t {
    f_valid = 0x01,
    f_host_route = 0x02,
    f_host = 0x04,
    f_network_address = 0x08,
    f_broadcast_address = 0x10,
  };

  // Members as of the last successful analysis; callers read them directly.
  ipv4 analysed_address;
  ipv4 analysed_mask;
  ipv4 network;
  // The address and mask as set or read.
  ipv4 address;
  ipv4 mask;

  // All members 0.0.0.0, invalid.
  ipv4host() noexcept;
  // Reads "a.b.c.d/p" or "a.b.c.d m.m.m.m" text.
  explicit ipv4host(std::string_view text) noexcept;
  // Stores both numbers and analyses.
  ipv4host(uint32_t address, uint32_t mask) noexcept;

  // Reads network text (cut to 31 characters), then analyses. A text without a
  // usable prefix or mask keeps the previous mask.
  ipv4host& assign_text(std::string_view text) noexcept;

  // The network flags (the f_* bits); 0 when invalid.
  uint32_t flags() const noexcept { return flags_; }
  bool is_valid() const noexcept { return flags_ & f_valid; }
  // The mask is 255.255.255.255.
  bool is_host_route() const noexcept { return flags_ & f_host_route; }
  // Neither network nor broadcast address (always so under a /31 mask).
  bool is_host() const noexcept { return flags_ & f_host; }
  bool is_network_address() const noexcept { return flags_ & f_network_address; }
  bool is_broadcast_address() const noexcept { return flags_ & f_broadcast_address; }

  // "address mask"; "" when invalid.
  std::string text() const;
  std::string address_text() const { return address.text(); }
  std::string mask_text() const { return mask.text(); }
  uint32_t mask_value() const noexcept { return mask.value(); }
  int prefix_length() const noexcept { return mask.prefix_length(); }
  // address AND mask, from the current members.
  uint32_t network_value() const noexcept { return address.value() & mask.value(); }
  std::string network_text() const;
  // First address after this network (wraps to 0.0.0.0 after 255.255.255.255).
  uint32_t next_network_value() const noexcept;
  std::string next_network_text() const;
  uint32_t broadcast_value() const noexcept { return next_network_value() - 1u; }
  std::string broadcast_text() const;
  // Host count of analysed_mask.
  uint32_t host_count() const noexcept { return analysed_mask.host_count(); }
  // Whether the dotted address text lies in this network (unreadable text counts as 0.0.0.0).
  bool contains(std::string_view text) const noexcept;
  // Prefix one shorter; flags, network and analysed_address are not recomputed.
  void widen_mask() noexcept;
  // Prefix one longer, then analyses.
  void narrow_mask() noexcept;

 private:
  void analyse() noexcept;
  uint32_t flags_;
};
