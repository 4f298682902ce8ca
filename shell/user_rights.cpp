// user_rights.cpp - what the logged-in user may use, read from the user's
// access list: rows of three words (kind of item, item, right). A list
// without a row for an item allows it (modules excepted, see
// UserAccessRightType1). An empty list allows everything only to the
// administrator: the "ADMIN" login (a person, or the master password), a
// company without persons or without access groups, or a person of the
// group ADMIN's person names.
// Anyone else's empty list allows nothing: a person left without rows by
// mistake must not hold every right. Nor has anyone a right while a
// company is open and no one is logged in to it (the login window waits,
// or a server's own frame serves its clients): nobody is not the
// administrator.
//
// The server asks the same questions of each session's rights before it
// serves a request (RightsMay... below), so a client cannot do by direct
// requests what the menus would not offer it.
#include "shell/login.h"

#include <cstring>

#include "core/definitions.h"
#include "core/interface_defs.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/window_kind.h"
#include "core/work_blocks.h"
#include "database/access/person_password.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"
#include "shell/menu_lists.h"
#include "shell/shell.h"
#include "shell/window_table.h"

namespace {

constexpr int RowSize = 6;               // three u16: kind, item, right
constexpr int RightModulesDefault = 9;

constexpr int WordKind = 0, WordBlock = 9;

// The logged-in user's access list; 0 when no user is logged in.
MemBlock UserAccessList()
{
    return LoggedInUser ? DefU32(LoggedInUser + LoggedInUserAccessList) : 0;
}

// True when a right allows: 0 and 5 refuse, every other value allows.
bool RightAllows(int right) { return right != 0 && right != 5; }

// Calls `row` for each whole row of the rows in order.
template <typename F>
void EachRow(const UserRightsRec &r, F row)
{
    for (uint32_t i = 0; i < r.count; i++) {
        const uint8_t *p = r.rows + i * RowSize;
        row(DefU16(p), DefU16(p + 2), DefU16(p + 4));
    }
}

// Runs f with the rights of a list block (locked meanwhile) and the
// administrator flag given.
template <typename F>
auto WithList(MemBlock list, bool administrator, F f)
{
    UserRightsRec r{nullptr, 0, administrator};
    const uint8_t *p = MemIsValid(list) ? MemLock(list) : nullptr;
    if (p) {
        r.rows = p;
        r.count = MemSize(list) / RowSize;
    }
    auto result = f(r);
    if (p) MemUnlock(list);
    return result;
}

// Runs f with the rights of the user at this program's screen: the
// logged-in user's, or nobody's (no row, not the administrator: nothing
// allowed) while a company is open and no one is logged in to it.
template <typename F>
auto WithCurrentRights(F f)
{
    if (NobodyLoggedIn()) return f(UserRightsRec{});
    return WithList(UserAccessList(), UserIsAdministrator, f);
}

// The current user's right for an item of a kind (see WithCurrentRights).
int CurrentRight(int type, int item)
{
    return WithCurrentRights([&](const UserRightsRec &r) { return UserAccessRight(r, type, item); });
}

// True when some window type of one of the kinds shows reg and the rights
// allow it; `none` when no such window type exists.
bool SomeWindowAllows(const UserRightsRec &r, int reg, int kindA, int kindB, bool none)
{
    bool exists = false;
    for (int type = 1; type < WinTypeCount; type++) {
        if (!WinDefExists(type) || WinTypeRegister(type) != reg) continue;
        int kind = WinTypeWord(type, WordKind);
        if (kind != kindA && kind != kindB) continue;
        exists = true;
        if (RightAllows(UserAccessRight(r, RightCode(RightKind::WindowItem), type))) return true;
    }
    return !exists && none;
}

}  // namespace

// True when the user may use windows of the type: the window-item right
// decides, at a client as stand-alone. The forms are the company's, kept
// by its server; a client designs them as the program at the company's
// file does (the designer draws a picture as its box, so nothing of the
// client's own disk goes into a form).
bool MayUseWindowItem(int type)
{
    return RightAllows(CurrentRight(RightCode(RightKind::WindowItem), type));
}

// True when the user may use module m: a client never enters module 1;
// otherwise the module right decides.
bool MayUseModule(int m)
{
    if (RunModeIsClient() && m == 1) return false;
    return RightAllows(WithCurrentRights([&](const UserRightsRec &r) { return UserAccessRightType1(r, m); }));
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

// True when a window of the type may be open for the user: a register's
// or a settings block's window as MayOpenWindowType says; a window of
// neither (a list of reports or functions, a selection, the login) is not
// for the rights to refuse: the entries it offers are.
bool MayOpenWindow(int type)
{
    if (WinTypeRegister(type) == 0 && WinTypeWord(type, WordBlock) == 0) return true;
    return MayOpenWindowType(type);
}

// True when the user may choose a field's value from a list of the type's
// register without the right to its windows: any register the user may
// read, which is every one but the persons and the access groups (their
// list or record window must be allowed, as a server asks).
bool MayChooseFrom(int type) { return MayReadRegisterHere(WinTypeRegister(type)); }

// True when the type-3 right of the window type allows.
bool MayOpenWindowTypeRight(int type)
{
    return RightAllows(CurrentRight(RightCode(RightKind::WindowType), type));
}

// True when the type-4 right of entry `item` of the first offered list
// (reports, exports) allows; the window n is not used.
bool MayUseType4Item(int n, int item)
{
    return RightAllows(CurrentRight(RightCode(RightKind::FirstList), item));
}

// The same check as MayUseType4Item, under the name the fillers use.
bool MayUseType4(int n, int item) { return MayUseType4Item(n, item); }

// True when the type-5 right of entry `item` of the second offered list
// (documents, maintenance) allows; the window n is not used.
bool MayUseType5Item(int n, int item)
{
    return RightAllows(CurrentRight(RightCode(RightKind::SecondList), item));
}

// The same check as MayUseType5Item, under the name the fillers use.
bool MayUseType5(int n, int item) { return MayUseType5Item(n, item); }

// False for list kind 3 (maintenance), true for every other kind.
bool MayUseType4Or5(int kind) { return kind != ListCode(FunctionListKind::Maintenance); }

// Set by every accepted login. Without a company open there is nothing
// the rights guard, and the menus built then list what the administrator
// would see; while a company is open nobody who has not logged in has a
// right (NobodyLoggedIn).
bool UserIsAdministrator = true;

// True while a company is open and no one is logged in to it: the login
// window waits, or a server's own frame serves its clients.
bool NobodyLoggedIn() { return DbOpenFlag && !LoggedInFlag; }

// The right a list gives for an item of a kind: the last row for it
// wins; 1 when the list has no row for it; with an empty list 1 for the
// administrator and 0 for anyone else.
int UserAccessRight(const UserRightsRec &r, int type, int item)
{
    if (r.count == 0) return r.administrator ? 1 : 0;
    int right = 1;
    EachRow(r, [&](int t, int i, int value) {
        if (t == type && i == item) right = value;
    });
    return right;
}

// The right a list gives for module `module`: with an empty list 1 for
// the administrator and 0 for anyone else; otherwise refused unless a row
// (9, 1) allows modules by default or a row for the module gives its
// right, the last applicable row winning.
int UserAccessRightType1(const UserRightsRec &r, int module)
{
    if (r.count == 0) return r.administrator ? 1 : 0;
    int right = 0;
    EachRow(r, [&](int t, int i, int value) {
        if (t == RightModulesDefault && i == 1) right = 1;
        if (t == RightCode(RightKind::Module) && i == module) right = value;
    });
    return right;
}

// Writes to a register: one of its record windows must be allowed. A
// register without a record window is written only by the program's own
// rules, which the rights of the window that started them already passed.
bool RightsMayWriteRegister(const UserRightsRec &r, int reg)
{
    return SomeWindowAllows(r, reg, KindCode(WindowKind::Record), KindCode(WindowKind::Record), true);
}

// Reads of a register whose records are guarded (persons, access
// groups): one of its record or list windows must be allowed.
bool RightsMayReadRegister(const UserRightsRec &r, int reg)
{
    return SomeWindowAllows(r, reg, KindCode(WindowKind::Record), KindCode(WindowKind::List), true);
}

// Stores of a settings block: the window-type right of every settings
// window that shows it. Windows share blocks (the company window and the
// ledger options keep one), and a store writes the whole block: one
// window allowed must not change what another, refused, shows. A block
// without a window is kept by the program's own rules.
bool RightsMayWriteBlock(const UserRightsRec &r, int block)
{
    for (int type = 1; type < WinTypeCount; type++) {
        if (!WinDefExists(type) || WinTypeRegister(type) != 0 || WinTypeWord(type, WordBlock) != block) continue;
        int kind = WinTypeWord(type, WordKind);
        if (kind != KindCode(WindowKind::Settings) && kind != KindCode(WindowKind::SettingsTable)) continue;
        if (!RightAllows(UserAccessRight(r, RightCode(RightKind::WindowType), type))) return false;
    }
    return true;
}

// Changing access groups, persons' codes and groups, other persons'
// passwords and anything of the administrator: only a user whose rights
// open the access-group window, by its window right (type 2) and by the
// right of its window type (type 3).
bool RightsMayChangeGroups(const UserRightsRec &r)
{
    if (r.administrator) return true;
    for (int type = 1; type < WinTypeCount; type++) {
        if (!WinDefExists(type) || WinTypeRegister(type) != AccessVc::Number ||
            WinTypeWord(type, WordKind) != KindCode(WindowKind::Record))
            continue;
        if (RightAllows(UserAccessRight(r, RightCode(RightKind::WindowItem), type)) &&
            RightAllows(UserAccessRight(r, RightCode(RightKind::WindowType), type)))
            return true;
    }
    return false;
}

// An update of the stored person by one who may change groups, or else
// by one who may write persons when it keeps the code and the group,
// leaves the administrator alone and changes no password but the user's
// own (ownCode, a PString; empty for none). Who is the administrator
// follows the code and the group, so neither may be typed by anyone less.
bool RightsMayUpdatePerson(const UserRightsRec &r, const uint8_t *ownCode, const uint8_t *stored, const uint8_t *person)
{
    if (RightsMayChangeGroups(r)) return true;
    if (!RightsMayWriteRegister(r, PEVc::Number)) return false;
    PString was, now;
    GetText(stored, PEVc::Code, was);
    GetText(person, PEVc::Code, now);
    if (!PStringEqual(was, now)) return false;
    bool own = ownCode[0] != 0 && PStringEqual(was, ownCode);
    GetText(stored, PEVc::AccessCode, was);
    GetText(person, PEVc::AccessCode, now);
    if (!PStringEqual(was, now) || PersonIsAdministrator(stored)) return false;
    return own || !PersonPasswordChanges(stored, person);
}

// Runs the menu lists offer (reports, exports, maintenance, documents):
// an entry of list table `slot` is offered when its module is one the
// user may use (0: every module) and its right of kind `right`
// allows its number. A number no entry names is run only by a window's
// button, which asks no list: its right alone decides.
bool RightsMayUseListed(const UserRightsRec &r, ListSlot slot, RightKind right, int number)
{
    bool named = false;
    for (int i = 0, count = ListTableCount(slot); i < count; i++) {
        const uint8_t *e = ListTableEntry(slot, i);
        int entryNumber = DefU16(e + MenuTableEntry::Number);
        if (entryNumber != uint16_t(number)) continue;
        named = true;
        int module = DefU16(e + MenuTableEntry::Module);
        if (module != 0 && !RightAllows(UserAccessRightType1(r, module))) continue;
        if (RightAllows(UserAccessRight(r, RightCode(right), entryNumber))) return true;
    }
    return !named && RightAllows(UserAccessRight(r, RightCode(right), uint16_t(number)));
}

// The refusal of a write, told (text 16001): the write's result.
static int Refuse()
{
    ShowTextMessage(Texts::NoRight);
    return Texts::NoRight;
}

// A person written by someone who may use the person window but not
// change groups (RightsMayUpdatePerson): the stored record decides. A
// stored record that cannot be read leaves the update to the layer,
// which refuses it.
static int RefusePersonUpdate(const UserRightsRec &r, const uint8_t *ownCode, const uint8_t *person, uint32_t recid)
{
    MemBlock h = 0;
    uint8_t *stored = RecBufferNew(PEVc::Number, &h);
    if (!stored) return Refuse();
    int refused = 0;
    if (RecReadByIdLocal(PEVc::Number, recid, stored) && !RightsMayUpdatePerson(r, ownCode, stored, person))
        refused = Refuse();
    RecClear(PEVc::Number, stored);
    RecBufferFree(PEVc::Number, &h);
    return refused;
}

int RightsRefuseWrite(const UserRightsRec &r, const uint8_t *ownCode, uint16_t request, int reg, const uint8_t *record,
                      uint32_t recid)
{
    if (reg == PEVc::Number) {
        if (RightsMayChangeGroups(r)) return 0;
        if (request == ReqInsertChecked || request == ReqDeleteChecked) return Refuse();
        if (!RightsMayWriteRegister(r, reg)) return Refuse();
        return request == ReqUpdateChecked && record ? RefusePersonUpdate(r, ownCode, record, recid) : 0;
    }
    return RightsMayWriteRegister(r, reg) ? 0 : Refuse();
}

// The record layer's question before a write the user of this program
// starts where it keeps the company itself (LocalWriteRefused).
int LocalRefuseWrite(uint16_t request, int reg, const uint8_t *record, uint32_t recid)
{
    PString own;
    CurrentUserCode(own);
    return WithCurrentRights(
        [&](const UserRightsRec &r) { return RightsRefuseWrite(r, own, request, reg, record, recid); });
}

// The same before a settings block's lock is taken to edit it.
int RightsRefuseBlock(const UserRightsRec &r, int block) { return RightsMayWriteBlock(r, block) ? 0 : Refuse(); }

int LocalRefuseBlock(int block)
{
    return WithCurrentRights([&](const UserRightsRec &r) { return RightsRefuseBlock(r, block); });
}

// The same before a run starts.
int LocalRefuseRun(uint16_t code, int kind, const uint8_t *job)
{
    return WithCurrentRights([&](const UserRightsRec &r) { return RightsRefuseRun(r, code, kind, job); });
}

// A check of the logged-in user's rights before a window stores: told
// (text 16001) when refused. A client checks nothing here: its server
// asks the same of its session.
template <typename F>
static bool AllowedHere(F check)
{
    if (RunModeIsClient()) return true;
    bool allowed = WithCurrentRights(check);
    if (!allowed) ShowTextMessage(Texts::NoRight);
    return allowed;
}

bool MayStorePersonHere(const uint8_t *stored, const uint8_t *person)
{
    PString own;
    CurrentUserCode(own);
    return AllowedHere([&](const UserRightsRec &r) {
        return stored && person ? RightsMayUpdatePerson(r, own, stored, person) : RightsMayChangeGroups(r);
    });
}

bool MayStoreBlockHere(int block)
{
    return AllowedHere([&](const UserRightsRec &r) { return RightsMayWriteBlock(r, block); });
}

// An import can write persons and access groups: only one who may change
// the groups runs it, as a server asks of a client's import.
bool MayImportHere()
{
    return AllowedHere([&](const UserRightsRec &r) { return RightsMayChangeGroups(r); });
}

bool MayReadRegisterHere(int reg)
{
    if (reg != PEVc::Number && reg != AccessVc::Number) return true;
    return WithCurrentRights([&](const UserRightsRec &r) { return RightsMayReadRegister(r, reg); });
}

bool AdministratorHere()
{
    return WithCurrentRights([](const UserRightsRec &r) { return r.administrator; });
}
