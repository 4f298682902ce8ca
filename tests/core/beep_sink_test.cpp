// beep_sink_test.cpp - the beep of a refused action reaches the sink the
// window layer installs, and no one once it is taken away again.
#include <gtest/gtest.h>

#include "core/message_sink.h"

namespace {

int Beeps = 0;
void CountBeep() { ++Beeps; }

TEST(BeepSink, BeepsOnlyThroughTheInstalledSink) {
    BeepSink before = BeepSinkSet(nullptr);
    Beeps = 0;
    MessageSinkBeep();                          // silent default: no one hears
    EXPECT_EQ(Beeps, 0);
    EXPECT_NE(BeepSinkSet(CountBeep), nullptr);  // the silent default is a sink too
    MessageSinkBeep();
    MessageSinkBeep();
    EXPECT_EQ(Beeps, 2);
    EXPECT_EQ(BeepSinkSet(nullptr), CountBeep);  // hands back what it replaced
    MessageSinkBeep();
    EXPECT_EQ(Beeps, 2);
    BeepSinkSet(before);
}

}  // namespace
