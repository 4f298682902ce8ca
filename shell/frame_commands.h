// frame_commands.h - the frame's commands in one table.
//
// A command reaches the frame as an id: a File, Edit or Record item's
// (100 x menu + item - 100, the items of the menu definitions), an entry
// of the register, module, Settings or operations popup (a range of
// ids), or an item of the Window and Help menus. A row of the table names
// one command or a popup's range, where its item stands, whether it
// answers while the frame waits for a login or serves as a server's own
// frame, and what runs it. The frame's dispatch and its Ctrl keys
// (frame_proc.cpp, menu_keys.cpp), the greying of the menus
// (menu_state.cpp) and the gate (frame_gate.cpp) all read it, so a
// command is added in one place.
#pragma once

#include <cstdint>
#include <span>

#include "core/list_slot.h"
#include "shell/settings_menu.h"

// The ids the frame's code names.
namespace FrameCmd {
constexpr int About = 100;
constexpr int FileCompany = 101, FileWindows = 102, FileMaintenance = 104, FileImport = 105, FilePrint = 107,
              FileReports = 108, FileDocuments = 109, FileJobQueue = 110, FileCompactExit = 111, FileExit = 112;
constexpr int EditUndo = 201, EditCut = 203, EditCopy = 204, EditPaste = 205, EditDeleteRow = 206,
              EditInsertRow = 207, EditSelectRow = 208, EditChoose = 210;
constexpr int RecordNext = 301, RecordPrevious = 302, RecordOk = 304, RecordCancel = 305, RecordNew = 306,
              RecordCopyAsNew = 307, RecordDelete = 308, RecordNotes = 309;
// The register popup: the module list (compact variant) and entry k at
// RegisterEntries + k.
constexpr int RegisterModuleList = 399, RegisterEntries = 400, RegisterLast = 499;
// The module list, and the module popup: entry i at ModuleFirst + i.
constexpr int ModuleList = 500, ModuleFirst = ModuleMenuFirstId, ModuleLast = 599;
constexpr int Help = 601;
// A window's operations popup: operation k (from 1) at Operations + k.
constexpr int Operations = 700, OperationsLast = 799;
constexpr int Cascade = 801, TileHorizontal = 802, TileVertical = 803, ArrangeIcons = 804, CloseAll = 805,
              MinimizeAll = 806, RestoreAll = 807, PlacementSave = 808, PlacementDefault = 809;
}  // namespace FrameCmd

// Where a command's item stands. File, Edit and Record items stand at
// the item number their id gives (FrameMenuItem); the Window and Help
// menus' items are found by their ids; a popup's entries are its range.
enum class FrameMenu : uint8_t { None, File, Edit, Record, Registers, Modules, Settings, Operations, Window, Help };

// Whether a command answers while nobody is logged in to the open company.
enum class Unlogged : uint8_t {
    No,            // refused, its item greyed
    Yes,           // answered
    InItsWindow,   // answered for the window that waits: the login window, a server's status window
};

struct FrameCommandRec {
    int first, last;    // the command's id, or its popup's range of ids
    FrameMenu menu;     // where its item stands; None: it has no item
    Unlogged atLogin;   // while the login window (a window of menu kind 1) asks
    Unlogged atServer;  // at a server's own frame, where no login comes
    void (*run)(int id, int w);   // runs it for the active window w
};

// Every command of the frame, in the order of their ids.
std::span<const FrameCommandRec> FrameCommands();
// The row of command id; null when the frame has no such command.
const FrameCommandRec *FrameCommandOf(int id);
// The item number of a File, Edit or Record command in its menu; 0 for
// a command of any other place.
int FrameMenuItem(const FrameCommandRec &c, int id);
// Runs command id for the active window w as its row says; nothing for
// an id the frame does not know.
void FrameCommandRun(int id, int w);
