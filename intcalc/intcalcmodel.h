#pragma once
// The Integer Calculator without its window: the display text and what
// follows from it (notation, value, labels, enabled buttons, the
// converted-values block, the caption), the conversions, the operators with
// the calculation line and its history, and the bit analyzer. The window
// hands in what the user typed or pressed and copies these fields out.
// Plain C++17; no Qt.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "intcalc/numberformat.h"

// The operator waiting for its second operand.
enum TPendingOp { poNone, poAnd, poOr, poXor, poAdd, poSub, poMul, poDiv };

// The buttons whose enabled state follows the display.
enum TCalcButton {
  cbB2D,
  cbB2H,
  cbD2B,
  cbD2H,
  cbH2B,
  cbH2D,
  cbIP2Int,
  cbInt2IP,
  cbMAC2Int,
  cbInt2MAC,
  cbSwap,
  cbHTONL,
  cbNTOHL,
  cbBitAnalyzer,
  cbAnd,
  cbOr,
  cbXor,
  cbNot,
  cbAdd,
  cbSub,
  cbMul,
  cbDiv,
  cbEqual,
  cbCount
};

// One line of the converted-values block; the characters from highlightFrom
// on, highlightLength of them, are shown blue and underlined.
struct TBlockLine {
  std::string text;
  int highlightFrom = 0;
  int highlightLength = 0;
  bool operator==(const TBlockLine& o) const {
    return text == o.text && highlightFrom == o.highlightFrom &&
           highlightLength == o.highlightLength;
  }
};
using TBlock = std::vector<TBlockLine>;

// The converted-values block for a value: decimal, binary (padded to
// bitWidth digits), octal, hexadecimal (bitWidth / 4 digits), the IPv4 form
// of the lower 32 bits and, below 2^48, the MAC form. Empty for 0. With
// highlightLow32 the lower 32 binary and 8 hex digits are marked when there
// are more.
TBlock ConvertedValues(int64_t value, int bitWidth, bool highlightLow32, int macFormat);
// The same lines also for 0, which the window leaves without a block.
TBlock ConvertedValueLines(int64_t value, int bitWidth, bool highlightLow32, int macFormat);

// The calculation-line symbol of an operator (" & ", " + ", ...).
const char* OperatorSymbol(TPendingOp op);

// How "=" ended (also when an operator or NOT finished a pending calculation).
enum TCalcResult {
  crNothing,       // no calculation was pending
  crDone,          // the result is in the display and the history
  crDivideByZero,  // nothing computed; the division stays pending
};

class TIntCalcModel {
 public:
  static constexpr const char* kTitle = "Integer Calculator";

  TIntCalcModel();

  // Options: bit width 0/16/32/64, MAC format 0-2 (others print as 0),
  // highlighting of the lower 32 bits. A MAC address in the display is
  // written again in the new format; the block is rebuilt.
  void ApplyOptions(int bitWidth, int macFormat, bool highlightLow32);
  // The pop-up menu's choices; the block is rebuilt for the display value.
  void SetBitWidth(int bitWidth);
  void SetHighlightLow32(bool on);

  // A new display text (typed, pasted or written by a handler): trimmed and
  // analysed.
  void SetDisplay(std::string_view text);
  // Recognises the display and sets the labels, buttons, block and caption.
  void AnalyseDisplay();
  // Fills the block for value with the current options.
  void ShowConvertedValues(int64_t value);

  // The conversion buttons: each rewrites the display when its notation
  // applies and does nothing otherwise.
  void B2DButtonClick();
  void B2HButtonClick();
  void D2BButtonClick();
  void D2HButtonClick();
  void H2BButtonClick();
  void H2DButtonClick();
  void IP2IntButtonClick();
  void Int2IPButtonClick();
  void MAC2IntButtonClick();
  void Int2MACButtonClick();
  void SwapButtonClick();
  // Reverse the byte order of the lower 32 bits and keep the notation.
  void btnHTONLClick();
  void btnNTOHLClick();
  // Writes a 32-bit value in a notation (decimal, binary, hex or IPv4).
  void ShowInNotation(TNumberKind kind, uint32_t value);

  // A binary operator: finishes a pending calculation first, then takes the
  // display as the first operand and clears it.
  TCalcResult BinaryOperator(TPendingOp op);
  // Finishes the pending calculation: result into the display, the whole
  // calculation into the history.
  TCalcResult btnEqualClick();
  // Finishes a pending calculation, then complements the display value.
  TCalcResult btnNotClick();
  // Puts the result of history entry `index` into the display.
  void SelectHistory(std::size_t index);
  // Clears the display, the calculation line and the block; the history stays.
  void Clear();

  // A key goes into the display: the bit count shows the selection length.
  void KeyTyped(std::size_t selectionLength);
  // Bit analyzer on or off (its toggle button).
  void SetBitAnalyzerMode(bool on);
  // Evaluates the selected bits of a binary display (character positions).
  void UpdateBitAnalyzer(std::size_t selStart, std::size_t selLength);
  void ResetBitAnalyzer();

  // Notation and value of the display text (0 when not recognised).
  TNumberKind FKind = nkUnknown;
  int64_t FValue = 0;
  // First operand and the operator waiting for the second one.
  int64_t FOperand = 0;
  TPendingOp FPendingOp = poNone;
  // Options of this window.
  int FBitWidth = 0;
  int FMacFormat = 0;
  bool FHighlightLow32 = false;

  // What the window shows.
  std::string Display;        // edtDisplay
  std::string DisplayMode;    // lblDisplayMode
  std::string DisplayLength;  // lblDisplayLength
  std::string Caption;        // the window caption
  std::string Calculation;    // the text of edtCalculation
  std::vector<std::string> History;
  TBlock Block;                   // reMultiDisplay
  std::string MultiDisplayTitle;  // lblMultiDisplay
  bool BitAnalyzerOn = false;     // BAButton down, BitAnalyzerGroupBox shown
  std::string DecAnalyzer;
  std::string HexAnalyzer;
  std::string BitCount;  // BLengthLabel
  std::array<bool, cbCount> Enabled{};

 private:
  // The button is released and the analyzer hidden by something else than
  // its own toggle.
  void ReleaseBitAnalyzer();
  // The calculation line when the pending operator was pressed ("7 / ").
  std::string FCalculationBase;
};
