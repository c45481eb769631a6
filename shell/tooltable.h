#pragma once
// The tools the main window knows, one row each: the main window builds its
// actions, start-up windows and help from these rows, and the options
// dialog its start-up list. A new tool is one row here plus its window.

#include <vector>

class TcChild;
class TfrmSubnetting;

// The long-lived dialogs a tool window may be handed when it is created.
struct TToolContext {
  TfrmSubnetting* subnetting = nullptr;
};

struct TToolInfo {
  // The window kind (TWindowKind); its number also ends the size keys the
  // window keeps in [Size] ("Width1", "Height1").
  int kind;
  // objectName of the action that opens the tool.
  const char* actionName;
  const char* caption;
  // "short|long" hint of the action.
  const char* hint;
  // Portable text of the action's shortcut; empty for none.
  const char* shortcut;
  // Icon of the action and of every window of the tool (TIconIndex).
  int icon;
  // The tool's bit in "StartupPages" of [Options]; 0 when it never opens
  // at start.
  int startupBit;
  // The tool's item in the options dialog's start-up list.
  const char* startupText;
  // Help topic opened by F1 while a window of the tool is active.
  int helpTopic;
  // Creates a window of the tool, not yet placed anywhere.
  TcChild* (*create)(const TToolContext& context);
};

// Every tool, in the order of the Start menu, the tool bar and the start-up
// windows.
const std::vector<TToolInfo>& ToolTable();
// The row of window kind `kind`, nullptr for a kind no tool has.
const TToolInfo* FindTool(int kind);
