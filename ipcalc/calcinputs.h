#pragma once
// The calculator's input fields: Enter runs the field's action instead of
// reaching the window, a comma types a dot (keypads with a decimal comma),
// and the field wears the focus colour while it has the focus.

#include <QList>
#include <QObject>

class QWidget;

class TCalcInputs : public QObject {
  Q_OBJECT
 public:
  explicit TCalcInputs(QObject* parent = nullptr);

  // Watches an input; an editable combo box together with its line edit.
  void Watch(QWidget* input);
  // The window became active or inactive: the focused input shows it.
  void SetActive(bool active);

 signals:
  // Enter or Return was pressed in the input.
  void entered(QWidget* input);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The watched input `watched` is or belongs to; null for none.
  QWidget* InputOf(const QObject* watched) const;
  QList<QWidget*> FInputs;
};
