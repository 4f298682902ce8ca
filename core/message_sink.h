// message_sink.h - where the core library's messages to the user go.
//
// The core types run below the window system, yet a few of their
// failures (a memory block that cannot be had, say) must reach the
// user, and the business rules, which run on a server too, tell the user
// the same way. They call MessageSinkShow (or MessageSinkBeep for a bare
// beep); the window layer installs a sink that
// shows a message box, tests install one that records the text, and
// until either happens the text goes to standard error.
#pragma once

using MessageSink = void (*)(const char *text);

// Installs sink (null restores the default, standard error) and returns
// the sink that was installed before.
MessageSink MessageSinkSet(MessageSink sink);

// Shows text through the installed sink. The text is zero-terminated
// and in the interface file's character set.
void MessageSinkShow(const char *text);

// The sink of notices (a success or a count, shown with the information
// icon). Until one is installed, notices go to the sink above, so that a
// place that records every message (a test, the server's log) sees them.
MessageSink NoticeSinkSet(MessageSink sink);
// Shows text through the notice sink, or the message sink when there is
// none.
void NoticeSinkShow(const char *text);

// The beep of a refused action. No one hears a beep until the window layer
// installs one (a server has no one at the screen), so the default is
// silent.
using BeepSink = void (*)();
// Installs sink (null restores the silent default) and returns the sink
// that was installed before.
BeepSink BeepSinkSet(BeepSink sink);
// Beeps through the installed sink.
void MessageSinkBeep();
