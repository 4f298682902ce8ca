// window_placement.cpp - where the windows of a type open, per user.
//
// A placement is a record of the register named "WRVc", found by its
// index UserWinType: the logged-in user's code and the window type's name
// text. It holds the rectangle in the one form OpenWindow consumes, the
// form of the type's default rectangle (top, left, bottom, right; the MDI
// child follows by WinTypeRectToChild). Command 808 turns the child's
// rectangle back into that form by the exact inverse, so a save followed
// by a reopen leaves the window where it stood, however often it is done.
//
// A type without a name text has no placement: its empty name would make
// every such type share one record. Nothing is read or stored while no
// company is open, nor by a client before its login: the server serves
// nothing of the company before it, and the login window opens at its
// type's default place.
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/window.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_table.h"

namespace {

constexpr int WordKeepSize = 15, WordMinHeight = 16, WordMinWidth = 17, WordMaxHeight = 18, WordMaxWidth = 19;
constexpr int WordName = 20;
constexpr int CodeType = 27, CodeLength = 5, NameType = 1, NameLength = 20;
constexpr const char *PlacementIndex = "UserWinType";

// A placement record of the register "WRVc", keyed for one type.
struct PlacementKey {
    int reg = 0;
    std::vector<uint8_t> record;
};

// Fills the key fields of a placement record for the type: the user's
// code and the type's name text. False, with nothing to do, while no
// company is open, in a client not yet logged in, when the register is missing or not laid out as the
// placements are, or when the type has no name text.
bool PlacementKeyMake(int type, PlacementKey *key)
{
    if (!DbOpenFlag || (RunModeIsClient() && !LoggedInFlag)) return false;
    key->reg = RegByName("WRVc");
    if (key->reg == 0 || RegRecordSize(key->reg) != WRVc::Size) return false;
    PString name, code;
    GetUiText(name, WinTypeWord(type, WordName));
    if (name[0] == 0) return false;
    CurrentUserCode(code);
    key->record.assign(WRVc::Size, 0);
    uint8_t *r = key->record.data();
    return FieldFromText(r + WRVc::UserCode, CodeType, CodeLength, code) &&
           FieldFromText(r + WRVc::WinTypeName, NameType, NameLength, name);
}

// Finds the placement record of the key; its id in *recid. A miss
// clears the record (the key must be made again before a store).
bool PlacementFind(PlacementKey *key, uint32_t *recid)
{
    uint32_t position = 0;
    return RecFindByIndex(key->reg, PlacementIndex, key->record.data(), 2, 1, recid, &position);
}

// The size limit word of the type; 0 (no limit) when below 1.
int LimitWord(int type, int word)
{
    int v = int16_t(WinTypeWord(type, word));
    return v >= 1 ? v : 0;
}

// Moves n's child to the type-form rectangle r, keeping it maximised or
// minimised when it is: r becomes the rectangle it is restored to. False
// when the window system refused.
bool ChildMoveTo(int n, const MacRect &r)
{
    uint32_t child = WinTable[n]->mdiChild;
    PlPlacement p;
    if (!child || !WinGetPlacement(child, &p)) return false;
    p.normal = WinTypeRectToChild(WinTypeOf(n), r);
    return WinSetPlacement(child, p);
}

}  // namespace

// Replaces the type-form rectangle *r (the type's default on entry) and
// the list column by the user's stored placement of the type, when there
// is one. With the type's size-remembered flag (word 15) the stored size
// is kept within the type's limits (minimum width 17 and height 16, then
// maximum width 19 and height 18; a limit below 1 is none), the right or
// bottom edge moving; without it only the stored position is taken and
// the default size kept. A record without a stored rectangle, or one
// without width or height (a damaged record), leaves both unchanged.
void WinPlacementLoad(int type, MacRect *r, uint16_t *column)
{
    PlacementKey key;
    uint32_t recid = 0;
    if (!PlacementKeyMake(type, &key) || !PlacementFind(&key, &recid)) return;
    const uint8_t *rec = key.record.data();
    if (GetU8(rec, WRVc::Stored) != 1) return;
    MacRect s{GetI16(rec, WRVc::Top), GetI16(rec, WRVc::Left), GetI16(rec, WRVc::Bottom), GetI16(rec, WRVc::Right)};
    int width = s.right - s.left, height = s.bottom - s.top;
    if (width < 1 || height < 1) return;
    if (WinTypeWord(type, WordKeepSize) == 0) {
        width = r->right - r->left;
        height = r->bottom - r->top;
    } else {
        int minW = LimitWord(type, WordMinWidth), minH = LimitWord(type, WordMinHeight);
        int maxW = LimitWord(type, WordMaxWidth), maxH = LimitWord(type, WordMaxHeight);
        if (minW && width < minW) width = minW;
        if (minH && height < minH) height = minH;
        if (maxW && width > maxW) width = maxW;
        if (maxH && height > maxH) height = maxH;
    }
    *r = MacRect{s.top, s.left, int16_t(s.top + height), int16_t(s.left + width)};
    *column = GetU16(rec, WRVc::Column);
}

// Stores the type-form rectangle *r and the list column as the user's
// placement of the type, with the stored flag 1: the record is updated
// when there is one, else inserted. A refused store is told to the user
// by the record layer.
void WinPlacementSave(int type, const MacRect *r, int column)
{
    PlacementKey key;
    uint32_t recid = 0;
    if (!PlacementKeyMake(type, &key)) return;
    bool found = PlacementFind(&key, &recid);
    if (!found && !PlacementKeyMake(type, &key)) return;
    uint8_t *rec = key.record.data();
    PutU8(rec, WRVc::Stored, 1);
    PutI16(rec, WRVc::Top, r->top);
    PutI16(rec, WRVc::Left, r->left);
    PutI16(rec, WRVc::Bottom, r->bottom);
    PutI16(rec, WRVc::Right, r->right);
    PutU16(rec, WRVc::Column, uint16_t(column));
    int result = RecDone;
    if (found)
        RecUpdateChecked(key.reg, rec, recid, &result);
    else
        RecInsertChecked(key.reg, rec, &recid, &result);
}

// Puts n back at its type's default rectangle (words 3 to 6) and stores
// that, with n's list column, as the type's placement.
void WinPlacementDefault(int n)
{
    if (!WinIsOpen(n)) return;
    int type = WinTypeOf(n);
    MacRect r{int16_t(WinTypeWord(type, 3)), int16_t(WinTypeWord(type, 4)), int16_t(WinTypeWord(type, 5)),
              int16_t(WinTypeWord(type, 6))};
    if (!ChildMoveTo(n, r)) return;
    if (!WinIsOpen(n)) return;
    WinPlacementSave(type, &r, WinListColumn(n));
}

// Command 808: stores where n stands, as the rectangle it is restored to
// (its child relative to the MDI client, turned into the type's form),
// with its current list column.
void WinPlacementSaveCommand(int n)
{
    if (!WinIsOpen(n) || !WinTable[n]->mdiChild) return;
    PlPlacement p;
    if (!WinGetPlacement(WinTable[n]->mdiChild, &p)) return;
    MacRect r = WinChildToTypeRect(WinTypeOf(n), p.normal);
    WinPlacementSave(WinTypeOf(n), &r, WinListColumn(n));
}
