// remote_exec.cpp - a client runs the output commands its server sent on
// its own devices.
//
// A received buffer is a run of commands (remote_encode.cpp writes them;
// docs/protocol.md lists them), each run by its group: the job, the
// report's lines, texts and values, a form, pictures. Each command's
// arguments are read with the codec's checked gets and the command runs
// through the public operations with RemoteOutput clear, so it takes the
// same local road as the client's own output. Nothing the server wrote
// is trusted: the first command that cannot be read whole, whose sizes
// pass the caps below, or whose field type is not one its encoder sends,
// ends the buffer. The commands before it ran, nothing after it runs,
// whatever it held is freed, the job is stopped (its end still closes
// the device) and the user is told once a job.
#include <cassert>
#include <cstdio>
#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/format_block.h"
#include "core/msg_buffer.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/output_windows.h"

namespace {

constexpr uint32_t HandleCap = 16u << 20;   // a picture, an EPS text or a page set-up
constexpr uint32_t GatherCap = 16u << 20;   // the chunks of commands 38 and 39 together
constexpr int MaxFormLines = 2000;

MemBlock EpsGather = 0;      // the chunks of an EPS picture gathered so far
uint8_t DamageTold = 0;      // the user was told of damaged output in this job

// A signed word (the encoders send ints as their low 16 bits).
int Word(MsgBuffer *m)
{
    uint16_t v = 0;
    MsgGetWord(m, &v);
    return int16_t(v);
}

// A handle item of at most cap bytes; a longer one fails the message
// before anything is allocated. 0 on failure.
MemBlock Handle(MsgBuffer *m, uint32_t cap)
{
    if (MsgRemaining(m) >= 4 && !MsgFailed(m)) {
        uint32_t n = GetU32(MsgData(m) + m->readPos, 0);
        if (n != MsgSizedNone && n > cap) {
            MsgGetBytes(m, nullptr, MsgRemaining(m) + 1);   // refused: a read past the end fails the message
            return 0;
        }
    }
    return MsgGetHandle(m, nullptr);
}

// A rectangle as the 48-byte block of four PackedDecimals the picture
// operations read.
void RectBlock(const PackedDecimal rect[4], uint8_t *block)
{
    for (uint32_t i = 0; i < 4; i++) PutDec(block, i * sizeof(PackedDecimal), rect[i]);
}

// Reads the arguments of command 31 (two handles, two rectangles, a
// text, a word) and includes the EPS picture; false when they could not
// be read (nothing is left allocated).
bool RunEps(MsgBuffer *m)
{
    MemBlock eps = Handle(m, HandleCap);
    MemBlock pic = Handle(m, HandleCap);
    PackedDecimal r1[4], r2[4];
    PString text;
    MsgGetDecRect(m, r1);
    MsgGetDecRect(m, r2);
    MsgGetPString(m, text);
    int mode = Word(m);
    bool ok = !MsgFailed(m);
    if (ok) EpsPictureOut(eps, pic, r1, r2, text, mode);
    MemFree(&eps);
    MemFree(&pic);
    return ok;
}

// Appends a chunk to the gathered EPS bytes; false when they would pass
// the cap or memory cannot be had.
bool GatherAppend(MemBlock chunk)
{
    uint32_t have = EpsGather ? MemSize(EpsGather) : 0, add = MemSize(chunk);
    if (add > GatherCap - have) return false;
    if (add == 0) return true;
    if (!EpsGather) {
        EpsGather = MemAlloc(add);
        if (!EpsGather) return false;
    } else if (!MemRealloc(&EpsGather, have + add)) {
        return false;
    }
    uint8_t *dst = MemLock(EpsGather);
    const uint8_t *src = MemLock(chunk);
    bool ok = dst && src;
    if (ok) std::memcpy(dst + have, src, add);
    MemUnlock(chunk);
    MemUnlock(EpsGather);
    return ok;
}

// Command 39's end: the gathered bytes read as command 31's arguments
// from a message of their own; false when they do not form them.
bool RunGathered()
{
    uint8_t *p = MemLock(EpsGather);
    MsgBuffer inner;
    bool ok = MsgLoad(&inner, p, EpsGather ? MemSize(EpsGather) : 0);
    MemUnlock(EpsGather);
    MemFree(&EpsGather);
    return ok && RunEps(&inner);
}

// Command 30's print set-up text i, cut to its field's length.
void TakeSetupText(int i, const uint8_t *text)
{
    PStringCopy(PrintSetupTexts[i], text);
    if (PrintSetupTexts[i][0] > PrintSetupTextMax[i]) PrintSetupTexts[i][0] = uint8_t(PrintSetupTextMax[i]);
}

// ---- The commands by group ----
// Each group reads and runs the commands of its kind (the opcode already
// read): Done, or Damaged when the arguments could not be read whole or
// broke a cap; NotMine for an opcode of another group.
enum class Ran { NotMine, Done, Damaged };

Ran Result(bool ok) { return ok ? Ran::Done : Ran::Damaged; }
// Done unless the message failed while the arguments were read.
Ran Read(MsgBuffer *m) { return Result(!MsgFailed(m)); }

// The received job: its opening (with the report's columns laid out on
// this device, told to the server) and its end.
Ran RunJobCommand(MsgBuffer *m, uint16_t op)
{
    switch (op) {
    case RepOp::OpenJob: {
        PString name;
        MsgGetPString(m, name);
        uint8_t *job = CurrentJobRecord();   // the job of the run that asked the server
        if (!job || !MsgGetJobRecord(m, job, ReportParamsVc::Size) || MsgFailed(m)) return Ran::Damaged;
        DamageTold = 0;
        RemoteJobActive = 1;
        RepOpenJob(name);
        return Ran::Done;
    }
    case RepOp::ReportColumns: {
        int32_t width = 0;
        RepLayOutReceivedColumns(&width);
        // The server measures the report's texts as this device draws
        // them: it is told before the push is acknowledged.
        if (width > 0 && RunModeIsClient()) JobDeviceRemote(CurrentOutputKind(), width);
        return Ran::Done;
    }
    case RepOp::EndJob:
        RepEndJob();
        RemoteJobActive = 0;
        DamageTold = 0;
        return Ran::Done;
    default: return Ran::NotMine;
    }
}

// The report's lines: header lines, line starts, advances, pages, rules,
// and the text file's lines and files.
Ran RunLineCommand(MsgBuffer *m, uint16_t op)
{
    switch (op) {
    case RepOp::HeaderLeft:
    case RepOp::HeaderRight: {
        int n = Word(m);
        PString text;
        MsgGetPString(m, text);
        if (MsgFailed(m)) return Ran::Damaged;
        if (op == RepOp::HeaderLeft)
            RepHeaderLeft(n, text);
        else
            RepHeaderRight(n, text);
        return Ran::Done;
    }
    case RepOp::HeaderClear: RepHeaderClear(); return Ran::Done;
    case RepOp::HeaderDone: RepHeaderDone(); return Ran::Done;
    case RepOp::StartLine:
    case RepOp::Advance:
    case RepOp::NewPage:
    case RepOp::FormNote: {
        int w = Word(m);
        if (MsgFailed(m)) return Ran::Damaged;
        if (op == RepOp::StartLine) RepStartLine(w);
        if (op == RepOp::Advance) RepAdvance(w);
        if (op == RepOp::NewPage) RepNewPage(w);
        return Ran::Done;   // a form note does nothing on the client
    }
    case RepOp::RuleFull: {
        int end = Word(m), thickness = Word(m);
        if (MsgFailed(m)) return Ran::Damaged;
        RepRuleFull(end, thickness);
        return Ran::Done;
    }
    case RepOp::Rule: {
        int x1 = Word(m), x2 = Word(m), thickness = Word(m);
        if (MsgFailed(m)) return Ran::Damaged;
        RepRule(x1, x2, thickness);
        return Ran::Done;
    }
    case RepOp::FormatLine: PrintFormatLine(); return Ran::Done;
    case RepOp::NextFile: RepNextFile(); return Ran::Done;
    case RepOp::FlushLine: RepFlushLine(); return Ran::Done;
    case RepOp::TabLineEnd: RepAdvance(1); return Ran::Done;
    default: return Ran::NotMine;
    }
}

// A decimal, date or date-time value formatted here: command 13, 15 or 19.
Ran RunValue(MsgBuffer *m, uint16_t op)
{
    int x = Word(m), font = Word(m), link = Word(m), align = Word(m), style = Word(m);
    uint8_t value[16] = {};
    int type;
    if (op == RepOp::DateValue) {
        type = FtDate;
        DateRec d{};
        MsgGetDate(m, &d);
        PutDate(value, 0, d);
    } else if (op == RepOp::StampValue) {
        type = FtDateTime;
        for (uint32_t i = 0; i < 7; i++) PutU16(value, i * 2, uint16_t(Word(m)));
    } else {
        type = Word(m);
        PackedDecimal dec;
        MsgGetBlock12(m, &dec);
        PutDec(value, 0, dec);
        // Only a decimal type fits the 12 bytes sent: any other would
        // read them as what they are not (a text's length byte).
        if (!RepValueIsPacked(type)) return Ran::Damaged;
    }
    if (MsgFailed(m)) return Ran::Damaged;
    RepValueEx(x, font, link, value, type, align, style);
    return Ran::Done;
}

// Texts and values: on the report's line, on the TAB file, as an export
// field, as the import's status.
Ran RunTextCommand(MsgBuffer *m, uint16_t op)
{
    PString text;
    switch (op) {
    case RepOp::Text: {
        int x = Word(m), font = Word(m), link = Word(m), align = Word(m), style = Word(m);
        MsgGetPString(m, text);
        uint16_t dos = uint16_t(Word(m));
        if (MsgFailed(m)) return Ran::Damaged;
        DosCodePage = dos;
        RepTextEx(x, font, link, align, style, text);
        return Ran::Done;
    }
    case RepOp::DateValue:
    case RepOp::DecimalValue:
    case RepOp::StampValue: return RunValue(m, op);
    case RepOp::TextNr: {
        int x = Word(m), link = Word(m), align = Word(m), style = Word(m), n = Word(m);
        if (MsgFailed(m)) return Ran::Damaged;
        GetUiText(text, n);
        RepTextEx(x, -1, link, align, style, text);
        return Ran::Done;
    }
    case RepOp::StatusText:
        MsgGetPString(m, text);
        if (MsgFailed(m)) return Ran::Damaged;
        OutImportStatusText(text);
        return Ran::Done;
    case RepOp::WriteField:
    case RepOp::TabText: {
        MsgGetPString(m, text);
        uint16_t dos = uint16_t(Word(m));
        if (MsgFailed(m)) return Ran::Damaged;
        DosCodePage = dos;
        if (op == RepOp::WriteField)
            ExportPString(text);
        else
            RepTextEx(0, -1, 0, 0, 0, text);
        return Ran::Done;
    }
    default: return Ran::NotMine;
    }
}

// A document's form: the print destination opened and closed, its pages
// and geometry, and the lines, boxes and texts drawn on them.
Ran RunFormCommand(MsgBuffer *m, uint16_t op)
{
    PString text, text2;
    PackedDecimal rect[4], thickness;
    switch (op) {
    case RepOp::PrintOpen: {
        int docType = Word(m), destWord = Word(m);
        MsgGetPString(m, text);
        MsgGetPString(m, text2);
        if (MsgFailed(m)) return Ran::Damaged;
        PrintOpenOk = PrintOpenCall(docType, destWord, text, text2) ? 1 : 0;
        if (!PrintOpenOk) RepStopped = 1;
        return Ran::Done;
    }
    case RepOp::PrintClose: {
        PString texts[3];
        for (auto &t : texts) MsgGetPString(m, t);
        if (MsgFailed(m)) return Ran::Damaged;
        for (int i = 0; i < 3; i++) TakeSetupText(i, texts[i]);
        RepOp30();
        ThousandsFlag = 0;
        PrintOpenOk = 0;
        return Ran::Done;
    }
    case RepOp::FormGeometry: {
        int lines = Word(m), w1 = Word(m), w2 = Word(m);
        uint8_t ff = 0;
        MsgGetByte(m, &ff);
        if (MsgFailed(m) || lines < 1 || lines > MaxFormLines) return Ran::Damaged;
        FormPageGeometry(lines, w1, w2, ff);
        return Ran::Done;
    }
    case RepOp::FormPageStart:
        MsgGetPString(m, text);
        if (MsgFailed(m)) return Ran::Damaged;
        FormPageStart(text);
        return Ran::Done;
    case RepOp::FormPageEnd: FormPageEnd(); return Ran::Done;
    case RepOp::FormLine:
    case RepOp::FormBox: {
        MsgGetDecRect(m, rect);
        MsgGetBlock12(m, &thickness);
        int mode = op == RepOp::FormBox ? Word(m) : 0;
        if (MsgFailed(m)) return Ran::Damaged;
        if (op == RepOp::FormLine)
            FormLineOut(rect, thickness);
        else
            FormBoxOut(rect, thickness, mode);
        return Ran::Done;
    }
    case RepOp::FormText: {
        uint8_t font[FontVc::Size] = {};
        MsgGetPString(m, text);
        MsgGetDecRect(m, rect);
        MsgGetRecord(m, FontVc::Number, font);
        int lineIndex = Word(m), pitch = Word(m), align = Word(m);
        if (MsgFailed(m)) return Ran::Damaged;
        FormTextOut(text, rect, font, lineIndex, pitch, align);
        return Ran::Done;
    }
    case RepOp::FormNote3:
        Word(m);
        Word(m);
        Word(m);
        return Read(m);
    default: return Ran::NotMine;
    }
}

// Pictures, EPS inclusions (whole or in gathered chunks) and the page
// set-up of the next print job.
Ran RunPictureCommand(MsgBuffer *m, uint16_t op)
{
    PackedDecimal rect[4];
    switch (op) {
    case RepOp::EpsPicture: return Result(RunEps(m));
    case RepOp::Picture: {
        MemBlock pic = Handle(m, HandleCap);
        MsgGetDecRect(m, rect);
        int mode = Word(m);
        bool ok = !MsgFailed(m);
        if (ok) {
            uint8_t block[4 * sizeof(PackedDecimal)];
            RectBlock(rect, block);
            RepPicture(pic, block, mode);
        }
        MemFree(&pic);
        return Result(ok);
    }
    case RepOp::HandleRect: {
        MemBlock h = Handle(m, HandleCap);
        MemFree(&h);
        MsgGetDecRect(m, rect);
        return Read(m);
    }
    case RepOp::PageSetup: {
        MemBlock h = Handle(m, HandleCap);
        if (MsgFailed(m)) {
            MemFree(&h);
            return Ran::Damaged;
        }
        MemFree(&ReceivedPageSetup);
        if (MemSize(h) == 0)
            MemFree(&h);
        else
            ReceivedPageSetup = h;
        return Ran::Done;
    }
    case RepOp::EpsChunk:
    case RepOp::EpsLastChunk: {
        int chunkNumber = op == RepOp::EpsChunk ? Word(m) : 0;
        MemBlock chunk = Handle(m, GatherCap);
        if (MsgFailed(m)) {
            MemFree(&chunk);
            return Ran::Damaged;
        }
        if (chunkNumber == 1) MemFree(&EpsGather);
        bool ok = GatherAppend(chunk);
        MemFree(&chunk);
        if (!ok) {
            MemFree(&EpsGather);
            return Ran::Damaged;
        }
        return Result(op == RepOp::EpsChunk || RunGathered());
    }
    default: return Ran::NotMine;
    }
}

// Reads and runs one command (its opcode already read) by its group;
// false when its arguments could not be read whole or broke a cap. The
// commands that do nothing (0, 21, 25) and opcodes above 42 belong to no
// group: they are skipped, and the next word is read as an opcode.
bool RunCommand(MsgBuffer *m, uint16_t op)
{
    for (auto group : {RunJobCommand, RunLineCommand, RunTextCommand, RunFormCommand, RunPictureCommand}) {
        Ran ran = group(m, op);
        if (ran != Ran::NotMine) return ran == Ran::Done;
    }
    return true;
}

// Tells the user once a job that received output was damaged, logs where,
// and stops the job so nothing half-read is printed after it. Damage with
// no job open is told each time: there is no job's end to clear the mark.
void Damaged(uint16_t op, uint32_t at)
{
    char line[96];
    std::snprintf(line, sizeof line, "Remote output damaged: command %u at byte %u; the rest dropped", unsigned(op),
                  unsigned(at));
    PString text;
    PStringFromView(text, line);
    LogAppend(text);
    MemFree(&EpsGather);
    if (RemoteJobActive) RepStopped = 1;
    if (DamageTold) return;
    DamageTold = RemoteJobActive;
    ShowTextMessage(Texts::RemoteOutputDamaged);
}

}  // namespace

// Runs a buffer of received output commands on the local devices; false
// when it was damaged (the commands before the fault ran, the rest was
// dropped, the user told once a job).
bool RepExecRemote(const uint8_t *bytes, uint32_t length)
{
    MsgBuffer m;
    if (length > 0 && (!bytes || !MsgLoad(&m, bytes, length))) return false;
    uint8_t wasRemote = RemoteOutput;
    RemoteOutput = 0;
    bool ok = true;
    while (MsgRemaining(&m) > 0) {
        uint32_t at = m.readPos;
        uint16_t op = 0;
        if (!MsgGetWord(&m, &op) || !RunCommand(&m, op) || MsgFailed(&m)) {
            Damaged(op, at);
            ok = false;
            break;
        }
    }
    RemoteOutput = wasRemote;
    return ok;
}

// Ends a received job when the request that carried it ends: the job
// (and, for Full, an open print and the job flag); EPS chunks still
// gathered can no longer be completed.
void RepRemoteJobEnd(RemoteJobEnd how)
{
    MemFree(&EpsGather);
    DamageTold = 0;
    if (RemoteJobActive) {
        RepEndJob();
        RemoteJobActive = 0;
    }
    if (how != RemoteJobEnd::Full) return;
    if (PrintOpenOk) {
        RepOp30();
        PrintOpenOk = 0;
    }
    CharGridDiscard();   // a character page the server started but never ended
    OutJobFlagReset();
}
