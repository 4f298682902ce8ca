// settings_code_uses.cpp - which records and settings name the codes of
// the settings tables, and the rule that keeps a code in use in its
// table.
//
// A code is in use when a record or a setting holds it as a value it
// reads the table's row by: a document (its currency, language, payment
// mode, a row's VAT code), a master record (a customer's currency, an
// item group's VAT codes, an asset's group), a ledger row (a voucher's
// fiscal year, its rows' VAT codes) or a default of the settings (the
// sales and purchase accounts' VAT codes). Such a code leaves its table
// by no road: a row deleted or emptied in the window, a code typed over,
// an import that stores the table whole. What is kept per code is the
// code's own and holds nothing: an exchange rate per currency, a text or
// a form chosen per language, the zone accounts per VAT code (block 130)
// are read only for a document that has the code, and that document is
// itself a use.
//
// The rule stands in the store, which every road passes, rather than in
// the window's Delete: the menus ask that one quietly whenever the caret
// moves, and a walk of the registers there would slow every move. A code
// is looked for through an index whose first key part is its field where
// the register has one, else record by record; the first record or
// setting found is the one the message names.
#include "rules/settings_code_uses.h"

#include <cassert>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/window_kind.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "rules/record_key_text.h"
#include "rules/rules_types.h"

namespace {

constexpr CodeTable CodeTables[] = {
    {VatCodeBlk::Number, VatCodeBlk::Rows::Size, VatCodeBlk::Rows::Code, 2, VatCodeBlk::Rows::Code, 2},
    {CurrencyBlk::Number, CurrencyBlk::Rows::Size, CurrencyBlk::Rows::Code, 5, CurrencyBlk::Rows::Code, 5},
    {LanguageBlk::Number, LanguageBlk::Rows::Size, LanguageBlk::Rows::Code, 5, LanguageBlk::Rows::Code, 5},
    {PaymentModeBlk::Number, PaymentModeBlk::Rows::Size, PaymentModeBlk::Rows::Code, 1, PaymentModeBlk::Rows::Code, 1},
    {AssetGroupBlk::Number, AssetGroupBlk::Rows::Size, AssetGroupBlk::Rows::Group, 5, AssetGroupBlk::Rows::Group, 5},
    {QuoteClassBlk::Number, QuoteClassBlk::Rows::Size, QuoteClassBlk::Rows::Code, 5, QuoteClassBlk::Rows::Code, 5},
    // Vouchers keep their fiscal year by its order code, the user knows
    // it by its year code.
    {FiscalYearBlk::Number, FiscalYearBlk::Rows::Size, FiscalYearBlk::Rows::OrderCode, 0, FiscalYearBlk::Rows::YearCode,
     5},
};

// A field of a register's records, of its rows (of one kind, or of every
// kind) and of a settings block, naming the codes of `table`.
template <int N>
constexpr CodeUse InRecord(int table, int reg, TextField<N> at, const char *index = nullptr) {
    return {table, CodeHolder::Record, reg, at, N, 0, index};
}
constexpr CodeUse InRecordWord(int table, int reg, U16Field at, const char *index) {
    return {table, CodeHolder::Record, reg, at, 0, 0, index};
}
template <int N>
constexpr CodeUse InRows(int table, int reg, TextField<N> at, uint16_t kind = 0) {
    return {table, CodeHolder::RecordRow, reg, at, N, kind, nullptr};
}
template <int N>
constexpr CodeUse InBlock(int table, int block, TextField<N> at) {
    return {table, CodeHolder::Block, block, at, N, 0, nullptr};
}

constexpr int Vat = VatCodeBlk::Number, Currency = CurrencyBlk::Number, Language = LanguageBlk::Number,
              PayMode = PaymentModeBlk::Number, AssetGroup = AssetGroupBlk::Number, QuoteClass = QuoteClassBlk::Number,
              FiscalYear = FiscalYearBlk::Number;

// Every field that names a table's codes, the master records first: the
// message names the first use found. A payment-terms field names payment
// terms or a payment mode (a cash document's): it is a use of a mode of
// that code.
constexpr CodeUse CodeUses[] = {
    // VAT codes.
    InRecord(Vat, ITVc::Number, ITVc::VatCode),
    InRecord(Vat, ITVc::Number, ITVc::VatCodeZ1),
    InRecord(Vat, ITVc::Number, ITVc::VatCodeZ2),
    InRecord(Vat, INVc::Number, INVc::VatCode),
    InRecord(Vat, ACVc::Number, ACVc::VatCode),
    InRecord(Vat, CUVc::Number, CUVc::VatCode),
    InRecord(Vat, IVVc::Number, IVVc::VatCode),
    InRecord(Vat, IVVc::Number, IVVc::FreightVat),
    InRows(Vat, IVVc::Number, IVVc::Rows::VatCode),
    InRecord(Vat, ORVc::Number, ORVc::VatCode),
    InRows(Vat, ORVc::Number, ORVc::Rows::VatCode),
    InRecord(Vat, QuotationVc::Number, QuotationVc::VatCode),
    InRows(Vat, QuotationVc::Number, QuotationVc::Rows::VatCode),
    InRecord(Vat, ContractVc::Number, ContractVc::FreightVat),
    InRows(Vat, ContractVc::Number, ContractVc::Rows::VatCode),
    InRows(Vat, SalesDocVc::Number, SalesDocVc::Rows::VatCode),
    InRecord(Vat, VIVc::Number, VIVc::VatCode),
    InRows(Vat, VIVc::Number, VIVc::Rows::VatCode),
    InRows(Vat, PurchOrderVc::Number, PurchOrderVc::Rows::VatCode),
    InRows(Vat, ExpenseVc::Number, ExpenseVc::Rows::VatCode),
    InRows(Vat, TRVc::Number, TRVc::Rows::VatCode, 1),
    InRows(Vat, SMVc::Number, SMVc::Rows::VatCode),
    InRows(Vat, AUVc::Number, AUVc::Rows::VatCode),
    InBlock(Vat, SalesAccountsBlk::Number, SalesAccountsBlk::VatCode0),
    InBlock(Vat, SalesAccountsBlk::Number, SalesAccountsBlk::VatCode1),
    InBlock(Vat, SalesAccountsBlk::Number, SalesAccountsBlk::VatCode2),
    InBlock(Vat, PurchAccountsBlk::Number, PurchAccountsBlk::VatCodeT0),
    InBlock(Vat, PurchAccountsBlk::Number, PurchAccountsBlk::VatCodeT1),
    InBlock(Vat, PurchAccountsBlk::Number, PurchAccountsBlk::VatCodeT2),
    // Currencies.
    InRecord(Currency, CUVc::Number, CUVc::CurncyCode),
    InRecord(Currency, VEVc::Number, VEVc::CurncyCode),
    InRecord(Currency, PriceListVc::Number, PriceListVc::CurncyCode),
    InRecord(Currency, IVVc::Number, IVVc::CurncyCode),
    InRecord(Currency, ORVc::Number, ORVc::CurncyCode),
    InRecord(Currency, QuotationVc::Number, QuotationVc::CurncyCode),
    InRecord(Currency, ContractVc::Number, ContractVc::CurncyCode),
    InRecord(Currency, SalesDocVc::Number, SalesDocVc::CurncyCode),
    InRecord(Currency, IPVc::Number, IPVc::CurncyCode),
    InRecord(Currency, ARVc::Number, ARVc::CurncyCode),
    InRecord(Currency, VIVc::Number, VIVc::CurncyCode),
    InRecord(Currency, APVc::Number, APVc::CurncyCode),
    InRecord(Currency, OPVc::Number, OPVc::CurncyCode),
    InRecord(Currency, PurchOrderVc::Number, PurchOrderVc::CurncyCode),
    InRecord(Currency, PUVc::Number, PUVc::Currency),
    InRecord(Currency, StockMoveVc::Number, StockMoveVc::CurncyCode),
    InRecord(Currency, ExpenseVc::Number, ExpenseVc::CurncyCode),
    InRecord(Currency, PersPayVc::Number, PersPayVc::CurncyCode),
    InRows(Currency, InvHistVc::Number, InvHistVc::Rows::CurncyCode),
    // Languages.
    InRecord(Language, CUVc::Number, CUVc::LangCode),
    InRecord(Language, VEVc::Number, VEVc::LangCode),
    InRecord(Language, IVVc::Number, IVVc::LangCode),
    InRecord(Language, ORVc::Number, ORVc::LangCode),
    InRecord(Language, SHVc::Number, SHVc::LangCode),
    InRecord(Language, QuotationVc::Number, QuotationVc::LangCode),
    InRecord(Language, ContractVc::Number, ContractVc::LangCode),
    InRecord(Language, SalesDocVc::Number, SalesDocVc::LangCode),
    InRecord(Language, PurchOrderVc::Number, PurchOrderVc::LangCode),
    // Payment modes.
    InRecord(PayMode, CUVc::Number, CUVc::PayTerms),
    InRecord(PayMode, VEVc::Number, VEVc::PayTerms),
    InRecord(PayMode, IVVc::Number, IVVc::PayTerms),
    InRecord(PayMode, ORVc::Number, ORVc::PayTerms),
    InRecord(PayMode, QuotationVc::Number, QuotationVc::PayTerms),
    InRecord(PayMode, ContractVc::Number, ContractVc::PayTerms),
    InRecord(PayMode, SalesDocVc::Number, SalesDocVc::PayTerms),
    InRecord(PayMode, VIVc::Number, VIVc::PayTerms),
    InRecord(PayMode, PurchOrderVc::Number, PurchOrderVc::PayTerms),
    InRecord(PayMode, IPVc::Number, IPVc::PayMode),
    InRecord(PayMode, OPVc::Number, OPVc::PayMode),
    InRecord(PayMode, PersPayVc::Number, PersPayVc::PayMode),
    InBlock(PayMode, InterestBlk::Number, InterestBlk::PayMode),
    InBlock(PayMode, DownPayBlk::Number, DownPayBlk::TermsCode),
    // Asset groups and quotation classes.
    InRecord(AssetGroup, AssetVc::Number, AssetVc::Class, "ATClass"),
    InRecord(QuoteClass, QuotationVc::Number, QuotationVc::QuoteClass),
    // Fiscal years.
    InRecordWord(FiscalYear, TRVc::Number, TRVc::YearCode, "Number"),
};

// A code of a table: its text, or for a table of word codes the word and
// the text the user knows it by.
struct Code {
    uint16_t word = 0;
    uint8_t text[256] = {0};
    bool Empty(const CodeTable &t) const { return t.codeMax == 0 ? word == 0 : text[0] == 0; }
};

Code CodeOfRow(const CodeTable &t, const uint8_t *row) {
    Code c;
    if (t.codeMax == 0) c.word = GetU16(row, t.codeAt);
    GetPString(row, t.nameAt, t.nameMax, c.text);
    return c;
}

bool SameCode(const CodeTable &t, const Code &a, const Code &b) {
    return t.codeMax == 0 ? a.word == b.word : PStringEqual(a.text, b.text);
}

// True when the field of use u at base names code.
bool Names(const CodeUse &u, const uint8_t *base, const Code &code) {
    if (u.max == 0) return GetU16(base, u.at) == code.word;
    uint8_t held[256];
    GetPString(base, u.at, u.max, held);
    return PStringEqual(held, code.text);
}

// True when a row of the record's rows (of u's kind) names code.
bool RowsName(const CodeUse &u, const uint8_t *record, const Code &code) {
    MemBlock rows = RecMatrixHandle(u.number, record);
    const uint32_t size = RecRowSize(u.number);
    uint8_t *data = nullptr;
    int32_t count = 0;
    if (!rows || size == 0 || !MemArrayLock(rows, size, &data, &count) || !data) return false;
    bool named = false;
    for (int32_t i = 0; i < count && !named; i++) {
        const uint8_t *row = data + (size_t)i * size;
        named = (u.rowKind == 0 || GetU16(row, 0) == u.rowKind) && Names(u, row, code);
    }
    MemUnlock(rows);
    return named;
}

// True when a record of u's register names code; that record is then in
// rec.
bool RecordNames(const CodeUse &u, const Code &code, RuleRecord &rec) {
    if (!rec.record) return true;   // cannot look: keep the code
    uint32_t recid = 0, position = 0;
    if (u.index) {
        RecClear(u.number, rec.record);
        if (u.max == 0) PutU16(rec.record, u.at, code.word);
        else PutPString(rec.record, u.at, u.max, code.text);
        return RecFindByIndex(u.number, u.index, rec.record, 1, 1, &recid, &position);
    }
    for (int32_t p = 1; RecReadAt(u.number, p, rec.record, &recid); p++) {
        if (u.holder == CodeHolder::Record ? Names(u, rec.record, code) : RowsName(u, rec.record, code)) return true;
        RecFreeMatrix(u.number, rec.record);
    }
    return false;
}

// True when the settings block of u, as stored, names code.
bool BlockNames(const CodeUse &u, const Code &code) {
    const uint32_t size = SettingsBlockSize(u.number);
    if (size < u.at + (u.max == 0 ? 2u : uint32_t(u.max) + 1u)) return false;
    std::vector<uint8_t> block(size);
    return SettingsBlockRead(u.number, block.data(), size) && Names(u, block.data(), code);
}

// The first record or setting that names code of table t, its name into
// who; false when nothing does.
bool FindUse(const CodeTable &t, const Code &code, uint8_t *who) {
    for (const CodeUse &u : CodeUses) {
        if (u.table != t.block) continue;
        if (u.holder == CodeHolder::Block) {
            if (!BlockNames(u, code)) continue;
            CodeUseHolderName(u, nullptr, who);
            return true;
        }
        RuleRecord rec(u.number);
        if (!RecordNames(u, code, rec)) continue;
        CodeUseHolderName(u, rec.record, who);
        return true;
    }
    return false;
}

// The message's extra text: the code and what names it.
void InUseText(const Code &code, const uint8_t *who, uint8_t *extra) {
    uint8_t part[256];
    PStringCopy(extra, code.text);
    GetUiText(part, Texts::SettingsCodeUsedBy);
    PStringAppend(extra, part);
    PStringAppend(extra, who);
    PStringAppendChar(extra, '.');
}

// True when one of count rows holds code.
bool RowsHold(const CodeTable &t, const uint8_t *rows, uint32_t count, const Code &code) {
    for (uint32_t j = 0; j < count; j++)
        if (SameCode(t, CodeOfRow(t, rows + (size_t)j * t.rowSize), code)) return true;
    return false;
}

}  // namespace

const CodeTable *CodeTableOf(int block) {
    for (const CodeTable &t : CodeTables)
        if (t.block == block) return &t;
    return nullptr;
}

const CodeUse *CodeUsesBegin() { return std::begin(CodeUses); }
const CodeUse *CodeUsesEnd() { return std::end(CodeUses); }

void CodeUseHolderName(const CodeUse &u, const uint8_t *record, uint8_t *out) {
    out[0] = 0;
    int type = 0;
    if (u.holder == CodeHolder::Block) {
        type = WinTypeKeeping(KindCode(WindowKind::Settings), u.number);
    } else {
        type = WinTypeKeeping(KindCode(WindowKind::Record), u.number);
        if (type == 0) type = WinTypeKeeping(KindCode(WindowKind::List), u.number);
    }
    if (type != 0) GetUiText(out, WinTypeWord(type, 10));
    if (!record) return;
    uint8_t key[256];
    RecordKeyText(u.number, record, key);
    if (key[0] == 0) return;
    if (out[0] != 0) PStringAppendChar(out, ' ');
    PStringAppend(out, key);
}

int CheckCodesInUseKept(int block, const uint8_t *rows, uint32_t size) {
    const CodeTable *t = CodeTableOf(block);
    if (!t) return 0;
    const uint32_t count = rows ? size / t->rowSize : 0;
    MemBlock stored = 0;
    if (!SettingsBlockFetch(&stored, block) || !stored) {
        MemFree(&stored);
        return 0;   // nothing stored, nothing to keep
    }
    uint8_t *data = nullptr;
    int32_t kept = 0;
    int result = 0;
    if (MemArrayLock(stored, t->rowSize, &data, &kept) && data) {
        for (int32_t i = 0; i < kept && result == 0; i++) {
            const Code code = CodeOfRow(*t, data + (size_t)i * t->rowSize);
            if (code.Empty(*t) || RowsHold(*t, rows, count, code)) continue;
            uint8_t who[256], extra[256];
            if (!FindUse(*t, code, who)) continue;
            InUseText(code, who, extra);
            result = FieldError(Texts::SettingsCodeInUse, extra, RecFocusNone);
        }
        MemUnlock(stored);
    }
    MemFree(&stored);
    return result;
}
