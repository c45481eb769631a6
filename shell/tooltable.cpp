#include "shell/tooltable.h"

#include "common/icons.h"
#include "common/options.h"
#include "common/tcchild.h"
#include "intcalc/tcintconv.h"
#include "ipcalc/tcipcalc.h"
#include "ipv6calc/tcipv6calc.h"
#include "maskchart/subnettingdialog.h"
#include "maskchart/tcmaskchart.h"
#include "netsets/tcnetsets.h"
#include "planner/tcplanner.h"

namespace {

TcChild* NewIpCalc(const TToolContext&) {
  return new TcIpCalc;
}

TcChild* NewMaskChart(const TToolContext& context) {
  auto* chart = new TcMaskChart;
  // Every chart opens the one Subnetting dialog made at start.
  chart->SetSubnettingDialog(context.subnetting);
  return chart;
}

TcChild* NewIntConv(const TToolContext&) {
  return new TcIntConv;
}

TcChild* NewIpv6Calc(const TToolContext&) {
  return new TcIpv6Calc;
}

TcChild* NewNetSets(const TToolContext&) {
  return new TcNetSets;
}

TcChild* NewPlanner(const TToolContext&) {
  return new TcPlanner;
}

}  // namespace

const std::vector<TToolInfo>& ToolTable() {
  static const std::vector<TToolInfo> tools{
      {wkIpCalc, "acIpCalc", "IPv4 Calculator...",
       "IPv4 Calculator|Open a new IPv4 Calculator window", "Ctrl+Alt+I", iiIpCalc, kStartIpCalc,
       "IP Calculator", 1000, NewIpCalc},
      {wkMaskChart, "acMaskChart", "Mask Chart...", "Mask Chart|Open a subnet mask chart",
       "Ctrl+Alt+M", iiMaskChart, kStartMaskChart, "Mask Chart", kMaskChartHelpTopic, NewMaskChart},
      {wkIntConv, "acIntConv", "Integer Calculator...",
       "Integer Calculator|Open a new integer calculator window", "Ctrl+Alt+C", iiIntConv,
       kStartIntConv, "Integer Calculator", 3000, NewIntConv},
      {wkIpv6Calc, "acIpv6Calc", "IPv6 Calculator...",
       "IPv6 Calculator|Open a new IPv6 calculator window", "Ctrl+Alt+6", iiIpv6Calc,
       kStartIpv6Calc, "IPv6 Calculator", 4000, NewIpv6Calc},
      {wkNetSets, "acNetSets", "Network Sets...", "Network Sets|Open a new network set window",
       "Ctrl+Alt+S", iiNetSets, kStartNetSets, "Network Sets", 5000, NewNetSets},
      {wkPlanner, "acPlanner", "Address Planner...",
       "Address Planner|Plan subnets for a list of host counts", "Ctrl+Alt+P", iiPlanner,
       kStartPlanner, "Address Planner", 6000, NewPlanner},
  };
  return tools;
}

const TToolInfo* FindTool(int kind) {
  for (const TToolInfo& tool : ToolTable())
    if (tool.kind == kind) return &tool;
  return nullptr;
}
