// bench_order_windows.cpp - the cost of a row cell left in the document
// windows built on the shared row steps: the quantity of the first row
// of an order (window 352) of 1, 50 and 300 rows, priced locally and as
// a client whose every request goes through the codec to the server's
// dispatch in the same process, and the same for a purchase order (window 290), whose
// row takes no price rules. The peer, in the same run, is the sales
// invoice's row leave (window 347) on the same rows: ratio = the
// window's time / the invoice's.
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "bench/bench_frame.h"
#include "bench/bench_sales_company.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/register_hooks.h"
#include "database/access/transport.h"
#include "dict_offsets.h"
#include "net/net.h"
#include "recordwin/record_windows.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "shell/matrix_editing.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

using Clock = std::chrono::steady_clock;

BenchWorkplace &Place()
{
    static BenchWorkplace w("order_windows");
    return w;
}

PackedDecimal Dec(long v)
{
    PackedDecimal d;
    DecFromLong(&d, v);
    return d;
}

// The frame with the sales settings, item ITEM1 at 100 and vendor V1's
// terms for it; once per program.
bool Company()
{
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchFrameUp(Place())) return false;
    // The settings are laid down as they stand, past the checks a user's
    // settings window would run.
    auto check = AccessServices.settingsBlockCheck;
    AccessServices.settingsBlockCheck = nullptr;
    bool settings = BenchSalesSettings();
    AccessServices.settingsBlockCheck = check;
    if (!settings) return false;
    DbHoldBegin();
    bool ok = BenchStorePlain(INVc::Number, [](uint8_t *r) {
                  BenchPutText(r, INVc::Code, 20, "ITEM1");
                  BenchPutText(r, INVc::Name, 60, "Blue widget");
                  PutDec(r, INVc::BasePrice, Dec(100));
                  BenchPutText(r, INVc::VatCode, 2, "1");
              }) &&
              BenchStorePlain(VEVc::Number, [](uint8_t *r) { BenchPutText(r, VEVc::Code, 20, "V1"); }) &&
              BenchStorePlain(PurchItemVc::Number, [](uint8_t *r) {
                  BenchPutText(r, PurchItemVc::ItemCode, 20, "ITEM1");
                  BenchPutText(r, PurchItemVc::VendCode, 20, "V1");
                  PutDec(r, PurchItemVc::Price, Dec(40));
                  PutDec(r, PurchItemVc::PriceUnit, Dec(10));
              });
    if (!ok) DbHoldFail();
    if (!DbHoldEnd() || !ok) return false;
    ready = 1;
    return true;
}

// One window of each kind measured, with a new record of the customer or
// vendor, opened once.
struct DocWindow {
    int type;
    uint32_t partyAt;
    const char *party;
    uint32_t rowSize, itemAt, quantityAt, priceAt, kindAt;
    void (*leave)(int window, int field, uint8_t changed);
    int window = 0;
};

DocWindow Windows[] = {
    {WinTypes::SalesInvoice, IVVc::CustCode, "C1", IVVc::Rows::Size, IVVc::Rows::ItemCode, IVVc::Rows::Quantity,
     IVVc::Rows::Price, IVVc::Rows::Kind, InvoiceRowLeave},
    {WinTypes::Order, ORVc::CustCode, "C1", ORVc::Rows::Size, ORVc::Rows::ItemCode, ORVc::Rows::Quantity,
     ORVc::Rows::Price, ORVc::Rows::Kind, OrderFieldLeave},
    {WinTypes::PurchaseOrder, PurchOrderVc::VendCode, "V1", PurchOrderVc::Rows::Size, PurchOrderVc::Rows::ItemCode,
     PurchOrderVc::Rows::Quantity, PurchOrderVc::Rows::Price, PurchOrderVc::Rows::Kind, PurchaseOrderFieldLeave},
};
enum : int { Invoice, Order, PurchaseOrder };

// Window `which` holding `rows` item rows of ITEM1, one unit at 100; 0
// when it could not be had.
int WindowWithRows(int which, int rows)
{
    DocWindow &d = Windows[which];
    if (d.window <= 0) {
        int n = OpenOrActivateWindow(d.type, 0, 0, false, 0);
        if (n <= 0) return 0;
        CmdNewRecord(n);
        if (WinRecState(n) != 1) return 0;
        BenchPutText(WinRecordBuffer(n), d.partyAt, 20, d.party);
        d.window = n;
    }
    if (!MatrixResize(d.window, rows)) return 0;
    MemBlock h = WinMatrixRows(d.window);
    uint8_t *to = MemLock(h);
    std::vector<uint8_t> row(d.rowSize);
    PutU16(row.data(), d.kindAt, 1);
    BenchPutText(row.data(), d.itemAt, 20, "ITEM1");
    PutDec(row.data(), d.quantityAt, Dec(1));
    PutDec(row.data(), d.priceAt, Dec(100));
    for (int i = 0; i < rows; i++) std::copy(row.begin(), row.end(), to + size_t(i) * d.rowSize);
    MemUnlock(h);
    return d.window;
}

// The screen field of row 0's quantity cell.
int QuantityField(int window, uint32_t quantityAt)
{
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    for (int c = 0; c < cells; c++)
        if (WinFieldIdAtCell(window, first + c) == int(quantityAt)) return first + c;
    return 0;
}

// Seconds per leave of window `which` over `rows` rows, for `reps`
// leaves. The first row's quantity goes between 1 and 2 before each, so
// that every leave sums the row anew and the totals follow.
double LeaveSeconds(int which, int rows, int reps)
{
    int w = WindowWithRows(which, rows);
    int F = w > 0 ? QuantityField(w, Windows[which].quantityAt) : 0;
    if (F <= 0) return -1;
    const PackedDecimal qty[2] = {Dec(2), Dec(1)};
    Clock::time_point t = Clock::now();
    for (int i = 0; i < reps; i++) {
        MemBlock h = WinMatrixRows(w);
        PutDec(MemLock(h), Windows[which].quantityAt, qty[i % 2]);
        MemUnlock(h);
        Windows[which].leave(w, F, 1);
    }
    return std::chrono::duration<double>(Clock::now() - t).count() / reps;
}

// The server in the same process: the request is copied as a received
// message would be and served in server mode by the server's dispatch,
// so that the record reads a leave makes are served as well as its
// price requests.
bool InProcess(uint16_t code, MsgBuffer *request, MsgBuffer *reply)
{
    RunMode = RunModeServer;
    MsgBuffer received;
    bool ok = MsgLoad(&received, MsgData(request), MsgLength(request)) && ServerDispatch(code, &received, reply);
    RunMode = RunModeClient;
    return ok;
}

// Leaves the first row's quantity of window range(0) (0 invoice, 1
// order, 2 purchase order) holding range(1) rows, locally (range(2) 0)
// or as a client (1); counter ratio: its time over the invoice's in the
// same mode.
void BM_RowLeave(benchmark::State &state)
{
    if (!Company()) {
        state.SkipWithError("the frame and company could not be made");
        return;
    }
    const int which = int(state.range(0)), rows = int(state.range(1));
    const bool client = state.range(2) == 1;
    const RemoteOpsTable local = RemoteOps;
    if (client) {
        RemoteOpsInstall();
        TransportInstall(InProcess, nullptr);
        RunMode = RunModeClient;
        RemoteConnectionLost = false;
    }
    double spent = 0, peer = 0;
    for (auto _ : state) {
        double s = LeaveSeconds(which, rows, 1);
        if (s < 0) {
            state.SkipWithError("the window could not be had");
            break;
        }
        spent += s;
        state.SetIterationTime(s);
    }
    peer = LeaveSeconds(Invoice, rows, 20);
    if (client) {
        RunMode = 0;
        TransportInstall(nullptr, nullptr);
        RemoteOps = local;
        // A refused request ends the leave early: its time is not the
        // leave's.
        if (RemoteConnectionLost) state.SkipWithError("a request of the leave was not served");
    }
    if (peer > 0 && state.iterations() > 0) state.counters["ratio"] = spent / double(state.iterations()) / peer;
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_RowLeave)
    ->ArgsProduct({{Order, PurchaseOrder}, {1, 50, 300}, {0, 1}})
    ->ArgNames({"window", "rows", "client"})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
