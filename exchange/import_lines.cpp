// import_lines.cpp - the source of an import read as whole lines of text,
// for the readers that check a file whole before storing anything (the
// SIE file, the bank's file of incoming payments).
#include <string>

#include "core/field_types.h"
#include "core/pstring.h"
#include "exchange/import_lines.h"
#include "exchange/text_exchange.h"

// Reads the line at the read position (its fields joined by TAB again)
// and moves past its end. *full is set when a field filled the reader's
// 255 characters (the line may have been longer). False when the reader
// refused the line as damaged (a control byte): the import's result
// names it.
bool ImportReadWholeLine(std::string *text, bool *full)
{
    text->clear();
    *full = false;
    bool first = true;
    for (;;) {
        const uint32_t before = ImportReadPosition();
        PString field = {0};
        if (!ImportReadField(field, FtText, 255)) return false;
        if (ImportReadPosition() == before) break;   // the line's end
        if (!first) *text += '\t';
        first = false;
        text->append(reinterpret_cast<const char *>(field + 1), field[0]);
        *full = *full || field[0] >= 255;
    }
    ImportSkipLine();
    return true;
}
