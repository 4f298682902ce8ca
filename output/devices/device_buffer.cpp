// device_buffer.cpp - the memory buffer device (kinds 5 and 8): the
// output as plain characters in RepBufferBlock, a TAB after each text
// and a CR at each advance. Kind 5 empties the buffer at its job start;
// kind 8 keeps what earlier jobs appended.
#include <algorithm>
#include <cassert>

#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/output_windows.h"

uint32_t RepBufferLimit = 64u << 20;

namespace {

// The block grows by at least this much, so appends stay cheap.
constexpr uint32_t BufferGrowStep = 4096;

// The buffer's job start: kind 5 starts empty and shows the busy message.
bool BufferOpenJob(const uint8_t *)
{
    if (CurrentOutputKind() != OutBuffer) return true;
    RepBufferUsed = 0;
    PString busy;
    GetUiText(busy, Texts::PrintStarting);
    OutBusyShow(busy);
    return true;
}

// A text and its TAB.
void BufferText(int, int, int, int, int, const uint8_t *text) { RepBufferAppend(text, 9); }

// An advance of any height ends the line with a CR.
void BufferAdvance(int32_t) { RepBufferAppend(EmptyPString, 13); }

// The buffer's job end closes the busy message of kind 5.
void BufferEndJob()
{
    if (CurrentOutputKind() == OutBuffer) OutBusyClose();
}

}  // namespace

const RepDevice BufferDevice = {
    .openJob = BufferOpenJob, .endJob = BufferEndJob, .advance = BufferAdvance, .text = BufferText};

// Appends a text (its control characters as blanks) and a separator
// byte to the memory buffer. When the block cannot grow (past
// RepBufferLimit or out of memory) the user is told and the job stops;
// nothing of the text is appended then.
void RepBufferAppend(const uint8_t *text, uint8_t sep)
{
    assert(text);
    if (RepStopped) return;
    PString t;
    PStringCopy(t, text);
    PStrBlankControls(t);
    uint32_t need = RepBufferUsed + t[0] + 1u;
    uint32_t have = RepBufferBlock ? MemSize(RepBufferBlock) : 0;
    if (need > RepBufferLimit) {
        ShowTextMessage(Texts::OutputFull);
        RepStopped = 1;
        return;
    }
    if (need > have) {
        uint32_t size = std::min(std::max(need, have + BufferGrowStep), RepBufferLimit);
        bool grown = (RepBufferBlock ? MemRealloc(&RepBufferBlock, size) : (RepBufferBlock = MemAlloc(size)) != 0);
        if (!grown) {
            ShowTextMessage(Texts::OutputFull);
            RepStopped = 1;
            return;
        }
    }
    uint8_t *p = MemLock(RepBufferBlock);
    assert(p);
    for (int i = 1; i <= t[0]; i++) p[RepBufferUsed++] = t[i];
    p[RepBufferUsed++] = sep;
    MemUnlock(RepBufferBlock);
}
