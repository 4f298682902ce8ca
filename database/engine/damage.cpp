// damage.cpp - how the engine reports what goes wrong: assertion texts,
// damage found in the file, file faults, and writes the disk refused.
// Damage (a structure found broken, a checksum that fails in memory, a
// read the system cannot serve) puts the engine in damaged mode, in which
// nothing but the header's damaged word reaches the file and every
// changing operation reports failure. A refused write or sync is no
// damage: the hold it belongs to fails and is undone, the file keeps its
// last commit, and the next hold may well succeed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "database/engine/engine_state.h"

// Shows an engine text. In damaged mode every failing read reports again
// what the first one found: each distinct text is shown once while the
// file is open, and each repeat goes to the log with its count instead
// of another box.
void D4MessageText(const char *text) {
    if (Db.damaged) {
        uint32_t &times = Db.damageTexts[text];
        if (++times > 1) {
            PString t;
            PStringFromC(t, ("Shown before, time " + std::to_string(times) + ": " + text).c_str());
            LogAppend(t);
            return;
        }
    }
    PString t;
    PStringFromC(t, text);
    ShowMessage(0, t);
}

void D4Message(const char *text, int64_t value) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, "%s%lld", text, (long long)value);
    D4MessageText(buffer);
}

void D4HoldFail() { Db.holdFailed = true; }

// A structure found broken while the disk refuses this hold's writes is
// the hold's own half-done work (a read that found no room in the cache,
// a change cut off midway), not the file's: the file is still at its last
// commit. The hold fails and is undone at its end; the finding is logged.
static bool RefusedHoldExplains(const char *text) {
    if (!Db.readRefused && !(Db.rb.active && Db.rb.diskRefused)) return false;
    PString t;
    PStringFromC(t, (std::string("Not damage, the disk refused a write of this change: ") + text).c_str());
    LogAppend(t);
    D4HoldFail();
    return true;
}

void D4Damaged(const char *text) {
    if (RefusedHoldExplains(text)) return;
    Db.damaged = true;
    D4MessageText(text);
    D4HoldFail();
    if (Db.adviceShown) return;
    Db.adviceShown = true;
    D4MessageText("CAUTION! We suggest You do a raw data export with the next dialog");
    // The program ends after the rescue export, and not as a run that went
    // well: whatever started it learns from the status that the company
    // file is damaged.
    if (Db.rawExport && Db.rawExport()) ExitProgram(EXIT_FAILURE);
}

void DbIoError(int code) {
    if (code == 0) return;
    D4HoldFail();
    if (!Db.damaged) {
        if (code == 1) D4MessageText("Memory checksum problem");
        else D4Message("Filesystem error ", code);
    }
    Db.damaged = true;
    Db.abortFlag = true;
}

std::string D4DiskRefusedText(int err) {
    return std::string("The disk refused the write: ") + std::strerror(err) +
           ". Nothing of this change was stored.";
}

// Inside the master's hold the hold fails and the message waits for its
// end, so that a hold is told once; outside one (a sector written back to
// make room in the cache for a read) it is shown at once.
static uint64_t Refusals = 0;

uint64_t D4DiskRefusals() { return Refusals; }

void D4DiskRefused(int err, bool sync) {
    Refusals++;
    D4HoldFail();
    HoldRollback &rb = Db.rb;
    if (rb.active) {
        if (!rb.diskRefused) rb.refusedErrno = err;
        rb.diskRefused = true;
        rb.syncFailed = rb.syncFailed || sync;
        return;
    }
    D4MessageText(D4DiskRefusedText(err).c_str());
}

bool D4WriteAllowed() {
    if (!Db.open || Db.damaged || Db.writeStopped) {
        D4HoldFail();
        return false;
    }
    if (CurDVp != MasterDVp) {
        D4MessageText("D4DiskWrite DVp!=MasterDVp");
        D4HoldFail();
        return false;
    }
    return true;
}

bool D4PtrValid(uint32_t ptr) {
    using namespace dbformat;
    return ptr % SectorSize == 0 && ptr >= SectorSize && ptr < HdrGetLong(HdrLogicalEnd);
}

void D4SetRawExportRunner(D4RawExportRunner runner) { Db.rawExport = runner; }

uint32_t D4FreeSectorCount() { return Db.freeCount; }
int D4MasterCount() { return Db.copies; }
bool D4DamagedMode() { return Db.damaged; }
bool D4AbortFlag() { return Db.abortFlag; }
void D4ClearAbortFlag() { Db.abortFlag = false; }
int D4FlushMode() { return Db.flushMode; }
bool D4FileOrderDiffers() { return Db.swap; }
