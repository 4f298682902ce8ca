// contract_export.cpp - export kind 32: for each period of a contract
// that the contract run would invoice, a line with the contract's number
// and its name and address lines, for mailings and for checking a run
// before it is made. The walk follows the chosen index: by number from
// the range's first number, by customer from the range's first code (each
// stopping past its range's end), or by postal code from the start.
#include "exchange/contract_export.h"

#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "output/output_job.h"
#include "rules/contract_invoicing.h"
#include "rules/rules_types.h"

namespace {

namespace Co = ContractVc;

constexpr uint16_t BySerial = 0, ByCustomer = 1;
constexpr uint16_t AsFields = 0;
constexpr uint32_t AddressLines[] = {Co::CustName, Co::Addr1, Co::Addr2, Co::Addr3};

// A line the export writes is one text of at most 255 characters.
constexpr size_t LineMax = 255;

struct ExportRun {
    const ContractSelection *sel;
    uint16_t layout;
    std::vector<int32_t> refused;   // contracts whose quoted line was too long
};

bool Stopped() { return UserCancelFlag != 0 || OutputJobState.stopFlag != 0; }

// One period's line.
bool WritePeriod(void *ctx, uint8_t *contract, const DateRec &, const DateRec &, const DateRec &)
{
    ExportRun &run = *static_cast<ExportRun *>(ctx);
    const int32_t serial = GetI32(contract, Co::SerNr);
    uint8_t text[256];
    if (run.layout == AsFields) {
        ExportValue(&serial, FtLong);
        for (uint32_t at : AddressLines) {
            GetPString(contract, at, 60, text);
            ExportValue(text, FtText);
        }
    } else {
        // Four full address lines make a line longer than a text the
        // export writes: such a line is left out and named at the end,
        // never cut short.
        std::string quoted = "\"" + std::to_string(serial) + "\"";
        for (uint32_t at : AddressLines) {
            GetPString(contract, at, 60, text);
            quoted += ",\"" + PStringToStd(text) + "\"";
        }
        if (quoted.size() > LineMax) {
            if (run.refused.empty() || run.refused.back() != serial) run.refused.push_back(serial);
            return !Stopped();
        }
        uint8_t line[256];
        PStringFromView(line, quoted);
        ExportText(line);
    }
    ExportLineFeed();
    return !Stopped();
}

// Tells which contracts' lines were left out for their length.
void TellRefused(const std::vector<int32_t> &refused)
{
    if (refused.empty()) return;
    std::string numbers;
    for (int32_t serial : refused) {
        const std::string next = (numbers.empty() ? "" : ", ") + std::to_string(serial);
        if (numbers.size() + next.size() > 200) {
            numbers += ", ...";
            break;
        }
        numbers += next;
    }
    PString extra;
    PStringFromView(extra, numbers);
    ShowMessage(Texts::ContractLinesTooLong, extra);
}

}  // namespace

void ExportContractsText(const ReportJob &job)
{
    if (!job.selection) return;
    ContractSelection sel;
    if (!ContractSelectionRead(job.selection, &sel, true)) {
        OutputJobState.stopFlag = 1;
        return;
    }
    const uint16_t order = GetU16(job.selection, ReportParamsVc::ReportLayout);
    ExportRun run{&sel, GetU16(job.selection, ReportParamsVc::Option11), {}};
    RuleRecord contract(Co::Number);
    if (!contract.record) return;
    uint8_t *c = contract.record;
    RecClear(Co::Number, c);
    const char *index = order == BySerial ? "SerNr" : order == ByCustomer ? "CustCode" : "PostCode";
    if (order == BySerial) PutI32(c, Co::SerNr, sel.numberFrom < 0 ? 0 : sel.numberFrom);
    if (order == ByCustomer && sel.codeRanged) PutText(c, Co::CustCode, sel.codeFrom);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(Co::Number, index, c, 1, 0, &recid, &position)) return;
    uint8_t code[256];
    for (uint32_t p = position; !Stopped(); p++) {
        if (p != position) {
            RecFreeMatrix(Co::Number, c);
            if (!RecReadAtIndex(Co::Number, index, int32_t(p), c, &recid)) break;
        }
        const int32_t serial = GetI32(c, Co::SerNr);
        GetText(c, Co::CustCode, code);
        if (order == BySerial && sel.numberTo >= 0 && serial > sel.numberTo) break;
        if (order == ByCustomer && sel.codeRanged && sel.codeTo[0] != 0 && PStringCompare(code, sel.codeTo) > 0)
            break;
        if ((sel.numberFrom >= 0 && serial < sel.numberFrom) || (sel.numberTo >= 0 && serial > sel.numberTo)) continue;
        if (!ContractSelected(sel, c)) continue;
        if (!ContractPeriods(sel, c, WritePeriod, &run)) break;
    }
    RecFreeMatrix(Co::Number, c);
    TellRefused(run.refused);
}
