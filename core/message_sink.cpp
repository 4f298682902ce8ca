// message_sink.cpp - routes the core library's messages to the user.
#include "core/message_sink.h"

#include <cstdio>

static void MessageSinkStderr(const char *text) {
    std::fprintf(stderr, "orvel: %s\n", text);
}

static MessageSink CurrentSink = MessageSinkStderr;

MessageSink MessageSinkSet(MessageSink sink) {
    MessageSink old = CurrentSink;
    CurrentSink = sink ? sink : MessageSinkStderr;
    return old;
}

void MessageSinkShow(const char *text) {
    CurrentSink(text ? text : "");
}

static MessageSink CurrentNotice = nullptr;

MessageSink NoticeSinkSet(MessageSink sink) {
    MessageSink old = CurrentNotice;
    CurrentNotice = sink;
    return old;
}

void NoticeSinkShow(const char *text) {
    if (CurrentNotice) CurrentNotice(text ? text : "");
    else MessageSinkShow(text);
}

static void BeepSilent() {}

static BeepSink CurrentBeep = BeepSilent;

BeepSink BeepSinkSet(BeepSink sink) {
    BeepSink old = CurrentBeep;
    CurrentBeep = sink ? sink : BeepSilent;
    return old;
}

void MessageSinkBeep() {
    CurrentBeep();
}
