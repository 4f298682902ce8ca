// register_keys_test.cpp - the main keys of the ledgers that are stored
// by key keep every entry they must keep.
//
// Customer transactions and project transactions are written with
// RecStoreByKey through their current index: an entry whose key equals a
// stored one replaces it (or, for project transactions, is not written).
// These tests store such entries in a database made from the QVENG.WIN the
// build compiled, so that a main key that lacks a tie-breaker loses an
// entry here, and one that holds too much writes a carried-over row twice.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/field_access.h"
#include "core/interface_load.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/engine/engine.h"
#include "dict_offsets.h"
#include "tests/core/built_interface.h"

namespace {

constexpr int CustCodeLength = 20, AccountLength = 10;   // CustTransVc
constexpr int PersonLength = 5, ItemLength = 20;          // ProjTransVc

void PutText(uint8_t *r, uint32_t offset, int m, const char *text) {
    uint8_t p[256];
    PStringFromC(p, text);
    PutPString(r, offset, m, p);
}

std::string Text(const uint8_t *r, uint32_t offset) { return std::string((const char *)r + offset + 1, r[offset]); }

class RegisterKeys : public ::testing::Test {
protected:
    std::string path;

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
        RunMode = 0;
        ASSERT_TRUE(DbLayerInit());
        path = ::testing::TempDir() + "orvel_keys_" + std::to_string(getpid()) + ".VDB";
        std::remove(path.c_str());
        ASSERT_EQ(D4Create(path.c_str(), 0), D4OpenOk);
    }
    void TearDown() override {
        if (D4IsOpen()) {
            std::string report;
            EXPECT_TRUE(D4IntegrityCheck(&report)) << report;
            D4Close();
        }
        InterfaceUnload();
        std::remove(path.c_str());
    }
};

// A customer transaction as the invoice and receipt transfers write it.
struct CustTrans {
    const char *customer;
    uint16_t day, kind;
    uint32_t doc, invoice;
    const char *account;
};

void FillCustTrans(uint8_t *r, const CustTrans &t) {
    RecClear(CustTransVc::Number, r);
    PutText(r, CustTransVc::CustCode, CustCodeLength, t.customer);
    PutDate(r, CustTransVc::TransDate, DateRec{t.day, 3, 2024});
    PutU16(r, CustTransVc::Kind, t.kind);
    PutU32(r, CustTransVc::DocNr, t.doc);
    PutU32(r, CustTransVc::InvoiceNr, t.invoice);
    PutText(r, CustTransVc::ARAcc, AccountLength, t.account);
}

// An invoice, a receipt paying it and a payment on account of one
// customer on one day are three entries; a fourth customer entry on the
// same day stays apart. Storing an entry again replaces only itself, each
// entry is found by its whole key, and a walk from (customer, date) meets
// the day's entries first, in the order of kind and document.
TEST_F(RegisterKeys, CustomerTransactionsOfOneDayAreAllKept) {
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(CustTransVc::Number, &h);
    ASSERT_NE(r, nullptr);
    const uint32_t onAccount = 0xFFFFFFFFu;
    const std::vector<CustTrans> entries = {
        {"C1", 5, 0, 100, 100, "1510"},        // the invoice
        {"C1", 5, 1, 7, 100, "1511"},          // a receipt row paying it
        {"C1", 5, 1, 7, onAccount, "1512"},    // a receipt row on account
        {"C2", 5, 0, 101, 101, "1513"},        // another customer's invoice
    };
    uint32_t recid = 0;
    for (const CustTrans &t : entries) {
        FillCustTrans(r, t);
        EXPECT_TRUE(RecStoreByKey(CustTransVc::Number, r, 1, &recid)) << t.account;
    }
    EXPECT_EQ(RegRecordCount(CustTransVc::Number), entries.size());

    // The transfer run again rewrites the invoice's entry instead of adding one.
    CustTrans again = entries[0];
    again.account = "1519";
    FillCustTrans(r, again);
    EXPECT_TRUE(RecStoreByKey(CustTransVc::Number, r, 1, &recid));
    EXPECT_EQ(RegRecordCount(CustTransVc::Number), entries.size());

    const char *expected[] = {"1519", "1511", "1512", "1513"};
    for (size_t i = 0; i < entries.size(); i++) {
        FillCustTrans(r, entries[i]);
        uint32_t id = 0, pos = 0;
        ASSERT_TRUE(RecFind(CustTransVc::Number, r, 0, 1, &id, &pos)) << i;
        EXPECT_EQ(Text(r, CustTransVc::ARAcc), expected[i]);
    }

    FillCustTrans(r, {"C1", 5, 0, 0, 0, ""});
    uint32_t id = 0, pos = 0;
    ASSERT_TRUE(RecFindByIndex(CustTransVc::Number, "MainKey", r, 2, 0, &id, &pos));
    std::vector<std::string> walked;
    for (int i = 0; i < 3; i++) {
        ASSERT_TRUE(RecReadAt(CustTransVc::Number, (int32_t)pos + i, r, &id));
        EXPECT_EQ(Text(r, CustTransVc::CustCode), "C1");
        walked.push_back(Text(r, CustTransVc::ARAcc));
    }
    // The invoice first (kind 0), then the receipt's two rows.
    EXPECT_EQ(walked[0], "1519");
    std::sort(walked.begin() + 1, walked.end());
    EXPECT_EQ(walked, (std::vector<std::string>{"1519", "1511", "1512"}));
    RecBufferFree(CustTransVc::Number, &h);
}

// A project transaction as the time-sheet carry-over writes it.
struct ProjTrans {
    const char *item, *project;
};

void FillProjTrans(uint8_t *r, const ProjTrans &t) {
    RecClear(ProjTransVc::Number, r);
    PutText(r, ProjTransVc::Person, PersonLength, "AB");
    PutDate(r, ProjTransVc::TransDate, DateRec{12, 4, 2024});
    PutU32(r, ProjTransVc::SheetNr, 31);
    PutText(r, ProjTransVc::ItemCode, ItemLength, t.item);
    PutText(r, ProjTransVc::Project, ItemLength, t.project);
}

// Three rows of one time sheet for one person's day, on two projects and
// two items, give three transactions; carrying the sheet over a second
// time adds none, and every row is found by its whole key.
TEST_F(RegisterKeys, ProjectTransactionsOfOneDayAreAllKept) {
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(ProjTransVc::Number, &h);
    ASSERT_NE(r, nullptr);
    const std::vector<ProjTrans> rows = {{"WORK", "ALPHA"}, {"WORK", "BETA"}, {"TRAVEL", "ALPHA"}};
    uint32_t recid = 0;
    for (const ProjTrans &t : rows) {
        FillProjTrans(r, t);
        EXPECT_TRUE(RecStoreByKey(ProjTransVc::Number, r, 0, &recid)) << t.item << " " << t.project;
    }
    EXPECT_EQ(RegRecordCount(ProjTransVc::Number), rows.size());
    for (const ProjTrans &t : rows) {
        FillProjTrans(r, t);
        EXPECT_FALSE(RecStoreByKey(ProjTransVc::Number, r, 0, &recid)) << t.item << " " << t.project;
    }
    EXPECT_EQ(RegRecordCount(ProjTransVc::Number), rows.size());

    for (const ProjTrans &t : rows) {
        FillProjTrans(r, t);
        uint32_t id = 0, pos = 0;
        ASSERT_TRUE(RecFind(ProjTransVc::Number, r, 0, 1, &id, &pos)) << t.item << " " << t.project;
        EXPECT_EQ(Text(r, ProjTransVc::ItemCode), t.item);
        EXPECT_EQ(Text(r, ProjTransVc::Project), t.project);
    }
    RecBufferFree(ProjTransVc::Number, &h);
}

}  // namespace
