// doc_def_lookup.cpp - finding a form definition by name for the form
// printer, and telling the user which document and which form choice
// lacked a usable one.
#include "output/forms/doc_def_lookup.h"

#include <cstring>

#include "core/decimal.h"
#include "core/definitions.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/window_kind.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"

uint8_t DocumentState;

namespace {

constexpr uint16_t DocCodeType = 27;          // the key field's type
constexpr int DocCodeLength = 20;

// The form choice the next lookup serves (0: not known, as for a lookup
// that is not a document's print).
uint16_t LookupBlock = 0;

// The documents each form-choice block serves, named for the user.
struct ChoiceName {
    uint16_t block;
    int text;
};
constexpr ChoiceName ChoiceNames[] = {
    {140, Texts::FormChoiceDocInvoices},     {141, Texts::FormChoiceDocReminders},
    {142, Texts::FormChoiceDocInterest},     {143, Texts::FormChoiceDocCashInvoices},
    {144, Texts::FormChoiceDocCreditNotes},  {146, Texts::FormChoiceDocDeliveries},
    {147, Texts::FormChoiceDocPurchOrders},  {148, Texts::FormChoiceDocReminderLines},
    {151, Texts::FormChoiceDocOrders},       {154, Texts::FormChoiceDocPayments},
    {157, Texts::FormChoiceDocStatements},   {158, Texts::FormChoiceDocDeliveries2},
    {160, Texts::FormChoiceDocShipments},    {174, Texts::FormChoiceDocCustomers},
    {178, Texts::FormChoiceDocQuotations},   {180, Texts::FormChoiceDocOrders2},
    {183, Texts::FormChoiceDocInvoices4},    {184, Texts::FormChoiceDocInvoices3},
    {185, Texts::FormChoiceDocInvoices2},    {207, Texts::FormChoiceDocStockMoves},
    {209, Texts::FormChoiceDocItems},        {210, Texts::FormChoiceDocPurchases},
    {212, Texts::FormChoiceDocPurchLabels},  {215, Texts::FormChoiceDocProjects},
    {217, Texts::FormChoiceDocAssets},       {221, Texts::FormChoiceDocDelivLabels},
    {222, Texts::FormChoiceDocCustLabels},   {225, Texts::FormChoiceDocProductions},
    {226, Texts::FormChoiceDocTimeSheets},
};

// The text naming the documents of a form-choice block; 0 when unknown.
int ChoiceNameText(uint16_t block)
{
    for (const ChoiceName &c : ChoiceNames)
        if (c.block == block) return c.text;
    return 0;
}

// Appends UI text n to line.
void AppendText(uint8_t *line, int n)
{
    uint8_t part[256];
    GetUiText(part, n);
    PStringAppend(line, part);
}

// Appends where the user chooses the form of `block`: the quoted title
// of its window under Settings > Forms, or, for a block no window keeps,
// the settings block's number between texts `blockText` and `blockEnd`
// (0: a full stop).
void AppendWhereChosen(uint8_t *line, uint16_t block, int windowText, int blockText, int blockEnd)
{
    const int type = WinTypeKeeping(KindCode(WindowKind::SettingsTable), block);
    uint8_t title[256] = {0};
    if (type != 0) GetUiText(title, WinTypeWord(type, 10));
    if (title[0] == 0) {
        uint8_t number[256];
        LongToDigitText(block, number);
        AppendText(line, blockText);
        PStringAppend(line, number);
        if (blockEnd) AppendText(line, blockEnd);
        else PStringAppendChar(line, '.');
        return;
    }
    AppendText(line, windowText);
    PStringAppend(line, title);
    AppendText(line, Texts::FormChoiceWindowEnd);
}

// Tells that no usable form definition of name was found: with the
// documents and the window that chooses their form when the print run
// said which, else with the name alone.
void TellMissing(const uint8_t *name)
{
    const int doc = ChoiceNameText(LookupBlock);
    uint8_t line[256] = {0};   // PString appends stop at 255 characters
    if (doc == 0) {
        if (name[0] == 0) {
            ShowTextMessage(Texts::FormChoiceNoName);
            return;
        }
        ShowMessage(Texts::DocDefMissing, name);
        return;
    }
    if (name[0] == 0) {
        GetUiText(line, Texts::FormChoiceNoneFor);
        AppendText(line, doc);
        AppendWhereChosen(line, LookupBlock, Texts::FormChoiceNoneWindow, Texts::FormChoiceNoneIn,
                          Texts::FormChoiceNoneEnd);
        ShowMessage(0, line);
        return;
    }
    GetUiText(line, Texts::DocDefMissing);
    PStringAppend(line, name);
    AppendText(line, Texts::FormChoiceMissingFor);
    AppendText(line, doc);
    AppendWhereChosen(line, LookupBlock, Texts::FormChoiceMissingWindow, Texts::FormChoiceMissingIn, 0);
    ShowMessage(0, line);
}

}  // namespace

void DocDefLookupFor(uint16_t block) { LookupBlock = block; }

// Reads the form definition of a name (PString) into record (a record of
// the register "DocVc") through its first index. DocumentState becomes 3
// when it was found and may be printed by itself: its alias is empty (a
// definition with an alias stands for another and is not printed by
// itself). Otherwise DocumentState is 0 and the user is told the name,
// and the documents and form choice the print run named beforehand
// (DocDefLookupFor), which that one lookup uses up. A name longer than
// the key is not cut to find another. Returns 0.
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
    else TellMissing(name);
    LookupBlock = 0;
    return 0;
}
