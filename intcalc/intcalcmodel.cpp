#include "intcalc/intcalcmodel.h"

#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4mac.h"

namespace {

constexpr uint64_t kMacLimit = uint64_t{1} << 48;

ipv4mac MacOf(uint64_t v) {
  return ipv4mac(static_cast<uint32_t>(v), static_cast<uint32_t>(v >> 32));
}

TBlockLine Line(std::string text) {
  return TBlockLine{std::move(text), 0, 0};
}

// Marks the last n characters of a line.
void HighlightTail(TBlockLine& line, int n) {
  line.highlightFrom = static_cast<int>(line.text.size()) - n;
  line.highlightLength = n;
}

}  // namespace

TBlock ConvertedValues(int64_t value, int bitWidth, bool highlightLow32, int macFormat) {
  if (value == 0) return TBlock();
  return ConvertedValueLines(value, bitWidth, highlightLow32, macFormat);
}

TBlock ConvertedValueLines(int64_t value, int bitWidth, bool highlightLow32, int macFormat) {
  TBlock block;
  const auto u = static_cast<uint64_t>(value);
  block.push_back(Line("Decimal: " + DecimalText(value)));

  const std::string binary = BinaryText(u, bitWidth);
  block.push_back(Line("Binary : " + binary));
  if (binary.size() > 34 && highlightLow32) HighlightTail(block.back(), 32);

  block.push_back(Line("Octal  : " + OctalText(u)));

  const std::string hex = BlockHexDigits(u, bitWidth);
  block.push_back(Line("Hex    : 0x" + hex));
  if (hex.size() > 8 && highlightLow32) HighlightTail(block.back(), 8);

  block.push_back(Line("IP     : " + ipv4(static_cast<uint32_t>(u)).text()));
  if (u < kMacLimit) block.push_back(Line("MAC    : " + MacOf(u).text(macFormat)));
  return block;
}

const char* OperatorSymbol(TPendingOp op) {
  switch (op) {
    case poAnd:
      return " & ";
    case poOr:
      return " | ";
    case poXor:
      return " ^ ";
    case poAdd:
      return " + ";
    case poSub:
      return " - ";
    case poMul:
      return " * ";
    case poDiv:
      return " / ";
    case poNone:
      break;
  }
  return "";
}

TIntCalcModel::TIntCalcModel()
    : Caption(kTitle), MultiDisplayTitle("Converted Values Quick View") {}

// ---------------------------------------------------------------- options

void TIntCalcModel::ApplyOptions(int bitWidth, int macFormat, bool highlightLow32) {
  FBitWidth = bitWidth;
  // The options store -1 for a format typed instead of chosen; like any
  // other number outside the list it means the first format.
  FMacFormat = macFormat >= 0 && macFormat <= 2 ? macFormat : 0;
  FHighlightLow32 = highlightLow32;
  if (FValue == 0) return;
  ShowConvertedValues(FValue);
  const ipv4mac mac(Display);
  if (mac.is_valid()) SetDisplay(mac.text(FMacFormat));
}

void TIntCalcModel::SetBitWidth(int bitWidth) {
  FBitWidth = bitWidth;
  ShowConvertedValues(FValue);
}

void TIntCalcModel::SetHighlightLow32(bool on) {
  FHighlightLow32 = on;
  ShowConvertedValues(FValue);
}

// ---------------------------------------------------------------- display analysis

void TIntCalcModel::SetDisplay(std::string_view text) {
  Display.assign(text.data(), text.size());
  AnalyseDisplay();
}

void TIntCalcModel::ShowConvertedValues(int64_t value) {
  Block = ConvertedValues(value, FBitWidth, FHighlightLow32, FMacFormat);
}

void TIntCalcModel::ReleaseBitAnalyzer() {
  if (!BitAnalyzerOn) return;
  BitAnalyzerOn = false;
  MultiDisplayTitle = "Converted values";
}

void TIntCalcModel::AnalyseDisplay() {
  const std::string_view trimmed = TrimText(Display);
  if (trimmed.size() != Display.size()) Display = std::string(trimmed);
  const std::size_t length = Display.size();

  const TClassified c = ClassifyNumber(Display);
  FKind = c.kind;
  FValue = c.value;

  for (int b = cbB2D; b <= cbInt2MAC; ++b) Enabled[static_cast<std::size_t>(b)] = false;
  Enabled[cbHTONL] = Enabled[cbNTOHL] =
      FKind == nkDecimal || FKind == nkBinary || FKind == nkHex || FKind == nkIPv4;
  Enabled[cbBitAnalyzer] = FKind == nkBinary;
  Enabled[cbSwap] = FKind == nkMAC;

  const std::string digits = length > 2 ? std::to_string(length - 2) : std::string();
  switch (FKind) {
    case nkDecimal:
      DisplayMode = "Assuming a decimal number.";
      DisplayLength.clear();
      ReleaseBitAnalyzer();
      Enabled[cbD2B] = Enabled[cbD2H] = Enabled[cbInt2IP] = Enabled[cbInt2MAC] = true;
      break;
    case nkBinary:
      DisplayMode = "Assuming a binary number.";
      DisplayLength = digits;
      Enabled[cbB2D] = Enabled[cbB2H] = Enabled[cbInt2IP] = Enabled[cbInt2MAC] = true;
      break;
    case nkHex:
      DisplayMode = "Assuming a hexadecimal number.";
      DisplayLength = digits;
      ReleaseBitAnalyzer();
      Enabled[cbH2B] = Enabled[cbH2D] = Enabled[cbInt2IP] = Enabled[cbInt2MAC] = true;
      break;
    case nkIPv4:
      DisplayMode = "Assuming an IPv4 address.";
      DisplayLength.clear();
      ReleaseBitAnalyzer();
      Enabled[cbIP2Int] = ipv4(Display).is_valid();
      break;
    case nkMAC:
      DisplayMode = "Assuming a MAC address.";
      DisplayLength.clear();
      ReleaseBitAnalyzer();
      Enabled[cbMAC2Int] = ipv4mac(Display).is_valid();
      break;
    case nkUnknown:
      DisplayMode = "Can't recognize number.";
      DisplayLength.clear();
      break;
  }

  const bool known = FKind != nkUnknown;
  for (int b = cbAnd; b <= cbEqual; ++b) Enabled[static_cast<std::size_t>(b)] = known;
  if (known) {
    ShowConvertedValues(FValue);
    Caption = std::string(kTitle) + " " + Display;
  } else {
    Block.clear();
  }
}

// ---------------------------------------------------------------- conversions

void TIntCalcModel::B2DButtonClick() {
  const TClassified c = ClassifyNumber(Display);
  if (c.kind == nkBinary) SetDisplay(DecimalText(c.value));
}

void TIntCalcModel::B2HButtonClick() {
  const TClassified c = ClassifyNumber(Display);
  if (c.kind == nkBinary) SetDisplay(DisplayHexText(static_cast<uint64_t>(c.value)));
}

void TIntCalcModel::D2BButtonClick() {
  const TClassified c = ClassifyNumber(Display);
  if (c.kind == nkDecimal) SetDisplay(BinaryText(static_cast<uint64_t>(c.value), 0));
}

void TIntCalcModel::D2HButtonClick() {
  const TClassified c = ClassifyNumber(Display);
  if (c.kind == nkDecimal) SetDisplay(DisplayHexText(static_cast<uint64_t>(c.value)));
}

void TIntCalcModel::H2BButtonClick() {
  const TClassified c = ClassifyNumber(Display);
  if (c.kind == nkHex) SetDisplay(BinaryText(static_cast<uint64_t>(c.value), 0));
}

void TIntCalcModel::H2DButtonClick() {
  const TClassified c = ClassifyNumber(Display);
  if (c.kind == nkHex) SetDisplay(DecimalText(c.value));
}

void TIntCalcModel::IP2IntButtonClick() {
  const ipv4 address(Display);
  if (address.is_valid()) SetDisplay(std::to_string(address.value()));
}

void TIntCalcModel::Int2IPButtonClick() {
  const TClassified c = ClassifyNumber(Display);
  if (c.kind != nkUnknown && c.kind != nkIPv4)
    SetDisplay(ipv4(static_cast<uint32_t>(c.value)).text());
}

void TIntCalcModel::MAC2IntButtonClick() {
  const ipv4mac mac(Display);
  if (mac.is_valid()) SetDisplay(DecimalText(static_cast<int64_t>(mac.value())));
}

void TIntCalcModel::Int2MACButtonClick() {
  const TClassified c = ClassifyNumber(Display);
  if (c.kind == nkUnknown || c.kind == nkIPv4 || c.kind == nkMAC) return;
  const auto u = static_cast<uint64_t>(c.value);
  if (u < kMacLimit) SetDisplay(MacOf(u).text(FMacFormat));
}

void TIntCalcModel::SwapButtonClick() {
  ipv4mac mac(Display);
  if (!mac.is_valid()) return;
  mac.reverse_bits();
  SetDisplay(mac.text(FMacFormat));
}

void TIntCalcModel::btnHTONLClick() {
  const TClassified c = ClassifyNumber(Display);
  if (c.kind == nkDecimal || c.kind == nkBinary || c.kind == nkHex || c.kind == nkIPv4)
    ShowInNotation(c.kind, SwapBytes32(static_cast<uint32_t>(c.value)));
}

void TIntCalcModel::btnNTOHLClick() {
  // On the little-endian host both directions reverse the four bytes.
  btnHTONLClick();
}

void TIntCalcModel::ShowInNotation(TNumberKind kind, uint32_t value) {
  switch (kind) {
    case nkDecimal:
      SetDisplay(std::to_string(value));
      break;
    case nkBinary:
      SetDisplay(BinaryText(value, 0));
      break;
    case nkHex:
      SetDisplay(DisplayHexText(value));
      break;
    case nkIPv4:
      SetDisplay(ipv4(value).text());
      break;
    default:
      SetDisplay("");
      break;
  }
}

// ---------------------------------------------------------------- operators

TCalcResult TIntCalcModel::BinaryOperator(TPendingOp op) {
  if (op == poNone) return crNothing;
  if (FPendingOp != poNone) {
    const TCalcResult r = btnEqualClick();
    if (r == crDivideByZero) return r;
  }
  Calculation = Display + OperatorSymbol(op);
  FCalculationBase = Calculation;
  FPendingOp = op;
  FOperand = FValue;
  SetDisplay("");
  return crDone;
}

TCalcResult TIntCalcModel::btnEqualClick() {
  if (FPendingOp == poNone) return crNothing;
  // Built from the line as the operator left it, so that a retry after a
  // zero divisor or a picked history entry does not leave its text behind.
  Calculation = FCalculationBase + Display + " = ";
  const auto a = static_cast<uint64_t>(FOperand);
  const auto b = static_cast<uint64_t>(FValue);
  uint64_t result = 0;
  uint64_t remainder = 0;
  switch (FPendingOp) {
    case poAnd:
      result = a & b;
      break;
    case poOr:
      result = a | b;
      break;
    case poXor:
      result = a ^ b;
      break;
    case poAdd:
      result = a + b;
      break;
    case poSub:
      result = a - b;
      break;
    case poMul:
      result = a * b;
      break;
    case poDiv:
      if (b == 0) return crDivideByZero;
      remainder = a % b;
      result = a / b;
      break;
    case poNone:
      break;
  }
  FValue = static_cast<int64_t>(result);
  SetDisplay(DecimalText(FValue));
  Calculation += Display;
  if (FPendingOp == poDiv && remainder != 0)
    Calculation += " Remainder = " + DecimalText(static_cast<int64_t>(remainder));
  History.push_back(Calculation);
  FPendingOp = poNone;
  return crDone;
}

TCalcResult TIntCalcModel::btnNotClick() {
  TCalcResult r = crDone;
  if (FPendingOp != poNone) {
    r = btnEqualClick();
    if (r == crDivideByZero) return r;
  }
  FValue = static_cast<int64_t>(~static_cast<uint64_t>(FValue));
  SetDisplay(DecimalText(FValue));
  return r;
}

void TIntCalcModel::SelectHistory(std::size_t index) {
  if (index >= History.size()) return;
  const std::string& entry = History[index];
  std::string result = entry;
  const std::size_t equal = entry.find('=');
  if (equal != std::string::npos)
    result = entry.substr(equal + 2 <= entry.size() ? equal + 2 : entry.size());
  const std::size_t remainder = result.find(" Remainder");
  if (remainder != std::string::npos) result.erase(remainder);
  // While a calculation waits for its second operand the line keeps showing
  // it; otherwise it shows the entry chosen.
  Calculation = FPendingOp != poNone ? FCalculationBase : entry;
  SetDisplay(result);
}

void TIntCalcModel::Clear() {
  FPendingOp = poNone;
  SetDisplay("");
  Calculation.clear();
  DisplayLength.clear();
  ReleaseBitAnalyzer();
  Block.clear();
  Caption = kTitle;
}

// ---------------------------------------------------------------- bit analyzer

void TIntCalcModel::KeyTyped(std::size_t selectionLength) {
  BitCount = selectionLength > 0 ? std::to_string(selectionLength) : std::string();
}

void TIntCalcModel::SetBitAnalyzerMode(bool on) {
  BitAnalyzerOn = on;
  Block.clear();
  if (on) {
    DecAnalyzer.clear();
    HexAnalyzer.clear();
    BitCount.clear();
    MultiDisplayTitle = "Converted values of display selection";
  } else {
    AnalyseDisplay();
    MultiDisplayTitle = "Converted values";
  }
}

void TIntCalcModel::UpdateBitAnalyzer(std::size_t selStart, std::size_t selLength) {
  if (selLength == 0 || FKind != nkBinary || selStart >= Display.size()) {
    ResetBitAnalyzer();
    return;
  }
  std::string s = Display.substr(selStart, selLength);
  // The first two characters are the prefix "0b".
  if (selStart == 0)
    s.erase(0, 2);
  else if (selStart == 1)
    s.erase(0, 1);
  if (s.empty()) {
    ResetBitAnalyzer();
    return;
  }
  BitCount = std::to_string(s.size());
  const int64_t v = ClassifyNumber("0b" + s).value;
  DecAnalyzer = DecimalText(v);
  HexAnalyzer = DisplayHexText(static_cast<uint64_t>(v));
  ShowConvertedValues(v);
}

void TIntCalcModel::ResetBitAnalyzer() {
  DecAnalyzer.clear();
  HexAnalyzer.clear();
  BitCount.clear();
  AnalyseDisplay();
  MultiDisplayTitle = "Converted values";
}
