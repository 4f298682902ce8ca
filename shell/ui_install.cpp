// ui_install.cpp - the ui layer's one install, called by ProgramInstall
// after the business and output layers and before the features.
#include "shell/ui_install.h"

#include "database/access/register_hooks.h"
#include "database/access/remote_calls.h"
#include "operations/person_entries.h"
#include "outputwin/output_windows_install.h"
#include "recordwin/record_windows.h"
#include "shell/login.h"
#include "rules/settings_checks.h"
#include "shell/menus.h"
#include "shell/window_utils.h"

void UiInstall()
{
    OutputWindowsInstall();
    PersonRunBusy = PersonRunBusyRec{
        .show = ShowBusyMessage,
        .close = CloseBusyMessage,
    };
    AccessUiHooks = AccessUiHooksRec{
        .rebuildWindowTypeMenu = RebuildWindowTypeMenu,
        .refuseWrite = LocalRefuseWrite,
        .refuseBlock = LocalRefuseBlock,
        .refuseRun = LocalRefuseRun,
    };
    CompanyDetailsShownHook = WindowType1Refresh;
    RowExtraTextInstall(RowExtraText);
}
