// list_slot.h - the slots of the interface file's list directory: which
// table of entries ListTableEntry(slot, i) reads.
#pragma once

#include <cstdint>

#include "core/definitions.h"

enum class ListSlot : int {
    SavedReports = 0,    // the saved report selections' map
    Reports = 1,         // the report list
    Exports = 2,         // the function list's exports
    Imports = 3,         // the function list's imports
    Maintenance = 4,     // the function list's maintenance runs
    Documents = 5,       // the document list
    ModuleMenu = 6,      // the modules' menu: a text and a module each
    ModuleWindows = 7,   // the register windows of each module
    Windows = 8,         // the window list
};

// An entry of the modules' menu (ListSlot::ModuleMenu, 8 bytes): byte
// offsets of its words. The menu's items are numbered ModuleMenuFirstId +
// the entry's index.
namespace ModuleMenuEntry {
constexpr int Text = 0;      // text number of the module's item
constexpr int Module = 4;    // the module the item enters
}  // namespace ModuleMenuEntry
constexpr int ModuleMenuFirstId = 501;

// An entry of the modules' register windows (ListSlot::ModuleWindows,
// 8 bytes): byte offsets of its words.
namespace ModuleWindowsEntry {
constexpr int Type = 0;      // the window type it opens
constexpr int Text = 2;      // text number of its menu item
constexpr int Label = 4;     // text number of its button's label
constexpr int Module = 6;    // the module it belongs to
}  // namespace ModuleWindowsEntry

// The slot as ListTableCount and ListTableEntry take it.
constexpr int SlotCode(ListSlot s) { return static_cast<int>(s); }

// The entry count and the i-th entry of a slot's table.
inline int ListTableCount(ListSlot s) { return ListTableCount(SlotCode(s)); }
inline const uint8_t *ListTableEntry(ListSlot s, int i) { return ListTableEntry(SlotCode(s), i); }
