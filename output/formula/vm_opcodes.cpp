// vm_opcodes.cpp - what the formula machine's instructions do to the
// value stack: the INTEGER, REAL and STRING operations, the built-in
// operations, the conversions, variables and frames, and the balance
// functions that the ledger reports hang into the machine.
#include <cstring>

#include "core/decimal.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "output/formula/formula_internal.h"

namespace {

VmBalanceFunction BalanceTable[256];

// The BOOLEAN of comparison op (7 =, 8 >, 9 >=, 10 <, 11 <=, 12 <>) on
// the sign of left - right.
bool Compare(int op, int sign) {
    switch (op) {
    case 7: return sign == 0;
    case 8: return sign > 0;
    case 9: return sign >= 0;
    case 10: return sign < 0;
    case 11: return sign <= 0;
    default: return sign != 0;
    }
}

bool IsComparison(int op) { return op >= 7 && op <= 12; }

// Values above the floor: the operations need their operands there.
int Held() { return Vm.top - Vm.floor; }

}  // namespace

void VmSetBalanceFunction(int n, VmBalanceFunction fn) {
    if (n >= 0 && n < 256) BalanceTable[n] = fn;
}

VmBalanceFunction VmBalanceFunctionOf(int n) { return n >= 0 && n < 256 ? BalanceTable[n] : nullptr; }

// A function nobody installed refuses the run: a 0 in its place would
// print as a balance the books do not hold.
void VmBalance(int n) {
    if (n >= 0 && n < 256 && BalanceTable[n]) BalanceTable[n](n);
    else VmFaultWith(Texts::FunctionNotYet);
}

// Results are 16-bit: every product, sum and quotient keeps its low 16
// bits, so the smallest value divided by -1 wraps to itself.
void VmIntOp(int op) {
    if (op == 13 || op == 17) {
        if (Held() < 1) return;
        VmValue &t = Vm.stack[Vm.top];
        t.integer = op == 13 ? (t.integer == 0 ? 1 : 0) : (int16_t)(uint16_t)(0u - (uint16_t)t.integer);
        return;
    }
    bool known = (op >= 1 && op <= 4) || IsComparison(op) || op == 14 || op == 15;
    if (!known || Held() < 2) return;
    VmValue &left = Vm.stack[Vm.top - 1];
    int32_t l = left.integer, r = Vm.stack[Vm.top].integer;
    if (IsComparison(op)) {
        VmPop();
        VmPop();
        VmPushBool(Compare(op, (l > r) - (l < r)));
        return;
    }
    int32_t v = 0;
    switch (op) {
    case 1: v = l * r; break;
    case 2: v = r == 0 ? 0 : l / r; break;
    case 3: v = l + r; break;
    case 4: v = l - r; break;
    case 14: v = l & r; break;
    default: v = l | r; break;
    }
    left.integer = (int16_t)(uint16_t)(uint32_t)v;
    VmPop();
}

void VmRealOp(int op) {
    if (op == 17) {
        if (Held() >= 1 && Vm.stack[Vm.top].type == VmReal) Vm.stack[Vm.top].real = -Vm.stack[Vm.top].real;
        return;
    }
    if (!((op >= 1 && op <= 4) || IsComparison(op))) return;
    double r = VmPopReal();
    double l = VmPopReal();
    if (IsComparison(op)) {
        VmPushBool(Compare(op, (l > r) - (l < r)));
        return;
    }
    double v = 0.0;
    switch (op) {
    case 1: v = l * r; break;
    case 2: v = r == 0.0 ? 0.0 : l / r; break;
    case 3: v = l + r; break;
    default: v = l - r; break;
    }
    VmPushReal(v);
}

void VmStringOp(int op) {
    if (op != 5 && !IsComparison(op)) return;
    if (Held() < 2) return;
    VmValue &left = Vm.stack[Vm.top - 1];
    const VmValue &right = Vm.stack[Vm.top];
    if (left.type != VmString || right.type != VmString) return;
    if (op == 5) {
        // The right text lies above the left one's room, so the joined
        // text fits in the two rooms; the space top stays after the
        // right text's room until the left entry is popped.
        uint32_t keep = Vm.spaceTop;
        uint32_t at = left.text + left.length;
        if (right.text + right.length > (uint32_t)VmStringSpaceSize || at > right.text) return;
        std::memmove(Vm.space + at, Vm.space + right.text, right.length);
        Vm.space[at + right.length] = 0;
        left.length = (uint16_t)(left.length + right.length);
        left.capacity = (uint16_t)(left.capacity + right.length);
        VmPop();
        Vm.spaceTop = keep;
        return;
    }
    std::string_view l((const char *)VmText(&left), left.length);
    std::string_view r((const char *)VmText(&right), right.length);
    int c = 0;
    size_t n = l.size() < r.size() ? l.size() : r.size();
    for (size_t i = 0; i < n && c == 0; i++) c = (uint8_t)l[i] < (uint8_t)r[i] ? -1 : (uint8_t)l[i] > (uint8_t)r[i];
    if (c == 0) c = (l.size() > r.size()) - (l.size() < r.size());
    VmPop();
    VmPop();
    VmPushBool(Compare(op, c));
}

// Built-in 20: x rounded to n decimals, halves away from zero, through
// the amount type; 3 or more decimals (and amounts beyond its range)
// leave x as it is.
static void RoundBuiltin() {
    double nValue = VmPopReal();
    double x = VmPopReal();
    PackedDecimal n, v, r;
    DecFromDouble(&n, nValue);
    int32_t decimals = DecToLong(&n);
    DecFromDouble(&v, x);
    if (decimals < 3 && !DecIsBlank(&v)) {
        DecRound(&v, decimals < -20 ? -20 : decimals, &r);
        if (!DecIsBlank(&r)) x = DecToDouble(&r);
    }
    VmPushReal(x);
}

void VmBuiltin(int op) {
    switch (op) {
    case 0: VmReturn(); break;
    case 4: {
        int16_t code = 0;
        if (Held() >= 1) {
            const VmValue &t = Vm.stack[Vm.top];
            if (t.type == VmString && t.length > 0) code = (int8_t)VmText(&t)[0];
            VmPop();
        }
        VmPushInt(code);
        break;
    }
    case 5: VmPushBool(true); break;
    case 6: VmPushInt(0); break;
    case 7: VmPushBool(false); break;
    case 9: {
        int16_t length = 0;
        if (Held() >= 1) {
            const VmValue &t = Vm.stack[Vm.top];
            if (t.type == VmString) length = (int16_t)t.length;
            VmPop();
        }
        VmPushInt(length);
        break;
    }
    case 11:
        VmPop();
        VmPop();
        VmPushBool(false);
        break;
    case 12: {
        PString text;
        DoubleToText2(VmPopReal(), text);
        ShowMessage(0, text);
        break;
    }
    case 13: Vm.ended = true; break;
    case 20: RoundBuiltin(); break;
    default: break;
    }
}

void VmConvert(int op) {
    switch (op) {
    case 1: VmUnwindFrame(); break;
    case 2: VmToInt(); break;
    case 3: VmToBool(); break;
    case 4: VmToReal(); break;
    case 5: VmToString(); break;
    default: break;
    }
}

// The value-stack index of a frame variable: offset entries from the
// mark of display slot level; -1 when it is no live entry above the floor.
static int VariableIndex(int level, int offset) {
    if (level < 0 || level >= VmDisplaySlots || Vm.frame == VmNoFrame ||
        Vm.frame > (uint32_t)VmStringSpaceSize - VmFrameSize)
        return -1;
    uint32_t mark;
    std::memcpy(&mark, Vm.space + Vm.frame + VmFrameSlots + 4 * level, 4);
    int64_t i = (int64_t)mark + offset;
    if (i <= Vm.floor || i > Vm.top) return -1;
    return (int)i;
}

void VmPushVariable(int type, int level, int offset) {
    int i = VariableIndex(level, offset);
    if (i < 0 || Vm.stack[i].type != type) return;
    VmValue v = Vm.stack[i];
    if (type == VmString) {
        VmPushString(VmText(&v), v.length, v.length);
    } else if (type == VmBoolean || type == VmInteger || type == VmReal) {
        if (VmValue *e = (Vm.top < VmStackSize - 1) ? &Vm.stack[Vm.top + 1] : nullptr) {
            Vm.top++;
            *e = v;
            e->text = Vm.spaceTop;
        } else {
            VmFault();
        }
    }
}

void VmStoreVariable(int type, int level, int offset) {
    int i = VariableIndex(level, offset);
    if (i >= 0 && i < Vm.top && Vm.stack[i].type == type) {
        VmValue &var = Vm.stack[i];
        const VmValue &top = Vm.stack[Vm.top];
        if (type == VmString && top.type == VmString) {
            uint16_t n = top.length < var.capacity ? top.length : var.capacity;
            std::memmove(Vm.space + var.text, VmText(&top), n);
            Vm.space[var.text + n] = 0;
            var.length = n;
        } else if (type != VmString && type != VmFrameMark && top.type != VmString && top.type != VmFrameMark) {
            var.integer = top.integer;
            var.real = top.real;
        }
    }
    VmPop();
}

void VmPushDefault(int type) {
    switch (type) {
    case VmBoolean: VmPushBool(false); break;
    case VmInteger: VmPushInt(0); break;
    case VmReal: VmPushReal(0.0); break;
    case VmString: VmPushString(Vm.space, 0, VmDefaultCapacity); break;
    default: break;
    }
}

void VmOpenFrame(int level, int count, const uint8_t *types, uint32_t length) {
    VmPushFrame(level, (uint16_t)count);
    for (uint32_t i = 0; i < length && types[i] != 0 && !Vm.fault; i++) VmPushDefault(types[i]);
}
