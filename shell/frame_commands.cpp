// frame_commands.cpp - the frame's commands: the table (see
// frame_commands.h) and what runs each.
//
// While nobody is logged in to the open company only what the waiting
// frame needs answers: the login window's Edit commands, a server's
// status window and its operation (serve clients again), the arrangement
// of the windows, Help and About, and at a server's frame File > Exit.
// The login window leaves no way out by the menus: its Cancel (or Esc)
// closes the company, and the frame's close box ends the program.
#include "shell/frame_commands.h"

#include <algorithm>
#include <iterator>

#include "core/definitions.h"
#include "platform/mdi.h"
#include "shell/login.h"
#include "shell/menus.h"
#include "shell/procedures.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_events.h"
#include "shell/window_mouse.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

void RunFileItem(int id, int w)
{
    MenuCommand(w, id - FrameCmd::FileCompany + 1);
    RedrawWindowOne();
}
void RunEditItem(int id, int w) { EditCommand(w, id - FrameCmd::EditUndo + 1); }
void RunRecordItem(int id, int w) { RecordCommand(w, id - FrameCmd::RecordNext + 1); }
// Register popup entry k (the compact variant's module list at -1).
void RunRegisterEntry(int id, int) { OpenModuleEntry(id - FrameCmd::RegisterEntries); }
void RunModuleList(int, int) { SwitchModule(-1, 0); }
void RunModuleEntry(int id, int)
{
    const uint8_t *entry = ListTableEntry(ListSlot::ModuleMenu, id - FrameCmd::ModuleFirst);
    if (entry) SwitchModule(DefU16(entry + ModuleMenuEntry::Module), 0);
    RedrawWindowOne();
}
void RunSettingsItem(int id, int) { SettingsMenuCommand(id); }
// An operation reaches its window as a pressed button: in b, where the
// record windows' handlers read it, and in a for the older handlers.
void RunOperation(int id, int w)
{
    if (!WinIsOpen(w)) return;
    int op = id - FrameCmd::Operations;
    WindowEvent(w, WindowEventCode::Button, &op, &op);
}
void RunAbout(int, int) { AboutWindowCommand(); }
void RunHelp(int, int) { HelpOpen(); }

// Runs `op` on the MDI child of every open window (minimise, restore).
void ForEachChild(void (*op)(uint32_t child))
{
    for (int n = WinFirst; n <= WinLast; n++)
        if (WinIsOpen(n) && WinTable[n]->mdiChild) op(WinTable[n]->mdiChild);
}

// The Window menu's commands.
void RunWindowItem(int id, int w)
{
    switch (id) {
    case FrameCmd::Cascade: MdiCascade(MdiClientWindow, kPlTileSkipDisabled); break;
    case FrameCmd::TileHorizontal: MdiTile(MdiClientWindow, kPlTileHorizontal); break;
    case FrameCmd::TileVertical: MdiTile(MdiClientWindow, kPlTileVertical); break;
    case FrameCmd::ArrangeIcons: MdiArrangeIcons(MdiClientWindow); break;
    case FrameCmd::CloseAll:
        for (int n = WinFirst; n <= WinLast; n++)
            if (WinIsOpen(n)) CloseRecordWindow(n);
        break;
    case FrameCmd::MinimizeAll: ForEachChild(MdiMinimize); break;
    case FrameCmd::RestoreAll: ForEachChild(MdiRestore); break;
    case FrameCmd::PlacementSave:
        if (WinIsOpen(w)) WinPlacementSaveCommand(w);
        break;
    case FrameCmd::PlacementDefault:
        if (WinIsOpen(w)) WindowReset(w);
        break;
    default: break;
    }
}

using M = FrameMenu;
using U = Unlogged;
namespace C = FrameCmd;

// clang-format off
constexpr FrameCommandRec Commands[] = {
    // first, last                                       menu          at login        at a server     run
    {C::About, C::About,                                 M::Help,       U::Yes,         U::Yes,         RunAbout},
    {C::FileCompany, C::FileCompany,                     M::File,       U::No,          U::No,          RunFileItem},
    {C::FileWindows, C::FileWindows,                     M::File,       U::No,          U::No,          RunFileItem},
    {C::FileMaintenance, C::FileMaintenance,             M::File,       U::No,          U::No,          RunFileItem},
    {C::FileImport, C::FileImport,                       M::File,       U::No,          U::No,          RunFileItem},
    {C::FilePrint, C::FilePrint,                         M::File,       U::No,          U::No,          RunFileItem},
    {C::FileReports, C::FileReports,                     M::File,       U::No,          U::No,          RunFileItem},
    {C::FileDocuments, C::FileDocuments,                 M::File,       U::No,          U::No,          RunFileItem},
    {C::FileJobQueue, C::FileJobQueue,                   M::File,       U::No,          U::No,          RunFileItem},
    // The compact variant's Exit; its menus show Exit as item 12.
    {C::FileCompactExit, C::FileCompactExit,             M::None,       U::No,          U::Yes,         RunFileItem},
    {C::FileExit, C::FileExit,                           M::File,       U::No,          U::Yes,         RunFileItem},
    {C::EditUndo, C::EditUndo,                           M::Edit,       U::InItsWindow, U::No,          RunEditItem},
    {C::EditCut, C::EditCut,                             M::Edit,       U::InItsWindow, U::No,          RunEditItem},
    {C::EditCopy, C::EditCopy,                           M::Edit,       U::InItsWindow, U::No,          RunEditItem},
    {C::EditPaste, C::EditPaste,                         M::Edit,       U::InItsWindow, U::No,          RunEditItem},
    {C::EditDeleteRow, C::EditDeleteRow,                 M::Edit,       U::No,          U::No,          RunEditItem},
    {C::EditInsertRow, C::EditInsertRow,                 M::Edit,       U::No,          U::No,          RunEditItem},
    {C::EditSelectRow, C::EditSelectRow,                 M::Edit,       U::No,          U::No,          RunEditItem},
    {C::EditChoose, C::EditChoose,                       M::Edit,       U::No,          U::No,          RunEditItem},
    {C::RecordNext, C::RecordNext,                       M::Record,     U::No,          U::No,          RunRecordItem},
    {C::RecordPrevious, C::RecordPrevious,               M::Record,     U::No,          U::No,          RunRecordItem},
    {C::RecordOk, C::RecordOk,                           M::Record,     U::No,          U::No,          RunRecordItem},
    {C::RecordCancel, C::RecordCancel,                   M::Record,     U::No,          U::No,          RunRecordItem},
    {C::RecordNew, C::RecordNew,                         M::Record,     U::No,          U::No,          RunRecordItem},
    {C::RecordCopyAsNew, C::RecordCopyAsNew,             M::Record,     U::No,          U::No,          RunRecordItem},
    {C::RecordDelete, C::RecordDelete,                   M::Record,     U::No,          U::No,          RunRecordItem},
    {C::RecordNotes, C::RecordNotes,                     M::Record,     U::No,          U::No,          RunRecordItem},
    {C::RegisterModuleList, C::RegisterLast,             M::Registers,  U::No,          U::No,          RunRegisterEntry},
    {C::ModuleList, C::ModuleList,                       M::None,       U::No,          U::No,          RunModuleList},
    {C::ModuleFirst, C::ModuleLast,                      M::Modules,    U::No,          U::No,          RunModuleEntry},
    {C::Help, C::Help,                                   M::Help,       U::Yes,         U::Yes,         RunHelp},
    {C::Operations, C::OperationsLast,                   M::Operations, U::No,          U::InItsWindow, RunOperation},
    {C::Cascade, C::Cascade,                             M::Window,     U::Yes,         U::Yes,         RunWindowItem},
    // Tiling has no item in the Window menu; the frame answers its ids all the same.
    {C::TileHorizontal, C::TileHorizontal,               M::None,       U::Yes,         U::Yes,         RunWindowItem},
    {C::TileVertical, C::TileVertical,                   M::None,       U::Yes,         U::Yes,         RunWindowItem},
    {C::ArrangeIcons, C::ArrangeIcons,                   M::Window,     U::Yes,         U::Yes,         RunWindowItem},
    {C::CloseAll, C::CloseAll,                           M::Window,     U::No,          U::No,          RunWindowItem},
    {C::MinimizeAll, C::MinimizeAll,                     M::Window,     U::Yes,         U::Yes,         RunWindowItem},
    {C::RestoreAll, C::RestoreAll,                       M::Window,     U::Yes,         U::Yes,         RunWindowItem},
    {C::PlacementSave, C::PlacementSave,                 M::Window,     U::No,          U::No,          RunWindowItem},
    {C::PlacementDefault, C::PlacementDefault,           M::Window,     U::No,          U::No,          RunWindowItem},
    {SettingsMenuFirstId, SettingsMenuLastId,            M::Settings,   U::No,          U::No,          RunSettingsItem},
};
// clang-format on

constexpr bool InIdOrder()
{
    for (size_t i = 0; i < std::size(Commands); i++) {
        if (Commands[i].first > Commands[i].last) return false;
        if (i > 0 && Commands[i - 1].last >= Commands[i].first) return false;
    }
    return true;
}
static_assert(InIdOrder(), "the frame's commands stand in the order of their ids, none twice");

}  // namespace

std::span<const FrameCommandRec> FrameCommands() { return Commands; }

const FrameCommandRec *FrameCommandOf(int id)
{
    auto at = std::lower_bound(std::begin(Commands), std::end(Commands), id,
                               [](const FrameCommandRec &c, int v) { return c.last < v; });
    return at != std::end(Commands) && at->first <= id ? at : nullptr;
}

int FrameMenuItem(const FrameCommandRec &c, int id)
{
    switch (c.menu) {
    case FrameMenu::File: return id - FrameCmd::FileCompany + 1;
    case FrameMenu::Edit: return id - FrameCmd::EditUndo + 1;
    case FrameMenu::Record: return id - FrameCmd::RecordNext + 1;
    default: return 0;
    }
}

void FrameCommandRun(int id, int w)
{
    if (const FrameCommandRec *c = FrameCommandOf(id)) c->run(id, w);
}
