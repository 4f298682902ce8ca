// script_builtins.cpp - built-in function calls in formulas: the rows of
// the interface file's built-in and operator tables (the name table's two
// kept blocks), argument lists checked against each row's argument types,
// raw-text arguments, and the type check with its conversions.
#include "core/field_access.h"
#include "core/memblock.h"
#include "core/name_table.h"
#include "dict_offsets.h"
#include "output/formula/formula_internal.h"

namespace {

constexpr int RowSize = 10;

// Row n of a kept block, or null when the block does not hold it.
const uint8_t *Row(MemBlock block, int n, uint8_t *copy) {
    if (n < 0 || (uint64_t)(n + 1) * RowSize > MemSize(block)) return nullptr;
    const uint8_t *bytes = MemLock(block);
    if (!bytes) return nullptr;
    for (int i = 0; i < RowSize; i++) copy[i] = bytes[n * RowSize + i];
    MemUnlock(block);
    return copy;
}

// The message of a got-X-wanted-Y mismatch of the four value types.
int MismatchText(uint8_t got, uint8_t wanted) {
    if (got < VmBoolean || got > VmString) return Texts::FormulaMissingValue;
    if (wanted < VmBoolean || wanted > VmString) return Texts::FormulaBadSyntax;
    return Texts::FormulaGotBoolWantedInt - 1 + 4 * (got - 1) + (wanted - 1);
}

}  // namespace

bool ScriptOperatorOf(int n, ScriptOperatorRow *row) {
    uint8_t b[RowSize];
    if (!Row(Names.kept2, n, b)) return false;
    *row = ScriptOperatorRow{GetU16(b, 0), GetU16(b, 2), GetU16(b, 4), GetU16(b, 6)};
    return row->cls != 0;
}

bool ScriptBuiltinOf(int n, ScriptBuiltinRow *row) {
    uint8_t b[RowSize];
    if (n >= Names.count2 || !Row(Names.kept1, n, b)) return false;
    *row = ScriptBuiltinRow{GetU16(b, 0), GetU16(b, 2), GetU16(b, 4), b[8]};
    return true;
}

void ScriptTypeCheck(uint8_t wanted, uint8_t got, bool convert, int context) {
    if (wanted == got) return;
    if (wanted == VmInteger && got == VmReal) {
        if (convert) {
            ScriptEmit(160);
            ScriptEmit(2);
        }
        ScriptWarning(Texts::FormulaGotRealWantedInt);
        ScriptWarning(context);
        return;
    }
    if (wanted == VmReal && got == VmInteger) {
        if (convert) {
            ScriptEmit(160);
            ScriptEmit(4);
        }
        return;
    }
    ScriptError(MismatchText(got, wanted));
    ScriptError(context);
}

void ScriptCompileArgs(const uint8_t *types) {
    int opTop = Script.opTop, typeTop = Script.typeTop, depth = Script.depth;
    if (types[0] == 0) return;
    if (Script.kind != ScriptTok::Open) {
        ScriptError(Texts::FormulaMissingOpen);
        return;
    }
    if (types[0] != ScriptRawText) ScriptAdvance();
    if (!ScriptPushOp(ScriptArgsMark)) return;   // fatal: the compilation ends
    bool closed = false;
    int i = 0;
    for (; types[i] != 0 && !Script.fatal; i++) {
        uint8_t t = types[i];
        if (t == ScriptRawText) {
            ScriptRawArg();
            ScriptEmit(32);
            ScriptEmit((uint8_t)Script.textLength);
            for (int k = 0; k < Script.textLength; k++) ScriptEmit(Script.text[k]);
            ScriptPushType(VmString);
            ScriptAdvance();
        } else {
            int before = Script.typeTop;
            Script.depth = 0;
            ScriptCompileExpr();
            // An argument that compiled to nothing must not take the type
            // of an operand pending outside the call.
            if (Script.typeTop <= before) ScriptError(Texts::FormulaMissingValue);
            else ScriptTypeCheck(t, Script.types[Script.typeTop], true, Texts::FormulaFunctionArg);
        }
        if (Script.kind == ScriptTok::Close) {
            closed = true;
            break;
        }
        if (types[i + 1] == 0) break;
        if (Script.kind == ScriptTok::Comma) {
            if (types[i + 1] != ScriptRawText) ScriptAdvance();
        } else {
            ScriptError(Texts::FormulaMissingComma);
        }
    }
    if (!Script.fatal) {
        if (!closed) {
            ScriptError(Texts::FormulaMissingClose);
        } else {
            ScriptAdvance();
            if (types[i] != 0 && types[i + 1] != 0) ScriptError(Texts::FormulaMissingArguments);
        }
    }
    Script.opTop = opTop;
    Script.typeTop = typeTop;
    Script.depth = depth;
}

uint8_t ScriptBuiltinCall(int row, bool inExpression) {
    ScriptBuiltinRow b;
    if (!ScriptBuiltinOf(row, &b)) {
        ScriptError(Texts::FormulaUnknownSymbol);
        ScriptAdvance();
        return 0;
    }
    ScriptAdvance();
    const char *types = NameTableName(b.argsEntry);
    ScriptCompileArgs(types ? (const uint8_t *)types : (const uint8_t *)"");
    ScriptEmit((uint8_t)b.code1);
    ScriptEmit((uint8_t)b.code2);
    if (inExpression && b.result == 0) ScriptError(Texts::FormulaIllegalContext);
    return b.result > VmString ? 0 : b.result;
}
