// remote_calls.h - request codes of the client/server protocol and the
// client stubs of the operations outside the record layer: batch and
// report runs, import and export, list rows, login, choice lists, the
// calculation sub-requests and the end of a session.
//
// The stubs of the record layer's own operations are declared with their
// dispatchers in record_access.h. Every stub here, like those, builds
// the request of docs/protocol.md, sends it (transport.h) and reads the
// reply; on a lost connection or a reply that does not parse it sets
// RemoteConnectionLost, changes none of the caller's values and returns
// false (or RecConnectionLost where it returns a result code).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/msg_buffer.h"
#include "dict_offsets.h"

enum RequestCode : uint16_t {
    ReqVersion = 0,
    ReqSettingsRead = 1,
    ReqReadAt = 2,
    ReqInsertChecked = 3,
    ReqExists = 4,
    ReqDeleteChecked = 5,
    ReqBrowsePrev = 6,
    ReqBrowseNext = 7,
    ReqRecordLockTake = 8,
    ReqUpdateChecked = 9,
    ReqSettingsStore = 10,
    ReqApproveList = 11,
    ReqReportRun = 12,
    ReqNewDefaults = 13,
    ReqNewDefaultsOther = 14,
    ReqSessionOpen = 15,
    ReqFind = 16,
    ReqNothing = 17,
    ReqReadAtIndexC = 18,
    ReqReread = 19,
    ReqImportRun = 20,
    ReqTextExport = 21,
    ReqReadById = 22,
    ReqListRows = 23,
    ReqSessionEnd = 24,
    ReqRegisterLockTake = 25,
    ReqPrintForm = 26,
    ReqRecordUnlock = 27,
    ReqRegisterUnlock = 28,
    ReqConvertDocument = 29,
    ReqMaintenance = 30,
    ReqLogin = 31,
    ReqCheck = 32,
    ReqChoiceList = 33,
    ReqCalc = 34,
    ReqBeep = 35,
    ReqFindByIndex = 36,
    ReqFindByIndexKeep = 37,
    ReqFindKeep = 38,
    ReqSnapshotOpen = 39,
    ReqSnapshotClose = 40,
    ReqRecordCount = 41,
    ReqDocumentRun = 42,
    ReqTakeBlock = 43,
    ReqJobDevice = 44,
    ReqPaymentSuggestion = 46,
    ReqPurchaseOrderSuggestion = 47,
    ReqProductionSuggestion = 48,
    ReqQuotationRowsBatch = 49,
    ReqPurchasePricesToItems = 50,
    ReqCodeLimit = 51,   // codes from here on are not dispatched
};

// Sub-requests of ReqCalc.
enum CalcSubRequest : uint16_t {
    CalcItemPrice = 1,
    CalcItemCost = 2,
    CalcStockAvailable = 3,
    CalcCustomerBalance = 4,
    CalcCurrencyRate = 5,
    CalcRowSum = 7,
};

// Registers whose records the calculation replies carry.
constexpr int CalcItemRegister = INVc::Number;
constexpr int CalcCustomerRegister = CUVc::Number;
constexpr int CalcDeliveryRegister = SHVc::Number;

// Import files travel in chunks of this many bytes (docs/protocol.md).
constexpr uint32_t ImportChunkSize = 16384;
constexpr uint16_t ImportChunkMark = 1;

// ---- Around the requests whose output the server pushes ----

// How much of the local output job to wind up after such a request: all
// of it (end the job and run output opcode 30 when the pushed output
// asked for them, reset the job flag), or only the end of the job.
enum class RemoteJobEnd { Full, EndJobOnly };
using RemoteJobEndFn = void (*)(RemoteJobEnd how);
// Installed by the output layer; null: nothing to wind up.
void RemoteJobEndInstall(RemoteJobEndFn fn);
RemoteJobEndFn RemoteJobEndInstalled();

// ---- Job records ----

// The job record as a sized item; MsgGetJobRecord refuses a length other
// than size (the record is then left as it was).
bool MsgPutJobRecord(MsgBuffer *m, const uint8_t *job, uint32_t size);
bool MsgGetJobRecord(MsgBuffer *m, uint8_t *job, uint32_t size);

// ---- Batch, report, import and export runs ----

// Request 11: the operation kind applied to each record id of the list.
bool ApproveRecordListRemote(int reg, int kind, const uint32_t *ids, uint32_t count);
// Request 12 (a report), or 42 when documentRun (a document batch).
bool RunReportRemote(bool documentRun, const uint8_t *job, uint32_t jobSize);
// Request 44, sent while a received job opens: the device it opened on
// (its output kind) and that device's usable width in its own units.
bool JobDeviceRemote(uint16_t kind, int32_t width);
// Request 20 with the whole import file (length fileLength) in chunks.
bool ImportRunRemote(const uint8_t *job, uint32_t jobSize, const uint8_t *file, uint32_t fileLength);
// Request 21.
bool TextExportRemote(int kind, const uint8_t *job, uint32_t jobSize);
// Request 30 (batch routine) or 46..50 (suggestions and batches): code
// is one of those; others are refused without sending.
bool JobRequestRemote(uint16_t code, const uint8_t *job, uint32_t jobSize);
// Request 26: the form's result (RecConnectionLost on failure).
int PrintFormRemote(int reg, int form, uint8_t *record);
// Request 29: the converted record comes back and the new record's id.
bool ConvertDocumentRemote(int reg, int kind, uint8_t *record, uint32_t *newRecid);

// ---- Sessions ----

// Request 24.
bool SessionEndRequest(uint32_t session);
// Request 31, a challenge-response in two steps (docs/protocol.md): the
// password never leaves the client, and the server proves that it holds
// the password's verifier. name (a PString buffer) gets the server's user
// name back, accessRecord (of register accessReg) the user's access
// record; the result is the accepted flag. A server that accepts without
// its proof is refused (text 16004), as is one naming iterations past
// what this program's servers use (text 16050, before any work); both
// count as a lost connection.
bool LoginRemote(int accessReg, uint8_t *name, const uint8_t *password, uint8_t *accessRecord);
// The last accepted LoginRemote's user is the administrator.
extern bool RemoteLoginAdministrator;
// The last LoginRemote was refused by the server's answer to its proof
// (a wrong name or password); false after an acceptance, a wait the
// server asked for or a lost connection.
extern bool RemoteLoginRefused;
// Request 31's steps (the first word of its body) and the first step's answer.
constexpr uint16_t LoginStepFirst = 1, LoginStepFinal = 2;
constexpr uint16_t LoginChallenge = 0, LoginWait = 1;

// ---- Lists ----

struct RemoteListRow {
    bool found = false;
    uint32_t recid = 0;
    std::vector<std::string> texts;   // one per column, the PString's characters
};
// Request 23: count rows from position first of the index; each found
// row carries `columns` texts (ListColumnCount of the window type). rows
// gets exactly count entries.
bool ListFillRowsRemote(int reg, uint32_t first, uint16_t count, uint16_t windowType, const char *index,
                        int columns, std::vector<RemoteListRow> *rows);
// The number of list columns of a window type (the entries of its field
// list); 0 for a type without a layout.
int ListColumnCount(int windowType);
// The server's side of a list row: for each list column of the window
// type, in order, the record's value as text (a ptext each). A column
// of field type 28 takes its text from the installed row-text function
// (empty while none is installed), which is told the column (0 the
// first); a value offset outside the register's record gives an empty
// text.
bool RowFieldsToMsg(MsgBuffer *reply, int windowType, int reg, const uint8_t *record);
using RowExtraTextFn = void (*)(int windowType, int column, const uint8_t *record, uint8_t *text);
void RowExtraTextInstall(RowExtraTextFn fn);
RowExtraTextFn RowExtraTextInstalled();
// Request 33 for list kind 0 (a number-series list of register reg on
// date), and for the other kinds with a key text (PString).
bool ChoiceListStartRemote(int reg, const DateRec *date, std::vector<std::string> *items);
bool ChoiceListStartRangeRemote(int kind, const uint8_t *keyText, std::vector<std::string> *items);
// Reads the entries of a choice-list reply into items (appended).
bool ChoiceListReadReply(MsgBuffer *reply, std::vector<std::string> *items);

// ---- Calculation sub-requests (request 34) ----

struct ItemPriceQuery {
    const uint8_t *itemCode;      // PStrings
    PackedDecimal quantity;
    const uint8_t *currency;
    PackedDecimal rate;
    const uint8_t *textCode;
    const uint8_t *customer;
    const uint8_t *priceList;
    const uint8_t *discountCode;
    uint16_t vatZone;
    PackedDecimal price;
    PackedDecimal discount;
};
struct ItemPriceAnswer {
    PackedDecimal price;
    uint8_t text[256];
    PackedDecimal discount;
    uint8_t vatCode[256];
    uint8_t account[256];
    PackedDecimal cost;
    uint8_t flag;
};
// Sub 1: true when the item exists; itemRecord (register 3) and *answer
// are filled from the reply.
bool ItemPriceRemote(const ItemPriceQuery *query, uint8_t *itemRecord, ItemPriceAnswer *answer);
// Sub 2: true when the item exists; the two amounts come back.
bool ItemCostRemote(const uint8_t *itemCode, const uint8_t *location, PackedDecimal *first, PackedDecimal *second);
// Sub 4: the customer record (register 2) comes back with its open
// balance and credit limit; true when the customer was found.
bool CustomerBalanceCreditRemote(uint8_t *customer, PackedDecimal *balance, PackedDecimal *creditLimit);
// Sub 5: the currency's rate on the date.
bool CurrencyRateRemote(const uint8_t *currency, const DateRec *date, PackedDecimal *rate);
// Sub 7: the row's percentage amount recomputed; the record comes back.
bool RowSumRemote(int reg, uint8_t *record, int row, PackedDecimal *total);
// Sub 3: the delivery (register 8) comes back with the available
// quantities of its rows.
bool StockAvailableRemote(uint8_t *delivery);
