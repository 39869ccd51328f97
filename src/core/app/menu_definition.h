// The menu bar, accelerators, status-bar prompts and fixed texts of the
// main window, as data shared by every front end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/commands.h"

namespace qlor {

/// One entry of a menu: a command item, a separator or a submenu.
struct MenuItem {
  enum class Kind { kCommand, kSeparator, kSubmenu };
  Kind kind = Kind::kCommand;
  /// The item text; "&" marks the underlined letter, "&&" is an ampersand.
  std::string_view text;
  int command = 0;
  /// The accelerator, for example "Ctrl+O"; empty when the item has none.
  std::string_view shortcut;
  /// True when the item can show a check mark.
  bool checkable = false;
  /// The items of a submenu.
  std::vector<MenuItem> items;
};

/// A menu of the menu bar.
struct Menu {
  std::string_view title;
  std::vector<MenuItem> items;
};

/// An accelerator key: Ctrl with a letter.
struct Accelerator {
  char letter;
  int command;
};

inline constexpr const char* kTitlePrefix = "QLOR - ";
inline constexpr const char* kStatusIdle = "Ready";
inline constexpr const char* kStatusIndicators[] = {"CAP", "NUM", "SCRL"};
inline constexpr const char* kAboutCaption = "About QLOR";
inline constexpr const char* kAboutVersion = "QLOR Version 1.0";
inline constexpr const char* kAboutText =
    "Second-order analysis of mapped point patterns";
inline constexpr int kMainWindowWidth = 600;
inline constexpr int kMainWindowHeight = 400;

/// The menus of the menu bar, left to right.
[[nodiscard]] const std::vector<Menu>& menu_bar();

/// The accelerator table.
[[nodiscard]] const std::vector<Accelerator>& accelerators();

/// The status-bar prompt of a command: the help text, "\n", the short name.
/// Empty for an unknown command.
[[nodiscard]] std::string_view command_prompt(int command);

/// The help text of a prompt (the part shown in the status bar).
[[nodiscard]] std::string_view prompt_help(std::string_view prompt);

}  // namespace qlor
