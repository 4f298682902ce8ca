// menu_lists.h - the menu-list windows: the lists of what the interface
// file offers (reports 6, module functions 7 and 10, documents 8, windows
// 12, modules 13), filled with the current module's entries the user may
// use, and what their OK and buttons run; the import command.
#pragma once

#include <cstdint>

// The record of a menu-list window (types 6, 7, 8, 10, 12, 13): byte
// offsets of its words. The action of types 6 and 8 and the list kind of
// types 7 and 10 share word 1; a radio group's group word is the offset
// of the word it sets, its button word the value it sets.
namespace MenuListRecord {
constexpr uint32_t Device = 0;     // word 0: output device
constexpr uint32_t Action = 2;     // word 1: action (6, 8) or list kind (7, 10)
constexpr uint32_t Flag = 4;       // word 2
constexpr uint32_t ListKind = 8;   // word 4: the report list's kind
constexpr uint32_t Size = 10;      // the bytes the lists use
}  // namespace MenuListRecord

// What the function list shows (MenuListRecord::Action of the function and
// import lists), and what the report list shows (MenuListRecord::ListKind).
enum class FunctionListKind : uint16_t { Exports = 1, Imports = 2, Maintenance = 3 };
enum class ReportListKind : uint16_t { Reports = 1, Saved = 2 };
// The codes as the list's record stores them.
constexpr int ListCode(FunctionListKind k) { return static_cast<int>(k); }
constexpr int ListCode(ReportListKind k) { return static_cast<int>(k); }

// An entry of the five-word menu tables (saved-report map, reports,
// exports, imports, maintenance, documents): byte offsets of its words.
namespace MenuTableEntry {
constexpr uint32_t Text = 0;       // text number of its row
constexpr uint32_t WinType = 2;    // parameter window type, 0 none
constexpr uint32_t Number = 4;     // report, document or function number
constexpr uint32_t WinType2 = 6;   // second window type, 0 none
constexpr uint32_t Module = 8;     // module code, 0 every module
}  // namespace MenuTableEntry

// An entry of the window list: byte offsets of its three words.
namespace WindowListEntry {
constexpr uint32_t Text = 0, WinType = 2, Module = 4;
}

// ---- menu_lists.cpp ----
// Fills the list box of n (types 6, 7, 10, 8, 12, 13) with the listed entries.
void MenuListFill(int n);
// The table index of the entry list row `row` of n shows, its entry in *entry; -1 none.
int MenuListEntryOfRow(int n, int row, const uint8_t **entry);
// Enables or disables every control of a shown page of n with group `group` and button `button`.
void WinButtonsEnable(int n, int group, int button, bool on);

// ---- menu_list_runs.cpp ----
// The OK of the report list (type 6): runs the selected report by the list's action.
void ReportListRun(int n);
// The OK of the document list (type 8).
void DocumentListRun(int n);
// The OK of the module-function lists (types 7 and 10): export, import or maintenance.
void ModuleFunctionListRun(int n);
// The OK of the window list (type 12): opens the selected window type.
void WindowListRun(int n);
// The OK of the module list (type 13): closes the list and enters the selected module.
void ModuleListRun(int n);
// Button `button` of the report list, of the document list.
void ReportListButton(int n, int button);
void DocumentListButton(int n, int button);
// Opens or activates a window of `type` with n's list parameters and `number`; its number, 0 none.
int OpenWindowWithArgs(int n, int type, int number);
// A choice changed in n (control `control`, record offset `field`): refills or
// enables what the type asks, else raises event 2.
void WindowListChoice(int n, int control, uint32_t field, bool changed);

// ---- import_command.cpp ----
// False, with text 1553 shown, while an open window is in edit state 1 or 2.
bool ImportAllowedNow();
// Runs import `number` from device `device`.
void ImportCommand(int number, int device);
// Asks for the file to import and imports it; 0 when cancelled or refused.
int ImportFileAsk();
