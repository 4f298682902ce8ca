// window_entries.h - the byte layout of the entries of a window layout's
// parts, described once for the dictionary compiler that writes them and
// the shell that reads them.
//
// A window type's layout (WinTypeDef, core/definitions.h) has eleven
// parts; WinDefPartEntry gives entry i of part p. Offsets below are bytes
// from the start of an entry; values are 16-bit little-endian unless
// noted. A "sized" entry starts with its own byte size and ends with a
// PString label. A stored coordinate that is negative counts from the far
// edge of the area it stands in.
#pragma once

#include <cstdint>

// Layout part 0, data fields (sized).
namespace FieldEntry {
constexpr int Size = 0;
constexpr int Rect = 2;         // four i16: top, left, bottom, right
constexpr int Type = 10;        // field type
constexpr int Access = 12;      // 0 read-only, AccessNewOnly, AccessAlways
constexpr int Format = 14;      // text length, choice list or display format
constexpr int Offset = 16;      // u32 record offset; its low word is the field id
constexpr int Lookup = 20;      // lookup kind, 0 none
constexpr int Align = 22;       // u8: 0 left, 1 right
constexpr int CellMark = 23;    // u8, set only in the edited binding of a matrix cell: rect is absolute
constexpr int Chooser = 24;     // i16: -1 today's date, > 0 a window type to choose from, 0 none
constexpr int Page = 26;
constexpr int ReturnLink = 28;  // record offset of the field Return goes to, NoEntryOffset none
constexpr int Label = 30;       // PString
constexpr int BindingSize = 28; // the bytes a window copies as the binding of its edited field
}  // namespace FieldEntry

// Layout part 1, static texts (sized).
namespace TextEntry {
constexpr int Size = 0, Y = 2, X = 4;
constexpr int Align = 6;        // 1: x is the right end of the text, else its left end
constexpr int Page = 8, Label = 10;
}

// Layout part 2, controls (sized).
namespace ControlEntry {
constexpr int Size = 0;
constexpr int Rect = 2;
constexpr int Offset = 10;      // record offset of the control's value, NoEntryOffset none
constexpr int Kind = 12;        // ControlKindCode
constexpr int Value = 14;       // a radio button's value; a scroll bar's start
constexpr int Group = 16;
constexpr int Command = 18;     // push button: its command; tab: its page
constexpr int Button = 20;
constexpr int Maximum = 22;     // a scroll bar's maximum
constexpr int Shortcut = 24;    // 1-based position of the shortcut character in the label
constexpr int Page = 26;
constexpr int Label = 28;       // PString
}  // namespace ControlEntry

// Layout part 3, list panes.
namespace PaneEntry {
constexpr int Rect = 0, Control = 8;
}

// Layout part 4, matrix columns.
namespace ColumnEntry {
constexpr int Kind = 0;         // row kind the column belongs to
constexpr int X = 2, Type = 4;
constexpr int Format = 8;       // format, or a label's text number
constexpr int Offset = 10;      // u32 offset in the row
constexpr int Align = 14;
constexpr int ColPage = 18;     // column page the column is shown on
constexpr int Heading = 20;     // text number of the heading
constexpr int Chooser = 22;     // i16: what choosing in a cell of the column opens, as a field's Chooser
}  // namespace ColumnEntry

// Layout part 5, matrix areas.
namespace MatrixEntry {
constexpr int RowSize = 0, Cells = 2;
constexpr int First = 4;        // screen-field number of the first cell
constexpr int Rect = 6;
constexpr int KindWord = 14;    // offset of the row-kind word in a row, NoEntryOffset none
constexpr int AttrWord = 16;    // offset of the row-attribute word, NoEntryOffset none
constexpr int MaxRows = 18, Page = 20;
constexpr int Control = 22;     // index of its scroll-bar control
}  // namespace MatrixEntry

// Layout part 6, the field list of list windows (sized).
namespace ListColEntry {
constexpr int Size = 0, DataX = 2, HeadX = 4;
constexpr int Index = 8;        // PString of at most 33 bytes: the index the column sorts by
constexpr int Type = 42, Format = 44;
constexpr int Offset = 46;      // u32
constexpr int Align = 50;
constexpr int Shown = 52;       // 1 when the column is shown
constexpr int Shortcut = 54;    // u8
constexpr int Label = 56;       // PString
}  // namespace ListColEntry

// Layout part 7, boxes (sized).
namespace BoxEntry {
constexpr int Size = 0, Rect = 2, Page = 10, Label = 12;
}

// Layout part 8, icon buttons (sized).
namespace IconEntry {
constexpr int Size = 0, Icon = 2, Pressed = 4, X = 6, Y = 8, Command = 12, Argument = 14, Label = 18;
}

// Layout part 9, pages: entry p describes page p; page 0 is shown above the others.
namespace PageEntry {
constexpr int Height = 0;
constexpr int Last = 2;         // non-zero: the page reaches to the bottom of the window
constexpr int Focus = 4;        // record offset of the field it focuses, NoEntryOffset none
}

// Layout part 10, operations menu items (sized): the key and number of a menu item.
namespace OpEntry {
constexpr int Size = 0, Key = 4, Number = 6, Label = 8;
}

enum ControlKindCode : uint16_t {
    CtlPush = 0,
    CtlCheck = 1,
    CtlRadio = 2,
    CtlScroll = 16,
    CtlPageTab = 32,
    CtlMatrixTab = 64,
};

// Values of FieldEntry::Access and FieldEntry::Chooser, and "no offset".
constexpr uint16_t AccessReadOnly = 0, AccessNewOnly = 2, AccessAlways = 3;
constexpr int16_t ChooserToday = -1, ChooserNone = 0;
constexpr uint16_t NoEntryOffset = 65535;
