// output_recorder.h - a recording output device for the tests of the
// output operations: installed in place of the devices of some output
// kinds, it writes every device call (with the job's kind) into one log,
// breaks the page on the printer kind at a page bottom of 1000, and
// advances the line position like the real devices.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "output/devices/device_table.h"

// One device call.
struct RecCall {
    uint16_t kind;
    std::string name;
    std::vector<int> args;
    std::string text;
    bool operator==(const RecCall &) const = default;
};

inline std::vector<RecCall> RecLog;

// Appends a call of the job's device to the log.
inline void Rec(const char *name, std::vector<int> args, const uint8_t *text = nullptr)
{
    std::string t = text ? std::string(reinterpret_cast<const char *>(text + 1), text[0]) : std::string();
    RecLog.push_back({CurrentOutputKind(), name, std::move(args), t});
}

// The recording device: page bottom 1000 on the printer kind, none else.
inline const RepDevice RecorderDevice = {
    .openJob = [](const uint8_t *title) {
        Rec("open", {}, title);
        if (CurrentOutputKind() == OutPrinter) RepOutputState.pageBottom = 1000;
        return true;
    },
    .endJob = [] { Rec("end", {}); },
    .pageStart = [] { Rec("pageStart", {RepOutputState.pageNumber}); },
    .pageEnd = [](int flag) { Rec("pageEnd", {flag}); },
    .lineBreaks = [](int32_t h) { return RepOutputState.linePos + h > RepOutputState.pageBottom; },
    .lineStart = [] { Rec("line", {RepOutputState.lineHeight}); },
    .advance = [](int32_t n) {
        RepOutputState.linePos += n;
        Rec("advance", {int(n)});
    },
    .text = [](int x, int font, int link, int align, int style,
               const uint8_t *text) { Rec("text", {x, font, link, align, style}, text); },
    .ruleFull = [](int end, int th) { Rec("ruleFull", {end, th}); },
    .rule = [](int x1, int x2, int th) { Rec("rule", {x1, x2, th}); },
    .headerClear = [] { Rec("headerClear", {}); },
    .headerLine = [](int n, bool right, const uint8_t *t) { Rec("headerLine", {n, right ? 1 : 0}, t); },
    .headerDone = [] { Rec("headerDone", {}); },
    .flushLine = [] { Rec("flush", {}); },
};

// Installs the recorder for the given kinds and puts the previous devices
// back when it goes; the log starts empty.
class RecorderInstall {
public:
    explicit RecorderInstall(std::initializer_list<uint16_t> kinds)
    {
        RecLog.clear();
        for (uint16_t k : kinds) saved_[k] = RepDeviceInstall(k, &RecorderDevice);
    }
    ~RecorderInstall()
    {
        for (auto &[k, d] : saved_) RepDeviceInstall(k, d);
    }
    RecorderInstall(const RecorderInstall &) = delete;
    RecorderInstall &operator=(const RecorderInstall &) = delete;

private:
    std::map<uint16_t, const RepDevice *> saved_;
};

// The names of the logged calls, in order.
inline std::vector<std::string> RecNames()
{
    std::vector<std::string> out;
    for (const RecCall &c : RecLog) out.push_back(c.name);
    return out;
}
