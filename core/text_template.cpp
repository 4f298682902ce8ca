// text_template.cpp - expansion of text templates (see
// core/text_template.h for the item marks).
#include "core/text_template.h"

#include <cstring>

#include "core/amount_words.h"
#include "core/decimal.h"
#include "core/field_types.h"
#include "core/file_form.h"
#include "core/pstring.h"
#include "core/ui_text.h"

namespace {

constexpr uint8_t ItemText = 4;
constexpr uint8_t ItemField = 5;
constexpr uint8_t ItemWords = 6;

// Reads the template's characters from position pos on; every read is
// checked against the template's length.
struct TemplateReader {
    const uint8_t *t;
    int pos;

    int Left() const { return t[0] - pos + 1; }
    uint16_t Word() {   // low byte first
        uint16_t v = static_cast<uint16_t>(t[pos] | t[pos + 1] << 8);
        pos += 2;
        return v;
    }
};

}  // namespace

int ExpandTextTemplate(const uint8_t *tmpl, uint8_t *out, bool valuesInFileForm) {
    PString source;   // out may be the template itself
    std::memcpy(source, tmpl, tmpl[0] + 1u);
    PString result;
    result[0] = 0;
    TemplateReader r{source, 1};
    while (r.Left() > 0) {
        const uint8_t c = source[r.pos++];
        if (c == ItemText) {
            if (r.Left() < 2) break;
            PString text;
            GetUiText(text, r.Word());
            PStringAppend(result, text);
        } else if (c == ItemField) {
            if (r.Left() < 2) break;
            const uint16_t type = r.Word();
            int size;
            if (FieldTypeIsText(type)) {
                if (r.Left() < 1) break;
                size = source[r.pos] + 1;
            } else {
                size = FieldSize(type, 0);
            }
            if (r.Left() < size) break;
            uint8_t value[PStringMax + 1] = {};
            std::memcpy(value, source + r.pos, size);
            r.pos += size;
            if (valuesInFileForm) FieldConvertIf(type, value, ConvertToMemory);
            PString text;
            FieldToText(value, type, text);
            PStringAppend(result, text);
        } else if (c == ItemWords) {
            if (r.Left() < 12) break;
            PackedDecimal amount;
            std::memcpy(amount.b, source + r.pos, sizeof amount.b);
            r.pos += 12;
            PString words;
            AmountToWords(&amount, 2, words);
            PStringAppend(result, words);
        } else {
            PStringAppendChar(result, c);
        }
    }
    std::memcpy(out, result, result[0] + 1u);
    return out[0];
}
