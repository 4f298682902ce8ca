// payment_document_test.cpp - approving an outgoing payment prints one
// payment document per vendor it pays (read back from the PDFs): the
// vendor's rows and total, a flagged row left out, the bank found by
// the vendor's giro; the printed mark is set only when every document
// printed, and a vendor whose total is not positive prints the text for
// nothing to pay.
#include "tests/operations/invoice_fixture.h"
#include "tests/output/printing_fixture.h"
#include "tests/output/pdf_words.h"

#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "operations/purchase_ledger.h"
#include "output/devices/device_table.h"
#include "output/forms/forms.h"
#include "output/printer.h"
#include "tests/output/test_job.h"

namespace {

namespace fs = std::filesystem;
using pdfwords::PdfWords;

class PaymentDocuments : public Printing<InvoiceCompanyFixture> {
protected:
    fs::path folder, savedCwd;
    std::vector<uint8_t> payment = std::vector<uint8_t>(OPVc::Size, 0);

    void SetUp() override {
        InvoiceCompanyFixture::SetUp();
        if (HasFatalFailure()) return;
        folder = fs::path(::testing::TempDir()) / ("orvel_paydoc_" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        savedCwd = fs::current_path();
        fs::current_path(folder);   // the printer writes under ./print
        ResetOutputJobState();
        PutI16(TestJob, ReportParamsVc::SetupDialog, 0);
        AddRow(PrintersBlk::Number, PrintersBlk::Rows::Size, [&](uint8_t *r) {
            PutText(r, PrintersBlk::Rows::Name, 20, "OFFICE");
            PutText(r, PrintersBlk::Rows::PrinterText, 20, "P");
        });
        StoreVendor("V1", "First Vendor", "BANK1 0001");
        StoreVendor("V2", "Second Vendor", "555-1234");
        StoreRecord(BankVc::Number, [&](uint8_t *r) {
            PutText(r, BankVc::Code, 5, "BANK1");
            PutText(r, BankVc::Name, 60, "Harbour Bank");
            PutText(r, BankVc::NameInFiles, 40, "HARBSESS");
        });
        StorePurchase(501, "V1", "INV-A", "REF501");
        StorePurchase(502, "V1", "INV-B", "REF502");
        StorePurchase(503, "V2", "INV-C", "REF503");
        StorePurchase(504, "V1", "INV-D", "REF504");
        StorePaymentForm();
        PutI32(payment.data(), OPVc::SerNr, 9001);
        PutDate(payment.data(), OPVc::PayDate, DateRec{20, 6, 2024});
    }
    void TearDown() override {
        if (Printer.job) PrinterEndDoc();
        RecFreeMatrix(OPVc::Number, payment.data());
        if (!savedCwd.empty()) fs::current_path(savedCwd);
        ResetOutputJobState();
        fs::remove_all(folder);
        InvoiceCompanyFixture::TearDown();
    }
    void StoreVendor(const char *code, const char *name, const char *giro) {
        StoreRecord(VEVc::Number, [&](uint8_t *r) {
            PutText(r, VEVc::Code, 20, code);
            PutText(r, VEVc::Name, 60, name);
            PutText(r, VEVc::Addr1, 60, "Quay 1");
            PutText(r, VEVc::PostalGiro, 30, giro);
        });
    }
    void StorePurchase(int32_t serial, const char *vendor, const char *number, const char *ref) {
        RuleRecord r(VIVc::Number);
        ASSERT_NE(r.record, nullptr);
        PutI32(r.record, VIVc::SerNr, serial);
        PutText(r.record, VIVc::VendCode, 20, vendor);
        PutText(r.record, VIVc::VendInvNr, 20, number);
        PutText(r.record, VIVc::PayRef, 20, ref);
        PutDate(r.record, VIVc::InvDate, DateRec{1, 6, 2024});
        PutDate(r.record, VIVc::DueDate, DateRec{30, 6, 2024});
        uint32_t recid = 0;
        ASSERT_TRUE(RecInsertUnchecked(VIVc::Number, r.record, &recid));
    }
    // The form of the payment documents: the vendor, the bank text, the
    // invoice of each row and its amount, the total.
    void StorePaymentForm() {
        StoreRecord(DocVc::Number, [&](uint8_t *r) {
            PutText(r, DocVc::Code, 20, "PAYDOC");
            PutU16(r, DocVc::Copies, 1);
            AddFormItem(r, 4, 40, 40, 300, 52, InvoiceCo::FontName, "", 208);
            AddFormItem(r, 4, 40, 60, 300, 72, InvoiceCo::FontName, "", 326);
            AddFormItem(r, 4, 40, 100, 200, 112, InvoiceCo::FontName, "", 323, 14);
            AddFormItem(r, 4, 300, 100, 400, 112, InvoiceCo::FontName, "", 322, 14);
            AddFormItem(r, 4, 300, 300, 400, 312, InvoiceCo::FontName, "", 77);
        });
        AddRow(PaymentDocFormBlk::Number, PaymentDocFormBlk::Rows::Size, [&](uint8_t *r) {
            PutI32(r, PaymentDocFormBlk::Rows::SeriesStart, -1);
            PutText(r, PaymentDocFormBlk::Rows::FormName, 20, "PAYDOC");
            PutI32(r, PaymentDocFormBlk::Rows::CopyPass, -1);
        });
    }
    void AddPayRow(int32_t invoice, const char *vendor, double amount, uint16_t flag = 0) {
        uint8_t row[OPVc::Rows::Size] = {};
        PutU16(row, OPVc::Rows::Kind, 1);
        PutU16(row, OPVc::Rows::Flag, flag);
        PutI32(row, OPVc::Rows::InvoiceNr, invoice);
        PutText(row, OPVc::Rows::VendCode, 20, vendor);
        PutDec(row, OPVc::Rows::Amount, Dec(amount));
        ASSERT_TRUE(MatrixRowPut(OPVc::Number, 0, payment.data(), MatrixRowCount(OPVc::Number, 0, payment.data()), row));
    }
    // The words of each printed PDF, oldest first, one string a file.
    std::vector<std::string> Printed() const {
        std::vector<fs::path> pdfs;
        if (fs::is_directory(folder / "print"))
            for (const auto &e : fs::directory_iterator(folder / "print")) pdfs.push_back(e.path());
        std::sort(pdfs.begin(), pdfs.end());
        std::vector<std::string> pages;
        for (const fs::path &p : pdfs) {
            std::string page;
            for (const auto &w : PdfWords(p)) page += w.text + " ";
            pages.push_back(page);
        }
        return pages;
    }
};

TEST_F(PaymentDocuments, TwoVendorsGiveTwoDocumentsAndAFlaggedRowIsLeftOut) {
    AddPayRow(501, "V1", 100);
    AddPayRow(503, "V2", 70);
    AddPayRow(502, "V1", 50);
    AddPayRow(504, "V1", 999, 1);   // flagged: in no document
    EXPECT_EQ(ApproveOutPayment(OPVc::Number, payment.data(), 0), ApproveResult::Changed);
    EXPECT_EQ(GetI16(payment.data(), OPVc::Approved), 1);
    EXPECT_EQ(GetI16(payment.data(), OPVc::Printed), 1);
    std::vector<std::string> docs = Printed();
    ASSERT_EQ(docs.size(), 2u);
    std::string v1 = docs[0].find("First Vendor") != std::string::npos ? docs[0] : docs[1];
    std::string v2 = docs[0].find("Second Vendor") != std::string::npos ? docs[0] : docs[1];
    for (const char *w : {"First Vendor", "Harbour Bank", "INV-A", "INV-B", "100,00", "50,00", "150,00"})
        EXPECT_NE(v1.find(w), std::string::npos) << w << " in " << v1;
    EXPECT_EQ(v1.find("INV-D"), std::string::npos) << v1;
    EXPECT_EQ(v1.find("999"), std::string::npos) << v1;
    EXPECT_EQ(v1.find("INV-C"), std::string::npos) << v1;
    for (const char *w : {"Second Vendor", "555-1234", "INV-C", "70,00"})
        EXPECT_NE(v2.find(w), std::string::npos) << w << " in " << v2;
}

TEST_F(PaymentDocuments, NothingToPayAndAFailedPrintLeavesTheMarkClear) {
    AddPayRow(503, "V2", -20);
    EXPECT_EQ(ApproveOutPayment(OPVc::Number, payment.data(), 0), ApproveResult::Changed);
    std::vector<std::string> docs = Printed();
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_NE(docs[0].find(UiText(Texts::PayDocNothingToPay)), std::string::npos) << docs[0];

    // No form for the documents: nothing prints, and the payment is not
    // marked printed, though approved.
    uint8_t empty[1] = {0};
    ASSERT_EQ(SettingsBlockStore(PaymentDocFormBlk::Number, empty, 0), RecDone);
    PutI16(payment.data(), OPVc::Printed, 0);
    EXPECT_EQ(ApproveOutPayment(OPVc::Number, payment.data(), 0), ApproveResult::Changed);
    EXPECT_EQ(GetI16(payment.data(), OPVc::Approved), 1);
    EXPECT_EQ(GetI16(payment.data(), OPVc::Printed), 0);
    EXPECT_EQ(Printed().size(), 1u);
}

}  // namespace
