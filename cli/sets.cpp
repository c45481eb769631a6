// orvex-cli aggregate, merge, common, exclude, ranges, deaggregate, summary
// and overlaps: lists of addresses, networks and ranges as address sets, read
// through the set engine a block of whole lines at a time, so a list of any
// length costs the memory of its address set, not of its text.

#include <fcntl.h>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include "cli/commands.h"
#include "cli/format.h"
#include "cli/output.h"
#include "netsets/netlist.h"

namespace {

using netsets::interval;
using netsets::network;
using netsets::notation;

enum class TSetKind { aggregate, merge, common, exclude, ranges, deaggregate, summary, overlaps };

struct TSetOptions : TOutputOptions {
  std::vector<std::string> inputs;
  std::string a, b;  // of merge, common and exclude
  std::string notation = "cidr";
  bool lenient = false;
};

// A file or standard input could not be read: exit status 2.
struct TReadFailed {
  std::string message;
};

// Text of one list per block: lists of a few thousand lines keep the engine's
// per-item records small while each block still sorts in the cache.
constexpr std::size_t kBlock = std::size_t(64) << 10;

// One input list: a file, standard input, or (deaggregate) an argument's text.
struct TSource {
  std::string name;  // in messages; empty for standard input
  int fd = -1;
  bool literal = false;
  std::string text;  // a literal argument's text
  int argument = 0;  // its place among the arguments, from 1
  ~TSource() {
    if (fd > 0) close(fd);
  }
};

const char kStandardInput[] = "(standard input)";

std::string_view DisplayName(const TSource& s) {
  return s.name.empty() ? std::string_view(kStandardInput) : std::string_view(s.name);
}

// Opens every input before anything is written, so a missing file stops the
// command at once. `literals`: an argument that names no file is list text.
std::vector<std::unique_ptr<TSource>> OpenSources(const std::vector<std::string>& inputs,
                                                  bool literals) {
  std::vector<std::unique_ptr<TSource>> sources;
  int argument = 0;
  for (const std::string& input : inputs) {
    ++argument;
    auto s = std::make_unique<TSource>();
    if (input == "-") {
      s->fd = 0;
    } else {
      struct stat st = {};
      if (literals && stat(input.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        s->literal = true;
        s->text = input;
        s->argument = argument;
      } else {
        s->name = input;
        s->fd = open(input.c_str(), O_RDONLY | O_CLOEXEC);
        if (s->fd < 0) throw TReadFailed{"Couldn't read " + input + ": " + std::strerror(errno)};
        if (fstat(s->fd, &st) == 0 && S_ISDIR(st.st_mode))
          throw TReadFailed{"Couldn't read " + input + ": " + std::strerror(EISDIR)};
      }
    }
    sources.push_back(std::move(s));
  }
  if (sources.empty()) {
    sources.push_back(std::make_unique<TSource>());
    sources.back()->fd = 0;
  }
  return sources;
}

// The lines the engine could not read, on standard error as
// "orvex-cli: COMMAND: FILE:LINE: 'TEXT': REASON", written a block at a time.
class TProblems {
 public:
  explicit TProblems(const char* command) : FCommand(command) {}
  ~TProblems() { Flush(); }

  void Report(const TSource& s, uint64_t line, const netsets::problem& p) {
    ++FCount;
    FText.Put(std::string_view("orvex-cli: "));
    FText.Put(FCommand);
    FText.Put(std::string_view(": "));
    if (s.literal) {
      FText.Put(std::string_view("argument "));
      FText.PutDecimal(uint64_t(s.argument));
    } else {
      FText.Put(DisplayName(s));
      FText.Put(':');
      FText.PutDecimal(line);
    }
    FText.Put(std::string_view(": "));
    FText.Put(Quoted(p.text));
    FText.Put(std::string_view(": "));
    FText.Put(p.reason);
    // A mistyped file name reads as list text: say that no file has the name.
    if (s.literal && p.text == s.text) FText.Put(std::string_view(", nor a file"));
    FText.Put('\n');
  }
  void Flush() {
    std::string_view rest = FText.View();
    while (!rest.empty()) {
      const ssize_t n = write(2, rest.data(), rest.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;  // nowhere left to tell
      rest.remove_prefix(std::size_t(n));
    }
    FText.Clear();
  }
  uint64_t Count() const { return FCount; }

 private:
  std::string_view FCommand;
  TLineBuffer FText;
  uint64_t FCount = 0;
};

// Hands a source to `each` as lists of whole lines, about kBlock bytes each,
// with the number of lines before each list; problems are reported on the way.
template <class Each>
void ReadLists(const TSource& s, TProblems& problems, Each each) {
  const auto hand = [&](std::string text, uint64_t before) -> uint64_t {
    const netsets::netlist list(std::move(text));
    for (const netsets::problem& p : list.problems()) problems.Report(s, before + p.line, p);
    problems.Flush();
    each(list);
    return list.line_count();
  };
  if (s.literal) {
    hand(s.text, 0);
    return;
  }
  std::string pending;
  uint64_t before = 0;
  std::size_t want = kBlock;  // grows while one line is longer than a block
  std::size_t searched = 0;   // the start of pending holds no line break
  for (bool end = false; !end;) {
    // Whole blocks at once; a pipe gives a little at a time.
    while (!end && pending.size() < want) {
      const std::size_t old = pending.size();
      pending.resize(want + 4096);
      const ssize_t got = read(s.fd, pending.data() + old, pending.size() - old);
      const int error = errno;
      pending.resize(old + std::size_t(std::max<ssize_t>(got, 0)));
      if (got < 0 && error == EINTR) continue;
      if (got < 0)
        throw TReadFailed{"Couldn't read " + std::string(DisplayName(s)) + ": " +
                          std::strerror(error)};
      end = got == 0;
    }
    std::size_t cut = pending.size();
    if (!end) {
      // Only the new text is searched, so a line of any length is read in
      // linear time.
      const void* nl = memrchr(pending.data() + searched, '\n', pending.size() - searched);
      if (!nl) {
        searched = pending.size();
        want = pending.size() + kBlock;
        continue;
      }
      cut = std::size_t(static_cast<const char*>(nl) - pending.data()) + 1;
    }
    if (cut == 0) break;
    std::string text = pending.substr(0, cut);
    pending.erase(0, cut);
    searched = pending.size();
    want = kBlock;
    before += hand(std::move(text), before);
  }
}

// A growing array of intervals in a mapping of its own: it grows by remapping,
// so the largest set held costs its size once, never the old and new copies
// that a vector's growth holds for a moment.
template <class T>
class TMappedArray {
 public:
  TMappedArray() = default;
  TMappedArray(const TMappedArray&) = delete;
  TMappedArray& operator=(const TMappedArray&) = delete;
  ~TMappedArray() {
    if (FData) munmap(FData, FCapacity * sizeof(T));
  }
  T* data() { return FData; }
  const T* data() const { return FData; }
  std::size_t size() const { return FSize; }
  void resize(std::size_t n) {
    if (n > FCapacity) Grow(n);
    FSize = n;
  }

 private:
  void Grow(std::size_t n) {
    // Pages are only paid for once written, so the reserve may be generous.
    std::size_t capacity = std::max({n, FCapacity * 2, (std::size_t(1) << 20) / sizeof(T)});
    void* p = FData ? mremap(FData, FCapacity * sizeof(T), capacity * sizeof(T), MREMAP_MAYMOVE)
                    : mmap(nullptr, capacity * sizeof(T), PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    FData = static_cast<T*>(p);
    FCapacity = capacity;
  }
  T* FData = nullptr;
  std::size_t FSize = 0;
  std::size_t FCapacity = 0;
};

// Merges the sorted, merged intervals add into the sorted, merged into, in
// place and in one pass: from the back into the grown array, joining each
// interval with the one written before it when they meet or touch; the merged
// tail then moves down to the untouched head.
template <class T, class Array>
void MergeInto(Array& into, const interval<T>* add, std::size_t m) {
  if (m == 0) return;
  const std::size_t n = into.size();
  into.resize(n + m);
  interval<T>* d = into.data();
  const std::size_t end = n + m;
  std::size_t i = n, j = m, k = end;  // d[k, end) is merged
  // Writes x, which starts at or before d[k]: a new interval, or joined with
  // every merged interval it meets (those it passes over drop out).
  const auto put = [&](const interval<T>& x) {
    std::size_t e = k;
    // x.last + 1 would wrap at the last address; the first test covers that.
    while (e < end && (x.last == ~T(0) || x.last + 1 >= d[e].first)) ++e;
    if (e == k) {
      d[--k] = x;
      return;
    }
    k = e - 1;
    d[k].first = x.first;
    if (x.last > d[k].last) d[k].last = x.last;
  };
  while (j > 0) {
    if (i > 0 && d[i - 1].first > add[j - 1].first)
      put(d[--i]);
    else
      put(add[--j]);
  }
  // d[0, i) is untouched; its last interval may still meet the merged tail.
  if (i > 0 && k < end) {
    const interval<T> x = d[--i];
    put(x);
  }
  const std::size_t tail = end - k;
  if (k != i) std::memmove(static_cast<void*>(d + i), d + k, tail * sizeof(interval<T>));
  into.resize(i + tail);
}

// The address set of one family, built from the sets of many blocks: small
// sets gather in a short list that goes into the large one when it has grown
// by an eighth, so each block costs about its own size.
template <class T>
class TSetBuilder {
 public:
  void Add(const netsets::intervalset<T>& s) {
    MergeInto<T>(FSmall, s.data(), s.size());
    if (FSmall.size() >= std::max<std::size_t>(kSmall, FLarge.size() / 8)) Settle();
  }
  // Ends the building: the short list goes into the large one and its
  // memory is freed.
  void Finish() {
    Settle();
    netsets::intervalset<T>().swap(FSmall);
  }
  // The whole set, sorted and merged.
  const interval<T>* begin() {
    Settle();
    return FLarge.data();
  }
  const interval<T>* end() { return begin() + FLarge.size(); }
  netsets::intervalset<T> ToVector() { return netsets::intervalset<T>(begin(), end()); }

 private:
  static constexpr std::size_t kSmall = 32768;
  void Settle() {
    MergeInto<T>(FLarge, FSmall.data(), FSmall.size());
    FSmall.clear();
  }
  netsets::intervalset<T> FSmall;
  TMappedArray<interval<T>> FLarge;
};

struct TSets {
  TSetBuilder<uint32_t> v4;
  TSetBuilder<uint128> v6;
};

// ---------------------------------------------------------------- writing

// A count as JSON text: a number, or a string of digits (IsJsonNumber).
std::string CountJson(const ipv6count& c) {
  if (IsJsonNumber(c)) return std::to_string(static_cast<uint64_t>(c.value()));
  return '"' + c.decimal() + '"';
}

inline char* PutAddress(char* p, uint32_t v) {
  return PutDotted(p, v);
}
inline char* PutAddress(char* p, uint128 v) {
  return p + ipv6(v).text_to(p);
}

// Room for one result line of any kind: two IPv6 addresses and some words.
constexpr std::size_t kLineRoom = 2 * ipv6::kTextSize + 64;

inline char* PutRange(char* p, uint32_t first, uint32_t last) {
  p = PutAddress(p, first);
  p = PutText(p, " - ");
  return PutAddress(p, last);
}
inline char* PutRange(char* p, uint128 first, uint128 last) {
  p = PutAddress(p, first);
  p = PutText(p, " - ");
  return PutAddress(p, last);
}

char* PutNetwork(char* p, const network<uint32_t>& n, notation how) {
  switch (how) {
    case notation::mask:
      p = PutAddress(p, n.base);
      *p++ = ' ';
      return PutAddress(p, ~netsets::host_mask<uint32_t>(n.prefix));
    case notation::wildcard:
      p = PutAddress(p, n.base);
      *p++ = ' ';
      return PutAddress(p, netsets::host_mask<uint32_t>(n.prefix));
    case notation::range:
      return PutRange(p, n.base, netsets::last_of(n));
    case notation::cidr:
      break;
  }
  p = PutAddress(p, n.base);
  *p++ = '/';
  return PutDecimal(p, unsigned(n.prefix));
}

// IPv6 has no masks in practice: its mask and wildcard notations are CIDR.
char* PutNetwork(char* p, const network<uint128>& n, notation how) {
  if (how == notation::range) return PutRange(p, n.base, netsets::last_of(n));
  p = PutAddress(p, n.base);
  *p++ = '/';
  return PutDecimal(p, unsigned(n.prefix));
}

template <class T>
char* PutNetworkJson(char* p, const network<T>& n) {
  p = PutText(p, "{\"network\":\"");
  p = PutAddress(p, n.base);
  p = PutText(p, "\",\"prefix\":");
  p = PutDecimal(p, unsigned(n.prefix));
  p = PutText(p, ",\"first\":\"");
  p = PutAddress(p, n.base);
  p = PutText(p, "\",\"last\":\"");
  p = PutAddress(p, netsets::last_of(n));
  return PutText(p, "\"}");
}

// Writes networks, one a line, in a notation or as JSON.
class TNetworkWriter {
 public:
  TNetworkWriter(TOutput& out, notation how, bool json) : FOut(out), FHow(how), FJson(json) {}
  template <class T>
  void Network(const network<T>& n) {
    char* p = FOut.Room(kLineRoom);
    p = FJson ? PutNetworkJson(p, n) : PutNetwork(p, n, FHow);
    *p++ = '\n';
    FOut.Advance(p);
  }
  // The fewest networks of [first, last].
  template <class T>
  void Networks(T first, T last) {
    if constexpr (sizeof(T) == 4) {
      F4.clear();
      netsets::append_networks(first, last, F4);
      for (const auto& n : F4) Network(n);
    } else {
      F6.clear();
      netsets::append_networks(first, last, F6);
      for (const auto& n : F6) Network(n);
    }
  }
  template <class T>
  void Set(const interval<T>* begin, const interval<T>* end) {
    for (const interval<T>* r = begin; r != end; ++r) Networks(r->first, r->last);
  }

 private:
  TOutput& FOut;
  notation FHow;
  bool FJson;
  std::vector<network<uint32_t>> F4;
  std::vector<network<uint128>> F6;
};

template <class T>
ipv6count CountOf(const interval<T>& r) {
  if (r.first == 0 && r.last == ~T(0)) return ipv6count::power_of_two(netsets::kBits<T>);
  return ipv6count(static_cast<uint128>(r.last - r.first) + 1);
}

template <class T>
void WriteRanges(TOutput& out, const interval<T>* begin, const interval<T>* end, bool json) {
  for (const interval<T>* r = begin; r != end; ++r) {
    char* p = out.Room(kLineRoom + 64);
    if (json) {
      p = PutText(p, "{\"first\":\"");
      p = PutAddress(p, r->first);
      p = PutText(p, "\",\"last\":\"");
      p = PutAddress(p, r->last);
      p = PutText(p, "\",\"addresses\":");
      p = PutText(p, CountJson(CountOf(*r)));
      *p++ = '}';
    } else {
      p = PutRange(p, r->first, r->last);
    }
    *p++ = '\n';
    out.Advance(p);
  }
}

template <class T>
void WriteSummary(TOutput& out, const interval<T>* begin, const interval<T>* end, notation how,
                  bool json) {
  if (begin == end) return;
  const netsets::intervalset<T> set(begin, end);
  const netsets::summary_t<T> s = netsets::summarize(set);
  const ipv6count listed = netsets::count(set);
  const ipv6count size = ipv6count::power_of_two(netsets::kBits<T> - s.net.prefix);
  TLineBuffer line;
  if (json) {
    char* p = PutText(line.Room(kLineRoom), "{\"network\":\"");
    p = PutAddress(p, s.net.base);
    p = PutText(p, "\",\"prefix\":");
    line.Advance(PutDecimal(p, unsigned(s.net.prefix)));
    line.Put(",\"addresses\":" + CountJson(size) + ",\"listed\":" + CountJson(listed) +
             ",\"added\":" + CountJson(s.added) + "}\n");
  } else {
    line.Advance(PutNetwork(line.Room(kLineRoom), s.net, how));
    line.Put(" holds " + size.decimal() + " addresses, " + listed.decimal() + " listed, " +
             s.added.decimal() + " added\n");
  }
  out.Write(line.View());
}

// ---------------------------------------------------------------- commands

notation NotationOf(const std::string& name) {
  return name == "mask"       ? notation::mask
         : name == "wildcard" ? notation::wildcard
         : name == "range"    ? notation::range
                              : notation::cidr;
}

const char* CommandName(TSetKind kind) {
  switch (kind) {
    case TSetKind::aggregate:
      return "aggregate";
    case TSetKind::merge:
      return "merge";
    case TSetKind::common:
      return "common";
    case TSetKind::exclude:
      return "exclude";
    case TSetKind::ranges:
      return "ranges";
    case TSetKind::deaggregate:
      return "deaggregate";
    case TSetKind::summary:
      return "summary";
    case TSetKind::overlaps:
      return "overlaps";
  }
  return "";
}

void ReadSets(const TSource& s, TProblems& problems, TSets& sets) {
  ReadLists(s, problems, [&sets](const netsets::netlist& list) {
    sets.v4.Add(list.v4());
    sets.v6.Add(list.v6());
  });
}

// Every item of every list as its own fewest networks, in the order given.
void RunDeaggregate(TOutput& out, const std::vector<std::unique_ptr<TSource>>& sources,
                    TProblems& problems, notation how, bool json) {
  TNetworkWriter writer(out, how, json);
  for (const auto& s : sources)
    ReadLists(*s, problems, [&writer](const netsets::netlist& list) {
      for (const netsets::item& it : list.items()) {
        if (it.v6)
          writer.Networks(it.first, it.last);
        else
          writer.Networks(static_cast<uint32_t>(it.first), static_cast<uint32_t>(it.last));
      }
    });
}

// One list of all inputs, read whole: the pairs need every item's text.
void RunOverlaps(TOutput& out, const std::vector<std::unique_ptr<TSource>>& sources,
                 TProblems& problems, bool json) {
  std::string text;
  std::vector<uint64_t> starts;  // the first line of each source in the whole
  uint64_t lines = 0;
  for (const auto& s : sources) {
    starts.push_back(lines);
    const std::size_t from = text.size();
    ReadLists(*s, problems, [&](const netsets::netlist& list) {
      text += list.source();
      lines += list.line_count();
    });
    if (text.size() > from && text.back() != '\n') text += '\n';
  }
  // Read once more as one list: its problems were reported block by block.
  const netsets::netlist list(std::move(text));
  const bool names = sources.size() > 1;
  const auto where = [&](const netsets::item& it, TLineBuffer& line, bool asJson) {
    const std::size_t k = std::size_t(
        std::upper_bound(starts.begin(), starts.end(), uint64_t(it.line - 1)) - starts.begin() - 1);
    const uint64_t local = it.line - starts[k];
    if (asJson) return std::make_pair(k, local);
    if (names) {
      line.Put(DisplayName(*sources[k]));
      line.Put(':');
    }
    line.PutDecimal(local);
    line.Put(std::string_view(": "));
    line.Put(list.text_of(it));
    return std::make_pair(k, local);
  };
  TLineBuffer line;
  netsets::for_each_overlap(list, [&](const netsets::overlap& o) {
    const netsets::item& a = list.items()[o.first];
    const netsets::item& b = list.items()[o.second];
    line.Clear();
    if (json) {
      const auto [fa, la] = where(a, line, true);
      const auto [fb, lb] = where(b, line, true);
      TJsonObject j(line);
      if (names) j.String("first_file", DisplayName(*sources[fa]));
      j.Number("first_line", la);
      if (names) j.String("second_file", DisplayName(*sources[fb]));
      j.Number("second_line", lb)
          .String("first", list.text_of(a))
          .String("second", list.text_of(b))
          .String("relation", netsets::relation_name(o.rel))
          .End();
    } else {
      where(a, line, false);
      line.Put(' ');
      line.Put(std::string_view(netsets::relation_name(o.rel)));
      line.Put(' ');
      where(b, line, false);
    }
    line.Put('\n');
    out.Write(line.View());
  });
}

int Run(TSetKind kind, const TSetOptions& o, const CLI::App& sub) {
  const char* name = CommandName(kind);
  const bool pair =
      kind == TSetKind::merge || kind == TSetKind::common || kind == TSetKind::exclude;
  if (pair && o.a == "-" && o.b == "-")
    return UsageError(sub, "only one of A and B can be standard input");
  const notation how = NotationOf(o.notation);
  // Every block takes and frees the same few hundred kilobytes: kept in the
  // heap they are reused instead of mapped and cleared again each time.
  mallopt(M_MMAP_THRESHOLD, 512 * 1024);
  mallopt(M_TRIM_THRESHOLD, 1024 * 1024);
  std::vector<std::unique_ptr<TSource>> sources;
  try {
    sources = OpenSources(pair ? std::vector<std::string>{o.a, o.b} : o.inputs,
                          kind == TSetKind::deaggregate);
    TProblems problems(name);
    WriteOutput(o, [&](TOutput& out) {
      if (kind == TSetKind::deaggregate) return RunDeaggregate(out, sources, problems, how, o.json);
      if (kind == TSetKind::overlaps) return RunOverlaps(out, sources, problems, o.json);
      TSets a;
      if (pair) {
        TSets b;
        ReadSets(*sources[0], problems, a);
        ReadSets(*sources[1], problems, b);
        const auto a4 = a.v4.ToVector(), b4 = b.v4.ToVector();
        const auto a6 = a.v6.ToVector(), b6 = b.v6.ToVector();
        netsets::intervalset<uint32_t> r4;
        netsets::intervalset<uint128> r6;
        if (kind == TSetKind::merge) {
          r4 = netsets::unite(a4, b4);
          r6 = netsets::unite(a6, b6);
        } else if (kind == TSetKind::common) {
          r4 = netsets::intersect(a4, b4);
          r6 = netsets::intersect(a6, b6);
        } else {
          r4 = netsets::subtract(a4, b4);
          r6 = netsets::subtract(a6, b6);
        }
        TNetworkWriter writer(out, how, o.json);
        writer.Set(r4.data(), r4.data() + r4.size());
        writer.Set(r6.data(), r6.data() + r6.size());
        return;
      }
      for (const auto& s : sources) ReadSets(*s, problems, a);
      a.v4.Finish();
      a.v6.Finish();
      // The blocks' memory goes back before the output takes its own.
      malloc_trim(0);
      if (kind == TSetKind::ranges) {
        WriteRanges(out, a.v4.begin(), a.v4.end(), o.json);
        WriteRanges(out, a.v6.begin(), a.v6.end(), o.json);
      } else if (kind == TSetKind::summary) {
        WriteSummary(out, a.v4.begin(), a.v4.end(), how, o.json);
        WriteSummary(out, a.v6.begin(), a.v6.end(), how, o.json);
      } else {
        TNetworkWriter writer(out, how, o.json);
        writer.Set(a.v4.begin(), a.v4.end());
        writer.Set(a.v6.begin(), a.v6.end());
      }
    });
    problems.Flush();
    return problems.Count() > 0 && !o.lenient ? 1 : 0;
  } catch (const TReadFailed& e) {
    ReportError(name, e.message);
    return 2;
  }
}

struct TSetCommandText {
  TSetKind kind;
  const char* description;
  const char* footer;
};

const TSetCommandText kSetCommands[] = {
    {TSetKind::aggregate, "Write the fewest networks that hold every address of the lists",
     R"(Examples:
  orvex-cli aggregate allow.txt deny.txt
  printf '10.0.0.0/25\n10.0.0.128/25\n' | orvex-cli aggregate
  orvex-cli aggregate blocks.txt --notation mask -o acl.txt)"},
    {TSetKind::merge, "Write the fewest networks of the addresses in list A or B", R"(Examples:
  orvex-cli merge office.txt vpn.txt
  orvex-cli merge old.txt - --json < new.txt
  orvex-cli merge allow.txt extra.txt --notation wildcard -o acl.txt)"},
    {TSetKind::common, "Write the fewest networks of the addresses in both list A and B",
     R"(Examples:
  orvex-cli common site-a.txt site-b.txt
  orvex-cli common allow.txt - --notation range < seen.txt
  orvex-cli common routes-v4.txt routes-v6.txt --json)"},
    {TSetKind::exclude, "Write the fewest networks of the addresses in list A but not in B",
     R"(Examples:
  orvex-cli exclude all.txt reserved.txt
  echo 10.1.0.0/16 | orvex-cli exclude private.txt -
  echo 0.0.0.0/0 | orvex-cli exclude - private.txt --notation mask)"},
    {TSetKind::ranges, "List each run of consecutive addresses of the lists as 'first - last'",
     R"(Examples:
  orvex-cli ranges allow.txt
  printf '10.0.0.0/24\n10.0.1.0/24\n' | orvex-cli ranges --json
  orvex-cli ranges site-a.txt site-b.txt -o runs.txt)"},
    {TSetKind::deaggregate,
     "Split each range, network or address into the fewest networks, in the order given",
     R"(An argument that names no file is read as list text.

Examples:
  orvex-cli deaggregate 10.0.0.1-10.0.0.77
  orvex-cli deaggregate '192.168.0.0 - 192.168.3.255' 2001:db8::-2001:db8::ff
  orvex-cli deaggregate ranges.txt --notation wildcard)"},
    {TSetKind::summary,
     "Find the one shortest network of each family that holds the lists, and what it adds",
     R"(Each line: NETWORK holds N addresses, L listed, A added.

Examples:
  orvex-cli summary routes.txt
  printf '10.0.0.0/24\n10.0.3.0/24\n' | orvex-cli summary --json
  orvex-cli summary routes.txt | cut -d' ' -f1)"},
    {TSetKind::overlaps,
     "List every pair of items that share addresses: duplicate, contains, inside, overlaps",
     R"(Each line: LINE: ITEM RELATION LINE: ITEM, with FILE: before each LINE when
several files are given.

Examples:
  orvex-cli overlaps routes.txt
  orvex-cli overlaps site-a.txt site-b.txt --json
  cat *.txt | orvex-cli overlaps -)"},
};

}  // namespace

std::vector<TSubcommand> AddSetCommands(CLI::App& app) {
  std::vector<TSubcommand> commands;
  for (const TSetCommandText& c : kSetCommands) {
    auto o = std::make_shared<TSetOptions>();
    CLI::App* sub = app.add_subcommand(CommandName(c.kind), c.description);
    const bool pair =
        c.kind == TSetKind::merge || c.kind == TSetKind::common || c.kind == TSetKind::exclude;
    if (pair) {
      sub->add_option("A", o->a, "The first list file; - for standard input")->required();
      sub->add_option("B", o->b, "The second list file; - for standard input")->required();
    } else {
      sub->add_option(
          c.kind == TSetKind::deaggregate ? "FILE|RANGE" : "FILE", o->inputs,
          c.kind == TSetKind::deaggregate
              ? "List files (- for standard input) or items such as 10.0.0.1-10.0.0.77; "
                "none: standard input"
              : "List files; - or none: standard input");
    }
    if (c.kind != TSetKind::ranges && c.kind != TSetKind::overlaps)
      sub->add_option("--notation", o->notation,
                      "Networks as cidr (10.0.0.0/24), mask (10.0.0.0 255.255.255.0), wildcard "
                      "(10.0.0.0 0.0.0.255) or range (10.0.0.0 - 10.0.0.255); IPv6 stays CIDR "
                      "but for range")
          ->check(CLI::IsMember({"cidr", "mask", "wildcard", "range"}));
    sub->add_flag("--lenient", o->lenient,
                  "Exit 0 even when lines were ignored (they are still reported)");
    AddOutputOptions(*sub, *o, false);
    sub->footer(c.footer);
    const TSetKind kind = c.kind;
    commands.push_back({sub, [kind, o, sub] { return Run(kind, *o, *sub); }});
  }
  return commands;
}
