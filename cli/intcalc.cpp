// orvex-cli int: the Integer Calculator. One number prints its converted
// values; a chain of numbers and operators is pressed into the calculator
// from left to right, as a user would press the window's buttons.

#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/format.h"
#include "cli/output.h"
#include "intcalc/intcalcmodel.h"

namespace {

struct TIntOptions : TOutputOptions {
  std::vector<std::string> expression;
  int width = 0;
  std::string macFormat = "colon";
};

using ordered_json = nlohmann::ordered_json;

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return u;
}

TPendingOp OperatorOf(std::string_view token) {
  const std::string t = Upper(token);
  if (t == "AND" || t == "&") return poAnd;
  if (t == "OR" || t == "|") return poOr;
  if (t == "XOR" || t == "^") return poXor;
  if (t == "+") return poAdd;
  if (t == "-") return poSub;
  if (t == "*") return poMul;
  if (t == "/") return poDiv;
  return poNone;
}

bool IsNot(std::string_view token) {
  return token == "!" || Upper(token) == "NOT";
}

const char* KindName(TNumberKind kind) {
  switch (kind) {
    case nkDecimal:
      return "decimal";
    case nkBinary:
      return "binary";
    case nkHex:
      return "hex";
    case nkIPv4:
      return "ipv4";
    case nkMAC:
      return "mac";
    case nkUnknown:
      break;
  }
  return "unknown";
}

std::vector<std::string> Tokens(const std::vector<std::string>& args) {
  std::vector<std::string> tokens;
  for (const std::string& arg : args) {
    std::size_t i = 0;
    while (i < arg.size()) {
      while (i < arg.size() && static_cast<unsigned char>(arg[i]) <= ' ') ++i;
      const std::size_t start = i;
      while (i < arg.size() && static_cast<unsigned char>(arg[i]) > ' ') ++i;
      if (i > start) tokens.push_back(arg.substr(start, i - start));
    }
  }
  return tokens;
}

std::string Joined(const std::vector<std::string>& tokens) {
  std::string s;
  for (const std::string& t : tokens) s += (s.empty() ? "" : " ") + t;
  return s;
}

// What the calculator shows after the whole input was pressed in.
struct TEvaluation {
  TIntCalcModel model;
  TNumberKind kind = nkUnknown;  // of the last number typed
  bool chain = false;            // an operator was pressed
  TPendingOp lastOp = poNone;
};

TEvaluation Evaluate(const std::vector<std::string>& tokens, int width, int macFormat) {
  TEvaluation e;
  TIntCalcModel& m = e.model;
  m.ApplyOptions(width, macFormat, false);
  const std::string all = Joined(tokens);
  const auto divisionByZero = [&] { return TInputError{Quoted(all) + ": Division by zero."}; };
  bool expectNumber = true;
  int nots = 0;  // NOT written before the number that follows
  for (const std::string& t : tokens) {
    if (IsNot(t)) {
      if (expectNumber) {
        ++nots;
      } else if (m.btnNotClick() == crDivideByZero) {
        // After a number NOT is the window's button: it finishes the calculation first.
        throw divisionByZero();
      }
      continue;
    }
    const TPendingOp op = OperatorOf(t);
    if (op != poNone) {
      if (expectNumber) throw TInputError{Quoted(t) + " needs a number before it."};
      if (m.BinaryOperator(op) == crDivideByZero) throw divisionByZero();
      e.chain = true;
      e.lastOp = op;
      expectNumber = true;
      continue;
    }
    if (!expectNumber)
      throw TInputError{Quoted(t) + " follows a number without an operator between them."};
    const TClassified c = ClassifyNumber(t);
    if (c.kind == nkUnknown) throw TInputError{Quoted(t) + ": Can't recognize number."};
    m.SetDisplay(t);
    e.kind = c.kind;
    // Only this number is complemented, not what stands before it.
    for (; nots > 0; --nots) m.SetDisplay(DecimalText(int64_t(~uint64_t(m.FValue))));
    expectNumber = false;
  }
  if (expectNumber) throw TInputError{Quoted(tokens.back()) + " needs a number after it."};
  if (m.FPendingOp != poNone && m.btnEqualClick() == crDivideByZero) throw divisionByZero();
  return e;
}

// The value after "Label  : " of a block line, "" when the block has no such line.
std::string BlockValue(const TBlock& block, std::string_view label) {
  for (const TBlockLine& line : block)
    if (line.text.compare(0, label.size(), label) == 0) return line.text.substr(9);
  return std::string();
}

int BitLength(uint64_t v) {
  return v == 0 ? 0 : 64 - __builtin_clzll(v);
}

int Run(const TIntOptions& o, const CLI::App& sub) {
  const std::vector<std::string> tokens = Tokens(o.expression);
  if (tokens.empty()) return UsageError(sub, "int needs a number or a calculation");
  const int macFormat = o.macFormat == "dash" ? 1 : o.macFormat == "dot" ? 2 : 0;
  const TEvaluation e = Evaluate(tokens, o.width, macFormat);
  const TIntCalcModel& m = e.model;
  const uint64_t u = uint64_t(m.FValue);
  const TBlock block = ConvertedValueLines(m.FValue, o.width, false, macFormat);

  // The byte-order and MAC buttons on a copy, so the result stays as it is.
  TIntCalcModel swapped = m;
  std::string htonl = std::to_string(SwapBytes32(uint32_t(u)));
  if (m.FKind == nkDecimal || m.FKind == nkBinary || m.FKind == nkHex || m.FKind == nkIPv4) {
    swapped.btnHTONLClick();
    htonl = swapped.Display;
  }
  std::string macSwapped;
  if (m.FKind == nkMAC) {
    swapped = m;
    swapped.SwapButtonClick();
    macSwapped = swapped.Display;
  }
  std::string remainder;
  if (e.lastOp == poDiv) {
    const std::string& last = m.History.back();
    const std::size_t at = last.find(" Remainder = ");
    remainder = at == std::string::npos ? "0" : last.substr(at + 13);
  }

  WriteOutput(o, [&](TOutput& out) {
    if (o.json) {
      ordered_json j;
      j["kind"] = KindName(e.kind);
      j["decimal"] = BlockValue(block, "Decimal: ");
      j["unsigned"] = u;
      j["binary"] = BlockValue(block, "Binary : ");
      j["octal"] = BlockValue(block, "Octal  : ");
      j["hex"] = BlockValue(block, "Hex    : ");
      const std::string ip = BlockValue(block, "IP     : ");
      const std::string mac = BlockValue(block, "MAC    : ");
      j["ipv4"] = ip.empty() ? ordered_json() : ordered_json(ip);
      j["mac"] = mac.empty() ? ordered_json() : ordered_json(mac);
      j["htonl"] = SwapBytes32(uint32_t(u));
      j["bits"] = BitLength(u);
      j["mac_swapped"] = macSwapped.empty() ? ordered_json() : ordered_json(macSwapped);
      if (e.chain) {
        j["expression"] = m.History.back();
        j["history"] = m.History;
        j["remainder"] = remainder.empty() ? ordered_json() : ordered_json(std::stoll(remainder));
      }
      out.Write(j.dump(-1, ' ', false, ordered_json::error_handler_t::replace) + "\n");
      return;
    }
    if (e.chain)
      for (const std::string& line : m.History) out.Write(line + "\n");
    for (const TBlockLine& line : block) out.Write(line.text + "\n");
    out.Write("Bits   : " + std::to_string(BitLength(u)) + "\n");
    out.Write("htonl  : " + htonl + "\n");
    if (!macSwapped.empty()) out.Write("Swapped: " + macSwapped + "\n");
  });
  return 0;
}

}  // namespace

TSubcommand AddIntCommand(CLI::App& app) {
  auto o = std::make_shared<TIntOptions>();
  CLI::App* sub = app.add_subcommand(
      "int", "Convert a number between notations, or calculate as the Integer Calculator does");
  sub->add_option("EXPRESSION", o->expression,
                  "A number (255, 0xff, 0b1010, 10.0.0.1, 01:00:5e:00:00:01), or numbers "
                  "and operators AND OR XOR NOT & | ^ ! + - * / separated by blanks, worked "
                  "from left to right")
      ->required();
  sub->add_option("--width", o->width, "Pad binary and hexadecimal digits to 16, 32 or 64 bits")
      ->check(CLI::IsMember({0, 16, 32, 64}));
  sub->add_option("--mac-format", o->macFormat, "MAC style: colon, dash or dot")
      ->check(CLI::IsMember({"colon", "dash", "dot"}));
  AddOutputOptions(*sub, *o, false);
  sub->footer(R"(Arithmetic wraps around at 64 bits; division is unsigned and reports its
remainder. NOT before a number complements that number; after a number it
complements the result so far, as the window's NOT button does. Quote the
symbols the shell would take (& | ^ ! *).

Examples:
  orvex-cli int 0xff
  orvex-cli int -8 / 2
  orvex-cli int 10.0.0.1 + 1 --json)");
  return {sub, [o, sub] { return Run(*o, *sub); }};
}
