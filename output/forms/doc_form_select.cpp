// doc_form_select.cpp - the form definition a document prints on, chosen
// by document type, language, number series and copy pass, and the
// printer its selection row names.
//
// A form-selection block (one per document type) has 64-byte rows:
// language, series start, form name, printer name and copy pass (the
// layout of block 140, which every such block shares).
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "output/devices/report_output.h"
#include "output/forms/forms.h"
#include "output/output_windows.h"
#include "rules/serial_numbers.h"

namespace R = InvoiceFormBlk::Rows;

namespace {
constexpr int LangMax = 5, FormNameMax = 20, PrinterNameMax = 20, PrinterTextMax = 20;

// What the selection of one document reads from its record.
struct SelectKeys {
    bool hasNumber = false;
    int32_t number = 0;
    uint8_t lang[256]{};
};

// The number, number-series register and language codes of the record
// printed as doctype.
SelectKeys KeysOf(int16_t doctype, const uint8_t *rec) {
    SelectKeys k;
    if (!rec) return k;
    switch (doctype) {
    case -26: case -25: case -24: case -21: case -13: case -11: case -8: case -4: break;
    case -18: case -17: case -16: case -2: case -15: case -6:
        k.hasNumber = true, k.number = GetI32(rec, IVVc::SerNr);
        break;
    case -23: {
        // A label's record points at its purchase: the purchase's number.
        const PurchaseLabelRec *label = (const PurchaseLabelRec *)rec;
        if (label->purchase) k.hasNumber = true, k.number = GetI32(label->purchase, PUVc::SerNr);
        break;
    }
    case -10:
        // The payment document is built per vendor; its number is the payment's.
        if (FormPayment) k.hasNumber = true, k.number = GetI32(FormPayment, OPVc::SerNr);
        break;
    default: k.hasNumber = true, k.number = GetI32(rec, 0); break;
    }
    switch (doctype) {
    case -18: case -17: case -16: case -2: GetText(rec, IVVc::LangCode, k.lang); break;
    case -15: case -6: GetText(rec, ORVc::LangCode, k.lang); break;
    case -14: GetText(rec, QuotationVc::LangCode, k.lang); break;
    case -19: GetText(rec, PurchOrderVc::LangCode, k.lang); break;
    case -27: case -12: case -7: case -3:
        // Byte 290 of a delivery is its delivery mode, not a second
        // language: the selection compares the language code only.
        GetText(rec, SHVc::LangCode, k.lang);
        break;
    case -11: case -8: GetText(FormCustomer, CUVc::LangCode, k.lang); break;
    case -4: GetText(FormInvoice, IVVc::LangCode, k.lang); break;
    default: break;
    }
    return k;
}

// The highest row of rows (count of them) that serves language lang,
// the series first..last and pass; -1 when none does.
int32_t MatchRow(const uint8_t *rows, int32_t count, const uint8_t *lang, int32_t first, int32_t last,
                 int16_t pass) {
    for (int32_t i = count - 1; i >= 0; i--) {
        const uint8_t *row = rows + (size_t)i * R::Size;
        uint8_t rowLang[256];
        GetText(row, R::LangCode, rowLang);
        int32_t start = GetI32(row, R::SeriesStart), rowPass = GetI32(row, R::CopyPass);
        bool langOk = rowLang[0] == 0 || PStringEqual(rowLang, lang);
        bool seriesOk = start == -1 || (start >= first && start <= last);
        bool passOk = rowPass == pass || (rowPass == -1 && pass == 1);
        if (langOk && seriesOk && passOk) return i;
    }
    return -1;
}

// Reads the form definition named name into formDef; false when none.
bool ReadFormDef(const uint8_t *name, uint8_t *formDef) {
    RecClear(DocVc::Number, formDef);
    if (name[0] == 0) return false;
    PutText(formDef, DocVc::Code, name);
    uint32_t recid = 0, position = 0;
    if (RecFindByIndex(DocVc::Number, "Code", formDef, 1, 1, &recid, &position)) return true;
    RecClear(DocVc::Number, formDef);
    return false;
}
}  // namespace

// Chooses the form definition of doctype for copy pass `pass` (from 1):
// the selection row into formName and the printer's text, the form
// (register 91) into formDef with its copies, rows per page and result
// word. An empty formName ends the copy passes.
void DocFormSelect(int16_t doctype, uint8_t *formName, uint8_t *printerText, uint16_t *destWord, int16_t pass,
                   uint8_t *formDef) {
    assert(formName && printerText && destWord && formDef && pass >= 1);
    // 1.
    FormCopyCount = 1;
    formName[0] = 0;
    printerText[0] = 0;
    FormDefLoaded = 0;
    const DocTypeRec *d = DocTypeOf(doctype);
    uint16_t block = DocFormSelectBlock(doctype, FormDocRecord);
    if (!d || block == 0) return;
    // 2., 3.
    SelectKeys k = KeysOf(doctype, FormDocRecord);
    int32_t first = 1, last = 0;   // no range found: only "any series" rows serve
    if (k.hasNumber) FindNumberRange(d->reg, k.number, &first, &last);
    // 4., 5., 6.
    MemBlock rows = 0;
    if (!SettingsBlockFetch(&rows, block)) return;
    uint8_t *data = nullptr;
    int32_t count = 0;
    if (rows) MemArrayLock(rows, R::Size, &data, &count);
    int32_t chosen = count > 0 ? MatchRow(data, count, k.lang, first, last, pass) : -1;
    if (chosen < 0 && pass == 1 && count > 0) chosen = 0;
    uint8_t printerName[256] = {0};
    if (chosen >= 0) {
        const uint8_t *row = data + (size_t)chosen * R::Size;
        GetText(row, R::FormName, formName);
        GetText(row, R::PrinterName, printerName);
    }
    if (rows) MemUnlock(rows);
    MemFree(&rows);
    if (chosen < 0) return;
    // 7. The printer; on a server its device names the client that prints.
    uint8_t device[256];
    PrinterDefLookup(printerName, device, printerText);
    UpperPString(device);
    if (RemoteOutput && !OutSessionSelectByName(device)) UserCancelFlag = 1;
    // 8. The form, "name_" first. Its copy labels and page words are
    // cleared first so a form without them prints none.
    for (int c = 0; c < 5; c++) std::memset(formDef + DocVc::CopyLabel1 + c * 62, 0, 62);
    std::memset(formDef + DocVc::CopyPage1, 0, DocVc::CopyPage5 + 2 - DocVc::CopyPage1);
    RecFreeMatrix(DocVc::Number, formDef);
    uint8_t name[256];
    PStringCopy(name, formName);
    PStringAppendChar(name, '_');
    if (!ReadFormDef(name, formDef) && !ReadFormDef(formName, formDef)) return;
    uint8_t alias[256];
    GetText(formDef, DocVc::Alias, alias);
    if (alias[0] != 0) PStringCopy(formName, alias);
    int16_t copies = GetI16(formDef, DocVc::Copies);
    FormCopyCount = copies < 1 ? 1 : copies;
    int16_t perPage = GetI16(formDef, DocVc::RowsPerPage);
    FormSetRowsPerPage(perPage);
    *destWord = GetU16(formDef, DocVc::ResultWord);
    FormDefLoaded = 1;
}

// The printer definition (block 162) named name without regard to case,
// row 0 for an empty name: its device text into device and its printer
// text into printerText. When none has the name, device is the name
// itself, printerText empty, and false.
bool PrinterDefLookup(const uint8_t *name, uint8_t *device, uint8_t *printerText) {
    assert(name && device && printerText);
    PStringCopy(device, name);
    printerText[0] = 0;
    MemBlock rows = 0;
    if (!SettingsBlockFetch(&rows, PrintersBlk::Number) || !rows) {
        MemFree(&rows);
        return false;
    }
    uint8_t *data = nullptr;
    int32_t count = 0;
    MemArrayLock(rows, PrintersBlk::Rows::Size, &data, &count);
    int32_t found = -1;
    uint8_t rowName[256];
    for (int32_t i = 0; i < count && found < 0; i++) {
        GetText(data + (size_t)i * PrintersBlk::Rows::Size, PrintersBlk::Rows::Name, rowName);
        if (name[0] == 0 ? i == 0 : PStringCompareNoCase(rowName, name) == 0) found = i;
    }
    if (found >= 0) {
        const uint8_t *row = data + (size_t)found * PrintersBlk::Rows::Size;
        GetText(row, PrintersBlk::Rows::DeviceText, device);
        GetText(row, PrintersBlk::Rows::PrinterText, printerText);
    }
    MemUnlock(rows);
    MemFree(&rows);
    return found >= 0;
}
