// vm_values.cpp - the formula machine's value stack, string space and
// frames: pushes, pops and the five conversions. Every push checks its
// room; a push without room sets the machine's fault (one message) and
// leaves the stack as it was, so a run never goes on with values missing.
#include <cmath>
#include <cstring>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "output/formula/formula_internal.h"

VmState Vm;

namespace {

// Room a STRING of capacity c takes in the string space: c + 1 bytes,
// rounded up to even.
uint32_t StringRoom(uint32_t capacity) { return (capacity + 2) & ~1u; }

// The new top entry, or null (and the fault) when the stack is full.
VmValue *NewEntry(uint8_t type) {
    if (Vm.top >= VmStackSize - 1) {
        VmFault();
        return nullptr;
    }
    VmValue *v = &Vm.stack[++Vm.top];
    *v = VmValue{};
    v->type = type;
    v->text = Vm.spaceTop;
    return v;
}

// A frame record at offset, or null when it does not lie in the space.
uint8_t *FrameRecord(uint32_t offset) {
    if (offset == VmNoFrame || offset > (uint32_t)VmStringSpaceSize - VmFrameSize) return nullptr;
    return Vm.space + offset;
}

}  // namespace

void VmFault() { VmFaultWith(Texts::FormulaMachineFull); }

void VmFaultWith(int text) {
    if (Vm.fault) return;
    Vm.fault = true;
    ShowTextMessage(text);
}

bool VmFaulted() { return Vm.fault; }
void VmClearFault() { Vm.fault = false; }

int VmSetFloor(int level) {
    int old = Vm.floor;
    Vm.floor = level < 0 ? 0 : level;
    return old;
}

void VmTablesAlloc() {
    Vm = VmState{};
    Vm.ready = true;
    Vm.frame = VmNoFrame;
    VmPushFrame(0, 0);
}

int VmTopIndex() { return Vm.top; }
const VmValue *VmTop() { return &Vm.stack[Vm.top]; }
uint32_t VmCurrentFrame() { return Vm.frame; }

const uint8_t *VmText(const VmValue *v) {
    if (v->text >= (uint32_t)VmStringSpaceSize) return Vm.space;
    return Vm.space + v->text;
}

void VmPushBool(bool v) {
    if (VmValue *e = NewEntry(VmBoolean)) e->integer = v ? 1 : 0;
}

void VmPushInt(int16_t v) {
    if (VmValue *e = NewEntry(VmInteger)) e->integer = v;
}

void VmPushReal(double v) {
    if (VmValue *e = NewEntry(VmReal)) e->real = v;
}

void VmPushString(const uint8_t *text, uint16_t length, uint16_t capacity) {
    if (Vm.spaceTop + capacity + 2u > (uint32_t)VmStringSpaceSize) {
        VmFault();
        return;
    }
    VmValue *e = NewEntry(VmString);
    if (!e) return;
    if (length > capacity) length = capacity;
    e->capacity = capacity;
    e->length = length;
    uint8_t *dst = Vm.space + e->text;
    // The text may lie in the string space itself (a copy of a variable);
    // it lies below the new room, so the two never overlap.
    if (length) std::memmove(dst, text, length);
    dst[length] = 0;
    Vm.spaceTop += StringRoom(capacity);
}

void VmPushPString(const uint8_t *text) { VmPushString(text + 1, text[0], text[0]); }

void VmPushFrame(int level, uint16_t count) {
    if (level < 0 || level >= VmDisplaySlots) return;
    int before = Vm.top;
    VmPushString(Vm.space, 0, VmFrameSize);
    if (Vm.top == before) return;
    VmValue *mark = &Vm.stack[Vm.top];
    mark->type = VmFrameMark;
    uint8_t *rec = Vm.space + mark->text;
    const uint8_t *outer = FrameRecord(Vm.frame);
    PutU16(rec, VmFrameCount, count);
    PutU32(rec, VmFrameLink, Vm.frame);
    for (int i = 0; i < VmDisplaySlots; i++) {
        uint32_t slot = 0;
        if (i < level && outer) slot = GetU32(outer, VmFrameSlots + 4 * i);
        if (i == level) slot = (uint32_t)Vm.top;
        PutU32(rec, VmFrameSlots + 4 * i, slot);
    }
    Vm.frame = mark->text;
}

void VmPop() {
    if (Vm.top <= Vm.floor) return;
    uint32_t text = Vm.stack[Vm.top].text;
    Vm.spaceTop = text <= Vm.spaceTop ? text : Vm.spaceTop;
    Vm.top--;
}

int16_t VmPopInt() {
    if (Vm.top <= Vm.floor) return 0;
    const VmValue &v = Vm.stack[Vm.top];
    int16_t r = 0;
    if (v.type == VmBoolean || v.type == VmInteger) r = v.integer;
    else if (v.type == VmReal) r = VmDoubleToInt16(v.real);
    VmPop();
    return r;
}

double VmPopReal() {
    if (Vm.top <= Vm.floor) return 0.0;
    const VmValue &v = Vm.stack[Vm.top];
    double r = 0.0;
    if (v.type == VmBoolean || v.type == VmInteger) r = v.integer;
    else if (v.type == VmReal) r = v.real;
    VmPop();
    return r;
}

void VmPopString(uint8_t *out) {
    out[0] = 0;
    if (Vm.top <= Vm.floor) return;
    const VmValue &v = Vm.stack[Vm.top];
    if (v.type == VmString) {
        uint32_t n = v.length > PStringMax ? PStringMax : v.length;
        if (v.text + n > (uint32_t)VmStringSpaceSize) n = 0;
        std::memcpy(out + 1, Vm.space + v.text, n);
        out[0] = (uint8_t)n;
    }
    VmPop();
}

void VmRestoreLevel(int level, uint32_t frame) {
    int floor = VmSetFloor(0);
    while (Vm.top > level) VmPop();
    VmSetFloor(floor);
    Vm.frame = frame;
}

int16_t VmDoubleToInt16(double x) {
    if (std::isnan(x)) return 0;
    if (std::isinf(x)) return 0;
    double t = std::trunc(x);
    // The low 16 bits of the whole number, as the INTEGER operations keep
    // them: fmod stays exact for every finite double.
    double m = std::fmod(t, 65536.0);
    if (m < 0) m += 65536.0;
    return (int16_t)(uint16_t)(uint32_t)m;
}

void VmUnwindFrame() {
    while (Vm.top > Vm.floor && Vm.stack[Vm.top].type != VmFrameMark) VmPop();
    if (Vm.top <= Vm.floor) {
        ShowTextMessage(Texts::FormulaStackUnderflow);
        return;
    }
    const uint8_t *rec = FrameRecord(Vm.stack[Vm.top].text);
    uint16_t count = rec ? GetU16(rec, VmFrameCount) : 0;
    Vm.frame = rec ? GetU32(rec, VmFrameLink) : VmNoFrame;
    VmPop();
    for (int i = 0; i < count && Vm.top > Vm.floor; i++) VmPop();
}

void VmToInt() {
    VmValue &v = Vm.stack[Vm.top];
    if (Vm.top <= Vm.floor) return;
    if (v.type == VmBoolean) v.type = VmInteger;
    else if (v.type == VmReal) {
        v.integer = VmDoubleToInt16(v.real);
        v.type = VmInteger;
    }
}

void VmToBool() {
    VmValue &v = Vm.stack[Vm.top];
    if (Vm.top <= Vm.floor) return;
    if (v.type == VmInteger) {
        v.integer = v.integer != 0;
        v.type = VmBoolean;
    } else if (v.type == VmReal) {
        v.integer = v.real != 0.0;
        v.type = VmBoolean;
    }
}

void VmToReal() {
    VmValue &v = Vm.stack[Vm.top];
    if (Vm.top <= Vm.floor) return;
    if (v.type == VmBoolean || v.type == VmInteger) {
        v.real = v.integer;
        v.type = VmReal;
    } else if (v.type == VmString) {
        PString text;
        VmPopString(text);
        VmPushReal(TextToDouble(text));
    }
}

void VmToString() {
    VmValue &v = Vm.stack[Vm.top];
    if (Vm.top <= Vm.floor) return;
    PString text;
    if (v.type == VmBoolean || v.type == VmInteger) {
        uint8_t value[2];
        PutI16(value, 0, v.integer);
        FieldToText(value, 10, text);
    } else if (v.type == VmReal) {
        // The text is a value that is read back as an amount (a formula's
        // result), never grouped in thousands, whatever device the job
        // prints on.
        const uint8_t thousands = ThousandsFlag;
        ThousandsFlag = 0;
        DoubleToText2(v.real, text);
        ThousandsFlag = thousands;
    } else {
        if (v.type != VmString) {
            v.type = VmString;
            v.length = 0;
        }
        return;
    }
    VmPop();
    VmPushPString(text);
}
