// choice_steps.h - the steps the choice-window tests share: a customer
// window under edit on one of its fields (the opener a choice is typed
// into), the text of a window's field under edit, and a window opened
// from another.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "dict_offsets.h"
#include "platform/control.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

// A customer window under edit with the focus on its field at `offset`;
// 0 when it does not open.
inline int CustomerUnderEdit(uint32_t offset)
{
    int n = OpenOrActivateWindow(WinTypes::Customers, 0, 0, true, 0);
    EXPECT_GT(n, 0);
    if (n <= 0) return 0;
    WinBeginEdit(n);
    EXPECT_TRUE(WinGotoField(n, WinScreenFieldOfOffset(n, offset), true));
    return n;
}

// The text of window n's field under edit.
inline std::string EditText(int n) { return EditGetText(WinTable[n]->editControl); }

// A window of type opened from opener (0: from no window).
inline int OpenFrom(int type, int opener)
{
    int n = OpenOrActivateWindow(type, 0, 0, true, opener);
    EXPECT_GT(n, 0) << type;
    return n;
}
