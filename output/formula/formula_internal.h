// formula_internal.h - the state the files of the formula machine and its
// compiler share: the machine's stacks and string space, the compile
// tables, and the steps of the compiler. Other folders include formula.h.
#pragma once

#include <cstdint>

#include "output/formula/formula.h"

constexpr uint32_t VmNoFrame = 0xFFFFFFFF;

// Frame record in the string space: u16 count, u32 link, ten u32 slots.
constexpr int VmFrameCount = 0;
constexpr int VmFrameLink = 2;
constexpr int VmFrameSlots = 6;

struct VmState {
    bool ready;
    VmValue stack[VmStackSize];
    int top;                 // index of the top entry, 0 = the floor
    int floor;               // pops stop here (0, or the host's level during a run)
    uint8_t space[VmStringSpaceSize];
    uint32_t spaceTop;       // first free byte of the string space
    uint32_t frame;          // offset of the current frame record, VmNoFrame for none
    MemBlock callCode[VmCallStackSize];
    uint32_t callPos[VmCallStackSize];
    int callDepth;
    MemBlock code;           // the block being run, 0 outside a run
    const uint8_t *codeBytes;
    uint32_t codeSize;
    uint32_t pos;
    uint32_t lastJump;
    bool ended;              // set by halt and a top-level return
    bool fault;              // a push found no room: the run ends
};

extern VmState Vm;

// Sets the fault and shows its message the first time.
void VmFault();
// The same with message `text` in place of the full machine's.
void VmFaultWith(int text);
// Replaces the floor below which no pop goes; returns the old one.
int VmSetFloor(int level);

// The instruction groups of the machine (vm_opcodes.cpp).
void VmIntOp(int op);
void VmRealOp(int op);
void VmStringOp(int op);
void VmBuiltin(int op);
void VmConvert(int op);
void VmBalance(int n);
// Opcodes 64 and 80 on the variable of a frame.
void VmPushVariable(int type, int level, int offset);
void VmStoreVariable(int type, int level, int offset);
// Opcode 96: a frame with default values; types are read up to a 0
// byte within the code (bounded by end).
void VmOpenFrame(int level, int count, const uint8_t *types, uint32_t length);
void VmPushDefault(int type);
// Call-stack steps of a call (163) and a return (128 0).
bool VmCallPush(MemBlock code, uint32_t pos);
void VmReturn();

// ---- the compiler ----

enum class ScriptTok : uint8_t {
    End, LineEnd, Comment, String, Operator, Open, Close, Comma, Colon, Semicolon, Number, Name, Unknown
};

constexpr int ScriptCodeSize = 20000;
constexpr int ScriptTypeSlots = 25;
constexpr int ScriptOpSlots = 10;
constexpr uint8_t ScriptRawText = 6;
constexpr int16_t ScriptParenMark = 0;
constexpr int16_t ScriptArgsMark = -1;
constexpr uint16_t ScriptUnknownClass = 29;

// Name-table classes the compiler handles.
constexpr uint16_t ScriptClassBuiltin = 23;
constexpr uint16_t ScriptClassKeyword = 24;
constexpr uint16_t ScriptClassWordOp = 28;

// Operator classes of the operator rows.
enum ScriptOpClass : uint16_t { OpArithmetic = 1, OpConcatenation = 2, OpComparison = 3, OpLogical = 4 };

struct ScriptOperatorRow {
    uint16_t precedence, cls, arity, sub;
};
struct ScriptBuiltinRow {
    uint16_t code1, code2;
    uint16_t argsEntry;
    uint8_t result;
};

struct ScriptState {
    bool ready;
    MemBlock code;
    uint8_t *codeBytes;
    uint32_t length;
    uint8_t types[ScriptTypeSlots];
    int typeTop;
    int16_t ops[ScriptOpSlots];
    int opTop;
    int depth;                  // open parentheses of the current expression
    uint8_t src[257];           // the formula, zero-terminated
    int srcPos;
    // the current token
    ScriptTok kind;
    int op;
    double number;
    uint8_t text[256];          // token text, zero-terminated, at most 255
    int textLength;
    uint16_t cls, index;        // a name's class and index
    int errors;
    bool fatal;
};

extern ScriptState Script;

// Rows of the interface file's formula tables; false when n has none.
bool ScriptOperatorOf(int n, ScriptOperatorRow *row);
bool ScriptBuiltinOf(int n, ScriptBuiltinRow *row);

// Compiles the formula (a PString) into Script.code, ended by a halt;
// true when it has no error. The code stays until ScriptFreeCode.
bool ScriptCompileText(const uint8_t *text);
void ScriptFreeCode();

void ScriptNextToken();
void ScriptAdvance();
void ScriptRawArg();
void ScriptCompileExpr();
void ScriptCompileArgs(const uint8_t *types);
uint8_t ScriptBuiltinCall(int row, bool inExpression);
void ScriptTypeCheck(uint8_t wanted, uint8_t got, bool convert, int context);
void ScriptEmitOp(int op);
void ScriptEmit(uint8_t b);
bool ScriptPushType(uint8_t t);
bool ScriptPushOp(int16_t op);
// Messages by text number: "Error: ", "Warning: " or "Fatal: " first.
void ScriptError(int text);
void ScriptWarning(int text);
void ScriptFatal(int text);
