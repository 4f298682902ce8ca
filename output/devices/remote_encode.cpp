// remote_encode.cpp - the output commands a server writes for its client
// instead of drawing.
//
// Every command is its opcode word followed by its arguments in the
// codec's items (docs/protocol.md, "Output commands"), appended to
// OutputMessage. The commands that open or close something the client
// must act on before more output arrives (1, 12, 27, 28, 30, 32) send
// the message at once; every other command sends it only when it grew
// past the flush limit. A message that could not be built or sent stops
// the job: a server never goes on producing output no client receives.
// The stop guards are the dispatchers' (rep_dispatch.cpp); these only
// encode.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/msg_buffer.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"

namespace {

// True for the commands after which the message leaves at once.
bool SentAtOnce(uint16_t op)
{
    return op == RepOp::OpenJob || op == RepOp::EndJob || op == RepOp::FormPageEnd || op == RepOp::PrintOpen ||
           op == RepOp::PrintClose || op == RepOp::FormGeometry;
}

// Ends command op: sends or flushes by the send rule; a message that
// failed to build or to leave stops the job.
void Finish(uint16_t op)
{
    if (MsgFailed(&OutputMessage)) {
        MsgReset(&OutputMessage);
        RepStopped = 1;
        return;
    }
    if (SentAtOnce(op)) {
        if (!MsgSend()) RepStopped = 1;
        return;
    }
    MsgFlushIfFull();
}

// Appends a word; the int arguments of the operations travel as their
// low 16 bits (the client reads them back as signed words).
void Word(int v) { MsgPutWord(&OutputMessage, uint16_t(v)); }

// Appends a PString (null: empty).
void Text(const uint8_t *t)
{
    static const uint8_t empty[1] = {0};
    MsgPutPString(&OutputMessage, t ? t : empty);
}

// The five words that open commands 4, 13, 15 and 19.
void TextWords(int x, int font, int link, int align, int style)
{
    Word(x);
    Word(font);
    Word(link);
    Word(align);
    Word(style);
}

}  // namespace

// True for the field types whose value is a PackedDecimal, sent as
// command 15 with the type; the client takes command 15 with no other.
bool RepValueIsPacked(int type)
{
    switch (type) {
    case FtAmount2: case FtDebit: case FtCredit: case FtPercent: case FtThousands: case FtMillions:
    case FtAmount1: case FtAmount0: case FtAmount3: case FtAmount3Drop:
        return true;
    default:
        return false;
    }
}

// Command 1: the job name and the job record, in memory form; for a
// report job command 42 after it, in the same message.
void RepEncOpenJob(const uint8_t *name, bool report)
{
    const uint8_t *job = CurrentJobRecord();
    if (!job) {   // a job without a record cannot be run by the client: nothing is sent
        RepStopped = 1;
        return;
    }
    Word(RepOp::OpenJob);
    Text(name);
    MsgPutJobRecord(&OutputMessage, job, ReportParamsVc::Size);
    if (report) Word(RepOp::ReportColumns);
    Finish(RepOp::OpenJob);
}

// Commands 2 and 3: the header line's number and its text.
void RepEncHeader(uint16_t op, int n, const uint8_t *text)
{
    assert(op == RepOp::HeaderLeft || op == RepOp::HeaderRight);
    Word(op);
    Word(n);
    Text(text);
    Finish(op);
}

// Command 4: the placed text and the server's DosCodePage.
void RepEncText(int x, int font, int link, int align, int style, const uint8_t *text)
{
    Word(RepOp::Text);
    TextWords(x, font, link, align, style);
    Text(text);
    Word(DosCodePage);
    Finish(RepOp::Text);
}

// A value: a date as command 13, a date and time as 19, a PackedDecimal
// type as 15 with its type; any other type formatted here and sent as
// command 4.
void RepEncValue(int x, int font, int link, const uint8_t *value, int type, int align, int style)
{
    assert(value);
    uint16_t op;
    if (type == FtDate) {
        op = RepOp::DateValue;
        DateRec d = GetDate(value, 0);
        Word(op);
        TextWords(x, font, link, align, style);
        MsgPutDate(&OutputMessage, &d);
    } else if (type == FtDateTime) {
        op = RepOp::StampValue;
        Word(op);
        TextWords(x, font, link, align, style);
        for (uint32_t i = 0; i < 7; i++) Word(GetU16(value, i * 2));
    } else if (RepValueIsPacked(type)) {
        op = RepOp::DecimalValue;
        Word(op);
        TextWords(x, font, link, align, style);
        Word(type);
        PackedDecimal v = GetDec(value, 0);
        MsgPutBlock12(&OutputMessage, &v);
    } else {
        PString t;
        FieldToText(value, uint16_t(type), t);
        RepEncText(x, font, link, align, style, t);
        return;
    }
    Finish(op);
}

// A command of words only.
void RepEncWords(uint16_t op, std::initializer_list<int> words)
{
    Word(op);
    for (int w : words) Word(w);
    Finish(op);
}

// Commands 16, 17 (followed by DosCodePage) and 26: one text.
void RepEncText1(uint16_t op, const uint8_t *text)
{
    assert(op == RepOp::StatusText || op == RepOp::WriteField || op == RepOp::FormPageStart);
    Word(op);
    Text(text);
    if (op == RepOp::WriteField) Word(DosCodePage);
    Finish(op);
}

// Command 28: the print open's document type, destination word, title and destination.
void RepEncPrintOpen(int docType, int destWord, const uint8_t *title, const uint8_t *dest)
{
    Word(RepOp::PrintOpen);
    Word(docType);
    Word(destWord);
    Text(title);
    Text(dest);
    Finish(RepOp::PrintOpen);
}

// Commands 22 (rectangle, thickness) and 23 (rectangle, thickness, mode).
void RepEncForm(uint16_t op, const PackedDecimal rect[4], const PackedDecimal &thickness, int mode)
{
    assert(op == RepOp::FormLine || op == RepOp::FormBox);
    Word(op);
    MsgPutDecRect(&OutputMessage, rect);
    MsgPutBlock12(&OutputMessage, &thickness);
    if (op == RepOp::FormBox) Word(mode);
    Finish(op);
}

// Command 24: text, rectangle, the font record, line index, pitch, alignment.
void RepEncFormText(const uint8_t *text, const PackedDecimal rect[4], const uint8_t *fontRecord, int lineIndex,
                    int pitch, int align)
{
    Word(RepOp::FormText);
    Text(text);
    MsgPutDecRect(&OutputMessage, rect);
    if (fontRecord) {
        MsgPutRecord(&OutputMessage, FontVc::Number, fontRecord);
    } else {
        uint8_t none[FontVc::Size] = {};
        MsgPutRecord(&OutputMessage, FontVc::Number, none);
    }
    Word(lineIndex);
    Word(pitch);
    Word(align);
    Finish(RepOp::FormText);
}

// Command 32: lines per page, two words the client drops, the form-feed byte.
void RepEncGeometry(int lines, int word1, int word2, int formFeed)
{
    Word(RepOp::FormGeometry);
    Word(lines);
    Word(word1);
    Word(word2);
    MsgPutByte(&OutputMessage, uint8_t(formFeed));
    Finish(RepOp::FormGeometry);
}

// Command 30: the three print set-up texts.
void RepEncOp30()
{
    Word(RepOp::PrintClose);
    for (int i = 0; i < 3; i++) Text(PrintSetupTexts[i]);
    Finish(RepOp::PrintClose);
}

// Command 36: the picture block, its rectangle (the four PackedDecimals
// of the rectangle block), the mode.
void RepEncPicture(MemBlock dib, const uint8_t *rectBlock, int mode)
{
    PackedDecimal rect[4] = {};
    if (rectBlock)
        for (uint32_t i = 0; i < 4; i++) rect[i] = GetDec(rectBlock, i * sizeof(PackedDecimal));
    Word(RepOp::Picture);
    MsgPutHandle(&OutputMessage, dib);
    MsgPutDecRect(&OutputMessage, rect);
    Word(mode);
    Finish(RepOp::Picture);
}

// Command 37: a handle's bytes (the run's page set-up).
void RepEncHandle(MemBlock h)
{
    Word(RepOp::PageSetup);
    MsgPutHandle(&OutputMessage, h);
    Finish(RepOp::PageSetup);
}

// Command 40: a field of a TAB-file job and the server's DosCodePage.
void RepEncTabText(const uint8_t *text)
{
    Word(RepOp::TabText);
    Text(text);
    Word(DosCodePage);
    Finish(RepOp::TabText);
}

// Command 41: the line end of a TAB-file job.
void RepEncTabLineEnd()
{
    Word(RepOp::TabLineEnd);
    Finish(RepOp::TabLineEnd);
}
