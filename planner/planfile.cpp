// Plan files (JSON) and the CSV export of results.

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

#include "planner/planner.h"

namespace planner {

namespace {

using ojson = nlohmann::ordered_json;

constexpr const char kFormat[] = "orvex-plan/1";
constexpr const char kFormatStem[] = "orvex-plan/";
constexpr int kFormatVersion = 1;

// A field that does not read: the message names it, and which need it belongs to.
struct bad_field {
  std::string message;
};

[[noreturn]] void fail(std::string message) {
  throw bad_field{std::move(message)};
}

std::string need_label(std::size_t i, const std::string& name) {
  std::string s = "need " + std::to_string(i + 1);
  if (!name.empty()) s += " (" + name + ")";
  return s;
}

std::string text_of(const ojson& v, const std::string& where, const char* key) {
  if (!v.is_string()) fail(where + ": \"" + key + "\" must be a text");
  return v.get<std::string>();
}

uint64_t whole_of(const ojson& v, const std::string& where, const char* key, uint64_t max) {
  if (!v.is_number_integer() ||
      (v.is_number_integer() && !v.is_number_unsigned() && v.get<int64_t>() < 0))
    fail(where + ": \"" + key + "\" must be a whole number from 0 to " + std::to_string(max));
  const uint64_t n = v.get<uint64_t>();
  if (n > max)
    fail(where + ": \"" + key + "\" must be a whole number from 0 to " + std::to_string(max));
  return n;
}

need read_need(const ojson& j, std::size_t i) {
  need n;
  std::string where = need_label(i, "");
  if (!j.is_object()) fail(where + " is not an object");
  auto name = j.find("name");
  if (name == j.end()) fail(where + ": \"name\" is missing");
  n.name = text_of(*name, where, "name");
  where = need_label(i, n.name);
  auto hosts = j.find("hosts");
  auto prefix = j.find("prefix");
  if (hosts == j.end() && prefix == j.end()) fail(where + ": \"hosts\" or \"prefix\" is missing");
  if (hosts != j.end())
    n.hosts = whole_of(*hosts, where, "hosts", std::numeric_limits<uint64_t>::max());
  if (prefix != j.end()) n.prefix = static_cast<int>(whole_of(*prefix, where, "prefix", 128));
  if (auto c = j.find("copies"); c != j.end())
    n.copies =
        static_cast<uint32_t>(whole_of(*c, where, "copies", std::numeric_limits<uint32_t>::max()));
  if (auto t = j.find("note"); t != j.end()) n.note = text_of(*t, where, "note");
  if (auto v = j.find("vlan"); v != j.end() && !v->is_null())
    n.vlan = static_cast<uint32_t>(whole_of(*v, where, "vlan", 4095));
  if (auto f = j.find("fixed"); f != j.end() && !f->is_null())
    n.fixed = text_of(*f, where, "fixed");
  return n;
}

plan read_plan(const ojson& j) {
  if (!j.is_object()) fail("not a plan file: the document is not a JSON object");
  auto format = j.find("format");
  if (format == j.end()) fail("not a plan file: \"format\" is missing");
  if (!format->is_string()) fail("not a plan file: \"format\" is not a text");
  const std::string f = format->get<std::string>();
  if (f != kFormat) {
    const std::string stem = kFormatStem;
    if (f.compare(0, stem.size(), stem) == 0) {
      const std::string rest = f.substr(stem.size());
      bool digits = !rest.empty() && rest.size() < 9 &&
                    rest.find_first_not_of("0123456789") == std::string::npos;
      if (digits && std::stoi(rest) > kFormatVersion)
        fail("the plan was made by a newer version (format " + f + "); this version reads " +
             kFormat);
    }
    fail("unknown format \"" + f + "\"; this version reads " + kFormat);
  }
  plan p;
  auto parents = j.find("parents");
  if (parents == j.end()) fail("\"parents\" is missing");
  if (!parents->is_array()) fail("\"parents\" must be a list of networks");
  for (std::size_t i = 0; i < parents->size(); ++i) {
    const ojson& v = (*parents)[i];
    if (!v.is_string()) fail("parent " + std::to_string(i + 1) + " is not a text");
    p.parents.push_back(v.get<std::string>());
  }
  if (auto pr = j.find("profile"); pr != j.end()) {
    if (!pr->is_string() || !profile_from_key(pr->get<std::string>(), &p.prof))
      fail("\"profile\" must be \"standard\", \"aws\", \"azure\" or \"gcp\"");
  }
  if (auto rf = j.find("rfc3021"); rf != j.end()) {
    if (!rf->is_boolean()) fail("\"rfc3021\" must be true or false");
    p.rfc3021 = rf->get<bool>();
  }
  if (auto g = j.find("growth"); g != j.end()) {
    if (!g->is_number() || !(g->get<double>() >= 0 && g->get<double>() <= kMaxGrowth))
      fail("\"growth\" must be a number from 0 to 10000");
    p.growth = g->get<double>();
  }
  auto needs = j.find("needs");
  if (needs == j.end()) fail("\"needs\" is missing");
  if (!needs->is_array()) fail("\"needs\" must be a list");
  p.needs.reserve(needs->size());
  for (std::size_t i = 0; i < needs->size(); ++i) p.needs.push_back(read_need((*needs)[i], i));
  return p;
}

// Line and column (from 1) of a byte offset.
std::string place_of(std::string_view text, std::size_t byte) {
  if (byte > text.size()) byte = text.size();
  std::size_t line = 1, column = 1;
  for (std::size_t i = 0; i < byte; ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

void csv_field(std::string& out, std::string_view field, char delimiter) {
  const char special[] = {delimiter, '"', '\r', '\n', '\0'};
  if (field.find_first_of(special) == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

std::string to_json(const plan& p) {
  ojson j;
  j["format"] = kFormat;
  j["parents"] = p.parents;
  j["profile"] = profile_key(p.prof);
  j["rfc3021"] = p.rfc3021;
  j["growth"] = std::isfinite(p.growth) ? p.growth : 0.0;
  ojson needs = ojson::array();
  for (const need& n : p.needs) {
    ojson o;
    o["name"] = n.name;
    if (n.prefix < 0 || n.hosts != 0) o["hosts"] = n.hosts;
    if (n.prefix >= 0) o["prefix"] = n.prefix;
    o["copies"] = n.copies;
    if (!n.note.empty()) o["note"] = n.note;
    if (n.vlan) o["vlan"] = *n.vlan;
    if (!n.fixed.empty()) o["fixed"] = n.fixed;
    needs.push_back(std::move(o));
  }
  j["needs"] = std::move(needs);
  return j.dump(2, ' ', false, ojson::error_handler_t::replace) + "\n";
}

bool from_json(std::string_view text, plan* out, std::string* error) {
  std::string message;
  try {
    const ojson j = ojson::parse(text.begin(), text.end());
    *out = read_plan(j);
    return true;
  } catch (const nlohmann::json::parse_error& e) {
    std::string what = e.what();
    // "[json.exception.parse_error.101] parse error at line 1, column 2: syntax error
    // while parsing value - invalid literal; last read: 'x'": keep the why, drop
    // the echo of the input.
    std::string why;
    const std::size_t dash = what.find(" - ");
    if (dash != std::string::npos) {
      why = what.substr(dash + 3);
      const std::size_t semi = why.find(';');
      if (semi != std::string::npos) why.resize(semi);
    }
    message = "not valid JSON at " + place_of(text, e.byte > 0 ? e.byte - 1 : 0);
    if (!why.empty()) message += ": " + why;
  } catch (const bad_field& e) {
    message = e.message;
  } catch (const std::exception& e) {
    message = std::string("the plan does not read: ") + e.what();
  } catch (...) {
    message = "the plan does not read";
  }
  if (error) *error = message;
  return false;
}

std::string to_csv(const result& r, char delimiter) {
  std::string out;
  const char* header[] = {"name", "hosts",     "prefix",   "network", "mask", "first",
                          "last", "broadcast", "capacity", "spare",   "note", "vlan"};
  for (std::size_t i = 0; i < std::size(header); ++i) {
    if (i) out += delimiter;
    out += header[i];
  }
  out += '\n';
  for (const allocation& a : r.allocations) {
    const std::string fields[] = {a.name,
                                  std::to_string(a.hosts),
                                  std::to_string(a.prefix),
                                  a.network,
                                  a.mask,
                                  a.first,
                                  a.last,
                                  a.broadcast,
                                  a.capacity.decimal(),
                                  a.spare.decimal(),
                                  a.note,
                                  a.vlan ? std::to_string(*a.vlan) : std::string()};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
      if (i) out += delimiter;
      csv_field(out, fields[i], delimiter);
    }
    out += '\n';
  }
  return out;
}

}  // namespace planner
