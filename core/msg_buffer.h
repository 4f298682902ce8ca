// msg_buffer.h - the message codec of the client/server protocol.
//
// Requests, replies and the output commands a server pushes to a client
// are built in a MsgBuffer with typed puts and read back with the
// matching gets. The byte layout of every item is fixed here; the frame
// around a message and the contents of each request are described in
// docs/protocol.md.
//
// ITEMS (offsets from the item's start; every integer little-endian,
// which is this program's own byte order)
//   word        u16                                 MsgPutWord / MsgGetWord
//   byte        the byte as a u16 (2 bytes)         MsgPutByte / MsgGetByte
//   long        u32                                 MsgPutLong / MsgGetLong
//   bytes (n)   n bytes, then one 0 pad byte when n is odd
//                                                   MsgPutBytes / MsgGetBytes
//   raw bytes   n bytes, no pad                     MsgPutBytesRaw / MsgGetRest
//   sized       u32 n, then n bytes padded to even; n = 0xFFFFFFFF stands
//               alone (nothing follows)             MsgPutSized / MsgGetSized
//   handle      a sized item of a MemBlock's bytes  MsgPutHandle / MsgGetHandle
//   PString     length byte and characters, padded to even (an empty
//               string takes 2 bytes, "ab" 4, "abc" 4)
//                                                   MsgPutPString / MsgGetPString
//   C string    sent as a PString of at most 254 characters
//                                                   MsgPutCString / MsgGetCString
//   block12     12 bytes (a PackedDecimal), never reordered
//                                                   MsgPutBlock12 / MsgGetBlock12
//   dec rect    four block12 items in the order second, first, fourth,
//               third of the caller's four values   MsgPutDecRect / MsgGetDecRect
//   date        u16 year, u16 month, u16 day        MsgPutDate / MsgGetDate
//   record      the register's record (record size s) as a bytes item of
//               s bytes; then, for a register with rows, the rows: the u32
//               0xFFFFFFFF when the record has none, else a sized item of
//               the rows block. The record's 4-byte rows slot carries
//               nothing on the wire (the writer puts 0 there and the
//               reader replaces it by the handle of the rows it makes).
//                                                   MsgPutRecord / MsgGetRecord
//
// Records and settings blocks travel in memory form, in this program's
// own byte order and character set, whatever the order of the server's
// database file: the server converts at its engine's edge like every
// other caller, and a client never converts.
//
// READING. A received message is read from its read position up to its
// end position (the message length, or the smaller end a frame header
// sets with MsgSetEnd). Every get checks the bytes it needs against the
// end first. A get that would pass the end reads nothing, gives zeros
// (an empty string, a 0 handle, a zeroed record with no rows) and sets
// the message's failure flag; the flag is sticky, so every later get
// fails the same way and the reader checks MsgFailed once after reading
// all its items. Length words taken from the message are never trusted:
// a sized item, a handle or a rows block longer than the bytes left is
// refused before anything is allocated.
//
// WRITING. Puts append at the end, prepends write in front of the
// current contents (a frame header is put in front of a finished body).
// The buffer keeps a capacity apart from its length and room in front
// of the message, both grown geometrically, so a long run of puts or
// prepends copies each byte a bounded number of times. A put that
// cannot grow the buffer reports it (MessageSinkShow), writes nothing
// and sets the failure flag; a message that failed is never sent.
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/decimal.h"
#include "core/memblock.h"

constexpr uint32_t MsgNoEnd = 0xFFFFFFFFu;        // no end set: read up to the length
constexpr uint32_t MsgSizedNone = 0xFFFFFFFFu;    // the sized item that carries nothing
// No message grows beyond this; frame lengths stay well inside a u32.
constexpr uint32_t MsgMaxLength = 0x40000000u;
// MsgFlushIfFull sends the output message when it holds more than this.
constexpr uint32_t MsgFlushLimit = 10000;

struct MsgBuffer {
    uint8_t *store = nullptr;   // capacity bytes; the message is store[head, head + length)
    uint32_t capacity = 0;
    uint32_t head = 0;          // room kept in front for prepends
    uint32_t length = 0;
    uint32_t readPos = 0;       // next byte to read, from the message's first byte
    uint32_t endPos = MsgNoEnd; // read limit set by a frame header
    bool failed = false;        // sticky: a get passed the end or a put could not grow

    MsgBuffer() = default;
    MsgBuffer(const MsgBuffer &) = delete;
    MsgBuffer &operator=(const MsgBuffer &) = delete;
    MsgBuffer(MsgBuffer &&other) noexcept;
    MsgBuffer &operator=(MsgBuffer &&other) noexcept;
    ~MsgBuffer();
};

// The current outgoing message of the server's remote output, and the
// message being read (the network layer fills and restores it).
extern MsgBuffer OutputMessage;
extern MsgBuffer ReceivedMessage;

// ---- The buffer as a whole ----

// Empties the message and gives its memory back; clears the flag.
void MsgClear(MsgBuffer *m);
// Empties the message but keeps its capacity; clears the flag.
void MsgReset(MsgBuffer *m);
// Makes the message a copy of n bytes, which may lie in the message
// itself (read position 0, no end set).
// false (and the failure flag) when memory cannot be had.
bool MsgLoad(MsgBuffer *m, const uint8_t *bytes, uint32_t n);
// The message's bytes (null when empty) and length.
const uint8_t *MsgData(const MsgBuffer *m);
uint32_t MsgLength(const MsgBuffer *m);
bool MsgFailed(const MsgBuffer *m);
// The read limit: the end set by MsgSetEnd, else the length.
uint32_t MsgEnd(const MsgBuffer *m);
// Bytes between the read position and the read limit (0 after a failure).
uint32_t MsgRemaining(const MsgBuffer *m);
// Sets the read limit (a frame's own length). An end beyond the length
// or before the read position is refused: the flag is set.
bool MsgSetEnd(MsgBuffer *m, uint32_t end);
// Moves the read position back to the first byte and clears the flag.
void MsgRewind(MsgBuffer *m);

// ---- Puts (false when the message has failed) ----

bool MsgPutWord(MsgBuffer *m, uint16_t v);
bool MsgPutByte(MsgBuffer *m, uint8_t v);
bool MsgPutLong(MsgBuffer *m, uint32_t v);
bool MsgPutBytes(MsgBuffer *m, const void *data, uint32_t n);
bool MsgPutBytesRaw(MsgBuffer *m, const void *data, uint32_t n);
// n = MsgSizedNone writes that word alone (data is not read).
bool MsgPutSized(MsgBuffer *m, const void *data, uint32_t n);
// A 0 or stale handle is sent as an empty block.
bool MsgPutHandle(MsgBuffer *m, MemBlock h);
bool MsgPutPString(MsgBuffer *m, const uint8_t *s);
bool MsgPutCString(MsgBuffer *m, const char *s);
bool MsgPutBlock12(MsgBuffer *m, const PackedDecimal *v);
bool MsgPutDecRect(MsgBuffer *m, const PackedDecimal rect[4]);
bool MsgPutDate(MsgBuffer *m, const DateRec *d);
// The record of register reg with its rows. Refused (flag set) for a
// register without a record size. The caller's record is not changed.
bool MsgPutRecord(MsgBuffer *m, int reg, const uint8_t *record);

// ---- Prepends: the same layouts in front of the current contents ----

bool MsgPrependBytes(MsgBuffer *m, const void *data, uint32_t n);
bool MsgPrependWord(MsgBuffer *m, uint16_t v);
bool MsgPrependLong(MsgBuffer *m, uint32_t v);
bool MsgPrependPString(MsgBuffer *m, const uint8_t *s);

// ---- Gets (true when the item was read whole; a null destination skips) ----

bool MsgGetWord(MsgBuffer *m, uint16_t *v);
bool MsgGetByte(MsgBuffer *m, uint8_t *v);
bool MsgGetLong(MsgBuffer *m, uint32_t *v);
bool MsgGetBytes(MsgBuffer *m, void *data, uint32_t n);
// A sized item into a buffer of capacity bytes: min(n, capacity) bytes
// are copied and the rest of the buffer zeroed; *n (when asked) gets the
// length sent, MsgSizedNone for the lone word.
bool MsgGetSized(MsgBuffer *m, void *data, uint32_t capacity, uint32_t *n);
// A handle item: a new MemBlock of the length sent (0 on failure); its
// length into *n when asked.
MemBlock MsgGetHandle(MsgBuffer *m, uint32_t *n);
// Into a 256-byte PString (null: skipped).
bool MsgGetPString(MsgBuffer *m, uint8_t *s);
// Into a 256-byte zero-terminated string.
bool MsgGetCString(MsgBuffer *m, char *s);
bool MsgGetBlock12(MsgBuffer *m, PackedDecimal *v);
bool MsgGetDecRect(MsgBuffer *m, PackedDecimal rect[4]);
bool MsgGetDate(MsgBuffer *m, DateRec *d);
// Into the record of register reg: its current rows are freed first, the
// rows sent come in a new block (none: slot 0). Rows that are not whole
// rows of the register's row size are refused. On failure the record is
// zeroed with slot 0 and nothing is left allocated.
bool MsgGetRecord(MsgBuffer *m, int reg, uint8_t *record);
// A new MemBlock with every byte from the read position to the end (a
// block of 0 bytes when none is left); 0 after a failure.
MemBlock MsgGetRest(MsgBuffer *m);

// ---- Remote output and received messages ----

// Sends a message to the current session's client as a push and empties
// it. Installed by the network layer; null drops the output.
using MsgPushFn = void (*)(MsgBuffer *message);
MsgPushFn MsgSetPush(MsgPushFn push);
// The push installed now (null: none).
MsgPushFn MsgPushInstalled();
// Hands OutputMessage to the push, then leaves it empty. false when no
// push is installed (the output is dropped).
bool MsgSend();
// MsgSend when OutputMessage holds more than MsgFlushLimit bytes.
void MsgFlushIfFull();
// Frees the received message (MsgReleaseReceived is the same; the
// message is never locked apart from the reading).
void MsgDisposeReceived();
void MsgReleaseReceived();
