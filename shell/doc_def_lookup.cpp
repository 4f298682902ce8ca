// doc_def_lookup.cpp - finding a form definition by name for the form
// printer.
#include "shell/company.h"

#include "core/definitions.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"

uint8_t DocumentState;

constexpr uint16_t DocCodeType = 27;          // the key field's type
constexpr int DocCodeLength = 20;

// Reads the form definition of a name (PString) into record (a record of
// the register "DocVc") through its first index. DocumentState becomes 3
// when it was found and may be printed by itself: its alias is empty (a
// definition with an alias stands for another and is not printed by
// itself). Otherwise DocumentState is 0 and the user is told the name.
// A name longer than the key is not cut to find another. Returns 0.
int DocDefLookup(const uint8_t *name, uint8_t *record)
{
    DocumentState = 0;
    int reg = RegByName("DocVc");
    const uint8_t *index = reg > 0 ? RegIndexDef(reg, 0) : nullptr;
    bool found = false;
    if (index && RegRecordSize(reg) == DocVc::Size && name[0] > 0 && name[0] <= DocCodeLength) {
        RecClear(reg, record);
        char indexName[256];
        PStringToC(IndexDefName(index), indexName);
        uint32_t recid = 0, position = 0;
        found = FieldFromText(record + DocVc::Code, DocCodeType, DocCodeLength, name) &&
                RecFindByIndex(reg, indexName, record, 1, 1, &recid, &position);
    }
    if (found && record[DocVc::Alias] == 0) DocumentState = 3;
    else ShowMessage(Texts::DocDefMissing, name);
    return 0;
}
