// register_doc_values.cpp - the values of the smaller documents: time
// sheets (-29), productions (-28), projects (-24), asset labels (-25)
// and customer documents and labels (-26, -13). Each maps a few codes to
// fields of the printed record or of its rows.
//
// The label documents print from an array of FormItemCount records that
// their run hands in; the row numbers the label, and a label beyond the
// array prints empty.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "output/forms/forms.h"
#include "output/output_job.h"

namespace {
constexpr int ProjectDescLines = 3, ProjectTextLines = 10, TextLineStep = 62;

// The label record of row in the array of count records of size bytes;
// null beyond the array.
const uint8_t *LabelRecord(const uint8_t *array, size_t size, int16_t row) {
    if (row < 0 || row >= FormItemCount) return nullptr;
    return array + (size_t)row * size;
}

// The codes both customer documents share; false for another code.
bool CustomerShared(const uint8_t *k, int16_t code, uint8_t *out) {
    switch (code) {
    case 79: GetText(k, CUVc::Code, out); return true;
    case 80: GetText(k, CUVc::Text838, out); return true;
    case 128: GetText(k, CUVc::Name, out); return true;
    case 129: GetText(k, CUVc::Addr1, out); return true;
    case 130: GetText(k, CUVc::Addr2, out); return true;
    case 131: GetText(k, CUVc::Addr3, out); return true;
    case 132: GetText(k, CUVc::DelAddr1, out); return true;
    case 133: GetText(k, CUVc::DelAddr2, out); return true;
    case 134: GetText(k, CUVc::DelAddr3, out); return true;
    case 135: GetText(k, CUVc::Name2, out); return true;
    default: return false;
    }
}

// The town of the customer's last filled line of 394, 332, 270: the
// text from its first character at or above ':' (past the postal code).
void CustomerTown(const uint8_t *k, uint8_t *out) {
    uint8_t line[256];
    GetText(k, CUVc::DelAddr3, line);
    if (line[0] == 0) GetText(k, CUVc::DelAddr2, line);
    if (line[0] == 0) GetText(k, CUVc::DelAddr1, line);
    int i = 1;
    while (i <= line[0] && line[i] < ':') i++;
    PStringFromView(out, std::string_view((const char *)line + i, (size_t)(line[0] - i + 1)));
}
}  // namespace

void TimeSheetFieldValue(const uint8_t *sheet, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(sheet && param && out);
    namespace T = TimeSheetVc;
    switch (code) {
    case 69: GetText(sheet, T::Comment, out); return;
    case 72: DocTyped(sheet, T::SerNr, FtLongOrEmpty, out); return;
    case 73: DocTyped(sheet, T::Total, FtAmount3, out); return;
    case 285: DocTyped(sheet, T::RegDate, FtDate, out); return;
    case 8: case 13: case 65: case 265: case 270: case 350: break;
    default: return;
    }
    uint8_t r[T::Rows::Size];
    out[0] = 0;
    if (!MatrixRowRead(T::Number, sheet, row, r)) return;
    switch (code) {
    case 8: GetText(r, T::Rows::ItemCode, out); break;
    case 13: DocTyped(r, T::Rows::Quantity, FtAmount3, out); break;
    case 65: DocTyped(r, T::Rows::RowDate, FtDate, out); break;
    case 265: GetText(r, T::Rows::WorkText, out); break;
    case 270: GetText(r, T::Rows::Project, out); break;
    default: GetText(r, T::Rows::Person, out); break;
    }
}

void ProductionFieldValue(const uint8_t *prod, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(prod && param && out);
    namespace P = ProductionVc;
    switch (code) {
    case 48: GetText(prod, P::Location, out); return;
    case 204: DocTyped(prod, P::Quantity, FtAmount2, out); return;
    case 265: GetText(prod, P::Text, out); return;
    case 340: DocTyped(prod, P::ProdDate, FtDate, out); return;
    case 341: GetText(prod, P::ItemCode, out); return;
    case 342: GetText(prod, P::StructText, out); return;
    case 343: DocTyped(prod, P::SerNr, FtLongOrEmpty, out); return;
    case 8: case 9: case 160: case 185: case 274: case 337: case 338: case 339: break;
    default: return;
    }
    uint8_t r[P::Rows::Size];
    out[0] = 0;
    if (!MatrixRowRead(P::Number, prod, row, r)) return;
    switch (code) {
    case 8: GetText(r, P::Rows::ItemCode, out); break;
    case 9: DocTyped(r, P::Rows::ItemCode, FtUnderscoreText, out); break;
    case 160: GetText(r, P::Rows::ItemName, out); break;
    case 185: DocTyped(r, P::Rows::UnitCost, FtAmount2, out); break;
    case 274: GetText(r, P::Rows::SerialNr, out); break;
    case 337: DocTyped(r, P::Rows::QtyUsed, FtAmount2, out); break;
    case 338: DocTyped(r, P::Rows::QtyMade, FtAmount2, out); break;
    default: DocTyped(r, P::Rows::ExtraCost, FtAmount2, out); break;
    }
}

void ProjectFieldValue(const uint8_t *project, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(project && param && out);
    namespace J = ProjectVc;
    switch (code) {
    case 2: {
        uint8_t text[256], customer[CUVc::Size] = {};
        out[0] = 0;
        GetText(project, J::CustCode, text);
        if (row < 1 || row > 3 || !DocReadByCode(CUVc::Number, CUVc::Code, text, customer)) return;
        if (row == 1) GetText(customer, CUVc::Name, out);
        else DocAddressRow(customer, CUVc::Addr1, (int16_t)(row - 1), out);
        return;
    }
    case 135: GetText(project, J::Reference, out); return;
    case 265:
        out[0] = 0;
        if (row >= 0 && row < ProjectDescLines) GetPString(project, J::Desc1 + (size_t)row * TextLineStep, 60, out);
        return;
    case 266:
        out[0] = 0;
        if (row >= 0 && row < ProjectTextLines) GetPString(project, J::TextLine0 + (size_t)row * TextLineStep, 60, out);
        return;
    case 267: GetText(project, J::LeaderName, out); return;
    case 268: DocTyped(project, J::Date370, FtDate, out); return;
    case 269: DocTyped(project, J::Date376, FtDate, out); return;
    case 270: GetText(project, J::Code, out); return;
    case 260: case 261: case 262: case 263: case 264: break;
    default: return;
    }
    uint8_t r[J::Rows::Size];
    out[0] = 0;
    if (!MatrixRowRead(J::Number, project, row, r)) return;
    switch (code) {
    case 260: DocTyped(r, J::Rows::PlanDate, FtDate, out); break;
    case 261: GetText(r, J::Rows::UserCode, out); break;
    case 262: GetText(r, J::Rows::AmountText, out); break;
    case 263: GetText(r, J::Rows::Text, out); break;
    default: DocTyped(r, J::Rows::InvoiceNr, FtLongOrEmpty, out); break;
    }
}

void AssetFieldValue(const uint8_t *assets, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(assets && param && out);
    namespace A = AssetVc;
    if (code != 69 && code != 80 && (code < 271 || code > 279)) return;
    out[0] = 0;
    const uint8_t *a = LabelRecord(assets, A::Size, row);
    if (!a) return;
    switch (code) {
    case 69: GetText(a, A::Comment, out); break;
    case 80: GetText(a, A::Location, out); break;
    case 271: GetText(a, A::Code, out); break;
    case 272: GetText(a, A::Department, out); break;
    case 273: GetText(a, A::Class, out); break;
    case 274: GetText(a, A::SerialNr, out); break;
    case 275: DocTyped(a, A::AcqDate, FtDate, out); break;
    case 276: GetText(a, A::Name, out); break;
    case 277: DocTyped(a, A::Amount188, FtAmount2, out); break;
    case 278: DocTyped(a, A::AcqValue, FtAmount2, out); break;
    default: DocTyped(a, A::DispDate, FtDate, out); break;
    }
}

void CustomerFieldValue26(const uint8_t *customer, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(customer && param && out);
    (void)row;
    if (CustomerShared(customer, code, out)) return;
    if (code == 13) {
        out[0] = 0;
        if (const uint8_t *job = CurrentJobRecord()) DocTyped(job, ReportParamsVc::NumberFrom, FtLongOrEmpty, out);
    } else if (code == 115) {
        CustomerTown(customer, out);
    }
}

void CustomerFieldValue13(const uint8_t *customers, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(customers && param && out);
    if (code != 79 && code != 80 && (code < 128 || code > 135)) return;
    out[0] = 0;
    const uint8_t *k = LabelRecord(customers, CUVc::Size, row);
    if (k) CustomerShared(k, code, out);
}
