// remote_internal.h - what the client stubs share: one request exchange
// with its failure handling, and a scratch record that takes a reply's
// record before it replaces the caller's.
//
// Every stub follows the same road:
//   MsgBuffer request, reply;
//   put the request items;
//   if (!RemoteExchange(code, &request, &reply)) return failure;
//   read the reply items (into scratch values, never the caller's);
//   if (!RemoteReplyDone(&reply)) return failure;
//   hand the values to the caller.
// so a failure at any step leaves the caller's values as they were.
#pragma once

#include <cstdint>

#include "core/memblock.h"
#include "core/msg_buffer.h"

// Sends the request (through RequestSendLong for the long codes) and
// gives true when a reply arrived for reading. A request that failed to
// build is not sent. false sets RemoteConnectionLost.
bool RemoteExchange(uint16_t code, MsgBuffer *request, MsgBuffer *reply);
// After the reply was read: true when every item was there. A reply that
// did not parse is a protocol failure: RemoteConnectionLost is set and
// the user told once.
bool RemoteReplyDone(MsgBuffer *reply);
// The failure of a stub that could not get its reply.
void RemoteFail();

// A zeroed record of a register for a reply to land in; freed (with any
// rows it still holds) when it goes out of scope.
struct ScratchRecord {
    int reg;
    MemBlock handle = 0;
    uint8_t *record = nullptr;
    explicit ScratchRecord(int r);
    ~ScratchRecord();
    ScratchRecord(const ScratchRecord &) = delete;
    ScratchRecord &operator=(const ScratchRecord &) = delete;
};

// Reads a record item into the scratch record; false when it has none
// (a register without a record size) or the item did not parse.
bool RemoteGetRecord(MsgBuffer *reply, ScratchRecord *scratch);
// Moves the scratch record (with its rows) into the caller's record,
// whose own rows are freed first; the scratch record keeps no rows.
void RemoteRecordTake(ScratchRecord *scratch, uint8_t *record);
// The caller's index name, or "" for none.
inline const char *RemoteIndexName(const char *index) { return index ? index : ""; }

struct ErrorPosition;
// A result word of a reply: a signed 16-bit value (65535 is -1).
inline int RemoteResult(uint16_t word) { return (int16_t)word; }
// Reads the result word of a write, check or settings store. A value
// outside the record layer's result space (below -1) fails the reply, as
// any other item that does not parse.
bool RemoteGetResult(MsgBuffer *reply, int *result);
// Reads the three words of a validation error position.
bool RemoteGetErrorPos(MsgBuffer *reply, ErrorPosition *pos);
// Sends a request whose reply is a result word and a validation error
// position (the record check, the settings store). On a whole reply the
// position becomes FieldErrorPos and the result is given; otherwise
// RecConnectionLost, with FieldErrorPos naming no field.
int RemoteCheckedExchange(uint16_t code, MsgBuffer *request);
