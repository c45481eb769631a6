#include "ipcalc/calcinputs.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "common/widgethelpers.h"

TCalcInputs::TCalcInputs(QObject* parent) : QObject(parent) {}

void TCalcInputs::Watch(QWidget* input) {
  FInputs.append(input);
  input->installEventFilter(this);
  if (auto* combo = qobject_cast<QComboBox*>(input))
    if (QLineEdit* edit = combo->lineEdit()) edit->installEventFilter(this);
}

void TCalcInputs::SetActive(bool active) {
  for (QWidget* w : FInputs) {
    const bool focused = w->hasFocus() || w->isAncestorOf(QApplication::focusWidget());
    if (active && focused)
      SetEditColor(w, FocusColor());
    else
      ResetEditColor(w);
  }
}

QWidget* TCalcInputs::InputOf(const QObject* watched) const {
  for (QWidget* w : FInputs) {
    if (watched == w) return w;
    const auto* combo = qobject_cast<const QComboBox*>(w);
    if (combo && watched == combo->lineEdit()) return w;
  }
  return nullptr;
}

bool TCalcInputs::eventFilter(QObject* watched, QEvent* event) {
  QWidget* input = InputOf(watched);
  if (!input) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        emit entered(input);
        return true;
      }
      if (key->text() == QLatin1String(",")) {
        QKeyEvent dot(QEvent::KeyPress, Qt::Key_Period, key->modifiers(), QStringLiteral("."));
        QApplication::sendEvent(watched, &dot);
        return true;
      }
      break;
    }
    case QEvent::FocusIn:
      SetEditColor(input, FocusColor());
      break;
    case QEvent::FocusOut:
      ResetEditColor(input);
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}
