// script_compile.cpp - CompileScript and the expression compiler of the
// report formula language: operator precedence over an operand-type
// stack and an operator stack, code emitted into a per-call block, the
// compiler's messages. A formula with any error runs no code and gives
// an empty result, so a broken formula never yields an amount.
#include <cstring>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "output/formula/formula_internal.h"

ScriptState Script;

namespace {

void Message(int prefix, int text) {
    PString body;
    GetUiText(body, text);
    ShowMessage(prefix, body);
}

// The precedence of the operator on top of the operator stack, or -1
// when the top is empty or a marker.
int TopPrecedence() {
    if (Script.opTop <= 0 || Script.ops[Script.opTop] < 1) return -1;
    ScriptOperatorRow row;
    return ScriptOperatorOf(Script.ops[Script.opTop], &row) ? row.precedence : 0;
}

// Emits the operators above the nearest marker while p is not above
// their precedence, so equal precedences associate to the left.
void Reduce(int p) {
    while (!Script.fatal) {
        int top = TopPrecedence();
        if (top < 0 || p > top) return;
        ScriptEmitOp(Script.ops[Script.opTop]);
    }
}

// Emits every operator down to the nearest marker.
void ReduceAll() {
    while (!Script.fatal && TopPrecedence() >= 0) ScriptEmitOp(Script.ops[Script.opTop]);
}

// Drops operators down to (not including) the nearest marker.
void DropToMarker() {
    while (Script.opTop > 0 && Script.ops[Script.opTop] >= 1) Script.opTop--;
}

bool IsNumeric(uint8_t t) { return t == VmInteger || t == VmReal; }

// Operator op (a word operator when word) at the current token.
void CompileOperator(int op, bool word, bool *afterOperand) {
    if (!word && !*afterOperand && op == 4) op = 17;
    ScriptOperatorRow row;
    if (!ScriptOperatorOf(op, &row) || (!*afterOperand && row.arity != 1)) {
        ScriptError(Texts::FormulaBadSyntax);
        ScriptAdvance();
        return;
    }
    // A prefix operator has no operand before it that a pending
    // operator could take, so it reduces nothing ("- -5", "NOT NOT a").
    if (*afterOperand) Reduce(row.precedence);
    if (!ScriptPushOp((int16_t)op)) return;
    ScriptAdvance();
    *afterOperand = false;
}

}  // namespace

// After a fatal limit the compilation is over: nothing more is said.
void ScriptError(int text) {
    if (Script.fatal) return;
    Script.errors++;
    Message(Texts::FormulaErrorPrefix, text);
}

void ScriptWarning(int text) {
    if (!Script.fatal) Message(Texts::FormulaWarningPrefix, text);
}

void ScriptFatal(int text) {
    if (Script.fatal) return;
    Script.fatal = true;
    Message(Texts::FormulaFatalPrefix, text);
}

int ScriptErrorCount() { return Script.errors; }

void ScriptTablesAlloc() {
    Script = ScriptState{};
    Script.ready = true;
}

void ScriptEmit(uint8_t b) {
    if (Script.fatal) return;
    if (!Script.codeBytes || Script.length >= (uint32_t)ScriptCodeSize) {
        ScriptFatal(Texts::FormulaCodeFull);
        return;
    }
    Script.codeBytes[Script.length++] = b;
}

bool ScriptPushType(uint8_t t) {
    if (Script.fatal) return false;
    if (Script.typeTop >= ScriptTypeSlots - 1) {
        ScriptFatal(Texts::FormulaTypeStackFull);
        return false;
    }
    Script.types[++Script.typeTop] = t;
    return true;
}

bool ScriptPushOp(int16_t op) {
    if (Script.fatal) return false;
    if (Script.opTop >= ScriptOpSlots - 1) {
        ScriptFatal(Texts::FormulaOpStackFull);
        return false;
    }
    Script.ops[++Script.opTop] = op;
    return true;
}

void ScriptEmitOp(int op) {
    ScriptOperatorRow row{};
    ScriptOperatorOf(op, &row);
    int arity = row.arity == 1 ? 1 : 2;
    if (Script.typeTop < arity) {
        DropToMarker();
        ScriptError(Texts::FormulaMissingOperands);
        return;
    }
    uint8_t r = Script.types[Script.typeTop];
    uint8_t l = arity == 2 ? Script.types[Script.typeTop - 1] : r;
    uint8_t result = VmBoolean;
    switch (row.cls) {
    case OpArithmetic:
        if (!IsNumeric(l)) ScriptError(Texts::FormulaNumericOperand1);
        if (arity == 2 && !IsNumeric(r)) ScriptError(Texts::FormulaNumericOperand2);
        result = (l == VmInteger && (arity == 1 || r == VmInteger)) ? VmInteger : VmReal;
        ScriptEmit(result == VmInteger ? 2 : 3);
        break;
    case OpConcatenation:
        // The left operand lies below the top, where no conversion code
        // reaches: it is only checked.
        ScriptTypeCheck(VmString, l, false, Texts::FormulaOperatorArg1);
        ScriptTypeCheck(VmString, r, true, Texts::FormulaOperatorArg2);
        ScriptEmit(4);
        result = VmString;
        break;
    case OpComparison:
        if ((l == VmBoolean && r == VmBoolean) || (l == VmInteger && r == VmInteger)) ScriptEmit(2);
        else if (l == VmString && r == VmString) ScriptEmit(4);
        else if (IsNumeric(l) && IsNumeric(r)) ScriptEmit(3);
        else ScriptError(Texts::FormulaBadComparison);
        break;
    case OpLogical:
        ScriptTypeCheck(VmBoolean, l, false, Texts::FormulaOperatorArg1);
        if (arity == 2) ScriptTypeCheck(VmBoolean, r, true, Texts::FormulaOperatorArg2);
        ScriptEmit(2);
        break;
    default:
        ScriptError(Texts::FormulaBadSyntax);
        break;
    }
    ScriptEmit((uint8_t)row.sub);
    if (arity == 2) Script.typeTop--;
    Script.types[Script.typeTop] = result;
    Script.opTop--;
}

void ScriptCompileExpr() {
    bool after = false;
    while (!Script.fatal) {
        switch (Script.kind) {
        case ScriptTok::Number: {
            uint64_t bits;
            std::memcpy(&bits, &Script.number, 8);
            ScriptEmit(35);
            for (int i = 0; i < 8; i++) ScriptEmit((uint8_t)(bits >> (8 * i)));
            ScriptPushType(VmReal);
            after = true;
            ScriptAdvance();
            continue;
        }
        case ScriptTok::String:
            ScriptEmit(32);
            ScriptEmit((uint8_t)Script.textLength);
            for (int i = 0; i < Script.textLength; i++) ScriptEmit(Script.text[i]);
            ScriptPushType(VmString);
            after = true;
            ScriptAdvance();
            continue;
        case ScriptTok::Operator:
            CompileOperator(Script.op, false, &after);
            continue;
        case ScriptTok::Name:
            if (Script.cls == ScriptClassBuiltin) {
                uint8_t t = ScriptBuiltinCall(Script.index, true);
                if (t != 0) ScriptPushType(t);
                after = true;
                continue;
            }
            if (Script.cls == ScriptClassWordOp) {
                CompileOperator(Script.index, true, &after);
                continue;
            }
            if (Script.cls == ScriptUnknownClass) {
                ScriptError(Texts::FormulaUnknownSymbol);
                ScriptAdvance();
                continue;
            }
            break;   // keywords and other names end the expression
        case ScriptTok::Open:
            if (!ScriptPushOp(ScriptParenMark)) continue;
            Script.depth++;
            after = false;
            ScriptAdvance();
            continue;
        case ScriptTok::Close:
            if (!after) ScriptError(Texts::FormulaUnexpectedClose);
            if (Script.depth == 0) break;   // the ")" of an argument list
            ReduceAll();
            if (Script.opTop > 0 && Script.ops[Script.opTop] == ScriptParenMark) Script.opTop--;
            Script.depth--;
            ScriptAdvance();
            after = true;
            continue;
        default:
            break;
        }
        break;
    }
    ReduceAll();
    if (Script.depth > 0 && !Script.fatal) {
        // Close every open parenthesis so that the operator stack is
        // level again, then say so once.
        for (; Script.depth > 0 && !Script.fatal; Script.depth--) {
            ReduceAll();
            if (Script.opTop > 0 && Script.ops[Script.opTop] == ScriptParenMark) Script.opTop--;
        }
        ScriptError(Texts::FormulaMissingClose);
    }
}

bool ScriptCompileText(const uint8_t *text) {
    if (!Script.ready) ScriptTablesAlloc();
    ScriptFreeCode();
    std::memset(Script.src, 0, sizeof Script.src);
    std::memcpy(Script.src, text + 1, text[0]);
    Script.srcPos = 0;
    Script.length = 0;
    Script.typeTop = 0;
    Script.opTop = 0;
    Script.depth = 0;
    Script.errors = 0;
    Script.fatal = false;
    Script.code = MemAlloc(ScriptCodeSize);
    Script.codeBytes = MemLock(Script.code);
    if (!Script.codeBytes) {
        MemFree(&Script.code);
        return false;
    }
    ScriptAdvance();
    ScriptCompileExpr();
    ScriptEmit(128);
    ScriptEmit(13);
    return !Script.fatal && Script.errors == 0;
}

void ScriptFreeCode() {
    if (!Script.code) return;
    MemUnlock(Script.code);
    MemFree(&Script.code);
    Script.codeBytes = nullptr;
}

void CompileScript(uint8_t *text) {
    if (!Vm.ready) VmTablesAlloc();
    bool compiled = ScriptCompileText(text);
    text[0] = 0;
    if (compiled) {
        int level = VmTopIndex();
        uint32_t frame = VmCurrentFrame();
        VmClearFault();
        VmPushFrame(0, 0);
        if (!VmFaulted()) {
            int floor = VmSetFloor(level);
            bool ok = ScriptRun(0, Script.code);
            // The result is a value above the level, never the run's frame
            // mark: a formula that left nothing gives an empty text.
            if (ok && VmTopIndex() > level && VmTop()->type != VmFrameMark) {
                VmToString();
                if (!VmFaulted()) VmPopString(text);
            }
            VmSetFloor(floor);
        }
        VmRestoreLevel(level, frame);
        VmClearFault();
    }
    ScriptFreeCode();
}
