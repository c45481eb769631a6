#pragma once
// The 128 bits of an address in eight rows of 16, each row labelled with its
// group number and hex value; network bits and host bits in two colours.

#include <QWidget>

#include "ipv6lib/ipv6.h"

class TV6BinaryView : public QWidget {
  Q_OBJECT
 public:
  explicit TV6BinaryView(QWidget* parent = nullptr);

  // Shows an address under a prefix length; an invalid address clears the view.
  void SetAddress(const ipv6& address, int prefix);
  // The bits as text, one labelled group a line; "" when clear.
  QString Text() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ipv6 FAddress;
  int FPrefix = 0;
  bool FShown = false;
};
