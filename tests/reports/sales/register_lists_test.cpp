// register_lists_test.cpp - the register listings as goldens of the
// text-file device over the report company grown with vendors, price
// lists and stock by location, purchase items and productions: the
// registers with their counts (85), one item in every price list (90),
// the vendors as list and cards, by code and by name (27), the purchase
// items by item and by vendor (113) and the productions in both layouts
// (79); a code no item has, ranges that take nothing, and Esc.
#include "tests/reports/report_fixture.h"

#include "reports/sales/register_list_reports.h"
#include "tests/reports/esc_device.h"

namespace {

namespace P = ReportParamsVc;

class RegisterListsTest : public ReportFixture {
protected:
    void SetUp() override {
        ReportFixture::SetUp();
        if (HasFatalFailure()) return;
        struct Vendor {
            const char *code, *name, *addr, *account, *contact, *cls, *terms;
        };
        for (const Vendor &v : {Vendor{"V1", "Alpha Supplies", "Box 1", "1111.22.33333", "Eva", "A", "30"},
                                Vendor{"V2", "Beta Parts", "", "2222.33.44444", "", "B", "10"},
                                Vendor{"V3", "Gamma Tools", "Mill Road 3", "", "Per", "A", ""}})
            StoreRecord(VEVc::Number, [&](uint8_t *r) {
                PutText(r, VEVc::Code, 20, v.code);
                PutText(r, VEVc::Name, 60, v.name);
                PutText(r, VEVc::Addr1, 60, v.addr);
                PutText(r, VEVc::AccountNr, 20, v.account);
                PutText(r, VEVc::Contact, 60, v.contact);
                PutText(r, VEVc::VEGroup, 5, v.cls);
                PutText(r, VEVc::PayTerms, 2, v.terms);
            });
        struct Source {
            const char *item, *vendor, *text;
            double price;
            uint16_t isDefault;
        };
        for (const Source &s : {Source{"ITEM1", "V1", "Widget, blue", 80, 1}, Source{"ITEM1", "V2", "Blue widget", 85, 0},
                                Source{"ITEM2", "V2", "Gadget", 40, 1}})
            StoreRecord(PurchItemVc::Number, [&](uint8_t *r) {
                PutText(r, PurchItemVc::ItemCode, 20, s.item);
                PutText(r, PurchItemVc::VendCode, 20, s.vendor);
                PutText(r, PurchItemVc::Text, 60, s.text);
                PutDec(r, PurchItemVc::Price, Dec(s.price));
                PutU16(r, PurchItemVc::Default, s.isDefault);
            });
        struct List {
            const char *code, *name, *currency;
            uint16_t inclVat;
        };
        for (const List &l : {List{"PL1", "Retail", "", 1}, List{"PL2", "Export", "EUR", 0}})
            StoreRecord(PriceListVc::Number, [&](uint8_t *r) {
                PutText(r, PriceListVc::Code, 5, l.code);
                PutText(r, PriceListVc::Name, 60, l.name);
                PutText(r, PriceListVc::CurncyCode, 5, l.currency);
                PutU16(r, PriceListVc::InclVat, l.inclVat);
            });
        StoreRecord(PriceVc::Number, [&](uint8_t *r) {
            PutText(r, PriceVc::PriceList, 5, "PL1");
            PutText(r, PriceVc::ItemCode, 20, "ITEM1");
            PutDec(r, PriceVc::Price, Dec(150));
        });
        // A second location of ITEM1 beside the stock the company keeps at MAIN.
        RuleRecord stock(LSVc::Number);
        PutText(stock.record, LSVc::ItemCode, 20, "ITEM1");
        PutText(stock.record, LSVc::Location, 10, "B2");
        PutDec(stock.record, LSVc::InStock, Dec(5));
        PutDec(stock.record, LSVc::Reserved, Dec(1));
        uint32_t recid = 0;
        ASSERT_TRUE(RecStore(LSVc::Number, stock.record, 0, &recid));
        struct Production {
            int32_t serial;
            DateRec date;
            const char *item, *text;
        };
        for (const Production &p : {Production{1, {5, 3, 2024}, "ITEM1", "Batch A"},
                                    Production{2, {5, 4, 2024}, "ITEM1", "Batch B"},
                                    Production{3, {6, 3, 2024}, "ITEM2", "Batch C"}})
            StoreRecord(ProductionVc::Number, [&](uint8_t *r) {
                PutI32(r, ProductionVc::SerNr, p.serial);
                PutDate(r, ProductionVc::ProdDate, p.date);
                PutText(r, ProductionVc::ItemCode, 20, p.item);
                PutText(r, ProductionVc::Text, 60, p.text);
                PutText(r, ProductionVc::StructText, 60, "Line 2");
                uint8_t row[ProductionVc::Rows::Size] = {};
                PutText(row, ProductionVc::Rows::ItemCode, 20, "ITEM2");
                PutDec(row, ProductionVc::Rows::QtyUsed, Dec(2));
                PutDec(row, ProductionVc::Rows::QtyMade, Dec(0));
                PutDec(row, ProductionVc::Rows::UnitCost, Dec(40));
                PutDec(row, ProductionVc::Rows::ExtraCost, Dec(1.5));
                PutText(row, ProductionVc::Rows::SerialNr, 30, "SN-7");
                ASSERT_TRUE(MatrixRowPut(ProductionVc::Number, 0, r, 0, row));
            });
    }
    struct Run {
        const char *golden;
        void (*body)();
        const char *sel1, *sel2;
        uint16_t option1, option2, option3, layout;
        DateRec from, to;
    };
    void RunAll(std::initializer_list<Run> runs) {
        for (const Run &r : runs) {
            SCOPED_TRACE(r.golden);
            ResetParams();
            SetText(P::SelText1, r.sel1);
            SetText(P::SelText2, r.sel2);
            SetWord(P::Option1, r.option1);
            SetWord(P::Option2, r.option2);
            SetWord(P::Option3, r.option3);
            SetWord(P::ReportLayout, r.layout);
            SetPeriod(r.from, r.to);
            ExpectGolden(r.golden, RunText(r.body));
        }
    }
};

// Report 85 counts the registers with their own records and leaves out
// those without a name, those kept in their key and those named "Tr...".
TEST_F(RegisterListsTest, RegisterCounts) {
    SetWord(P::ReportNumber, 85);
    const std::string out = RunText(RegisterCountReport);
    ExpectGolden("register85", out);
    for (int reg = 1; reg <= 132; reg++) {
        const uint8_t *name = RegName(reg);
        if (!name || name[0] == 0) continue;
        const std::string n = PStringToStd(name);
        const bool listed = out.find("\t" + n + "\t") != std::string::npos;
        if (n.rfind("Tr", 0) == 0 || RegIsSimple(reg)) {
            EXPECT_FALSE(listed) << n;
        }
    }
}

// Report 90: the item in every price list, its own price where a list
// has none; a code no item has opens no job and writes nothing.
TEST_F(RegisterListsTest, ItemInPriceLists) {
    RunAll({{"register90_item1", OverTestJob<PriceListReport>, "ITEM1", "", 0, 0, 0, 0, {}, {}},
            {"register90_item2", OverTestJob<PriceListReport>, "ITEM2", "", 0, 0, 0, 0, {}, {}}});
    ResetParams();
    SetText(P::SelText1, "NOSUCH");
    EXPECT_EQ(RunText(PriceListReport), "");
}

// Report 27 as list and cards; by name it skips the names outside the
// range and goes on to the end; a class filters.
TEST_F(RegisterListsTest, VendorLists) {
    RunAll({{"register27_cards", OverTestJob<VendorListReport>, "", "", 0, 0, 0, 0, {}, {}},
            {"register27_list", OverTestJob<VendorListReport>, "", "", 1, 0, 0, 0, {}, {}},
            {"register27_range", OverTestJob<VendorListReport>, "V2:V3", "", 1, 0, 0, 0, {}, {}},
            {"register27_by_name", OverTestJob<VendorListReport>, "B:C", "", 1, 1, 0, 0, {}, {}},
            {"register27_class", OverTestJob<VendorListReport>, "", "A", 1, 0, 0, 0, {}, {}},
            {"register27_nobody", OverTestJob<VendorListReport>, "X1:X9", "", 1, 0, 0, 0, {}, {}}});
}

// Report 113 by item and by vendor within both ranges.
TEST_F(RegisterListsTest, PurchaseItems) {
    RunAll({{"register113_by_item", OverTestJob<PurchaseItemReport>, "", "", 0, 0, 0, 0, {}, {}},
            {"register113_by_vendor", OverTestJob<PurchaseItemReport>, "", "V2", 0, 0, 1, 0, {}, {}},
            {"register113_item_range", OverTestJob<PurchaseItemReport>, "ITEM2", "", 0, 0, 0, 0, {}, {}}});
}

// Report 79 in both layouts, a number range and a period.
TEST_F(RegisterListsTest, Productions) {
    RunAll({{"register79_lines", OverTestJob<ProductionReport>, "", "", 0, 0, 0, 0, {}, {}},
            {"register79_blocks", OverTestJob<ProductionReport>, "1:2", "", 0, 0, 0, 1, {}, {}},
            {"register79_march", OverTestJob<ProductionReport>, "", "", 0, 0, 0, 0, {1, 3, 2024}, {31, 3, 2024}},
            {"register79_nothing", OverTestJob<ProductionReport>, "7:9", "", 0, 0, 0, 0, {}, {}}});
}

// Esc stops the vendor walk after the vendor at hand; the job still ends.
TEST_F(RegisterListsTest, EscStopsTheWalk) {
    ResetParams();
    SetWord(P::Option1, 1);
    EXPECT_TRUE(RunWithEscAt(2, OverTestJob<VendorListReport>));
    EXPECT_TRUE(RecordedText("Alpha Supplies"));
    EXPECT_FALSE(RecordedText("Beta Parts"));
}

}  // namespace
