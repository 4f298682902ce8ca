// vm_run.cpp - ScriptRun, the formula machine's instruction loop, and its
// call stack. Every operand read is bounded by the code block's size; an
// instruction cut off by the end of the code ends the run.
#include <cstring>

#include "core/memblock.h"
#include "output/formula/formula_internal.h"

namespace {

// No formula needs more steps; a longer run is code that loops.
constexpr uint32_t MaxSteps = 10000000;

bool Has(uint32_t n) { return Vm.codeSize - Vm.pos >= n && Vm.pos <= Vm.codeSize; }

uint8_t Byte() { return Vm.codeBytes[Vm.pos++]; }

uint16_t Word() {
    uint16_t v = (uint16_t)(Vm.codeBytes[Vm.pos] | Vm.codeBytes[Vm.pos + 1] << 8);
    Vm.pos += 2;
    return v;
}

double Real() {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; i--) bits = bits << 8 | Vm.codeBytes[Vm.pos + i];
    Vm.pos += 8;
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

// Sets the position to the signed offset from the current position;
// false when the target lies outside the code.
bool Jump(uint16_t offset) {
    int64_t target = (int64_t)Vm.pos + (int16_t)offset;
    if (target < 0 || target > (int64_t)Vm.codeSize) return false;
    Vm.pos = (uint32_t)target;
    Vm.lastJump = Vm.pos;
    return true;
}

// Runs one instruction; false when the run must end here.
bool Step() {
    if (!Has(1)) return false;
    uint8_t op = Byte();
    switch (op) {
    case 2: case 3: case 4: case 128: case 129: case 160: case 33: case 97: {
        if (!Has(1)) return false;
        uint8_t b = Byte();
        if (op == 2) VmIntOp(b);
        else if (op == 3) VmRealOp(b);
        else if (op == 4) VmStringOp(b);
        else if (op == 128) VmBuiltin(b);
        else if (op == 129) VmBalance(b);
        else if (op == 160) VmConvert(b);
        else if (op == 33) VmPushInt(b);
        else VmPushDefault(b);
        return true;
    }
    case 32: {
        if (!Has(1)) return false;
        uint8_t n = Byte();
        if (!Has(n)) return false;
        VmPushString(Vm.codeBytes + Vm.pos, n, n);
        Vm.pos += n;
        return true;
    }
    case 34:
        if (!Has(2)) return false;
        VmPushInt((int16_t)Word());
        return true;
    case 35:
        if (!Has(8)) return false;
        VmPushReal(Real());
        return true;
    case 64: case 80: {
        if (!Has(3)) return false;
        uint8_t type = Byte(), level = Byte();
        int8_t offset = (int8_t)Byte();
        if (op == 64) VmPushVariable(type, level, offset);
        else VmStoreVariable(type, level, offset);
        return true;
    }
    case 96: {
        if (!Has(2)) return false;
        uint8_t level = Byte(), count = Byte();
        const uint8_t *types = Vm.codeBytes + Vm.pos;
        uint32_t n = 0;
        while (Vm.pos + n < Vm.codeSize && types[n] != 0) n++;
        if (Vm.pos + n >= Vm.codeSize) return false;  // no closing 0
        VmOpenFrame(level, count, types, n);
        Vm.pos += n + 1;
        return true;
    }
    case 102: VmPop(); return true;
    case 163: case 165: case 171: {
        if (!Has(2)) return false;
        uint16_t offset = Word();
        if (op == 163) {
            if (!VmCallPush(Vm.code, Vm.pos)) return false;
            return Jump(offset);
        }
        if (op == 171 && VmPopInt() != 0) return true;
        return Jump(offset);
    }
    default: return true;   // unknown opcodes are skipped
    }
}

}  // namespace

void VmResetCallDepth() { Vm.callDepth = 0; }
int VmCallDepth() { return Vm.callDepth; }

bool VmCallPush(MemBlock code, uint32_t pos) {
    if (Vm.callDepth + 1 >= VmCallStackSize) {
        VmFault();
        return false;
    }
    Vm.callDepth++;
    Vm.callCode[Vm.callDepth] = code;
    Vm.callPos[Vm.callDepth] = pos;
    return true;
}

// Built-in 0: drops the frame and returns to the caller; the host's
// entry (an empty code block) ends the run.
void VmReturn() {
    VmUnwindFrame();
    if (Vm.callDepth <= 0) {
        Vm.ended = true;
        return;
    }
    MemBlock code = Vm.callCode[Vm.callDepth];
    uint32_t pos = Vm.callPos[Vm.callDepth];
    Vm.callDepth--;
    if (code == 0 || code != Vm.code || pos > Vm.codeSize) {
        Vm.ended = true;
        return;
    }
    Vm.pos = pos;
}

bool ScriptRun(uint32_t start, MemBlock code) {
    if (!Vm.ready) VmTablesAlloc();
    MemBlock outerCode = Vm.code;
    const uint8_t *outerBytes = Vm.codeBytes;
    uint32_t outerSize = Vm.codeSize, outerPos = Vm.pos;
    int depth = Vm.callDepth;
    bool ok = false;
    if (VmCallPush(Vm.code, Vm.pos)) {
        uint8_t *bytes = MemLock(code);
        if (bytes) {
            Vm.code = code;
            Vm.codeBytes = bytes;
            Vm.codeSize = MemSize(code);
            Vm.pos = start;
            Vm.lastJump = start;
            Vm.ended = false;
            uint32_t steps = 0;
            while (!Vm.ended && !Vm.fault && steps++ < MaxSteps && Step()) {
            }
            if (steps > MaxSteps) VmFault();
            MemUnlock(code);
            ok = !Vm.fault;
        }
    }
    // The run's own call-stack entry goes with it, however it ended, so
    // that one job's many formulas never fill the call stack.
    Vm.callDepth = depth;
    Vm.code = outerCode;
    Vm.codeBytes = outerBytes;
    Vm.codeSize = outerSize;
    Vm.pos = outerPos;
    Vm.ended = false;
    return ok;
}
