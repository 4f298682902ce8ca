// user_rights.cpp - what the logged-in user may use, read from the user's
// access list: rows of three words (kind of item, item, right). An empty
// list allows everything, and so does a list without a row for the item.
#include "shell/login.h"

#include <cstring>

#include "core/definitions.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "shell/window_table.h"

namespace {

constexpr int RowSize = 6;               // three u16: kind, item, right
constexpr int RightModule = 1, RightWindowItem = 2, RightWindowType = 3, RightFirstList = 4, RightSecondList = 5;
constexpr int RightModulesDefault = 9;
constexpr int MaintenanceListKind = 3;   // the module-function list's maintenance kind
constexpr int ClientRefusedRegister = 91;

// The logged-in user's access list; 0 when no user is logged in.
MemBlock UserAccessList()
{
    return LoggedInUser ? DefU32(LoggedInUser + LoggedInUserAccessList) : 0;
}

// True when a right allows: 0 and 5 refuse, every other value allows.
bool RightAllows(int right) { return right != 0 && right != 5; }

// Calls `row` for each whole row of the list in order; the list's bytes
// are read only.
template <typename F>
void EachRow(MemBlock list, F row)
{
    if (!MemIsValid(list)) return;
    const uint8_t *p = MemLock(list);
    if (!p) return;
    uint32_t rows = MemSize(list) / RowSize;
    for (uint32_t i = 0; i < rows; i++) row(DefU16(p + i * RowSize), DefU16(p + i * RowSize + 2), DefU16(p + i * RowSize + 4));
    MemUnlock(list);
}

}  // namespace

// True when the user may use windows of the type: a client never opens
// the windows of register 91; otherwise the window-item right decides.
bool MayUseWindowItem(int type)
{
    if (RunModeIsClient() && WinTypeRegister(type) == ClientRefusedRegister) return false;
    return RightAllows(UserAccessRight(UserAccessList(), RightWindowItem, type));
}

// True when the user may use module m: a client never enters module 1;
// otherwise the module right decides.
bool MayUseModule(int m)
{
    if (RunModeIsClient() && m == 1) return false;
    return RightAllows(UserAccessRightType1(UserAccessList(), m));
}

// True when the user may open windows of the type: a register window by
// its window right; a settings window (a block, no register) by its
// type's right; any other type not.
bool MayOpenWindowType(int type)
{
    if (WinTypeRegister(type) != 0) return MayUseWindowItem(type);
    if (WinTypeWord(type, 9) == 0) return false;
    return MayOpenWindowTypeRight(type);
}

// True when the type-3 right of the window type allows.
bool MayOpenWindowTypeRight(int type) { return RightAllows(UserAccessRight(UserAccessList(), RightWindowType, type)); }

// True when the type-4 right of entry `item` of the first offered list
// (reports, exports) allows; the window n is not used.
bool MayUseType4Item(int n, int item) { return RightAllows(UserAccessRight(UserAccessList(), RightFirstList, item)); }

// The same check as MayUseType4Item, under the name the fillers use.
bool MayUseType4(int n, int item) { return MayUseType4Item(n, item); }

// True when the type-5 right of entry `item` of the second offered list
// (documents, maintenance) allows; the window n is not used.
bool MayUseType5Item(int n, int item) { return RightAllows(UserAccessRight(UserAccessList(), RightSecondList, item)); }

// The same check as MayUseType5Item, under the name the fillers use.
bool MayUseType5(int n, int item) { return MayUseType5Item(n, item); }

// False for list kind 3 (maintenance), true for every other kind.
bool MayUseType4Or5(int kind) { return kind != MaintenanceListKind; }

// The right an access list gives for an item of a kind: the last row for
// it wins; 1 when the list is empty or has no row for it.
int UserAccessRight(MemBlock list, int type, int item)
{
    int right = 1;
    EachRow(list, [&](int t, int i, int r) {
        if (t == type && i == item) right = r;
    });
    return right;
}

// The right an access list gives for module `module`: 1 with an empty
// list; otherwise refused unless a row (9, 1) allows modules by default
// or a row for the module gives its right, the last applicable row winning.
int UserAccessRightType1(MemBlock list, int module)
{
    if (!MemIsValid(list) || MemSize(list) < RowSize) return 1;
    int right = 0;
    EachRow(list, [&](int t, int i, int r) {
        if (t == RightModulesDefault && i == 1) right = 1;
        if (t == RightModule && i == module) right = r;
    });
    return right;
}
