// login_loop.cpp - the login to a company: the login window's loop and
// what ends it.
#include "shell/login.h"

#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "shell/menus.h"
#include "shell/shell.h"

constexpr int UserRegister = 44;       // users defined for the company

// Lets the user work in the open company when it defines no users; with
// users it refuses and says why, since logging in is not possible yet.
bool LoginLoop()
{
    if (RegRecordCount(UserRegister) == 0) {
        RebuildRegisterMenu();
        return true;
    }
    ShowTextMessage(9512);
    return false;
}

// Ends the login window's nested main loop: the done flag stops it, and a
// cancel also raises the cancel flag that the loop reads afterwards.
void LoginWindowDone(bool cancel)
{
    DialogDoneFlag = 1;
    if (cancel) LoginCancelFlag = 1;
}

// Forgets the login when the company closes; not built yet: nothing is
// forgotten.
void LoginStateReset() {}
