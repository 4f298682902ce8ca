// shell_state.cpp - the shell's global flags and fixed windows, and
// their reset to start values.
#include "shell/shell.h"

uint8_t QuitFlag;
uint8_t QuitForced;
uint8_t DialogDoneFlag;
uint8_t LoggedInFlag, LoginCancelFlag, ModalWindowFlag;
uint16_t BusyFlag;
uint8_t StateRefreshFlag;
uint8_t RedrawPendingFlag;
uint16_t CurrentWindow;
uint8_t ShiftDown, CtrlDown;
uint8_t ShortcutMarksShown;
uint8_t DbOpenFlag;
uint8_t StartupFlag;
uint8_t RunActiveFlag;
uint8_t BarsLocked;
uint8_t LightGreyLook;
uint16_t LastKeyDown;
uint32_t FrameWindow, MdiClientWindow, TopBarWindow, BottomBarWindow;
PlPen DottedPen{PlPenStyle::Dot, 1, kPlBlack};
PlBrush GreyPatternBrush = kPlBrushGreyPattern;

// Sets every shell flag, key state and frame window to its start value.
void ShellStateReset()
{
    QuitFlag = 0;
    QuitForced = 0;
    DialogDoneFlag = 0;
    LoggedInFlag = LoginCancelFlag = ModalWindowFlag = 0;
    BusyFlag = 0;
    StateRefreshFlag = 0;
    RedrawPendingFlag = 0;
    CurrentWindow = 0;
    ShiftDown = CtrlDown = 0;
    ShortcutMarksShown = 0;
    DbOpenFlag = 0;
    StartupFlag = 0;
    UserCancelFlag = 0;
    RunActiveFlag = 0;
    BarsLocked = 0;
    LightGreyLook = 0;
    LastKeyDown = 0;
    FrameWindow = MdiClientWindow = TopBarWindow = BottomBarWindow = 0;
    DottedPen = PlPen{PlPenStyle::Dot, 1, kPlBlack};
    GreyPatternBrush = kPlBrushGreyPattern;
}
