// formula.h - the report formula language: a compiler from formula text
// to byte code and the small stack machine that runs it. Statement rows
// and report columns call CompileScript; the ledger's balance functions
// work on the machine's value stack through the Vm* operations.
//
// The byte code (the contract between compiler and machine). A program
// is a sequence of instructions, an opcode byte followed by its
// operands; 16-bit operands are stored low byte first; jump offsets are
// signed and count from the byte after the operand; a REAL literal is
// the 8 bytes of an IEEE 754 double, low byte first.
//
//   2 op          INTEGER operation op (VmIntOp)
//   3 op          REAL operation op
//   4 op          STRING operation op (5 concatenate, 7..12 compare)
//   32 n text     push a STRING literal of n bytes, capacity n
//   33 b          push INTEGER b (0..255)
//   34 v16        push INTEGER v
//   35 d8         push REAL d
//   64 t lvl off  push a copy of the variable off (signed) value-stack
//                 entries from the frame mark of display slot lvl
//   80 t lvl off  store the top into that variable, then pop
//   96 lvl n types... 0   open a frame, push a default per type byte
//   97 t          push the default value of type t
//   102           pop
//   128 op        built-in operation op (VmBuiltin)
//   129 n         balance function n (VmSetBalanceFunction)
//   160 op        conversion: 1 drop frame, 2 INTEGER, 3 BOOLEAN,
//                 4 REAL, 5 STRING
//   163 off16     call   165 off16 jump   171 off16 pop, jump when 0
// Any other opcode byte is skipped. A compiled formula ends 128 13.
//
// Machine memory: the value stack holds VmStackSize entries with entry 0
// a floor that is never popped; texts live in a string space of
// VmStringSpaceSize bytes, freed in stack order; a frame is a 46-byte
// record in the string space (u16 count, u32 link to the enclosing
// frame, ten u32 display slots holding value-stack indexes). Addresses
// are offsets into the string space and MemBlock handles, never
// pointers.
#pragma once

#include <cstdint>

#include "core/memblock.h"

enum VmType : uint8_t { VmBoolean = 1, VmInteger = 2, VmReal = 3, VmString = 4, VmFrameMark = 5 };

constexpr int VmStackSize = 101;
constexpr int VmStringSpaceSize = 2598;
constexpr int VmCallStackSize = 60;
constexpr int VmFrameSize = 46;
constexpr int VmDisplaySlots = 10;
constexpr uint16_t VmDefaultCapacity = 80;

// One value-stack entry. text: for a STRING (and a frame mark) the offset
// of its bytes in the string space; for other types the string-space top
// at the time of the push, restored when the entry is popped.
struct VmValue {
    uint8_t type;
    uint32_t text;
    uint16_t capacity;
    uint16_t length;
    int16_t integer;
    double real;
};

// ---- the machine (vm_values.cpp, vm_opcodes.cpp, vm_run.cpp) ----

// Sets up the value stack, string space and call stack and pushes the
// outermost frame. Called at start-up; calling it again starts afresh.
void VmTablesAlloc();

// Runs code from offset start until a halt or a top-level return. The
// caller has pushed a frame; the result is the value left on the stack.
// False when the run was ended by a fault (a full stack, string space or
// call stack): the message was shown once and the caller must not use
// what the stack holds.
bool ScriptRun(uint32_t start, MemBlock code);

// Zero whenever a report job begins, so that no call chain outlives it.
void VmResetCallDepth();
int VmCallDepth();

// Index of the top entry (0 = only the floor) and the entry itself.
int VmTopIndex();
const VmValue *VmTop();
// Text of a STRING entry, at most its length bytes.
const uint8_t *VmText(const VmValue *v);

// Pushes. A push that finds no room sets the machine's fault (see
// VmFaulted) and shows its message once; the stack is left as it was.
void VmPushBool(bool v);
void VmPushInt(int16_t v);
void VmPushReal(double v);
void VmPushString(const uint8_t *text, uint16_t length, uint16_t capacity);
void VmPushPString(const uint8_t *text);
void VmPushFrame(int level, uint16_t count);

// Pops. A pop at the floor does nothing (the pops yield 0, 0.0, "").
void VmPop();
int16_t VmPopInt();
double VmPopReal();
void VmPopString(uint8_t *out);   // a PString: at most 255 characters

// Conversions on the top entry in place.
void VmUnwindFrame();
void VmToInt();
void VmToBool();
void VmToReal();
void VmToString();

// Truncates toward zero and keeps the low 16 bits; not-a-number gives 0.
int16_t VmDoubleToInt16(double x);

// True once a push found no room, until VmClearFault.
bool VmFaulted();
void VmClearFault();

// Puts the stack back to index level (popping what lies above it, which
// frees their texts) and makes frame the current frame.
void VmRestoreLevel(int level, uint32_t frame);
uint32_t VmCurrentFrame();

// Balance function n (0..255) of opcode 129: it pops its arguments from
// the value stack and pushes its result. An empty entry ends the run as a
// fault (VmFaulted) with a message: the formula gives no result.
using VmBalanceFunction = void (*)(int n);
void VmSetBalanceFunction(int n, VmBalanceFunction fn);
// The function of entry n; null when empty or n is outside 0..255.
VmBalanceFunction VmBalanceFunctionOf(int n);
// The ledger's balance functions, 14 to 22: the reports install them at
// the program's start (ReportFunctionsInstall), and the start-up check
// asks for every one.
constexpr int LedgerBalanceFunctionFirst = 14, LedgerBalanceFunctionLast = 22;

// ---- the compiler (script_*.cpp) ----

// Sets up the compile tables; called at start-up (CompileScript calls it
// when it was not).
void ScriptTablesAlloc();

// Compiles the formula in text (a PString), runs it and puts the result
// in its place: a REAL with two decimals, an INTEGER or BOOLEAN as an
// integer, a STRING as it is. After any compile error, fatal limit or
// machine fault nothing (more) is used and text becomes empty. The value
// stack is left at the level it had.
void CompileScript(uint8_t *text);

// The number of errors (not warnings) of the last CompileScript.
int ScriptErrorCount();
