#include "common/themecolors.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <cmath>

namespace {

double Luminance(const QColor& c) {
  auto channel = [](double v) {
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// The background a text role is drawn on.
QPalette::ColorRole BackgroundOf(QPalette::ColorRole text) {
  switch (text) {
    case QPalette::Text:
      return QPalette::Base;
    case QPalette::ButtonText:
      return QPalette::Button;
    case QPalette::HighlightedText:
      return QPalette::Highlight;
    default:
      return QPalette::Window;
  }
}

// Keeps a widget's designed text colour readable across palette changes.
class TColourKeeper : public QObject {
 public:
  TColourKeeper(QWidget* widget, const QColor& designed, QPalette::ColorRole role)
      : QObject(widget), FWidget(widget), FDesigned(designed), FRole(role) {
    setObjectName(QStringLiteral("colourKeeper%1").arg(int(role)));
    widget->installEventFilter(this);
  }
  void Set(const QColor& designed) {
    FDesigned = designed;
    Apply();
  }
  void Apply() {
    const QPalette base = QApplication::palette(FWidget);
    QPalette pal = FWidget->palette();
    const QColor colour = ReadableTextColour(FDesigned, base.color(BackgroundOf(FRole)));
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
      pal.setColor(group, FRole, colour);
    FWidget->setPalette(pal);
  }
  QPalette::ColorRole Role() const { return FRole; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == FWidget && event->type() == QEvent::ApplicationPaletteChange) Apply();
    return false;
  }

 private:
  QWidget* FWidget;
  QColor FDesigned;
  QPalette::ColorRole FRole;
};

}  // namespace

bool IsDarkBackground(const QColor& background) {
  return Luminance(background) < 0.18;
}

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableTextColour(const QColor& designed, const QColor& background) {
  if (!designed.isValid() || !IsDarkBackground(background)) return designed;
  float h = 0, s = 0, l = 0, a = 1;
  designed.getHslF(&h, &s, &l, &a);
  if (h < 0) h = 0;
  // The same hue, lighter step by step until it reads like normal text.
  for (float light = std::max(l, 0.5f); light <= 0.95f; light += 0.025f) {
    const QColor candidate = QColor::fromHslF(h, s, light, a);
    if (ContrastRatio(candidate, background) >= 4.5) return candidate;
  }
  return QColor::fromHslF(h, s, 0.95f, a);
}

QColor ReadableBackgroundColour(const QColor& designed, const QColor& base) {
  if (!designed.isValid() || !IsDarkBackground(base)) return designed;
  float h = 0, s = 0, l = 0, a = 1;
  designed.getHslF(&h, &s, &l, &a);
  if (h < 0) h = 0;
  return QColor::fromHslF(h, s * 0.7f, 0.24f, a);
}

void SetTextColour(QWidget* widget, const QColor& designed, QPalette::ColorRole role) {
  if (!widget) return;
  const QString name = QStringLiteral("colourKeeper%1").arg(int(role));
  for (QObject* child : widget->children()) {
    if (child->objectName() == name) {
      static_cast<TColourKeeper*>(child)->Set(designed);
      return;
    }
  }
  (new TColourKeeper(widget, designed, role))->Apply();
}
