#pragma once
// The Integer Calculator tool window: one display line that is input and
// output, the converted-values block, the calculation line with its history,
// the conversion and operator buttons and the bit analyzer. Everything it
// shows comes from its TIntCalcModel; the window only passes on what the
// user does and copies the model's texts and states into its controls.

#include <array>

#include "common/tcchild.h"
#include "intcalc/intcalcmodel.h"

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QTextEdit;
class QWidget;

class TcIntConv : public TcChild {
  Q_OBJECT
 public:
  explicit TcIntConv(QWidget* parent = nullptr);
  ~TcIntConv() override;

  void ApplyOptions(const TOptionsRec& options) override;
  // Analyses the display again (after an options change).
  void RefreshDisplay() override;

  // Moves scBox to the middle of the client area, or to its left or top edge
  // where the area is smaller than the box (runs on every resize).
  void CentreContent();

  // The state this window mirrors.
  TIntCalcModel FModel;

  // Controls.
  QScrollArea* ScrollBox1 = nullptr;
  QWidget* scBox = nullptr;
  QLabel* lblDisplayMode = nullptr;
  QLabel* lblDisplayLength = nullptr;
  QLineEdit* edtDisplay = nullptr;
  QLabel* lblMultiDisplay = nullptr;
  QTextEdit* reMultiDisplay = nullptr;
  QComboBox* edtCalculation = nullptr;
  QGroupBox* BitAnalyzerGroupBox = nullptr;
  QLabel* DecAnalyzer = nullptr;
  QLabel* HexAnalyzer = nullptr;
  QLabel* BLengthLabel = nullptr;
  QPushButton* BAButton = nullptr;
  QPushButton* DisplayEditClearButton = nullptr;
  QMenu* pmConvert = nullptr;
  QAction* Variablebitwidth1 = nullptr;
  QAction* BitWidth161 = nullptr;
  QAction* BitWidth321 = nullptr;
  QAction* BitWidth641 = nullptr;
  QAction* HighlightLower32bit1 = nullptr;
  QAction* Copy1 = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  QPushButton* NewButton(TCalcButton id, const char* name, const char* caption, const char* hint,
                         int left, int top, int width);
  // Copies the model into the controls.
  void Sync();
  void ShowBlock();
  void SyncCalculation();
  // Mirrors a handler's effect; a zero divisor is reported.
  void Finish(TCalcResult result, bool focusDisplay);

  void edtDisplayChange();
  bool edtDisplayKeyPress(QKeyEvent* key);
  void edtDisplayKeyUp(QKeyEvent* key);
  void UpdateBitAnalyzer();
  void OperatorPressed(TCalcButton button);
  void edtCalculationSelect(int index);
  void DisplayEditClearButtonClick();
  void BAButtonClick();
  void pmConvertPopup(const QPoint& pos);
  void SetBitWidth(int bitWidth);
  void Copy1Click();
  void SetFocusColours(bool active);

  std::array<QPushButton*, cbCount> FButtons{};
  TBlock FShownBlock;
  QString FDisplayHint;
  bool FInitialFocusGiven = false;
  bool FAltCPressed = false;
};
