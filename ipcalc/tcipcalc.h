#pragma once
// The IPv4 Calculator tool window.

#include "shell/tcchild.h"

class TcIpCalc : public TcChild {
  Q_OBJECT
 public:
  explicit TcIpCalc(QWidget* parent = nullptr);
  void ApplyOptions(const TOptionsRec& options) override;
  int HelpContext() const override { return 1000; }

 protected:
  void SaveState() override;
};
