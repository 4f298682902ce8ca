// fuzz_calc.cpp - fuzz target over the server's side of request 34: the
// input is a request body as a client would send it, served by
// ServerCalcRequest over a small company (an item with a group and text
// rows, a percentage item, a price list, a rate, a customer with a paying
// customer and an open item, stock at a location). Nothing may read
// outside the message, leak a block, or answer a refused request with
// anything but an empty reply; the sanitizers and the checks below catch
// it.
//
// The company is made once per process in the temporary folder from the
// QVENG.WIN the build compiled (beside the program or one folder up).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/interface_load.h"
#include "core/language_file.h"
#include "core/memblock.h"
#include "core/message_sink.h"
#include "core/msg_buffer.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/settings_binding.h"
#include "database/engine/engine.h"
#include "rules/prices.h"
#include "rules/rules_types.h"

namespace {

void Quiet(const char *) {}

void Check(bool ok) {
    if (!ok) std::abort();
}

std::string CompanyPath;

bool LoadInterface() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    LangFileSetDirectories({exe.string(), exe.parent_path().string(), ""});
    std::string error;
    if (LoadDefinitions(&error)) return true;
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
}

void Text(uint8_t *base, uint32_t offset, int max, const char *text) {
    uint8_t p[256];
    PStringFromC(p, text);
    PutPString(base, offset, max, p);
}

PackedDecimal Dec(double x) {
    PackedDecimal d;
    DecFromDouble(&d, x);
    return d;
}

template <typename Fill>
void Store(int reg, Fill fill) {
    RuleRecord r(reg);
    Check(r.record != nullptr);
    fill(r.record);
    uint32_t recid = 0;
    Check(RecStoreByKey(reg, r.record, 1, &recid));
}

// An order of a WIDGET row and a FEE row (10 % of the others).
void Order(uint8_t *r) {
    for (const char *item : {"WIDGET", "FEE"}) {
        uint8_t row[ORVc::Rows::Size] = {};
        PutU16(row, ORVc::Rows::Kind, 1);
        Text(row, ORVc::Rows::ItemCode, 20, item);
        PutDec(row, ORVc::Rows::Sum, Dec(100));
        Check(MatrixRowPut(ORVc::Number, 0, r, MatrixRowCount(ORVc::Number, 0, r), row));
    }
}

void Delivery(uint8_t *r) {
    Text(r, SHVc::Location, 10, "L1");
    uint8_t row[SHVc::Rows::Size] = {};
    Text(row, SHVc::Rows::ItemCode, 20, "WIDGET");
    PutDec(row, SHVc::Rows::QtyLeft, Dec(10));
    Check(MatrixRowPut(SHVc::Number, 0, r, 0, row));
}

void Setup() {
    static bool done = false;
    if (done) return;
    done = true;
    MessageSinkSet(Quiet);
    Check(LoadInterface() && AllocWorkBlocks() && DbLayerInit());
    RunMode = RunModeServer;
    TodayDate = DateRec{15, 6, 2024};
    CompanyPath = "/tmp/orvel_fuzz_calc_" + std::to_string(getpid()) + ".VDB";
    std::remove(CompanyPath.c_str());
    Check(D4Create(CompanyPath.c_str(), 0) == D4OpenOk && SettingsStartup());
    std::atexit([] {
        if (D4IsOpen()) D4Close();
        std::remove(CompanyPath.c_str());
    });
    Store(ITVc::Number, [](uint8_t *r) { Text(r, ITVc::Code, 5, "G1"); Text(r, ITVc::VatCode, 2, "1"); });
    Store(INVc::Number, [](uint8_t *r) {
        Text(r, INVc::Code, 20, "WIDGET");
        Text(r, INVc::Group, 5, "G1");
        PutDec(r, INVc::BasePrice, Dec(100));
        uint8_t row[INVc::Rows::Size] = {};
        Text(row, INVc::Rows::LangCode, 5, "FR");
        Text(row, INVc::Rows::Text, 60, "Machin");
        Check(MatrixRowPut(INVc::Number, 0, r, 0, row));
    });
    Store(INVc::Number, [](uint8_t *r) { Text(r, INVc::Code, 20, "FEE"); Text(r, INVc::PctTable, 5, "T1"); });
    Store(PctTableVc::Number, [](uint8_t *r) {
        Text(r, PctTableVc::Code, 5, "T1");
        uint8_t row[PctTableVc::Rows::Size] = {};
        Text(row, PctTableVc::Rows::ItemRange, 20, "A:Z");
        PutDec(row, PctTableVc::Rows::Percentage, Dec(10));
        Check(MatrixRowPut(PctTableVc::Number, 0, r, 0, row));
    });
    Store(PriceListVc::Number, [](uint8_t *r) { Text(r, PriceListVc::Code, 5, "USD"); Text(r, PriceListVc::CurncyCode, 5, "USD"); });
    Store(PriceVc::Number, [](uint8_t *r) {
        Text(r, PriceVc::PriceList, 5, "USD");
        Text(r, PriceVc::ItemCode, 20, "WIDGET");
        PutDec(r, PriceVc::Price, Dec(30));
    });
    Store(ExchRateVc::Number, [](uint8_t *r) {
        Text(r, ExchRateVc::CurncyCode, 5, "USD");
        PutDate(r, ExchRateVc::RateDate, DateRec{1, 1, 2024});
        PutDec(r, ExchRateVc::Rate, Dec(900));
    });
    Store(CUVc::Number, [](uint8_t *r) { Text(r, CUVc::Code, 20, "C1"); Text(r, CUVc::PayerCode, 20, "P"); });
    Store(CUVc::Number, [](uint8_t *r) { Text(r, CUVc::Code, 20, "P"); PutDec(r, CUVc::CreditLimit, Dec(500)); });
    Store(ARVc::Number, [](uint8_t *r) {
        PutU32(r, ARVc::InvoiceNr, 1);
        Text(r, ARVc::CustCode, 20, "P");
        PutDec(r, ARVc::OpenAmount, Dec(120));
    });
    Store(LocationVc::Number, [](uint8_t *r) { Text(r, LocationVc::Code, 10, "L1"); });
}

}  // namespace

// One valid request body per sub-request (and sub 0), for the corpus and
// the replay's mutations.
std::vector<std::vector<uint8_t>> CalcFuzzSeeds() {
    Setup();
    std::vector<std::vector<uint8_t>> seeds;
    auto keep = [&](MsgBuffer &m) { seeds.emplace_back(MsgData(&m), MsgData(&m) + MsgLength(&m)); };
    uint8_t widget[256], usd[256], fr[256], empty[2] = {0};
    PStringFromC(widget, "WIDGET");
    PStringFromC(usd, "USD");
    PStringFromC(fr, "FR");
    PackedDecimal one = Dec(1), rate = Dec(50), blank;
    DecSetBlank(&blank);
    DateRec date{1, 6, 2024};
    MsgBuffer m1, m2, m3, m4, m5, m7, m0;
    MsgPutWord(&m1, CalcItemPrice);
    MsgPutPString(&m1, widget);
    MsgPutBlock12(&m1, &one);
    MsgPutPString(&m1, usd);
    MsgPutBlock12(&m1, &rate);
    MsgPutPString(&m1, fr);
    MsgPutPString(&m1, empty);
    MsgPutPString(&m1, usd);
    MsgPutPString(&m1, empty);
    MsgPutWord(&m1, 2);
    MsgPutBlock12(&m1, &blank);
    MsgPutBlock12(&m1, &blank);
    keep(m1);
    MsgPutWord(&m2, CalcItemCost);
    MsgPutPString(&m2, widget);
    MsgPutPString(&m2, empty);
    keep(m2);
    RuleRecord delivery(SHVc::Number), customer(CUVc::Number), order(ORVc::Number);
    Delivery(delivery.record);
    MsgPutWord(&m3, CalcStockAvailable);
    MsgPutRecord(&m3, SHVc::Number, delivery.record);
    keep(m3);
    Text(customer.record, CUVc::Code, 20, "C1");
    MsgPutWord(&m4, CalcCustomerBalance);
    MsgPutRecord(&m4, CUVc::Number, customer.record);
    keep(m4);
    MsgPutWord(&m5, CalcCurrencyRate);
    MsgPutPString(&m5, usd);
    MsgPutDate(&m5, &date);
    keep(m5);
    Order(order.record);
    MsgPutWord(&m7, CalcRowSum);
    MsgPutWord(&m7, ORVc::Number);
    MsgPutRecord(&m7, ORVc::Number, order.record);
    MsgPutWord(&m7, 1);
    keep(m7);
    MsgPutWord(&m0, 0);
    keep(m0);
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Setup();
    if (size > MsgMaxLength) return 0;
    uint32_t blocks = MemBlockCount();
    {
        MsgBuffer request, reply;
        if (size) Check(MsgLoad(&request, data, (uint32_t)size));
        bool served = ServerCalcRequest(&request, &reply);
        Check(request.readPos <= MsgEnd(&request));
        if (!served) Check(MsgLength(&reply) == 0);
        else Check(!MsgFailed(&reply));
    }
    Check(MemBlockCount() == blocks);
    return 0;
}
