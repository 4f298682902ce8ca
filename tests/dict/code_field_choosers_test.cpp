// code_field_choosers_test.cpp - every field and matrix cell a user types
// another register's key into opens that register's list (or the choice
// list of the settings rows that keep the codes) on Ctrl+J, Edit > Choose
// and a double click.
//
// Whether a field holds such a key is read from its name, and the names
// are kept here, once: CodeFieldNames says which list each kind of code
// is chosen from, or why a code is chosen from none. A code-typed field
// whose name is in no row and that is not its own record's key fails the
// check, so a new code field is classified when it is added. The window
// sources are read as written (dict/*.dict), since the built file keeps
// offsets but not the names the classification needs.
#include <fnmatch.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "core/definitions.h"
#include "core/field_types.h"
#include "core/window_entries.h"
#include "dict_offsets.h"
#include "rules/settings_code_uses.h"
#include "tools/dict.h"

namespace {

// What a kind of code is chosen from: a window type by its name in the
// source, or none, with the reason why none is.
struct CodeFieldName {
    const char *pattern;   // "Field" or "Register.Field"; * and ? as in a shell
    const char *chooser;   // null: a code chosen from nothing
    const char *why;       // for the free codes
};

// The first row whose pattern matches wins: a register's own exception
// stands before the name in general.
constexpr CodeFieldName CodeFieldNames[] = {
    // Names that mean something else in one register.
    {"CustGroupVc.DiscCode", "DiscountMatrixList", nullptr},   // the group's discount matrix
    {"INVc.Group", "ItemGroupList", nullptr},
    {"AssetVc.Class", "AssetGroupChoice", nullptr},            // a row of the asset groups
    {"AssetVc.Department", "DepartmentList", nullptr},
    {"AssetVc.Location", "LocationList", nullptr},
    {"VEVc.Country", "CountryList", nullptr},
    {"CUVc.Code594", "CountryList", nullptr},
    {"DocVc.Alias", "FormList", nullptr},                      // the form printed instead
    {"ACVc.FollowUp", "AccountList", nullptr},
    {"AssetVc.VendCode", "VendorList", nullptr},                // the asset's vendor
    {"DiscMatrixVc.DefStep", "QtyStepList", nullptr},
    {"PEVc.AccessCode", "AccessGroupChoice", nullptr},
    {"TimeSheetVc.ItemCode", "RowItemChoice", nullptr},        // the items of the row's person
    {"DocVc.Code", nullptr, "a new form's own code, typed when it is named"},
    {"PEVc.Code", nullptr, "the user code typed at login"},
    {"IntRateVc.RateCode", nullptr, "the rate's own code, kept with its dates"},

    // Accounts.
    {"Account", "AccountList", nullptr},
    {"Account?", "AccountList", nullptr},
    {"*Acc", "AccountList", nullptr},
    {"*Acc?", "AccountList", nullptr},
    {"AccOther", "AccountList", nullptr},
    {"AccZone?", "AccountList", nullptr},
    // Objects and object types.
    {"Objects", "ObjectList", nullptr},
    {"FreightObj*", "ObjectList", nullptr},
    {"ObjCode", "ObjectList", nullptr},
    {"ObjType", "ObjectTypeList", nullptr},
    {"KeyCode", "DistributionKeyList", nullptr},
    // Codes kept as rows of settings blocks.
    {"VatCode", "VatCodeChoice", nullptr},
    {"VatCode?", "VatCodeChoice", nullptr},
    {"VatCodeT?", "VatCodeChoice", nullptr},
    {"VatCodeZ?", "VatCodeChoice", nullptr},
    {"FreightVat", "VatCodeChoice", nullptr},
    {"CurncyCode", "CurrencyChoice", nullptr},
    {"Currency", "CurrencyChoice", nullptr},
    {"LangCode", "LanguageChoice", nullptr},
    {"PrinterName", "PrinterChoice", nullptr},
    {"PayMode", "PaymentModeChoice", nullptr},
    // Customers, vendors, items, persons and projects.
    {"CustCode", "CustomerList", nullptr},
    {"StatCustCode", "CustomerList", nullptr},
    {"PayerCode", "CustomerList", nullptr},
    {"InvoiceTo", "CustomerList", nullptr},
    {"VendCode", "VendorList", nullptr},
    {"PayeeCode", "VendorList", nullptr},
    {"ItemCode", "ItemList", nullptr},
    {"Item", "ItemList", nullptr},
    {"FeeItem", "ItemList", nullptr},
    {"FreightItem", "ItemList", nullptr},
    {"DownPayItem", "ItemList", nullptr},
    {"StructCode", "StructureList", nullptr},
    {"Person", "PersonList", nullptr},
    {"PerCode", "PersonList", nullptr},
    {"SalesMan", "PersonList", nullptr},
    {"Leader", "PersonList", nullptr},
    {"Approver", "PersonList", nullptr},
    {"Project", "ProjectList", nullptr},
    // Terms, prices and the small registers.
    {"PayTerms", "PayTermsList", nullptr},
    {"TermsCode", "PayTermsList", nullptr},
    {"DelTerms", "DelTermsList", nullptr},
    {"DelMode", "DelModeList", nullptr},
    {"PriceList", "PriceListList", nullptr},
    {"PriceListVc.Formula", "PriceFormulaList", nullptr},
    {"Step", "QtyStepList", nullptr},
    {"ItemGroup", "ItemGroupList", nullptr},
    {"DiscCode", "CustomerGroupList", nullptr},   // the document's customer group
    {"CustCat", "CustomerGroupList", nullptr},
    {"CustGroup", "CustomerGroupList", nullptr},
    {"DiscCode2", "DiscountMatrixList", nullptr},
    {"Location", "LocationList", nullptr},
    {"*Location", "LocationList", nullptr},
    {"Unit", "UnitList", nullptr},
    {"Country", "CountryList", nullptr},
    {"Bank", "BankList", nullptr},
    {"RateCode", "InterestRateList", nullptr},
    {"Bracket", "BracketTableList", nullptr},
    {"EntryType", "EntryTypeList", nullptr},
    {"EmpType", "EmployeeTypeList", nullptr},
    {"DepCode", "DepartmentList", nullptr},
    {"PctTable", "PctTableList", nullptr},
    {"Model?", "DeprModelList", nullptr},
    {"AccessGroup", "AccessGroupChoice", nullptr},

    // Codes that name no record.
    {"FilterCode", nullptr, "compared with a selection's filter text"},
    {"CostCode", nullptr, "a cost code handed to the item information as typed"},
    {"Last*Code", nullptr, "the last code given, counted on from"},
    {"EmployeeVc.Code2", nullptr, "a code the person-entry run selects rows by"},
    {"TimeItemVc.Category", nullptr, "a person category, kept by no register"},
    {"VEVc.VEGroup", nullptr, "a free class of vendors, kept by no register"},
    {"TRVc.Code", nullptr, "a free code of the voucher"},
};

constexpr uint16_t FtCodeType = 17, FtKeyCodeType = 27;
constexpr int KindList = 1, KindChoiceList = 2;

// The row of CodeFieldNames for a field of register `reg`; null when none matches.
const CodeFieldName *CodeFieldNameOf(const std::string &reg, const std::string &field)
{
    std::string full = reg + "." + field;
    for (const CodeFieldName &c : CodeFieldNames) {
        const std::string &subject = std::string(c.pattern).find('.') != std::string::npos ? full : field;
        if (fnmatch(c.pattern, subject.c_str(), 0) == 0) return &c;
    }
    return nullptr;
}

// The dictionary source as written, and what its windows stand on.
struct Source {
    DictSource src;
    std::map<std::string, const DictRecord *> records;   // registers and blocks by name
    std::map<int, const DictWinType *> winTypes;
    std::map<std::string, int> winTypeNumbers;
};

bool ReadSource(Source *s, std::string *error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    std::vector<fs::path> files;
    for (const fs::directory_entry &e : fs::directory_iterator(ORVEL_DICT_SOURCE_DIR, ec))
        if (e.path().extension() == ".dict") files.push_back(e.path());
    for (const fs::path &p : files) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        DictParse(&s->src, p.filename().string(), text.str());
    }
    if (ec || !s->src.errors.empty()) {
        *error = ec ? ec.message() : s->src.errors.front();
        return false;
    }
    for (const DictRecord &r : s->src.records) s->records[r.name] = &r;
    for (const DictWinType &t : s->src.winTypes) {
        s->winTypes[t.number] = &t;
        s->winTypeNumbers[t.name] = t.number;
    }
    return true;
}

const DictPut *PutAt(const DictEntry &e, uint32_t at)
{
    for (const DictPut &p : e.puts)
        if (p.at == at) return &p;
    return nullptr;
}

int64_t NumberAt(const DictEntry &e, uint32_t at)
{
    const DictPut *p = PutAt(e, at);
    return p && p->value.name.empty() ? p->value.number : 0;
}

// The register or block a window type stands on; empty for none.
std::string RecordNameOf(const DictWinType &t)
{
    for (int word : {8, 9})
        if (t.words[word] && !t.words[word]->name.empty()) return t.words[word]->name;
    return "";
}

// The name of the field a window entry shows: "Register.Field" as
// written, or a bare offset looked up among the record's fields (a cell
// among its rows' fields). Empty when nothing names it.
std::pair<std::string, std::string> FieldNameOf(const Source &s, const std::string &record, const DictEntry &e,
                                                uint32_t offsetAt, bool cell)
{
    const DictPut *p = PutAt(e, offsetAt);
    if (!p) return {};
    const std::string &name = p->value.name;
    if (!name.empty()) {
        size_t dot = name.rfind('.');
        if (dot == std::string::npos) return {};
        return {name.substr(0, name.find('.')), name.substr(dot + 1)};
    }
    auto r = s.records.find(record);
    if (r == s.records.end()) return {};
    const std::vector<DictField> *fields = &r->second->fields;
    if (cell && r->second->rows) fields = &r->second->rows->fields;
    for (const DictField &f : *fields)
        if (f.offset == uint32_t(p->value.number)) return {record, f.name};
    return {};
}

// True when `field` is register `reg`'s own code, which its record
// window gives rather than chooses: its field named Code, or the first
// part of its first index. Every code of a settings row's own block is
// its own.
bool IsOwnKey(const Source &s, const std::string &reg, const std::string &field)
{
    auto r = s.records.find(reg);
    if (r == s.records.end()) return false;
    if (r->second->block || field == "Code") return true;
    const std::vector<DictIndex> &indexes = r->second->indexes;
    return !indexes.empty() && !indexes.front().parts.empty() && indexes.front().parts.front().field == field;
}

struct Finding {
    std::string where, what;
};

// A looked-up cell: a column of type lookup without a chooser over the
// code another column of the same rows types. The window shows there a
// text it reads through that code (a vendor's name by its code); the cell
// is never typed, so it chooses from nothing.
bool LookedUpCell(const DictWindow &w, const DictEntry &e)
{
    const DictPut *at = PutAt(e, ColumnEntry::Offset);
    if (e.slot != WinPartMatrixColumns || NumberAt(e, ColumnEntry::Type) != FtSpare28 ||
        PutAt(e, ColumnEntry::Chooser) || !at)
        return false;
    for (const DictEntry &o : w.entries) {
        const DictPut *other = PutAt(o, ColumnEntry::Offset);
        if (&o != &e && o.slot == WinPartMatrixColumns && NumberAt(o, ColumnEntry::Type) != FtSpare28 && other &&
            other->value.name == at->value.name && other->value.number == at->value.number)
            return true;
    }
    return false;
}

// Every editable field and cell of the record and settings windows
// whose name says it holds a code, checked against CodeFieldNames.
std::vector<Finding> CheckChoosers(const Source &s, int *checked)
{
    std::vector<Finding> findings;
    *checked = 0;
    for (const DictWindow &w : s.src.windows) {
        auto t = s.winTypes.find(w.number);
        if (t == s.winTypes.end()) continue;
        int kind = t->second->words[0] ? int(t->second->words[0]->number) : 0;
        if (kind == KindList || kind == KindChoiceList) continue;   // a list's find field finds in the list
        std::string record = RecordNameOf(*t->second);
        for (const DictEntry &e : w.entries) {
            bool cell = e.slot == WinPartMatrixColumns;
            if (e.slot != WinPartDataFields && !cell) continue;
            if (!cell && NumberAt(e, FieldEntry::Access) == 0) continue;   // read-only
            if (LookedUpCell(w, e)) continue;
            auto [reg, field] = FieldNameOf(s, record, e, cell ? ColumnEntry::Offset : FieldEntry::Offset, cell);
            if (field.empty()) continue;
            const DictPut *chooser = PutAt(e, cell ? ColumnEntry::Chooser : FieldEntry::Chooser);
            std::string where = s.src.files[e.pos.file] + ":" + std::to_string(e.pos.line) + ": window " +
                                std::to_string(w.number) + " " + reg + "." + field;
            const CodeFieldName *c = CodeFieldNameOf(reg, field);
            uint16_t type = uint16_t(NumberAt(e, cell ? ColumnEntry::Type : FieldEntry::Type));
            bool codeTyped = type == FtCodeType || type == FtKeyCodeType;
            if (reg == record && IsOwnKey(s, reg, field) && !(c && s.records.at(reg)->block)) continue;
            if (!c) {
                if (codeTyped) findings.push_back({where, "a code field in no row of CodeFieldNames"});
                continue;
            }
            if (!c->chooser) continue;
            (*checked)++;
            std::string chosen = chooser ? chooser->value.name : "";
            if (chooser && chosen.empty()) {
                auto n = s.winTypes.find(int(chooser->value.number));
                if (n != s.winTypes.end()) chosen = n->second->name;
            }
            if (chosen != c->chooser)
                findings.push_back({where, "chooses from " + (chosen.empty() ? std::string("nothing") : chosen) +
                                               ", not chooser " + c->chooser});
        }
    }
    return findings;
}

TEST(CodeFieldChoosers, EveryCodeFieldAndCellChoosesFromItsList)
{
    Source s;
    std::string error;
    ASSERT_TRUE(ReadSource(&s, &error)) << error;
    int checked = 0;
    for (const Finding &f : CheckChoosers(s, &checked)) ADD_FAILURE() << f.where << ": " << f.what;
    // The documents, registers and settings windows hold hundreds of codes.
    EXPECT_GT(checked, 300);
}

// Every list the table names is a window type of the source.
TEST(CodeFieldChoosers, TheTableNamesWindowsThatExist)
{
    Source s;
    std::string error;
    ASSERT_TRUE(ReadSource(&s, &error)) << error;
    for (const CodeFieldName &c : CodeFieldNames)
        if (c.chooser) EXPECT_TRUE(s.winTypeNumbers.count(c.chooser)) << c.pattern << ": no window type " << c.chooser;
        else EXPECT_NE(c.why, nullptr) << c.pattern;
}

// The check itself finds a code field without a chooser, one with the
// wrong list, and an unclassified code, and passes a field's own key.
TEST(CodeFieldChoosers, TheCheckFindsWhatIsMissing)
{
    Source s;
    std::string error;
    ASSERT_TRUE(ReadSource(&s, &error)) << error;
    DictParse(&s.src, "probe.dict", R"(
wintype 599 Probe { kind record register VEVc recsize 766 rect 80 20 440 560 title TitleVendor }
window 599 {
  field rect 20 110 37 260 type keycode format 20 offset VEVc.Code access new page 0 label "Own"
  field rect 40 110 57 260 type keycode format 5 offset VEVc.CurncyCode access always page 0 label "Missing"
  field rect 60 110 77 260 type keycode format 5 offset VEVc.LangCode access always chooser CountryList page 0 label "Wrong"
  field rect 80 110 97 260 type keycode format 5 offset VEVc.Objects access always chooser ObjectList page 0 label "Right"
  field rect 100 110 117 260 type keycode format 60 offset VEVc.Contact access always page 0 label "Unknown"
}
)");
    ASSERT_TRUE(s.src.errors.empty()) << s.src.errors.front();
    for (const DictWinType &t : s.src.winTypes) s.winTypes[t.number] = &t;
    int checked = 0;
    std::vector<std::string> probe;
    for (const Finding &f : CheckChoosers(s, &checked))
        if (f.where.find("probe.dict") == 0) probe.push_back(f.where + ": " + f.what);
    ASSERT_EQ(probe.size(), 3u) << ::testing::PrintToString(probe);
    EXPECT_NE(probe[0].find("VEVc.CurncyCode: chooses from nothing"), std::string::npos) << probe[0];
    EXPECT_NE(probe[1].find("VEVc.LangCode: chooses from CountryList"), std::string::npos) << probe[1];
    EXPECT_NE(probe[2].find("VEVc.Contact: a code field in no row"), std::string::npos) << probe[2];
}

// ---- The settings tables' codes and the fields that name them ----

// The fields whose names say they hold the code of a settings table
// ("Field", "Register.Field", "Register.Rows.Field"; * and ? as in a
// shell). Payment-terms fields name terms or a payment mode.
struct TableCodeName {
    const char *pattern;
    int table;
};
constexpr TableCodeName TableCodeNames[] = {
    {"VatCode", VatCodeBlk::Number},     {"VatCode?", VatCodeBlk::Number}, {"VatCodeT?", VatCodeBlk::Number},
    {"VatCodeZ?", VatCodeBlk::Number},   {"FreightVat", VatCodeBlk::Number}, {"CurncyCode", CurrencyBlk::Number},
    {"Currency", CurrencyBlk::Number},   {"LangCode", LanguageBlk::Number}, {"PayMode", PaymentModeBlk::Number},
    {"PayTerms", PaymentModeBlk::Number}, {"TermsCode", PaymentModeBlk::Number},
    {"AssetVc.Class", AssetGroupBlk::Number}, {"QuoteClass", QuoteClassBlk::Number},
    {"*YearCode", FiscalYearBlk::Number},
};

// Fields named so that hold nothing in use, and why.
struct Companion {
    const char *pattern;
    const char *why;
};
constexpr Companion Companions[] = {
    {"*Blk.Rows.Code", "a table's own code"},
    {"FiscalYearBlk.Rows.YearCode", "a fiscal year's own name"},
    {"ExchRateVc.CurncyCode", "the rates kept per currency"},
    {"*.Rows.LangCode", "texts and forms kept per language"},
    {"VatAccountsBlk.Rows.VatCode", "the zone accounts kept per VAT code"},
    {"ATVc.YearCode", "an account posting copies its voucher's year"},
    {"TRVc.Rows.LinkYearCode", "a link to a voucher of a year that itself names it"},
};

template <typename Row>
const Row *FirstMatch(std::span<const Row> rows, const std::string &record, const std::string &field, bool row)
{
    const std::string full = record + (row ? ".Rows." : ".") + field;
    for (const Row &r : rows) {
        const std::string &subject = std::string(r.pattern).find('.') != std::string::npos ? full : field;
        if (fnmatch(r.pattern, subject.c_str(), 0) == 0) return &r;
    }
    return nullptr;
}

// Every field of a register or settings block whose name says it holds a
// settings table's code is in the one table of uses
// (rules/settings_code_uses.cpp) or a companion that holds nothing, so a
// field added to the dictionary cannot leave a code in use unguarded.
TEST(CodeFieldChoosers, EveryFieldNamingASettingsCodeIsAUse)
{
    Source s;
    std::string error;
    ASSERT_TRUE(ReadSource(&s, &error)) << error;
    const std::span<const CodeUse> uses(CodeUsesBegin(), CodeUsesEnd());
    int found = 0;
    auto check = [&](const DictRecord &r, const DictField &f, bool row) {
        const TableCodeName *t = FirstMatch(std::span<const TableCodeName>(TableCodeNames), r.name, f.name, row);
        if (!t || FirstMatch(std::span<const Companion>(Companions), r.name, f.name, row)) return;
        const CodeHolder holder = r.block ? CodeHolder::Block : row ? CodeHolder::RecordRow : CodeHolder::Record;
        bool listed = false;
        for (const CodeUse &u : uses)
            listed = listed || (u.table == t->table && u.holder == holder && u.number == r.number && u.at == f.offset);
        found++;
        EXPECT_TRUE(listed) << s.src.files[f.pos.file] << ":" << f.pos.line << ": " << r.name << (row ? ".Rows." : ".")
                            << f.name << " names the codes of block " << t->table << " and is no use listed";
    };
    for (const DictRecord &r : s.src.records) {
        for (const DictField &f : r.fields) check(r, f, false);
        if (r.rows)
            for (const DictField &f : r.rows->fields) check(r, f, true);
    }
    // Every use listed is a field found so, and the registers hold many.
    EXPECT_EQ(found, int(uses.size()));
    for (const CodeUse &u : uses) EXPECT_NE(CodeTableOf(u.table), nullptr) << u.number << " at " << u.at;
}

}  // namespace
