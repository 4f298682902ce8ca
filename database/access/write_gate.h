// write_gate.h - the access group's write check where this program writes
// the company's file: stand-alone for the user at its screen, at a server
// for the person whose request it serves (register_hooks.h,
// LocalWriteRefused). Every write of the record layer passes it
// (record_dispatch.cpp), checked or not, so no window, run, import or
// later road writes a register the person's group withholds, in any mode.
// The local tier beneath the dispatchers skips it: record_access.h names
// the few files that may call that tier.
//
// A person's action is asked where it starts, and what it writes in turn
// goes unasked: an allowed posting's voucher, ledger lines, statistics,
// open items and stock. At a server a client's request is that action:
// its entry asks it through the same gate (net/server_dispatch.cpp) and
// gives the client the answer.
//   - a write of the record layer is asked unless it runs inside an
//     allowed write or operation; once allowed it is an operation itself,
//     so that what its hooks write passes;
//   - an operation that writes several records as one (an approval, a
//     conversion) is asked once at its start (WriteOperation);
//   - a run (a maintenance routine, a batch run, an import) is asked at
//     its start for its list entry and every register it writes, so it
//     is refused before it writes its first record. Its own writes are
//     still asked one by one, so a write the run does not name cannot
//     pass unasked; after one is refused the run writes nothing more,
//     and the user is told once. A report, document run or export,
//     which writes only marks of what it printed or sent (or posts what
//     it prints), is asked its writes the same way;
//   - what the program writes of its own accord, which no user's right
//     governs (a new company's defaults), runs inside ProgramWrites, and
//     a server's own work, outside any request, is asked nothing.
// A client asks nothing here: its server asks.
#pragma once

#include <cstdint>

// An operation the user starts that writes register reg: the write as a
// client's request code names it (an insert, an update, a delete, an
// approval, a conversion), with the record and its id where a write has
// them. Asked at construction unless it runs inside an allowed operation;
// while it lives, allowed, every write it makes passes unasked.
class WriteOperation {
public:
    WriteOperation(uint16_t request, int reg, const uint8_t *record = nullptr, uint32_t recid = 0);
    ~WriteOperation();
    WriteOperation(const WriteOperation &) = delete;
    WriteOperation &operator=(const WriteOperation &) = delete;
    // 0 when allowed; else the refusal, told (text 16001).
    int refused = 0;
};

// A run the person starts: asked at construction as the run request
// `code` (a report or document run, an export, a maintenance routine, a
// batch run, an import; kind: an export's number; job: the run's job
// record), unless it runs inside an allowed operation. While it lives a
// refused write ends its writing: no later write of the run is asked or
// told again, each is refused.
class RunWrites {
public:
    RunWrites(uint16_t code, int kind, const uint8_t *job);
    // A run whose entry the menus have asked (a report, a document run,
    // an export): asked nothing at its start, its writes are asked one by
    // one and the first refused ends its writing, as above.
    RunWrites();
    ~RunWrites();
    RunWrites(const RunWrites &) = delete;
    RunWrites &operator=(const RunWrites &) = delete;
    // 0 when allowed; else the refusal, told (text 16001).
    int refused = 0;

private:
    bool passes = false;   // its writes pass unasked (an import)
};

// What the program writes of its own accord while it lives passes unasked.
class ProgramWrites {
public:
    ProgramWrites();
    ~ProgramWrites();
    ProgramWrites(const ProgramWrites &) = delete;
    ProgramWrites &operator=(const ProgramWrites &) = delete;
};

// A request a server serves: one person's action, begun with nothing
// allowed and no run under way even when it is served inside another's
// wait for its client, and leaving the state of the one it interrupted
// as it found it, so that neither passes or ends the other's writes.
class WriteGateRequest {
public:
    WriteGateRequest();
    ~WriteGateRequest();
    WriteGateRequest(const WriteGateRequest &) = delete;
    WriteGateRequest &operator=(const WriteGateRequest &) = delete;

private:
    int allowedDepth, runDepth;
    bool runRefused;
};
