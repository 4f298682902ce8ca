// A code typed into a record that names nothing the company keeps is
// refused when the record is stored as a window stores it (the checked
// insert and update), at that code's field, in the order of the window's
// fields; nothing is written. Known codes pass, a stored record keeps the
// codes it was not changed in, and a text import still loads what it reads.
#include <vector>

#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "rules/checks.h"
#include "rules/hooks.h"
#include "tests/rules/rules_fixture.h"

namespace {

// A code field of a record: its offset and its size in characters.
struct Field {
    uint32_t at;
    int max;
};

class CodeChecks : public RulesFixture {
protected:
    using RulesFixture::Text;
    bool InstallRules() override {
        RulesInstall();
        return true;
    }
    // Inserts record as a window's store does: its result (RecDone or the
    // refusal), the text shown in *text and the cursor's field in *field.
    static int Insert(int reg, uint8_t *record, std::string *text = nullptr, uint16_t *field = nullptr) {
        shown.clear();
        uint32_t recid = 0;
        int result = RecDone;
        RecInsertChecked(reg, record, &recid, &result);
        if (text) *text = shown.empty() ? "" : shown.back();
        if (field) *field = FieldErrorPos.field;
        return result;
    }
    static int Update(int reg, uint8_t *record, uint32_t recid, uint16_t *field = nullptr) {
        shown.clear();
        int result = RecDone;
        RecUpdateChecked(reg, record, recid, &result);
        if (field) *field = FieldErrorPos.field;
        return result;
    }
    static std::string Text(int n) {
        char text[256];
        GetUiTextC(text, n);
        return text;
    }
    // The refusal of an insert of record: the text shown and the field the
    // cursor goes to; ("stored", 0) when it was not refused.
    static std::pair<std::string, uint32_t> Refusal(int reg, uint8_t *record) {
        std::string text;
        uint16_t field = 0;
        if (Insert(reg, record, &text, &field) != RecRefused) return {"stored", 0};
        return {text, field};
    }
    static std::pair<std::string, uint32_t> Want(int text, uint32_t field) { return {Text(text), field}; }
    // A code of max characters no register keeps.
    static const char *Unknown(int max) { return max <= 2 ? "QZ" : "QZ9"; }

    // Fills every field with a code that names nothing, then stores the
    // record again and again: each store is refused at the next field, in
    // the order given, and the field is emptied before the next try.
    // Nothing is written meanwhile.
    void RefusedInOrder(int reg, const std::vector<Field> &fields, void (*head)(uint8_t *) = nullptr) {
        RuleRecord r(reg);
        if (head) head(r.record);
        for (const Field &f : fields) PutText(r.record, f.at, f.max, Unknown(f.max));
        for (const Field &f : fields) {
            std::string text;
            uint16_t field = 0;
            EXPECT_EQ(Insert(reg, r.record, &text, &field), RecRefused) << reg << " at " << f.at;
            EXPECT_EQ(field, f.at) << reg;
            EXPECT_FALSE(text.empty()) << reg << " at " << f.at;
            PutText(r.record, f.at, f.max, "");
        }
        EXPECT_EQ(RegRecordCount(reg), 0u) << reg;
    }

    // One record or row of each kind of thing a code may name, each with
    // the code "K1" (two characters where the code has two).
    void KeepOneOfEach() {
        StoreCustomer("K1");
        StoreRecord(VEVc::Number, [](uint8_t *r) { PutText(r, VEVc::Code, 20, "K1"); });
        StoreItem("K1");
        StoreRecord(PEVc::Number, [](uint8_t *r) { PutText(r, PEVc::Code, 5, "K1"); });
        StoreRecord(ProjectVc::Number, [](uint8_t *r) { PutText(r, ProjectVc::Code, 20, "K1"); });
        StoreLocation("K1");
        StoreRecord(CountryVc::Number, [](uint8_t *r) { PutText(r, CountryVc::Code, 5, "K1"); });
        StoreRecord(DTVc::Number, [](uint8_t *r) { PutText(r, DTVc::Code, 5, "K1"); });
        StoreRecord(DelModeVc::Number, [](uint8_t *r) { PutText(r, DelModeVc::Code, 5, "K1"); });
        StoreRecord(PriceListVc::Number, [](uint8_t *r) { PutText(r, PriceListVc::Code, 5, "K1"); });
        StoreRecord(CustGroupVc::Number, [](uint8_t *r) { PutText(r, CustGroupVc::Code, 5, "K1"); });
        StoreRecord(DiscMatrixVc::Number, [](uint8_t *r) { PutText(r, DiscMatrixVc::Code, 5, "K1"); });
        StoreObject("K1", "");
        StoreObject("K2", "");
        StoreAccount("K100", "Kept", 1);
        StoreTerms("K1", 1, 30);
        AddVatCode("K1", 25, -1, "", "");
        AddRow(CurrencyBlk::Number, CurrencyBlk::Rows::Size,
               [](uint8_t *r) { PutText(r, CurrencyBlk::Rows::Code, 5, "K1"); });
        AddRow(LanguageBlk::Number, LanguageBlk::Rows::Size,
               [](uint8_t *r) { PutText(r, LanguageBlk::Rows::Code, 5, "K1"); });
    }
};

// Each look-up finds the code its register or block keeps, and no other:
// a look-up in the wrong register, or by the wrong field, would refuse
// every code a user could choose.
TEST_F(CodeChecks, EachLookUpFindsWhatItsRegisterKeeps) {
    struct LookUp {
        bool (*known)(const uint8_t *);
        const char *kept;
        const char *name;
    };
    const LookUp lookUps[] = {
        {KnownCustomer, "K1", "customer"},      {KnownVendor, "K1", "vendor"},
        {KnownItem, "K1", "item"},              {KnownPerson, "K1", "person"},
        {KnownProject, "K1", "project"},        {KnownLocation, "K1", "location"},
        {KnownCountry, "K1", "country"},        {KnownDelTerms, "K1", "delivery terms"},
        {KnownDelMode, "K1", "delivery mode"},  {KnownPriceList, "K1", "price list"},
        {KnownCustomerGroup, "K1", "group"},    {KnownDiscountMatrix, "K1", "discount matrix"},
        {KnownObjects, "K1", "objects"},        {KnownAccount, "K100", "account"},
        {KnownPaymentTerms, "K1", "terms"},     {KnownVatCode, "K1", "VAT code"},
        {KnownCurrency, "K1", "currency"},      {KnownLanguage, "K1", "language"},
    };
    uint8_t code[32];
    for (const LookUp &l : lookUps) {
        PStringFromC(code, l.kept);
        EXPECT_FALSE(l.known(code)) << l.name << " before it is kept";
    }
    KeepOneOfEach();
    for (const LookUp &l : lookUps) {
        PStringFromC(code, l.kept);
        EXPECT_TRUE(l.known(code)) << l.name;
        PStringFromC(code, "K7");
        EXPECT_FALSE(l.known(code)) << l.name << " K7";
    }
    // An objects field is a list: every object of it must be kept.
    PStringFromC(code, "K1,K2");
    EXPECT_TRUE(KnownObjects(code));
    PStringFromC(code, "K1,K7");
    EXPECT_FALSE(KnownObjects(code));
    // A document's price list may be the price class its group gives.
    PStringFromC(code, "3");
    EXPECT_TRUE(KnownDocumentPriceList(code));
    EXPECT_FALSE(KnownPriceList(code));
    PStringFromC(code, "6");
    EXPECT_FALSE(KnownDocumentPriceList(code));
}

// A purchase item names an item and a vendor: either missing or unknown is
// refused at its field and nothing is stored; with both kept it is stored.
TEST_F(CodeChecks, PurchaseItemNeedsItsItemAndVendor) {
    RuleRecord pi(PurchItemVc::Number);
    EXPECT_EQ(Refusal(PurchItemVc::Number, pi.record), Want(Texts::ItemCodeMissing, PurchItemVc::ItemCode));
    PutText(pi.record, PurchItemVc::ItemCode, 20, "K1");
    PutText(pi.record, PurchItemVc::VendCode, 20, "K1");
    EXPECT_EQ(Refusal(PurchItemVc::Number, pi.record), Want(Texts::ItemUnknown, PurchItemVc::ItemCode));
    StoreItem("K1");
    EXPECT_EQ(Refusal(PurchItemVc::Number, pi.record), Want(Texts::VendorUnknown, PurchItemVc::VendCode));
    PutText(pi.record, PurchItemVc::VendCode, 20, "");
    EXPECT_EQ(Refusal(PurchItemVc::Number, pi.record), Want(Texts::VendorCodeMissing, PurchItemVc::VendCode));
    EXPECT_EQ(RegRecordCount(PurchItemVc::Number), 0u);

    StoreRecord(VEVc::Number, [](uint8_t *r) { PutText(r, VEVc::Code, 20, "K1"); });
    PutText(pi.record, PurchItemVc::VendCode, 20, "K1");
    EXPECT_EQ(Insert(PurchItemVc::Number, pi.record), RecDone);
    EXPECT_EQ(RegRecordCount(PurchItemVc::Number), 1u);
}

// The customer's discount matrix and payment terms, and the vendor's
// object, are refused while they name nothing and stored once kept. The
// matrix is found by its register's code index.
TEST_F(CodeChecks, CustomerMatrixAndTermsAndVendorObject) {
    RuleRecord customer(CUVc::Number);
    PutText(customer.record, CUVc::Code, 20, "C1");
    PutText(customer.record, CUVc::PayTerms, 2, "K1");
    PutText(customer.record, CUVc::DiscCode2, 5, "K1");
    EXPECT_EQ(Refusal(CUVc::Number, customer.record), Want(Texts::VendorTermsUnknown, CUVc::PayTerms));
    StoreTerms("K1", 1, 30);
    EXPECT_EQ(Refusal(CUVc::Number, customer.record), Want(Texts::DiscMatrixUnknown, CUVc::DiscCode2));
    EXPECT_EQ(RegRecordCount(CUVc::Number), 0u);
    StoreRecord(DiscMatrixVc::Number, [](uint8_t *r) { PutText(r, DiscMatrixVc::Code, 5, "K1"); });
    EXPECT_EQ(Insert(CUVc::Number, customer.record), RecDone);

    RuleRecord vendor(VEVc::Number);
    PutText(vendor.record, VEVc::Code, 20, "V1");
    PutText(vendor.record, VEVc::Objects, 5, "K1");
    EXPECT_EQ(Refusal(VEVc::Number, vendor.record), Want(Texts::ObjectUnknown, VEVc::Objects));
    StoreObject("K1", "");
    EXPECT_EQ(Insert(VEVc::Number, vendor.record), RecDone);
}

// Every document refuses its codes one after another in the order its
// window shows them, each at its own field, before anything is stored.
TEST_F(CodeChecks, DocumentsRefuseTheirCodesInWindowOrder) {
    RefusedInOrder(IVVc::Number, {{IVVc::CustCode, 20},   {IVVc::PayTerms, 2},    {IVVc::PriceList, 5},
                                  {IVVc::CurncyCode, 5},  {IVVc::VatCode, 2},     {IVVc::SalesMan, 5},
                                  {IVVc::DelTerms, 5},    {IVVc::DelMode, 5},     {IVVc::StatCustCode, 20},
                                  {IVVc::CustCat, 5},     {IVVc::LangCode, 5},    {IVVc::DiscCode2, 5},
                                  {IVVc::Objects, 30},    {IVVc::ARAcc, 10},      {IVVc::Project, 20},
                                  {IVVc::Location, 10},   {IVVc::FreightItem, 20}, {IVVc::FreightVat, 2},
                                  {IVVc::FreightObj, 30}, {IVVc::FreightAcc, 10}});
    RefusedInOrder(ORVc::Number, {{ORVc::CustCode, 20}, {ORVc::PayTerms, 2},   {ORVc::PriceList, 5},
                                  {ORVc::CurncyCode, 5}, {ORVc::VatCode, 2},   {ORVc::SalesMan, 5},
                                  {ORVc::LangCode, 5},  {ORVc::Location, 10}, {ORVc::DelTerms, 5},
                                  {ORVc::DelMode, 5},   {ORVc::InvoiceTo, 20}, {ORVc::CustCat, 5},
                                  {ORVc::DiscCode2, 5}, {ORVc::Project, 20}});
    RefusedInOrder(QuotationVc::Number,
                   {{QuotationVc::CustCode, 20}, {QuotationVc::PayTerms, 2},   {QuotationVc::PriceList, 5},
                    {QuotationVc::CurncyCode, 5}, {QuotationVc::VatCode, 2},  {QuotationVc::SalesMan, 5},
                    {QuotationVc::LangCode, 5},  {QuotationVc::DelTerms, 5},  {QuotationVc::DelMode, 5},
                    {QuotationVc::PayerCode, 20}, {QuotationVc::DiscCode, 5}, {QuotationVc::DiscCode2, 5},
                    {QuotationVc::Objects, 5},   {QuotationVc::Project, 20}});
    RefusedInOrder(ContractVc::Number,
                   {{ContractVc::CustCode, 20},   {ContractVc::PayTerms, 2},      {ContractVc::PriceList, 5},
                    {ContractVc::CurncyCode, 5},  {ContractVc::LangCode, 5},      {ContractVc::SalesMan, 5},
                    {ContractVc::DiscCode, 5},    {ContractVc::DiscCode2, 5},     {ContractVc::Objects, 30},
                    {ContractVc::Project, 20},    {ContractVc::Location, 10},     {ContractVc::DelTerms, 5},
                    {ContractVc::FreightItem, 20}, {ContractVc::FreightVat, 2},   {ContractVc::FreightObjects, 30},
                    {ContractVc::FreightAcc, 10}});
    RefusedInOrder(SHVc::Number, {{SHVc::CustCode, 20}, {SHVc::Location, 10}, {SHVc::DelMode, 5},
                                  {SHVc::Project, 20},  {SHVc::LangCode, 5}});
    RefusedInOrder(PurchOrderVc::Number,
                   {{PurchOrderVc::VendCode, 20}, {PurchOrderVc::PayTerms, 2}, {PurchOrderVc::CurncyCode, 5},
                    {PurchOrderVc::LangCode, 5},  {PurchOrderVc::Location, 10}, {PurchOrderVc::DelMode, 5},
                    {PurchOrderVc::DelTerms, 5}});
    RefusedInOrder(VIVc::Number, {{VIVc::VendCode, 20}, {VIVc::PayTerms, 2}, {VIVc::CurncyCode, 5},
                                  {VIVc::VatCode, 2},   {VIVc::CredAcc, 10}, {VIVc::PayeeCode, 20},
                                  {VIVc::Objects, 30},  {VIVc::Approver, 5}});
    RefusedInOrder(SalesDocVc::Number,
                   {{SalesDocVc::CustCode, 20}, {SalesDocVc::PayTerms, 2}, {SalesDocVc::PriceList, 5},
                    {SalesDocVc::CurncyCode, 5}, {SalesDocVc::SalesMan, 5}, {SalesDocVc::LangCode, 5},
                    {SalesDocVc::Objects, 30},  {SalesDocVc::DiscCode, 5}, {SalesDocVc::DiscCode2, 5}});
}

// With every code kept, a sales document passes and is stored; stored,
// it may be changed while a code it holds names something since gone,
// but not changed to another unknown code. A text import stores what it
// reads, unknown codes and all.
TEST_F(CodeChecks, KnownCodesPassAndStoredCodesAreHeldOnlyWhenChanged) {
    KeepOneOfEach();
    RuleRecord doc(SalesDocVc::Number);
    for (uint32_t at : std::initializer_list<uint32_t>{SalesDocVc::CustCode, SalesDocVc::Objects})
        PutText(doc.record, at, at == SalesDocVc::CustCode ? 20 : 30, "K1");
    for (uint32_t at : {SalesDocVc::PriceList, SalesDocVc::CurncyCode, SalesDocVc::SalesMan, SalesDocVc::LangCode,
                        SalesDocVc::DiscCode, SalesDocVc::DiscCode2})
        PutText(doc.record, at, 5, "K1");
    PutText(doc.record, SalesDocVc::PayTerms, 2, "K1");
    EXPECT_EQ(Insert(SalesDocVc::Number, doc.record), RecDone);
    EXPECT_EQ(RegRecordCount(SalesDocVc::Number), 1u);

    // A document the import loaded with a salesperson nobody keeps.
    RuleRecord imported(SalesDocVc::Number);
    PutText(imported.record, SalesDocVc::CustCode, 20, "K2");
    PutText(imported.record, SalesDocVc::SalesMan, 5, "GONE");
    ASSERT_TRUE(RecImportStore(SalesDocVc::Number, imported.record, 0, 0));
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(SalesDocVc::Number, imported.record, 1, 1, &recid, &position));
    EXPECT_EQ(Text(imported.record, SalesDocVc::SalesMan), "GONE");

    // Its other fields may be changed; the customer "K2" was not typed
    // either, and stays as it is.
    PutText(imported.record, SalesDocVc::CustName, 60, "Renamed");
    EXPECT_EQ(Update(SalesDocVc::Number, imported.record, recid), RecDone);
    uint16_t field = 0;
    PutText(imported.record, SalesDocVc::SalesMan, 5, "LOST");
    EXPECT_EQ(Update(SalesDocVc::Number, imported.record, recid, &field), RecRefused);
    EXPECT_EQ(field, SalesDocVc::SalesMan);
    PutText(imported.record, SalesDocVc::SalesMan, 5, "K1");
    EXPECT_EQ(Update(SalesDocVc::Number, imported.record, recid), RecDone);

    // A purchase item of an unknown vendor still loads from a file.
    RuleRecord pi(PurchItemVc::Number);
    PutText(pi.record, PurchItemVc::ItemCode, 20, "K1");
    PutText(pi.record, PurchItemVc::VendCode, 20, "NOBODY");
    EXPECT_TRUE(RecImportStore(PurchItemVc::Number, pi.record, 0, 0));
}

}  // namespace
