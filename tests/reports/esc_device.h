// esc_device.h - a recording preview device that posts Esc, as a user
// pressing it, when the report starts its EscAtLine-th line: report walks
// must stop after the record at hand and still end their job.
#pragma once

#include <string>

#include "platform/queue.h"
#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"

inline int EscAtLine = 0, EscLinesStarted = 0;

inline const RepDevice EscAtLineDevice = [] {
    RepDevice d = RecorderDevice;
    d.lineStart = [] {
        RecorderDevice.lineStart();
        if (++EscLinesStarted == EscAtLine) {
            EXPECT_TRUE(MsgPost(0, PlMsg::KeyDown, PlKey::Escape, 0));
        }
    };
    return d;
}();

// Runs body on the preview through the device, Esc at line `line`; true
// when the job ended stopped. The texts it printed are in RecLog.
inline bool RunWithEscAt(int line, void (*body)()) {
    const RepDevice *saved = RepDeviceInstall(OutPreview, &EscAtLineDevice);
    PutU16(TestJob, ReportParamsVc::OutputKind, OutPreview);
    RecLog.clear();
    EscAtLine = line;
    EscLinesStarted = 0;
    body();
    RepDeviceInstall(OutPreview, saved);
    const bool ended = !RecLog.empty() && RecLog.back().name == "end";
    return ended && RepStopped == 1;
}
// Whether a text printed in the recorded run holds `text`.
inline bool RecordedText(const std::string &text) {
    for (const RecCall &c : RecLog)
        if (c.text.find(text) != std::string::npos) return true;
    return false;
}
