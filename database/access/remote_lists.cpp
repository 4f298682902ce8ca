// remote_lists.cpp - client stubs that fill lists from the server: the
// rows of a list window and the entries of a choice list (requests 23 and
// 33 of docs/protocol.md); and the server's writing of a list row's
// column texts.
#include <algorithm>
#include <cstring>

#include "core/definitions.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "database/access/remote_calls.h"
#include "database/access/remote_internal.h"

bool ListFillRowsRemote(int reg, uint32_t first, uint16_t count, uint16_t windowType, const char *index,
                        int columns, std::vector<RemoteListRow> *rows) {
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutLong(&request, first);
    MsgPutWord(&request, count);
    MsgPutWord(&request, windowType);
    MsgPutCString(&request, RemoteIndexName(index));
    if (!RemoteExchange(ReqListRows, &request, &reply)) return false;
    std::vector<RemoteListRow> got(count);
    PString text;
    for (RemoteListRow &row : got) {
        uint8_t found = 0;
        if (!MsgGetByte(&reply, &found)) break;
        row.found = found != 0;
        if (!row.found) continue;
        MsgGetLong(&reply, &row.recid);
        for (int c = 0; c < columns && MsgGetPString(&reply, text); c++)
            row.texts.emplace_back(PStringView(text));
    }
    if (!RemoteReplyDone(&reply)) return false;
    *rows = std::move(got);
    return true;
}

bool ChoiceListReadReply(MsgBuffer *reply, std::vector<std::string> *items) {
    PString text;
    uint16_t more = 0;
    while (MsgGetWord(reply, &more) && more != 0 && MsgGetPString(reply, text)) items->emplace_back(PStringView(text));
    return !MsgFailed(reply);
}

namespace {

bool ChoiceListRequest(MsgBuffer *request, std::vector<std::string> *items) {
    MsgBuffer reply;
    if (!RemoteExchange(ReqChoiceList, request, &reply)) return false;
    std::vector<std::string> got;
    ChoiceListReadReply(&reply, &got);
    if (!RemoteReplyDone(&reply)) return false;
    items->insert(items->end(), got.begin(), got.end());
    return true;
}

}  // namespace

bool ChoiceListStartRemote(int reg, const DateRec *date, std::vector<std::string> *items) {
    MsgBuffer request;
    MsgPutWord(&request, 0);
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutDate(&request, date);
    return ChoiceListRequest(&request, items);
}

bool ChoiceListStartRangeRemote(int kind, const uint8_t *keyText, std::vector<std::string> *items) {
    MsgBuffer request;
    MsgPutWord(&request, (uint16_t)kind);
    MsgPutPString(&request, keyText);
    return ChoiceListRequest(&request, items);
}

// ---- The server's side of list rows ----

namespace {

RowExtraTextFn ExtraText = nullptr;

// Offsets in a field-list entry (a list column of a window layout).
constexpr uint16_t ColumnType = 42;
constexpr uint16_t ColumnFormat = 44;   // the list number of a choice column, a text's length
constexpr uint16_t ColumnValueOffset = 46;
constexpr uint16_t ColumnLeastSize = 50;
constexpr uint16_t TypeWindowText = 28;

}  // namespace

void RowExtraTextInstall(RowExtraTextFn fn) { ExtraText = fn; }
RowExtraTextFn RowExtraTextInstalled() { return ExtraText; }

int ListColumnCount(int windowType) {
    const uint8_t *def = WinTypeDef(windowType);
    return def ? WinDefPartCount(def, WinPartFieldList) : 0;
}

bool RowFieldsToMsg(MsgBuffer *reply, int windowType, int reg, const uint8_t *record) {
    uint8_t *def = WinTypeDef(windowType);
    int columns = def ? WinDefPartCount(def, WinPartFieldList) : 0;
    uint32_t size = RegRecordSize(reg);
    for (int i = 0; i < columns; i++) {
        uint16_t entrySize = 0;
        const uint8_t *entry = WinDefPartEntry(def, WinPartFieldList, i, &entrySize);
        PString text;
        text[0] = 0;
        if (entry && entrySize >= ColumnLeastSize) {
            uint16_t type = DefU16(entry + ColumnType);
            int format = DefU16(entry + ColumnFormat);
            uint32_t offset = DefU32(entry + ColumnValueOffset);
            if (type == TypeWindowText) {
                if (ExtraText) ExtraText(windowType, i, record, text);
            } else if (offset < size) {
                // The value is copied out first, so a text whose length byte
                // runs past the record's end reads zeros, not the next block.
                uint8_t value[264] = {};
                std::memcpy(value, record + offset, std::min<uint32_t>(size - offset, sizeof value));
                // The column's format word names the list a choice value
                // is shown through, as the local list draws it.
                FieldFormat(value, type, format, text);
            }
        }
        MsgPutPString(reply, text);
    }
    return !MsgFailed(reply);
}
