// login_loop.cpp - the login to a company: the login window's loop, what
// ends it, and what a closed company forgets.
//
// The login record (the record of window type 15) lays its fields out as
// a person record does: the user code at 0, a second name at 6 that
// replaces the code when filled in, and the password at 68.
#include "shell/login.h"

#include <cstdio>
#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/settings_blocks.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/menus.h"
#include "shell/net_services.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr uint16_t FieldText = 1;
constexpr int UserCodeLength = 5;
constexpr uint32_t LoginCode = PEVc::Code, LoginName = PEVc::Name, LoginPassword = PEVc::Password;
constexpr uint32_t LoginRecordSize = 90;
constexpr uint32_t RightsRowSize = 6;   // a row of the access list: three u16
static_assert(LoginPassword + 22 == LoginRecordSize, "the password ends the login record");

// Runs the login window n's nested main loop until its OK or a button
// ends it: the bars are locked and the window is modal meanwhile. True
// when it ended with OK; false on Cancel, on a quit, when the loop ended
// without the window's word (nothing more can arrive) or when the window
// or the company went away meanwhile.
bool LoginWindowRun(int n)
{
    WinGotoField(n, 1, true);
    LoginCancelFlag = 0;
    BarsLocked = ModalWindowFlag = 1;
    DialogDoneFlag = 0;
    ActivateWindowNumber(n);
    SyncRunMenu();
    RedrawMenuBar();
    MainMessageLoop();
    bool done = DialogDoneFlag;
    DialogDoneFlag = 0;
    // The menus are those of the window active now, not all enabled: a
    // refusal shown next stands over a login window that still holds
    // File, Record and the popups back.
    MenuStateUpdate(CurrentWindow);
    RedrawMenuBar();
    BarsLocked = ModalWindowFlag = 0;
    SyncRunMenu();
    if (!done || !WinIsOpen(n) || WinTypeOf(n) != WinTypes::Login) return false;
    WinCommitField(n);
    return !LoginCancelFlag && !QuitFlag && DbOpenFlag && WinIsOpen(n);
}

// The name and password typed into login record r: the second name when
// it is filled in, else the user code.
void LoginPairRead(const uint8_t *r, uint8_t *name, uint8_t *password)
{
    GetPString(r, LoginName, 60, name);
    if (name[0] == 0) GetPString(r, LoginCode, UserCodeLength, name);
    GetPString(r, LoginPassword, 20, password);
}

// Clears the first byte of each field of login window n's record and
// shows the record again.
void LoginRecordClear(int n, bool passwordOnly)
{
    uint8_t *r = WinRecordBuffer(n);
    if (!r || WinTypeWord(WinTypes::Login, 2) < LoginRecordSize) return;
    if (!passwordOnly) r[LoginCode] = r[LoginName] = 0;
    r[LoginPassword] = 0;
    WinFieldsSync(n);
}

// Ends the session after a cancelled login: a client tells the server,
// and then has no company open, so that closing it does not end the
// session a second time.
void LoginSessionEnd()
{
    LoggedInFlag = 0;
    if (!RunModeIsClient() || !DbOpenFlag) return;
    if (!SessionEndRequest(ClientSessionId)) std::fputs("orvel: the server did not confirm the end of the session\n", stderr);
    DbOpenFlag = 0;
}

// What a pair that was not taken means. Locally the pair is wrong; a
// client's pair is wrong only when the server answered its proof so. A
// server that asked to wait has said so in its own message; a lost
// connection ends the login (the caller may connect again).
enum class LoginMiss { Wrong, Wait, Lost };

LoginMiss LoginMissOf()
{
    if (!RunModeIsClient() || RemoteLoginRefused) return LoginMiss::Wrong;
    return RemoteConnectionLost ? LoginMiss::Lost : LoginMiss::Wait;
}

// Tells a user who is not the administrator and whose access list has no
// row why the menus he sees are empty: he has no access group (none named,
// or the one named is gone), or his group allows nothing. The empty rights
// stay what they are: nothing is opened up.
void LoginRightsNoneTell()
{
    if (UserIsAdministrator || !LoggedInUser) return;
    MemBlock list = GetU32(LoggedInUser, LoggedInUserAccessList);
    if (MemIsValid(list) && MemSize(list) >= RightsRowSize) return;
    PString group;
    GetText(LoggedInUser, AccessVc::Code, group);
    ShowTextMessage(group[0] == 0 ? Texts::LoginNoGroup : Texts::LoginGroupAllowsNothing);
}

// Stores the user code of a logged-in name in the current session's entry.
void SessionUserCodeSet(const uint8_t *name)
{
    uint8_t *entry = SessionUserEntry(CurrentSessionIndex);
    PString code;
    if (entry && FieldFromText(code, FieldText, UserCodeLength, name)) PutPString(entry, SU::UserCode, UserCodeLength, code);
}

}  // namespace

// Logs a user in to the open company; true when one may work in it. An
// empty name and password are tried first (a company without persons
// takes them) and no window is shown then. Otherwise the login window
// asks until a pair is accepted, telling the user of each refusal and
// clearing the password (a client's lost connection ends the login, told
// as such, never as a wrong password); Cancel (or a quit, or the window
// going away) ends the session with false. After a login the menus follow the user's
// rights: the current module, when the user may use it, is entered again
// for him (its bars, lists and menus drawn for the person now logged in,
// as after a change of user), else the first module he may use.
bool LoginLoop()
{
    PString name, password;
    name[0] = password[0] = 0;
    if (!UserLoginCall(name, password)) {
        // Whatever told the user to wait (a client opening the server's
        // company) is over: the login asks now, and no box stands
        // behind it. The menus offer nobody anything meanwhile.
        CloseBusyMessage();
        RebuildWindowTypeMenu();
        RebuildRegisterMenu();
        int n = OpenOrActivateWindow(WinTypes::Login, 0, 0, false, 0);
        if (n == 0 || !WinRecordBuffer(n) || WinTypeWord(WinTypes::Login, 2) < LoginRecordSize) {
            if (n) WinClose(n);
            LoginSessionEnd();
            return false;
        }
        LoginRecordClear(n, false);
        for (;;) {
            if (!LoginWindowRun(n)) {
                LoginSessionEnd();
                if (WinIsOpen(n) && WinTypeOf(n) == WinTypes::Login) WinClose(n);
                return false;
            }
            LoginPairRead(WinRecordBuffer(n), name, password);
            if (UserLoginCall(name, password)) break;
            LoginMiss miss = LoginMissOf();
            if (miss == LoginMiss::Lost) {
                RemoteLostTell();
                LoginSessionEnd();
                if (WinIsOpen(n) && WinTypeOf(n) == WinTypes::Login) WinClose(n);
                return false;
            }
            if (miss == LoginMiss::Wrong) ShowTextMessage(Texts::LoginRefused);
            LoginRecordClear(n, true);
        }
        WinClose(n);
        SessionUserCodeSet(name);
    }
    // A client reads the company's settings once logged in: the server
    // serves none before.
    if (RunModeIsClient()) SettingsBlocksReload();
    LoggedInFlag = 1;        // the rights are the user's from here on
    RebuildWindowTypeMenu();
    RebuildRegisterMenu();   // the register popup follows the new user's rights
    StateRefreshFlag = 1;
    if (CurrentModule == 0 || !ModuleEnterCheck(CurrentModule)) OpenFirstModule();
    else ActivateModule(CurrentModule, CurrentModule);
    LoginRightsNoneTell();
    return true;
}

// Ends the login window's nested main loop: the done flag stops it, and a
// cancel also raises the cancel flag that the loop reads afterwards.
void LoginWindowDone(bool cancel)
{
    DialogDoneFlag = 1;
    if (cancel) LoginCancelFlag = 1;
}

// Forgets the login when the company closes: nobody is logged in, the
// user's access list is freed with the rest of the logged-in user record,
// and without a company the rights are again those before any login.
void LoginStateReset()
{
    LoggedInFlag = 0;
    UserIsAdministrator = true;
    if (!LoggedInUser) return;
    MemBlock list = GetU32(LoggedInUser, LoggedInUserAccessList);
    if (MemIsValid(list)) MemFree(&list);
    std::memset(LoggedInUser, 0, LoggedInUserSize);
}
