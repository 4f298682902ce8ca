// doc_lookups.cpp - names the printed documents look up by a code: an
// object's name (register 15, the order-flow text) and an order class's
// name (register 128).
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "output/forms/forms.h"

namespace {
// The name field of the record of reg whose code is code; empty when the
// code is empty or missing.
template <size_t Size, int N, int M>
void NameByCode(int reg, TextField<N> codeField, TextField<M> nameField, const uint8_t *code, uint8_t *out) {
    uint8_t rec[Size] = {};
    out[0] = 0;
    if (!DocReadByCode(reg, codeField, code, rec)) return;
    GetText(rec, nameField, out);
}
}  // namespace

// The name of the object whose code is the first of the list (codes
// separated by ","): the order-flow text of a document.
void Register15Name(const uint8_t *codes, uint8_t *out) {
    uint8_t first[256];
    int n = 0;
    while (n < codes[0] && codes[n + 1] != ',') n++;
    PStringFromView(first, std::string_view((const char *)codes + 1, (size_t)n));
    NameByCode<OBVc::Size>(OBVc::Number, OBVc::Code, OBVc::Name, first, out);
}

// The name of the order class whose code is code.
void Register128Name(const uint8_t *code, uint8_t *out) {
    NameByCode<OrderClassVc::Size>(OrderClassVc::Number, OrderClassVc::Code, OrderClassVc::Name, code, out);
}
