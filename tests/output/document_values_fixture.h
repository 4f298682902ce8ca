// document_values_fixture.h - a print run's value side without a page:
// loads a document as its print would (DocLoad), asks DocFieldValue for
// one field's text per code and row, and unloads it at the end.
#pragma once

#include "tests/operations/invoice_fixture.h"

#include <string>

#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "output/forms/forms.h"

class DocumentValues : public InvoiceCompanyFixture {
protected:
    int16_t doctype = 0;
    bool loaded = false;

    void TearDown() override {
        Unload();
        FormDocRecord = nullptr;
        FormLastPage = false;
        FormItemCount = 1;
        InvoiceCompanyFixture::TearDown();
    }
    void Load(int16_t type, const uint8_t *record) {
        Unload();
        doctype = type;
        FormDocRecord = record;
        FormFirstRow = 0;
        FormLastPage = false;
        uint8_t title[256];
        ASSERT_TRUE(DocLoad(type, title));
        loaded = true;
    }
    void Unload() {
        if (loaded) DocUnload(doctype);
        loaded = false;
    }
    // The text a field of code prints for row; a field its provider does
    // not serve prints " A own".
    std::string Value(int16_t code, int16_t row = 0) {
        uint8_t field[256], out[256];
        PStringFromC(field, " A own");
        DocFieldValue(doctype, field, code, row, out, FormDefBuffer);
        return PStringToStd(out);
    }
    static std::string Typed(double x, uint16_t type = FtAmount2) {
        PackedDecimal d = Dec(x);
        uint8_t out[256];
        FieldToText((const uint8_t *)&d, type, out);
        return PStringToStd(out);
    }
    // A default-choice record (register 56) of item from vendor.
    void StoreDefaultChoice(const char *item, const char *vendor, const char *vendorItem, double price) {
        StoreRecord(PurchItemVc::Number, [&](uint8_t *r) {
            PutText(r, PurchItemVc::ItemCode, 20, item);
            PutText(r, PurchItemVc::VendCode, 20, vendor);
            PutText(r, PurchItemVc::VendItemCode, 20, vendorItem);
            PutText(r, PurchItemVc::Text, 60, "Vendor's text");
            PutDec(r, PurchItemVc::Price, Dec(price));
            PutU16(r, PurchItemVc::Default, 1);
        });
    }
    void StoreVendor(const char *code, const char *name) {
        StoreRecord(VEVc::Number, [&](uint8_t *r) {
            PutText(r, VEVc::Code, 20, code);
            PutText(r, VEVc::Name, 60, name);
            PutText(r, VEVc::Addr1, 60, "Quay 1");
            PutText(r, VEVc::Addr2, 60, "Port Town");
            PutText(r, VEVc::OurRef, 20, "V-REF");
        });
    }
    // An item with a unit and the two per-unit amounts the side rows copy.
    void StoreUnitItem(const char *code, const char *unit, double a196, double a208) {
        StoreRecord(INVc::Number, [&](uint8_t *r) {
            PutText(r, INVc::Code, 20, code);
            PutText(r, INVc::Name, 60, code);
            PutText(r, INVc::Unit, 10, unit);
            PutDec(r, INVc::StepAmount1, Dec(a196));
            PutDec(r, INVc::StepAmount2, Dec(a208));
            PutDec(r, INVc::CostPrice, Dec(a196 * 2));
        });
    }
};
