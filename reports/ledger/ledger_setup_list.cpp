// ledger_setup_list.cpp - report 17, the ledger set-up list: the sections
// the user ticks (company, accounts with the statement rows that take
// them, object types, objects, voucher templates, distribution keys, both
// budgets, key-figure rows and the VAT accounts), each under its title,
// in a fixed order.
#include <cassert>
#include <cstring>
#include <iterator>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/index_walk.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/account_reports.h"
#include "reports/ledger/ledger_lines.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
constexpr int TitleHeight = 20, LineHeight = 15;

// The section's title line and its line of column headings.
void SectionHead(int title, std::initializer_list<HeadingText> heads) {
    LedgerTextLine(TitleHeight, 0, title);
    if (heads.size() != 0) ReportHeadings(TitleHeight, heads);
}

void SectionEnd() {
    RepStartLine(TitleHeight);
    RepEndLine();
}

// Calls each(record) for every record of reg by index from the first (or
// from `from` at key field fromAt through `to`), until each returns false
// or Esc; false when stopped.
template <typename Each>
bool WalkRegister(int reg, const char *index, Each each, uint32_t fromAt = 0, const uint8_t *from = nullptr,
                  const uint8_t *to = nullptr, int width = 0) {
    RuleRecord r(reg);
    if (!r.record) return true;
    if (from) PutPString(r.record, fromAt, width, from);
    bool whole = true;
    PString code;
    IndexWalkAll(reg, index, r.record, 1, [&](uint8_t *record) {
        if (to && to[0]) {
            GetPString(record, fromAt, width, code);
            if (PStringCompare(code, to) > 0) return false;
        }
        each(static_cast<const uint8_t *>(record));
        whole = !ReportCancelled();
        return whole;
    });
    return whole;
}

bool CompanySection(const uint8_t *) {
    const uint8_t *company = SettingsRecord(CompanyBlk::Number, CompanyBlock);
    LedgerTextLine(TitleHeight, 0, 3341);
    if (!company) return true;
    RepStartLine(LineHeight);
    LedgerField(150, company, CompanyBlk::CompanyName, 60);
    RepEndLine();
    const struct {
        uint32_t at;
        int width;
    } address[] = {{CompanyBlk::Address1, 60}, {CompanyBlk::Address2, 60}, {CompanyBlk::Address3, 60},
                   {CompanyBlk::Telephone, 20}};
    bool first = true;
    for (const auto &a : address) {
        RepStartLine(LineHeight);
        if (first) RepTextNr(0, 0, 3342, 0);
        first = false;
        LedgerField(150, company, a.at, a.width);
        RepEndLine();
    }
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 3343, 0);
    LedgerField(150, company, CompanyBlk::Fax, 20);
    RepEndLine();
    return true;
}

bool AccountSection(const uint8_t *) {
    SectionHead(3261, {{0, 3262}, {50, 3263}, {295, 3274, 1}, {300, 3273}, {370, 3272}, {1, 3264, 1}});
    return WalkRegister(ACVc::Number, "Code", [](const uint8_t *account) {
        PString code, rows;
        GetText(account, ACVc::Code, code);
        StatementRowsOfAccount(code, rows);
        RepStartLine(LineHeight);
        RepText(0, 0, code, 0);
        LedgerField(50, account, ACVc::Name, 60);
        LedgerField(295, account, ACVc::VatCode, 2, 1);
        LedgerField(300, account, ACVc::FollowUp, 10);
        RepText(370, 0, rows, 0);
        const int type = GetU16(account, ACVc::AccType);
        if (type <= 4) RepTextNr(1, 0, 3265 + type, 1);
        RepEndLine();
    });
}

bool ObjectTypeSection(const uint8_t *) {
    SectionHead(3301, {{0, 3302}, {50, 3303}});
    return WalkRegister(OTVc::Number, "Code", [](const uint8_t *type) {
        RepStartLine(LineHeight);
        LedgerField(0, type, OTVc::Code, 5);
        LedgerField(50, type, OTVc::Name, 60);
        RepEndLine();
    });
}

bool ObjectSection(const uint8_t *) {
    SectionHead(3321, {{0, 3322}, {50, 3323}, {280, 3324}});
    return WalkRegister(OBVc::Number, "Code", [](const uint8_t *object) {
        RepStartLine(LineHeight);
        LedgerField(0, object, OBVc::Code, 5);
        LedgerField(50, object, OBVc::Name, 60);
        LedgerField(280, object, OBVc::ObjType, 5);
        if (GetU16(object, OBVc::Blocked) != 0) RepTextNr(1, 0, 3325, 1);
        RepEndLine();
    });
}

bool TemplateSection(const uint8_t *job) {
    SectionHead(3121, {});
    PString from, to;
    GetTextPrefix(job, P::SelText5, 10, from);
    GetTextPrefix(job, P::SelText6, 10, to);
    return WalkRegister(
        AUVc::Number, "Code",
        [](const uint8_t *t) {
            RepStartLine(LineHeight);
            LedgerField(0, t, AUVc::Code, 10);
            LedgerField(100, t, AUVc::Name, 60);
            RepEndLine();
            uint8_t row[AUVc::Rows::Size];
            const int32_t n = MatrixRowCount(AUVc::Number, 0, t);
            for (int32_t i = 0; i < n; i++) {
                if (!MatrixRowRead(AUVc::Number, t, i, row)) break;
                RepStartLine(LineHeight);
                LedgerField(40, row, AUVc::Rows::Account, 10);
                LedgerField(100, row, AUVc::Rows::RowText, 30);
                LedgerField(200, row, AUVc::Rows::NameText, 20);
                LedgerField(380, row, AUVc::Rows::DebitText, 20, 1);
                LedgerField(1, row, AUVc::Rows::CreditText, 20, 1);
                RepEndLine();
            }
        },
        AUVc::Code, from, to, 10);
}

bool DistributionKeySection(const uint8_t *) {
    SectionHead(3281, {{0, 3282}, {50, 3283}, {250, 3284, 1}, {350, 3285, 1}});
    return WalkRegister(DKVc::Number, "Code", [](const uint8_t *key) {
        const PackedDecimal total = GetDec(key, DKVc::FactorSum);
        RepStartLine(LineHeight);
        LedgerField(0, key, DKVc::Code, 5);
        LedgerField(50, key, DKVc::Name, 60);
        LedgerAmount(300, &total);
        RepEndLine();
        uint8_t row[DKVc::Rows::Size];
        PackedDecimal hundred, share;
        DecFromLong(&hundred, 100);
        const int32_t n = MatrixRowCount(DKVc::Number, 0, key);
        for (int32_t i = 0; i < n; i++) {
            if (!MatrixRowRead(DKVc::Number, key, i, row)) break;
            const PackedDecimal factor = GetDec(row, DKVc::Rows::Factor);
            uint8_t period[4];
            PutI32(period, 0, i + 1);
            RepStartLine(LineHeight);
            RepValueFmt(100, 0, period, FtLong, 0, 0);
            LedgerAmount(250, &factor);
            // A key whose factors sum to zero has no shares to show.
            if (!DecIsZero(&total)) {
                DecMul(&factor, &hundred, &share);
                DecDiv(&share, &total, &share);
                LedgerAmount(350, &share);
            }
            RepEndLine();
        }
    });
}

bool BudgetSection(const uint8_t *) {
    SectionHead(3381, {{0, 3382}, {60, 3383}, {130, 3389}, {230, 3384}, {480, 3390, 1}});
    return WalkRegister(BUVc::Number, "ObjAccKey", [](const uint8_t *budget) {
        // The rows and total as the distribution key gives them now, in
        // a copy: the list changes nothing stored.
        RuleRecord copy(BUVc::Number);
        if (!copy.record) return;
        std::memcpy(copy.record, budget, BUVc::Size);
        PutU32(copy.record, BUVc::Matrix, 0);
        uint8_t row[BUVc::Rows::Size];
        const int32_t n = MatrixRowCount(BUVc::Number, 0, budget);
        for (int32_t i = 0; i < n; i++)
            if (MatrixRowRead(BUVc::Number, budget, i, row)) MatrixRowPut(BUVc::Number, 0, copy.record, i, row);
        BudgetRowsByKey(copy.record);
        const PackedDecimal total = GetDec(copy.record, BUVc::Total);
        RepRuleFull(1, 2);
        RepStartLine(LineHeight);
        LedgerField(0, copy.record, BUVc::Account, 10);
        LedgerField(60, copy.record, BUVc::Objects, ObjectListMax);
        LedgerField(130, copy.record, BUVc::KeyCode, 5);
        LedgerField(230, copy.record, BUVc::AccName, 60);
        LedgerAmount(480, &total);
        RepEndLine();
        RecFreeMatrix(BUVc::Number, copy.record);
    });
}

bool Budget2Section(const uint8_t *) {
    SectionHead(3401, {{0, 3402}, {80, 3403}, {150, 3404}});
    return WalkRegister(BPVc::Number, "ObjAccKey", [](const uint8_t *budget) {
        RepStartLine(LineHeight);
        LedgerField(0, budget, BPVc::Account, 10);
        LedgerField(80, budget, BPVc::Objects, ObjectListMax);
        LedgerField(150, budget, BPVc::AccName, 60);
        RepEndLine();
    });
}

bool KeyFigureSection(const uint8_t *) {
    SectionHead(3361, {{0, 3362}, {50, 3363}, {150, 3364}});
    MemBlock rows = 0;
    if (!SettingsBlockFetch(&rows, KeyFigureBlk::Number) || !rows) {
        MemFree(&rows);
        return true;
    }
    const int32_t count = int32_t(MemSize(rows) / KeyFigureBlk::Rows::Size);
    const uint8_t *bytes = MemLock(rows);
    for (int32_t i = 0; i < count; i++) {
        const uint8_t *row = bytes + (size_t)i * KeyFigureBlk::Rows::Size;
        RepStartLine(LineHeight);
        LedgerField(0, row, KeyFigureBlk::Rows::Code, 5);
        LedgerField(50, row, KeyFigureBlk::Rows::Name, 60);
        LedgerField(150, row, KeyFigureBlk::Rows::Formula, 255);
        RepEndLine();
    }
    MemUnlock(rows);
    MemFree(&rows);
    return !ReportCancelled();
}

bool VatAccountSection(const uint8_t *) {
    SettingsRows rows(VatAccountsBlk::Number, &Block130Rows, VatAccountsBlk::Rows::Size);
    namespace R = VatAccountsBlk::Rows;
    for (int32_t i = 0; i < rows.count; i++) {
        const uint8_t *row = rows.data + (size_t)i * R::Size;
        RepStartLine(LineHeight);
        LedgerField(0, row, R::VatCode, 2);
        LedgerField(50, row, R::AccOther, 10);
        LedgerField(150, row, R::AccZone1, 10);
        LedgerField(250, row, R::AccZone2, 10);
        LedgerField(350, row, R::Text, 60);
        RepEndLine();
    }
    return !ReportCancelled();
}

// Appends the numbers of the kind-1 rows of statement register reg whose
// account formula takes account, each after text `label`, joined by ",".
void RowsOfRegister(int reg, int label, const uint8_t *account, uint8_t *out) {
    RuleRecord r(reg);
    if (!r.record) return;
    uint32_t recid = 0;
    PString formula, text, number;
    GetUiText(text, label);
    for (int32_t p = 1; RecReadAt(reg, p, r.record, &recid); p++) {   // positions count from 1
        if (GetU16(r.record, SR21Vc::RowKind) != 1) continue;
        GetText(r.record, SR21Vc::Formula, formula);
        if (!CodeListContains(account, formula)) continue;
        if (out[0]) PStringAppendC(out, ",");
        PStringAppend(out, text);
        LongToDigitText((int32_t)GetU32(r.record, SR21Vc::RowNr), number);
        PStringAppend(out, number);
    }
}

}  // namespace

void StatementRowsOfAccount(const uint8_t *account, uint8_t *out) {
    assert(account && out);
    out[0] = 0;
    static_assert(SR21Vc::Formula == SR22Vc::Formula && SR21Vc::RowKind == SR22Vc::RowKind &&
                  SR21Vc::RowNr == SR22Vc::RowNr);
    RowsOfRegister(SR21Vc::Number, 3270, account, out);
    RowsOfRegister(SR22Vc::Number, 3271, account, out);
}

void LedgerSetupListReport(ReportJob &job) {
    assert(job.selection);
    static bool (*const sections[])(const uint8_t *job) = {CompanySection,  AccountSection, ObjectTypeSection,
                                         ObjectSection,   TemplateSection, DistributionKeySection,
                                         BudgetSection,   Budget2Section, KeyFigureSection,
                                         VatAccountSection};
    static const uint32_t options[] = {P::Option2, P::Option3, P::Option4,  P::Option5,  P::Option7,
                                       P::Option8, P::Option9, P::Option10, P::Option11, P::Option12};
    static_assert(std::size(sections) == std::size(options));
    RepBeginJobNr(3120);
    for (size_t i = 0; i < std::size(sections); i++) {
        if (GetU16(job.selection, options[i]) == 0) continue;
        if (!sections[i](job.selection)) break;
        SectionEnd();
    }
    RepEndJob();
}
