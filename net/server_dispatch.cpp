// server_dispatch.cpp - the server's side of every request: reads the
// request body of docs/protocol.md, section 4, runs the local operation
// (the ...Local tier a stand-alone program runs) and writes the reply
// body.
//
// Nothing in a body is trusted: a register number must name a register
// with a record size, a settings block must be one the interface file
// describes, counts must fit the bytes that came, and a body that does
// not parse to its end changes nothing and is refused (status 2) by the
// caller. Records are read into fresh record buffers that are freed with
// their rows after the reply.
//
// Before it runs anything the server asks the session's rights
// (net/auth_rights.cpp, net/auth_runs.cpp): a refused write answers with
// text 16001 as its result, a refused job with the text in its reply, a
// refused read of persons or access groups as "not found". A
// person record goes out without its verifier, whoever asked.
// A write, an approval, a conversion or a run is asked through the
// record layer's write gate (database/access/write_gate.h), as the same
// action is stand-alone: allowed, what it writes in turn passes; a run's
// own writes are each asked again, so a document run, report or export
// that posts or marks what its session may not write is refused there,
// with the same message, and writes nothing more.
#include <cstring>
#include <vector>

#include "core/definitions.h"
#include "core/interface_defs.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/person_password.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/settings_blocks.h"
#include "database/access/write_gate.h"
#include "database/engine/engine.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "net/auth.h"
#include "net/net.h"
#include "operations/purchase_ledger.h"
#include "operations/replenishment.h"
#include "output/devices/report_output.h"
#include "output/forms/forms.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "rules/approval.h"
#include "rules/choice_list_fill.h"
#include "rules/convert_document.h"
#include "rules/prices.h"
#include "rules/projects.h"
#include "rules/purchase_prices.h"
#include "rules/rules_types.h"
#include "shell/database_open.h"
#include "shell/login.h"
#include "shell/shell.h"

bool ServerLoginAccepted = false;
void (*ServerReportRun)(ReportJob &job) = RunReport;

namespace {

constexpr uint32_t MaxListRows = 1000;   // request 23: rows of one list page

// A record of a register, freed with its rows when it goes.
struct ServerRecord {
    int reg;
    MemBlock handle = 0;
    uint8_t *record = nullptr;
    explicit ServerRecord(int r) : reg(r) { record = RecBufferNew(r, &handle); }
    ~ServerRecord() { RecBufferFree(reg, &handle); }
    ServerRecord(const ServerRecord &) = delete;
    ServerRecord &operator=(const ServerRecord &) = delete;
};

bool RegisterValid(uint16_t reg) { return reg >= 1 && reg < RegisterCount && RegRecordSize(reg) > 0; }

bool BlockValid(uint16_t block) {
    return block >= SettingsBlockFirst && block <= SettingsBlockLast && SettingsBlockDesc(block, nullptr) != nullptr;
}

// A record as it goes to the client: a person without its verifier.
bool PutRecordOut(MsgBuffer *reply, int reg, uint8_t *record) {
    if (reg == PEVc::Number) PersonPasswordRedact(record);
    return MsgPutRecord(reply, reg, record);
}

// A read of a guarded register the rights refuse: nothing found, the
// record cleared.
bool ReadRefused(int reg, uint8_t *record) {
    if (AuthMayRead(reg)) return false;
    RecClear(reg, record);
    return true;
}

// Reads the register word; false (the message failed) for a register
// the interface file does not describe.
bool GetRegister(MsgBuffer *m, uint16_t *reg) {
    if (!MsgGetWord(m, reg)) return false;
    if (RegisterValid(*reg)) return true;
    m->failed = true;
    return false;
}

// The body must end where its last item ends.
bool BodyDone(MsgBuffer *m) { return !MsgFailed(m) && MsgRemaining(m) == 0; }

// Reads the record that ends a request's body into r's buffer: false
// when no buffer could be had, the record is short or damaged, or bytes
// follow it.
bool GetLastRecord(MsgBuffer *m, const ServerRecord &r) {
    return r.record && MsgGetRecord(m, r.reg, r.record) && BodyDone(m);
}

void PutErrPos(MsgBuffer *reply) {
    MsgPutWord(reply, FieldErrorPos.field);
    MsgPutWord(reply, FieldErrorPos.row);
    MsgPutWord(reply, FieldErrorPos.column);
}

// Reads the job record of a run request into job; false when it is not
// one whole.
bool GetJob(MsgBuffer *m, ReportJob &job) {
    return job.selection && MsgGetJobRecord(m, job.selection, ReportParamsSize);
}

// Requests 16, 36, 37, 38.
bool Find(uint16_t code, MsgBuffer *m, MsgBuffer *reply) {
    uint16_t reg = 0, parts = 0;
    uint8_t exact = 0;
    char index[256] = {0};
    if (!GetRegister(m, &reg)) return false;
    bool named = code == ReqFindByIndex || code == ReqFindByIndexKeep;
    if (named) MsgGetCString(m, index);
    MsgGetWord(m, &parts);
    MsgGetByte(m, &exact);
    ServerRecord r(reg);
    if (!GetLastRecord(m, r)) return false;
    uint32_t id = 0, pos = 0;
    bool found = false;
    if (ReadRefused(reg, r.record)) code = 0;
    switch (code) {
    case 0: break;
    case ReqFind: found = RecFindLocal(reg, r.record, parts, exact, &id, &pos); break;
    case ReqFindKeep: found = RecFindKeepLocal(reg, r.record, parts, exact, &id, &pos); break;
    case ReqFindByIndex: found = RecFindByIndexLocal(reg, index, r.record, parts, exact, &id, &pos); break;
    default: found = RecFindByIndexKeepLocal(reg, index, r.record, parts, exact, &id, &pos); break;
    }
    MsgPutByte(reply, found);
    MsgPutLong(reply, pos);
    MsgPutLong(reply, id);
    return PutRecordOut(reply, reg, r.record);
}

// Requests 2 and 18.
bool ReadAt(uint16_t code, MsgBuffer *m, MsgBuffer *reply) {
    uint16_t reg = 0;
    uint32_t pos = 0;
    char index[256] = {0};
    if (!GetRegister(m, &reg)) return false;
    MsgGetLong(m, &pos);
    MsgGetCString(m, index);
    if (!BodyDone(m) || pos > 0x7FFFFFFFu) return false;
    ServerRecord r(reg);
    if (!r.record) return false;
    uint32_t id = 0;
    bool found = !ReadRefused(reg, r.record) &&
                 (code == ReqReadAt ? RecReadAtIndexLocal(reg, index, (int32_t)pos, r.record, &id)
                                    : RecReadAtIndexCLocal(reg, (int32_t)pos, r.record, index, &id));
    MsgPutByte(reply, found);
    MsgPutLong(reply, id);
    if (code == ReqReadAtIndexC) RecFreeMatrix(reg, r.record);   // sent without rows
    return PutRecordOut(reply, reg, r.record);
}

// Requests 6 and 7.
bool Browse(uint16_t code, MsgBuffer *m, MsgBuffer *reply) {
    uint16_t reg = 0;
    uint32_t id = 0;
    char text[256] = {0};
    if (!GetRegister(m, &reg)) return false;
    MsgGetLong(m, &id);
    MsgGetCString(m, text);
    ServerRecord r(reg);
    if (!GetLastRecord(m, r)) return false;
    bool found = !ReadRefused(reg, r.record) && (code == ReqBrowseNext ? RecBrowseNextLocal(reg, r.record, &id, text)
                                                                       : RecBrowsePrevLocal(reg, r.record, &id, text));
    MsgPutByte(reply, found);
    MsgPutLong(reply, id);
    return PutRecordOut(reply, reg, r.record);
}

bool InsertChecked(MsgBuffer *m, MsgBuffer *reply) {
    uint16_t reg = 0;
    if (!GetRegister(m, &reg)) return false;
    ServerRecord r(reg);
    if (!GetLastRecord(m, r)) return false;
    uint32_t id = 0;
    int result = RecStoreFailed;
    RecFocusClear();
    WriteOperation write(ReqInsertChecked, reg, r.record, 0);
    if (write.refused) result = write.refused;
    else RecInsertCheckedLocal(reg, r.record, &id, &result);
    MsgPutLong(reply, result == RecDone ? id : 0);
    MsgPutWord(reply, (uint16_t)(int16_t)result);
    PutErrPos(reply);
    return PutRecordOut(reply, reg, r.record);
}

bool UpdateChecked(MsgBuffer *m, MsgBuffer *reply) {
    uint16_t reg = 0;
    uint32_t id = 0;
    if (!GetRegister(m, &reg)) return false;
    MsgGetLong(m, &id);
    ServerRecord r(reg);
    if (!GetLastRecord(m, r)) return false;
    int result = RecStoreFailed;
    RecFocusClear();
    WriteOperation write(ReqUpdateChecked, reg, r.record, id);
    if (write.refused) result = write.refused;
    else RecUpdateCheckedLocal(reg, r.record, id, &result);
    MsgPutWord(reply, (uint16_t)(int16_t)result);
    PutErrPos(reply);
    MsgPutLong(reply, id);
    return PutRecordOut(reply, reg, r.record);
}

bool DeleteChecked(MsgBuffer *m, MsgBuffer *reply) {
    uint16_t reg = 0;
    uint32_t id = 0;
    char text[256] = {0};
    if (!GetRegister(m, &reg)) return false;
    MsgGetLong(m, &id);
    MsgGetCString(m, text);
    ServerRecord r(reg);
    if (!GetLastRecord(m, r)) return false;
    RecFocusClear();
    WriteOperation write(ReqDeleteChecked, reg, r.record, id);
    int result = write.refused ? write.refused : RecDeleteCheckedLocal(reg, r.record, &id, text);
    MsgPutWord(reply, (uint16_t)(int16_t)result);
    MsgPutLong(reply, id);
    return PutRecordOut(reply, reg, r.record);
}

bool SettingsRead(MsgBuffer *m, MsgBuffer *reply) {
    uint16_t block = 0;
    MsgGetWord(m, &block);
    if (!BodyDone(m) || !BlockValid(block)) return false;
    uint32_t size = SettingsBlockSize(block);
    std::vector<uint8_t> data(size);
    if (size && !SettingsBlockReadLocal(block, data.data(), size)) size = 0;
    return MsgPutSized(reply, data.data(), size);
}

bool SettingsStore(MsgBuffer *m, MsgBuffer *reply) {
    uint16_t block = 0;
    uint32_t n = 0;
    MsgGetWord(m, &block);
    MemBlock data = MsgGetHandle(m, &n);
    bool ok = BodyDone(m);
    int result = RecStoreFailed;
    RecFocusClear();
    if (ok && BlockValid(block)) {
        if (int refused = AuthRefuseBlockStore(block)) {
            result = refused;
        } else {
            result = SettingsBlockStoreLocal(block, n ? MemLock(data) : nullptr, n);
            if (n) MemUnlock(data);
        }
    }
    MemFree(&data);
    if (!ok) return false;
    MsgPutWord(reply, (uint16_t)(int16_t)result);
    PutErrPos(reply);
    return true;
}

bool Check(MsgBuffer *m, MsgBuffer *reply) {
    uint16_t number = 0, mode = 0;
    uint32_t n = 0;
    MsgGetWord(m, &number);
    MsgGetWord(m, &mode);
    MemBlock data = MsgGetHandle(m, &n);
    bool ok = BodyDone(m) && (RegisterValid(number) || BlockValid(number));
    int result = RecRefused;
    if (ok) {
        RecFocusClear();
        result = RecCheckLocal(number, n ? MemLock(data) : nullptr, n, mode);
        if (n) MemUnlock(data);
    }
    MemFree(&data);
    if (!ok) return false;
    MsgPutWord(reply, (uint16_t)(int16_t)result);
    PutErrPos(reply);
    return true;
}

// Request 23: list rows with their column texts.
bool ListRows(MsgBuffer *m, MsgBuffer *reply) {
    uint16_t reg = 0, count = 0, windowType = 0;
    uint32_t first = 0;
    char index[256] = {0};
    if (!GetRegister(m, &reg)) return false;
    MsgGetLong(m, &first);
    MsgGetWord(m, &count);
    MsgGetWord(m, &windowType);
    MsgGetCString(m, index);
    if (!BodyDone(m) || count > MaxListRows || first > 0x7FFFFFFFu || !WinTypeDef(windowType)) return false;
    ServerRecord r(reg);
    if (!r.record) return false;
    bool refused = ReadRefused(reg, r.record);
    for (uint32_t i = 0; i < count; i++) {
        uint32_t id = 0;
        // Each read brings the record's own rows (a period block): the
        // last row's are let go first, or every row read would keep its.
        RecFreeMatrix(reg, r.record);
        bool found = !refused && first + i <= 0x7FFFFFFFu &&
                     RecReadAtIndexLocal(reg, index, (int32_t)(first + i), r.record, &id);
        MsgPutByte(reply, found);
        if (!found) continue;
        MsgPutLong(reply, id);
        RowFieldsToMsg(reply, windowType, reg, r.record);
    }
    return !MsgFailed(reply);
}

bool ChoiceList(MsgBuffer *m, MsgBuffer *reply) {
    uint16_t kind = 0, reg = 0;
    if (!MsgGetWord(m, &kind)) return false;
    if (kind == 0) {
        DateRec date{};
        MsgGetWord(m, &reg);
        MsgGetDate(m, &date);
        if (!BodyDone(m) || (reg != 0 && !RegisterValid(reg))) return false;
        ChoiceListDate = date;
    } else {
        uint8_t key[256];
        MsgGetPString(m, key);
        if (!BodyDone(m)) return false;
        if (kind == 15) {
            if (key[0] > sizeof ChoiceKey - 1) key[0] = sizeof ChoiceKey - 1;
            std::memcpy(ChoiceKey, key, key[0] + 1u);
        }
        if (kind == 18) {
            if (key[0] > 20) key[0] = 20;
            std::memcpy(ChoiceItem, key, key[0] + 1u);
        }
    }
    if (kind > 19) return false;
    FillChoiceList(reply, kind, reg);
    return MsgPutWord(reply, 0);
}

bool Login(MsgBuffer *m, MsgBuffer *reply) {
    int session = ServerCurrentSession;
    if (session < 0) return false;
    return AuthLoginRequest(SessionTable[session].slot, session, m, reply);
}

// Request 20: the file travels in chunks after the job record; they are
// gathered and checked before anything is imported.
bool Import(MsgBuffer *m) {
    uint32_t length = 0;
    MsgGetLong(m, &length);
    OwnedJob own;
    if (!GetJob(m, own.job) || length > MsgRemaining(m)) return false;
    std::vector<uint8_t> file(length);
    for (uint32_t at = 0; at < length;) {
        uint16_t mark = 0;
        uint32_t pos = 0, n = 0;
        MsgGetWord(m, &mark);
        MsgGetLong(m, &pos);
        MsgGetLong(m, &n);
        if (MsgFailed(m) || mark != ImportChunkMark || pos != at || n > ImportChunkSize || n > length - at ||
            (n < ImportChunkSize && at + n != length) || n == 0)
            return false;
        if (!MsgGetBytes(m, file.data() + at, n)) return false;
        at += n;
    }
    if (!BodyDone(m)) return false;
    // Asked at the header already; asked again, as another session may
    // have come while the file travelled.
    if (!ServerImportMayStart()) return true;   // the refusal travels in the reply
    OutputJobAttach attached(own.job);
    ImportMemorySource(file.data(), length);
    ImportRun();
    ImportFileClose();
    return true;
}

}  // namespace

bool ServerImportMayStart() {
    if (!AuthMayRun(ReqImportRun)) return false;
    if (!SessionsAllowExclusive()) {
        ShowTextMessage(Texts::RegisterNeedsSingleUser);
        return false;
    }
    return true;
}

namespace {

bool JobRun(uint16_t code, MsgBuffer *m) {
    if (code == ReqReportRun || code == ReqDocumentRun) {
        uint8_t printer[256];
        MsgGetPString(m, printer);   // no printer is looked up by name here: output goes to the client
    }
    uint16_t kind = 0;
    if (code == ReqTextExport) MsgGetWord(m, &kind);
    OwnedJob own;
    ReportJob &job = own.job;
    if (!GetJob(m, job) || !BodyDone(m)) return false;
    RunWrites run(code, kind, job.selection);
    if (run.refused) return true;   // the refusal travels in the reply
    RepStopped = 0;
    UserCancelFlag = 0;
    if (code == ReqReportRun || code == ReqDocumentRun) {
        ServerReportRun(job);
        return true;
    }
    if (code == ReqMaintenance) {
        RunMaintenanceCall(job);
        return true;
    }
    OutputJobAttach attached(job);
    switch (code) {
    case ReqTextExport: RunTextExport(job, kind); break;
    case ReqQuotationRowsBatch: QuotationRowsBatchCall(job.selection); break;
    case ReqPaymentSuggestion: PaymentSuggestionCall(job.selection); break;
    case ReqPurchaseOrderSuggestion: PurchaseOrderSuggestionCall(job.selection); break;
    case ReqProductionSuggestion: ProductionSuggestionCall(job.selection); break;
    case ReqPurchasePricesToItems: PurchasePricesToItemsCall(job.selection); break;
    default: break;
    }
    return true;
}

// Request 29: a conversion run here for the client. The record goes back
// as the conversion left it with the new record's id (all ones when none
// was made). A kind sent with a register that is not the one it is given
// is refused before anything is read: the record goes back as it came.
bool ConvertDocumentRequest(MsgBuffer *m, MsgBuffer *reply) {
    uint16_t reg = 0, kind = 0;
    if (!GetRegister(m, &reg)) return false;
    MsgGetWord(m, &kind);
    ServerRecord r(reg);
    if (!GetLastRecord(m, r)) return false;
    uint32_t made = SerialNone;
    WriteOperation converting(ReqConvertDocument, reg);
    if (!converting.refused) ConvertDocumentLocal(reg, kind, r.record, &made);
    PutRecordOut(reply, reg, r.record);
    return MsgPutLong(reply, made);
}

bool Approve(MsgBuffer *m) {
    uint16_t reg = 0, kind = 0;
    uint32_t count = 0;
    if (!GetRegister(m, &reg)) return false;
    MsgGetWord(m, &kind);
    MsgGetLong(m, &count);
    if (MsgFailed(m) || count > MsgRemaining(m) / 4 || kind < ApproveKindFirst || kind > ApproveKindLast) return false;
    std::vector<uint32_t> ids(count);
    for (uint32_t &id : ids) MsgGetLong(m, &id);
    if (!BodyDone(m)) return false;
    WriteOperation approving(ReqApproveList, reg);
    if (!approving.refused) ApproveRecordListLocal(reg, kind, ids.data(), count);
    return true;
}

bool PrintFormRequest(MsgBuffer *m, MsgBuffer *reply) {
    uint16_t reg = 0, form = 0;
    if (!GetRegister(m, &reg)) return false;
    MsgGetWord(m, &form);
    ServerRecord r(reg);
    if (!GetLastRecord(m, r)) return false;
    if (!AuthMayRead(reg)) return MsgPutWord(reply, 0);   // not printed
    uint8_t result = PrintForm((int16_t)form, r.record);
    return MsgPutWord(reply, result);
}

bool Snapshot(uint16_t code, MsgBuffer *m) {
    if (!BodyDone(m) || ServerCurrentSession < 0) return false;
    SessionEntry &e = SessionTable[ServerCurrentSession];
    if (e.snapshot) D4SnapshotClose(static_cast<DVP *>(e.snapshot), e.snapshotHandle);
    e.snapshot = nullptr;
    e.snapshotHandle = 0;
    if (code == ReqSnapshotOpen && D4IsOpen()) e.snapshot = D4SnapshotOpen(&e.snapshotHandle);
    if (code == ReqSnapshotClose) {
        e.countsSent = false;
        SessionCountsValid = false;
    }
    return true;
}

}  // namespace

bool ServerDispatch(uint16_t code, MsgBuffer *m, MsgBuffer *reply) {
    uint16_t reg = 0;
    uint32_t id = 0;
    switch (code) {
    case ReqVersion:
        return BodyDone(m) && MsgPutLong(reply, NetProgramVersion);
    case ReqSettingsRead: return SettingsRead(m, reply);
    case ReqReadAt:
    case ReqReadAtIndexC: return ReadAt(code, m, reply);
    case ReqInsertChecked: return InsertChecked(m, reply);
    case ReqExists: {
        if (!GetRegister(m, &reg)) return false;
        ServerRecord r(reg);
        if (!GetLastRecord(m, r)) return false;
        return MsgPutByte(reply, AuthMayRead(reg) && RecExistsLocal(reg, r.record));
    }
    case ReqDeleteChecked: return DeleteChecked(m, reply);
    case ReqBrowsePrev:
    case ReqBrowseNext: return Browse(code, m, reply);
    case ReqRecordLockTake: {
        if (!GetRegister(m, &reg)) return false;
        MsgGetLong(m, &id);
        ServerRecord r(reg);
        if (!r.record || !BodyDone(m)) return false;
        bool taken = AuthRefuseWrite(ReqRecordLockTake, reg, nullptr, id) == 0 && RecordLockTakeLocal(reg, id, r.record);
        MsgPutByte(reply, taken);
        return PutRecordOut(reply, reg, r.record);
    }
    case ReqUpdateChecked: return UpdateChecked(m, reply);
    case ReqSettingsStore: return SettingsStore(m, reply);
    case ReqApproveList: return Approve(m);
    case ReqReportRun:
    case ReqDocumentRun:
    case ReqTextExport:
    case ReqMaintenance:
    case ReqPaymentSuggestion:
    case ReqPurchaseOrderSuggestion:
    case ReqProductionSuggestion:
    case ReqQuotationRowsBatch:
    case ReqPurchasePricesToItems: return JobRun(code, m);
    case ReqNewDefaults:
    case ReqNewDefaultsOther: {
        if (!GetRegister(m, &reg)) return false;
        ServerRecord r(reg);
        if (!r.record) return false;
        if (code == ReqNewDefaultsOther && !MsgGetRecord(m, reg, r.record)) return false;
        if (!BodyDone(m)) return false;
        if (code == ReqNewDefaults)
            RecNewDefaultsLocal(reg, r.record);
        else
            RecNewDefaultsOtherLocal(reg, r.record);
        return PutRecordOut(reply, reg, r.record);
    }
    case ReqFind:
    case ReqFindByIndex:
    case ReqFindByIndexKeep:
    case ReqFindKeep: return Find(code, m, reply);
    case ReqJobDevice: {
        // A body that does not parse tells nothing; the reply is empty anyway.
        uint16_t kind = 0;
        uint32_t width = 0;
        MsgGetWord(m, &kind);
        MsgGetLong(m, &width);
        if (BodyDone(m) && ServerCurrentSession >= 0) {
            SessionEntry &e = SessionTable[ServerCurrentSession];
            e.deviceTold = true;
            e.deviceKind = kind;
            e.deviceWidth = int32_t(width);
        }
        return true;
    }
    case ReqNothing:
    case 45:
    case ReqTakeBlock: return true;
    case ReqReread:
    case ReqReadById: {
        uint16_t mode = 0;
        if (!GetRegister(m, &reg)) return false;
        MsgGetLong(m, &id);
        MsgGetWord(m, &mode);
        if (code == ReqReadById) MsgGetWord(m, nullptr);
        ServerRecord r(reg);
        if (!r.record || !BodyDone(m)) return false;
        bool found = !ReadRefused(reg, r.record) &&
                     (code == ReqReread ? RecRereadLocal(reg, id, r.record, mode) : RecReadByIdLocal(reg, id, r.record));
        MsgPutByte(reply, found);
        return PutRecordOut(reply, reg, r.record);
    }
    case ReqImportRun: return Import(m);
    case ReqListRows: return ListRows(m, reply);
    case ReqSessionEnd: {
        MsgGetLong(m, &id);
        if (!BodyDone(m)) return false;
        // Only the caller's own session ends; its connection closes after the reply.
        if (ServerCurrentSession >= 0 && SessionTable[ServerCurrentSession].id == id) SessionEnd(id);
        return true;
    }
    case ReqRegisterLockTake:
    case ReqRegisterUnlock: {
        MsgGetWord(m, &reg);
        if (!BodyDone(m) || !(RegisterValid(reg) || BlockValid(reg))) return false;
        if (code == ReqRegisterUnlock) return RegisterUnlockLocal(reg), true;
        bool allowed = BlockValid(reg) && !RegisterValid(reg) ? AuthRefuseBlockStore(reg) == 0
                                                              : AuthRefuseWrite(ReqRegisterLockTake, reg, nullptr, 0) == 0;
        return MsgPutByte(reply, allowed && RegisterLockTakeLocal(reg));
    }
    case ReqPrintForm: return PrintFormRequest(m, reply);
    case ReqRecordUnlock: {
        if (!GetRegister(m, &reg)) return false;
        MsgGetLong(m, &id);
        if (!BodyDone(m)) return false;
        RecordUnlockLocal(reg, id);
        return true;
    }
    case ReqLogin: return Login(m, reply);
    case ReqCheck: return Check(m, reply);
    case ReqChoiceList: return ChoiceList(m, reply);
    case ReqCalc: return ServerCalcRequest(m, reply);
    case ReqBeep: return BodyDone(m);
    case ReqSnapshotOpen:
    case ReqSnapshotClose: return Snapshot(code, m);
    case ReqRecordCount:
        if (!GetRegister(m, &reg) || !BodyDone(m)) return false;
        return MsgPutLong(reply, RegOpenCount(reg));
    case ReqConvertDocument: return ConvertDocumentRequest(m, reply);
    default:
        return true;   // codes from 51 on: an empty reply
    }
}
