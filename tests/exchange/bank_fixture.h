// bank_fixture.h - the fixture of the bank payment file tests: a company
// with a bank-file format, vendors, purchase invoices and outgoing
// payments made as the windows leave them; kind 15 run into a file whose
// lines come back split at CR LF.
#pragma once

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/company_variant.h"
#include "core/decimal.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "exchange/bank_file.h"
#include "tests/exchange/exchange_fixture.h"
#include "tests/exchange/test_job_export.h"
#include "tests/output/test_job.h"

namespace bank_test {

namespace PR = OPVc::Rows;

inline std::string B(int n) { return std::string(size_t(n), ' '); }

inline void PutText(uint8_t *base, uint32_t at, int max, const std::string &text)
{
    PString t;
    PStringFromView(t, text);
    PutPString(base, at, max, t);
}

inline PackedDecimal Amount(double v)
{
    PackedDecimal d;
    DecFromDouble(&d, v);
    return d;
}

// A row of a payment: a paid invoice of a vendor to an account (the
// row's account text) and a giro (its other text: "details" and the
// vendor's code when none is given).
struct PayRow {
    int32_t invoice;
    std::string vendor, account;
    double amount;
    uint16_t kind = 1, flag = 0;
    const char *giro = nullptr;
};

class BankFixture : public ExchangeFixture {
protected:
    void SetUp() override
    {
        ExchangeFixture::SetUp();
        if (HasFatalFailure()) return;
        RegisterHooksClear();
        // The selection of an earlier test (an Estonian test key, the
        // Swedish second file) is not this test's.
        std::fill(TestJob, TestJob + ReportParamsVc::Size, uint8_t(0));
        CompanyVariantBind(CompanyBlock);   // as the frame binds it
        TodayDate = DateRec{7, 12, 2026};
        Company(BankFormatTelepay, "NO 123 456 789 01", "1234.56.78901");
    }

    void TearDown() override
    {
        CompanyVariantBind(nullptr);
        ExchangeFixture::TearDown();
    }
    void Company(uint16_t format, const std::string &enterprise, const std::string &account)
    {
        PutU16(CompanyBlock, CompanyBlk::CompanyVariant, format);
        PutText(CompanyBlock, CompanyBlk::EnterpriseNr, 20, enterprise);
        PutText(CompanyBlock, CompanyBlk::BankAccount, 60, account);
        PutText(CompanyBlock, CompanyBlk::OrgNr, 30, "98765-4321");
        PutText(CompanyBlock, CompanyBlk::CompanyName, 60, "Orvel Test AS");
        ASSERT_EQ(SettingsBlockStore(CompanyBlk::Number, CompanyBlock, CompanyBlk::Size), RecDone);
    }
    void Vendor(const std::string &code, const std::string &addr1, const std::string &addr2,
                const std::string &addr3)
    {
        std::vector<uint8_t> ve(RegRecordSize(VEVc::Number), 0);
        PutText(ve.data(), VEVc::Code, 20, code);
        PutText(ve.data(), VEVc::Name, 60, "Vendor " + code);
        PutText(ve.data(), VEVc::Addr1, 60, addr1);
        PutText(ve.data(), VEVc::Addr2, 60, addr2);
        PutText(ve.data(), VEVc::Addr3, 60, addr3);
        PutText(ve.data(), VEVc::AccountNr, 20, "KOD" + code);
        uint32_t id = 0;
        ASSERT_TRUE(RecInsertLocal(VEVc::Number, ve.data(), &id));
    }
    void Invoice(int32_t serial, const std::string &vendor, const std::string &name, const std::string &invNr,
                 const std::string &ref, uint16_t type = 1, DateRec due = {})
    {
        std::vector<uint8_t> vi(RegRecordSize(VIVc::Number), 0);
        PutI32(vi.data(), VIVc::SerNr, serial);
        PutText(vi.data(), VIVc::VendCode, 20, vendor);
        PutText(vi.data(), VIVc::VendName, 60, name);
        PutText(vi.data(), VIVc::VendInvNr, 20, invNr);
        PutText(vi.data(), VIVc::PayRef, 20, ref);
        PutText(vi.data(), VIVc::Comment, 60, "Note " + invNr);
        PutText(vi.data(), VIVc::PayText, 30, "5012345-6789");
        PutDate(vi.data(), VIVc::InvDate, DateRec{20, 11, 2026});
        PutU16(vi.data(), VIVc::InvType, type);
        PutDate(vi.data(), VIVc::DueDate, due);
        uint32_t id = 0;
        ASSERT_TRUE(RecInsertLocal(VIVc::Number, vi.data(), &id));
    }
    // The stored invoice's payment text replaced by text.
    void InvoicePayText(int32_t serial, const std::string &text)
    {
        std::vector<uint8_t> vi(RegRecordSize(VIVc::Number), 0);
        PutI32(vi.data(), VIVc::SerNr, serial);
        uint32_t id = 0, pos = 0;
        ASSERT_TRUE(RecFind(VIVc::Number, vi.data(), 1, 1, &id, &pos));
        PutText(vi.data(), VIVc::PayText, 30, text);
        ASSERT_TRUE(RecStore(VIVc::Number, vi.data(), 1, &id));
        RecFreeMatrix(VIVc::Number, vi.data());
    }
    void Payment(int32_t serial, std::vector<PayRow> rows, uint16_t approved = 1, uint16_t sent = 0,
                 uint16_t skip = 0, const std::function<void(uint8_t *)> &extra = nullptr)
    {
        std::vector<uint8_t> op(RegRecordSize(OPVc::Number), 0), row(RecRowSize(OPVc::Number), 0);
        PutI32(op.data(), OPVc::SerNr, serial);
        PutText(op.data(), OPVc::PayText, 60, "4234567-85");
        PutDate(op.data(), OPVc::PayDate, DateRec{10, 12, 2026});
        PutU16(op.data(), OPVc::Approved, approved);
        PutU16(op.data(), OPVc::Sent, sent);
        PutU16(op.data(), OPVc::Skip, skip);
        for (size_t r = 0; r < rows.size(); r++) {
            std::fill(row.begin(), row.end(), 0);
            PutU16(row.data(), PR::Kind, rows[r].kind);
            PutU16(row.data(), PR::Flag, rows[r].flag);
            PutI32(row.data(), PR::InvoiceNr, rows[r].invoice);
            PutText(row.data(), PR::VendCode, 20, rows[r].vendor);
            PutText(row.data(), PR::AccountText, 60, rows[r].account);
            PutText(row.data(), PR::InvPayText, 30, rows[r].giro ? rows[r].giro : "details " + rows[r].vendor);
            PutDec(row.data(), PR::Amount, Amount(rows[r].amount));
            ASSERT_TRUE(MatrixRowPut(OPVc::Number, 0, op.data(), int32_t(r), row.data()));
        }
        if (extra) extra(op.data());
        uint32_t id = 0;
        ASSERT_TRUE(RecInsertLocal(OPVc::Number, op.data(), &id));
        RecFreeMatrix(OPVc::Number, op.data());
    }
    // A simple ready payment of one invoice of vendor V1.
    void SimplePayment(int32_t serial, int32_t invoice)
    {
        Invoice(invoice, "V1", "Vendor one", "F" + std::to_string(invoice), "");
        Payment(serial, {{invoice, "V1", "1111.22.33333", 100.0}});
    }
    // Runs kind 15 into file name with the payment range; the file's
    // lines (split at CR LF) and whether the job ended whole.
    std::vector<std::string> Run(const std::string &range, bool resend = false, const std::string &name = "bank.txt",
                                 bool *ok = nullptr)
    {
        PString p;
        PStringFromView(p, range);
        ::PutText(TestJob, ReportParamsVc::SelText1, p);
        PutU16(TestJob, ReportParamsVc::Option1, resend ? 1 : 0);
        PutU16(TestJob, ReportParamsVc::ReportNumber, 15);
        PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
        std::string path = name.rfind("/", 0) == 0 ? name : (dir / name).string();
        ScriptAnswerFile(path);
        bool whole = ExportOverTestJob(15);
        if (ok) *ok = whole;
        if (!std::filesystem::is_regular_file(path)) return {};   // a device is not read back
        return Lines(FileBytes(path), whole);
    }
    // A whole file's lines each end with CR LF; a stopped job's may not.
    static std::vector<std::string> Lines(const std::string &bytes, bool whole = true)
    {
        std::vector<std::string> out;
        for (size_t at = 0; at < bytes.size();) {
            size_t end = bytes.find("\r\n", at);
            if (whole) {
                EXPECT_NE(end, std::string::npos) << "a line without CR LF";
            }
            if (end == std::string::npos) end = bytes.size();
            out.push_back(bytes.substr(at, end - at));
            at = end + 2;
        }
        return out;
    }
    static uint16_t SentFlag(int32_t serial)
    {
        std::vector<uint8_t> op(RegRecordSize(OPVc::Number), 0);
        PutI32(op.data(), OPVc::SerNr, serial);
        uint32_t id = 0, pos = 0;
        EXPECT_TRUE(RecFind(OPVc::Number, op.data(), 1, 1, &id, &pos));
        RecFreeMatrix(OPVc::Number, op.data());
        return GetU16(op.data(), OPVc::Sent);
    }
    // The serial numbers of the BETFOR21 records of a Telepay file.
    static std::vector<std::string> TransferSerials(const std::vector<std::string> &lines)
    {
        std::vector<std::string> out;
        for (size_t i = 0; i + 1 < lines.size(); i += 4)
            if (lines[i].substr(40, 8) == "BETFOR21") {
                std::string serial = lines[i + 1].substr(6, 30);
                out.push_back(serial.substr(0, serial.find(' ')));
            }
        return out;
    }
    static std::string Head(const std::string &record, int daily, const std::string &account, int seq)
    {
        char d[8], s[8];
        std::snprintf(d, sizeof d, "%06d", daily);
        std::snprintf(s, sizeof s, "%04d", seq);
        return "AH100TBII1207" + std::string(d) + B(19) + "04" + record + "12345678901" +
               (account.empty() ? B(11) : account) + s + B(6);
    }
};

}  // namespace bank_test
