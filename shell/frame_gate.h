// frame_gate.h - whether the frame answers a command now: every command
// once someone is logged in, and while the frame waits only those its
// table lets through (frame_commands.h).
#pragma once

// What the frame waits for, as the active window finds it: nothing (a
// user is logged in, or no company is open), a login (the login window
// asks; so does any window of menu kind 1 while it is active), or
// nothing at all at a server's own frame, where no login comes.
enum class FrameWait { None, Login, Server };
FrameWait FrameWaitOf(int w);

// True when frame command `id` (a menu item's, a Ctrl key's) may run now
// for the active window w: always while the frame waits for nothing;
// otherwise as the command's row in the table says for that wait (a
// command the table lacks never).
bool FrameCommandAllowed(int id, int w);
