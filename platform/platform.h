// The platform layer in one include: the window system (windows, queue,
// MDI, controls, menus, modal services, clipboard, display back ends,
// scripted input, the previous-instance check) and drawing, fonts, icons,
// bitmaps, printing and sockets. Nothing here knows about registers,
// records or reports.
#pragma once

#include "platform/geometry.h"
#include "platform/draw.h"
#include "platform/font.h"
#include "platform/icon.h"
#include "platform/bitmap.h"
#include "platform/print.h"
#include "platform/socket.h"

#include "platform/window.h"
#include "platform/queue.h"
#include "platform/mdi.h"
#include "platform/control.h"
#include "platform/menu.h"
#include "platform/clipboard.h"
#include "platform/dialog.h"
#include "platform/script.h"
#include "platform/display.h"
#include "platform/instance.h"
