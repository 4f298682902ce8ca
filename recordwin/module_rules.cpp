// module_rules.cpp - whether a module may be entered, and which module
// the program enters first after a login.
#include "recordwin/record_windows.h"

#include "core/work_blocks.h"
#include "shell/login.h"
#include "shell/shell.h"

namespace {
// The modules in the order a user starts in the first one permitted.
constexpr int FirstModuleOrder[] = {2, 5, 3, 4, 6};
}  // namespace

// True when `module` may be entered now: the user's module right must
// allow it. While nobody is logged in to the open company, who the user
// is comes first: the login runs, and a failed login ends the program
// (QuitFlag, marked forced) and refuses; the right of the user it let in
// then decides. Without an open company there is nobody to log in: the
// right alone decides, and the login follows when a company opens.
bool ModuleEnterCheck(int module)
{
    if (!LoggedInFlag && DbOpenFlag && !LoginLoop()) {
        QuitFlag = 1;
        QuitForced = 1;
        return false;
    }
    return MayUseModule(module);
}

// Enters the first of the modules 2, 5, 3, 4 and 6 that may be entered;
// when none may, no module is current (module 0), whatever
// ModuleEnterCheck says of module 0 itself. Nothing more after a failed
// login.
void OpenFirstModule()
{
    for (int m : FirstModuleOrder) {
        if (!ModuleEnterCheck(m)) {
            if (QuitFlag) return;   // a failed login ends the program: no second one
            continue;
        }
        SwitchModule(m, 0);
        return;
    }
    if (CurrentModule != 0) ActivateModule(0, CurrentModule);
}
