// The previous-instance check: a local socket per user and display by which
// a second start of the program on the same display finds the first one (a
// start on another display is a first instance there: the running one could
// not show itself to that user). The first instance holds the
// socket; a second start connects and asks it to show itself, and the first
// posts message 1024 to its frame window (the top-level window of class
// "m4frame") from its message wait.
//
// The socket is in the abstract namespace ("orvel-<uid>-<display>-<name>"),
// or, when asked for or when that fails, a file "<name>-<display>.sock" in $XDG_RUNTIME_DIR or
// else in the private directory /tmp/orvel-<uid> (mode 0700). Requests from
// other users are ignored.
#pragma once

#include <string>
#include <string_view>

enum class PlInstanceRole : uint8_t {
    First,   // this process holds the socket now
    Second,  // another instance of this user holds it
    Failed,  // no socket could be made (the program may run as a first instance)
};

// Claims the instance socket for `name` (default "orvel").
PlInstanceRole InstanceClaim(std::string_view name = "orvel", bool useFile = false);
// Sends the show request to the instance holding `name`. With answerMs 0
// true when the request was delivered; otherwise true only when the holder
// answered within answerMs milliseconds that its frame was asked to show
// itself (a holder that is stuck, or has no frame, does not answer).
bool InstanceSignal(std::string_view name = "orvel", bool useFile = false, int answerMs = 0);
// Releases the socket (and removes its file).
void InstanceRelease();
bool InstanceHeld();
// The display part of the socket's name, from $DISPLAY (x11) or else
// $WAYLAND_DISPLAY; "none" when neither is set (headless).
std::string InstanceDisplayKey(const char *x11, const char *wayland);
// The socket's name (abstract names are shown with a leading "@").
std::string InstanceAddress(std::string_view name = "orvel", bool useFile = false);

// Used by the message wait: takes waiting show requests and posts message
// 1024 to the "m4frame" window for each valid one, answering the sender
// once it was posted. True when one was posted.
bool InstancePoll();
// Waits up to timeoutMs (-1 = forever) for a request to arrive; true when one is waiting.
bool InstanceWait(int timeoutMs);
