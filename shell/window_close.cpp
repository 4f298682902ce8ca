// window_close.cpp - closing record windows: one window, the question
// about its changes, every window, and the quit.
#include "core/ui_text.h"
#include "core/window_kind.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "rules/record_key_text.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_table.h"

namespace {
constexpr int AnswerYes = 1, AnswerNo = 4;

// Asks text `text` with Yes, No and Cancel; the answer.
int AskStore(int text)
{
    PString question;
    GetUiText(question, text);
    StateRefreshFlag = 1;
    return AskYesNoCancel(question);
}
}  // namespace

// Closes window n when nothing stops it: the user keeps a window whose
// changes they do not want to drop (WinAskStoreChanges), and report
// output (kind 5) is never closed here. A record window opened from
// another window's field gives its record's key text to that field as it
// closes. True when n is closed.
bool CloseRecordWindow(int n)
{
    if (!WinIsOpen(n) || WinKindOf(n) == KindCode(WindowKind::Output)) return false;
    uint16_t type = WinTable[n]->windowType;
    if (!WinAskStoreChanges(n)) return false;
    StateRefreshFlag = 1;
    // A settings window's Yes stores and closes it already.
    if (!WinIsOpen(n) || WinTable[n]->windowType != type) return true;
    PString text;
    text[0] = 0;
    if (WinKindOf(n) == KindCode(WindowKind::Record) && WinOpenerOf(n))
        RecordKeyText(WinRegisterOf(n), WinRecordBuffer(n), text);
    WinCloseWithChoice(n, text);
    return true;
}

// Asks whether the changes of n are stored before n closes: a new record
// (text 1518) is inserted on Yes, a changed one (text 1519) updated; No
// drops them (freeing the lock); Cancel keeps n open. True when n may
// close (a settings window closes itself when its Yes stored it).
bool WinAskStoreChanges(int n)
{
    if (!WinHasUnstoredChanges(n)) return true;
    int kind = WinKindOf(n);
    int state = WinRecState(n);
    if (kind == KindCode(WindowKind::Record) || kind == KindCode(WindowKind::Designer)) {
        WinCommitField(n);
        int answer = AskStore(state == 1 ? Texts::AskStoreNew : Texts::AskStoreChanges);
        if (answer == AnswerYes) return state == 1 ? WinInsertRecord(n) : WinUpdateRecord(n);
        if (answer != AnswerNo) return false;
        if (state == 2 && WinRegisterOf(n)) (void)RecordUnlockCall(WinRegisterOf(n), WinTable[n]->recordId);
        return true;
    }
    // A settings window (kind 8) or a settings table (kind 9).
    WinCommitField(n);
    int answer = AskStore(Texts::AskStoreChanges);
    if (answer == AnswerYes) return kind == KindCode(WindowKind::Settings) ? WinSaveSettingsRecord(n) : WinSaveRecord(n);
    if (answer != AnswerNo) return false;
    (void)RegisterUnlockCall(WinTypeWord(WinTypeOf(n), 9));
    return true;
}

// Closes every open window but report output (and, in the compact
// variant, its module list), asking about each one's changes. A window
// the user keeps stops the loop with false unless `force` is 1, when it
// closes anyway (its lock freed by the close). True when the loop ran
// through.
bool CloseAllWindows(int force)
{
    bool compact = !WinDefExists(9);
    for (int n = WinFirst; n <= WinLast; n++) {
        if (!WinIsOpen(n) || WinKindOf(n) == KindCode(WindowKind::Output)) continue;
        if (compact && WinTypeOf(n) == WinTypes::ModuleList) continue;
        uint16_t type = WinTable[n]->windowType;
        bool may = force == QuitLost || WinAskStoreChanges(n);
        if (!may && force != 1) return false;
        if (WinIsOpen(n) && WinTable[n]->windowType == type) WinClose(n);
    }
    StateRefreshFlag = 1;
    return true;
}

// Whether n holds what was typed and not stored (see record_commands.h).
bool WinHasUnstoredChanges(int n)
{
    if (!WinIsOpen(n)) return false;
    int kind = WinKindOf(n), state = WinRecState(n);
    if (kind == KindCode(WindowKind::Record) || kind == KindCode(WindowKind::Designer)) return state == 1 || state == 2;
    if (kind == KindCode(WindowKind::Settings) || kind == KindCode(WindowKind::SettingsTable)) return state == 2;
    return false;
}

// The windows of WinHasUnstoredChanges named by their type's title and
// their record's key, ", " between them, into the PString out.
void UnstoredWindowsText(uint8_t *out)
{
    out[0] = 0;
    for (int n = WinFirst; n <= WinLast; n++) {
        if (!WinHasUnstoredChanges(n)) continue;
        PString name, key;
        GetUiText(name, WinTypeWord(WinTypeOf(n), 10));
        key[0] = 0;
        if (WinKindOf(n) == KindCode(WindowKind::Record) && WinRegisterOf(n))
            RecordKeyText(WinRegisterOf(n), WinRecordBuffer(n), key);
        if (key[0]) {
            PStringAppendC(name, " ");
            PStringAppend(name, key);
        }
        if (out[0] + 2 + name[0] > 255) break;
        if (out[0]) PStringAppendC(out, ", ");
        PStringAppend(out, name);
    }
}

// Runs the quit that QuitFlag asks for: every window is closed first,
// asking about changes unless the quit is forced (a refused login: a
// window kept still closes; a lost connection: none asks). When the user
// keeps a window the quit is called off. True when the program may end.
bool QuitConfirm()
{
    if (CloseAllWindows(QuitForced)) return true;
    QuitFlag = 0;
    QuitForced = 0;
    return false;
}
