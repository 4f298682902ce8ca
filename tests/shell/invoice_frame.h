// invoice_frame.h - the program's frame on the headless display, as
// start-up makes it, for tests of a business fixture (such as
// tests/operations/invoice_fixture.h) that drive the record windows
// through the framework.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/display.h"
#include "platform/script.h"
#include "platform/window.h"
#include "shell/menus.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

// Puts the frame up: the window table empty, the shell's window classes,
// the menu bar from the interface file and the frame with its bars.
inline void InvoiceFrameUp()
{
    std::string error;
    ASSERT_TRUE(DisplayOpen(PlDisplayKind::Headless, &error)) << error;
    WinTableInit();
    WinResetAll();
    ScriptReset();
    if (!WinClassExists("m4frame")) {
        ASSERT_TRUE(RegisterWindowClasses());
    }
    ToolbarMetricsInit();
    MenuBarBuild();
    FrameWindow = WinCreate("m4frame", "Orvel", PlStyle::OverlappedWindow | PlStyle::ClipChildren | PlStyle::Visible,
                            PlRect{0, 0, 1000, 740}, 0, 0, 0);
    ASSERT_NE(FrameWindow, 0u);
}

// Takes down what InvoiceFrameUp put up: the window table, the frame and
// its bars, and the script.
inline void InvoiceFrameDown()
{
    WinTableInit();
    WinResetAll();
    FrameWindow = MdiClientWindow = TopBarWindow = BottomBarWindow = 0;
    ScriptReset();
}
