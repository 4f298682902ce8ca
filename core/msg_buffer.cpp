// msg_buffer.cpp - storage, puts, prepends and bounds-checked gets of the
// message codec (item layouts in msg_buffer.h).
#include "core/msg_buffer.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "core/definitions.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/record_buffer.h"

// Records go on the wire as they lie in memory; that is the wire's
// little-endian order only on a little-endian host. A big-endian build
// would have to swap every field at this edge.
static_assert(std::endian::native == std::endian::little, "the message codec assumes a little-endian host");

MsgBuffer OutputMessage;
MsgBuffer ReceivedMessage;

namespace {

MsgPushFn PushOutput = nullptr;

constexpr uint32_t PaddedLength(uint32_t n) { return n + (n & 1u); }

void ShowGrowthFailure(uint32_t n) {
    char line[64];
    std::snprintf(line, sizeof line, "GlobalReAlloc failed: %lu", (unsigned long)n);
    MessageSinkShow(line);
}

// Makes room for `tail` more bytes after the message and `front` more
// before it. Capacity and front room grow geometrically so that runs of
// puts and of prepends cost amortised constant time per byte.
bool Reserve(MsgBuffer *m, uint32_t front, uint32_t tail) {
    if (m->failed) return false;
    uint64_t needLength = (uint64_t)m->length + front + tail;
    if (needLength > MsgMaxLength) {
        ShowGrowthFailure((uint32_t)std::min<uint64_t>(needLength, UINT32_MAX));
        m->failed = true;
        return false;
    }
    uint64_t tailRoom = (uint64_t)m->capacity - m->head - m->length;
    if (front <= m->head && tail <= tailRoom) return true;

    uint32_t newHead = m->head;
    if (front > m->head) newHead = (uint32_t)std::max<uint64_t>(front, std::min<uint64_t>(needLength, MsgMaxLength));
    uint64_t newTailRoom = tailRoom;
    if (tail > tailRoom) newTailRoom = std::max<uint64_t>({(uint64_t)tail, needLength, 64});
    uint64_t newCapacity = (uint64_t)newHead + m->length + newTailRoom;
    uint8_t *store = (uint8_t *)std::malloc((size_t)newCapacity);
    if (!store) {
        ShowGrowthFailure((uint32_t)std::min<uint64_t>(newCapacity, UINT32_MAX));
        m->failed = true;
        return false;
    }
    if (m->length) std::memcpy(store + newHead, m->store + m->head, m->length);
    std::free(m->store);
    m->store = store;
    m->capacity = (uint32_t)newCapacity;
    m->head = newHead;
    return true;
}

// Appends n bytes (data null: zeros) and, when pad, a 0 byte for odd n.
bool Append(MsgBuffer *m, const void *data, uint32_t n, bool pad) {
    uint32_t total = pad ? PaddedLength(n) : n;
    if (!Reserve(m, 0, total)) return false;
    uint8_t *at = m->store + m->head + m->length;
    if (n) {
        if (data) std::memcpy(at, data, n);
        else std::memset(at, 0, n);
    }
    if (total > n) at[n] = 0;
    m->length += total;
    return true;
}

// Writes n bytes padded to even in front of the message.
bool Prepend(MsgBuffer *m, const void *data, uint32_t n) {
    uint32_t total = PaddedLength(n);
    if (!Reserve(m, total, 0)) return false;
    m->head -= total;
    m->length += total;
    if (n) std::memcpy(m->store + m->head, data, n);
    if (total > n) m->store[m->head + n] = 0;
    return true;
}

void PutU16(uint8_t *p, uint16_t v) {
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
}
void PutU32(uint8_t *p, uint32_t v) {
    for (int i = 0; i < 4; i++) p[i] = (uint8_t)(v >> (8 * i));
}
uint16_t GetU16(const uint8_t *p) { return (uint16_t)(p[0] | p[1] << 8); }
uint32_t GetU32(const uint8_t *p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

// The address of the next n bytes to read, and the read position moved
// past `advance` bytes (n, or n padded). Null, with the flag set, when
// the message has failed or fewer than `advance` bytes are left.
const uint8_t *Take(MsgBuffer *m, uint32_t n, uint32_t advance) {
    assert(advance >= n);
    if (m->failed || advance > MsgRemaining(m)) {
        m->failed = true;
        return nullptr;
    }
    const uint8_t *p = m->store + m->head + m->readPos;
    m->readPos += advance;
    return p;
}

// Reads the u32 length word of a sized item and checks that the bytes it
// announces (padded) are present. *n gets the length; MsgSizedNone is
// accepted and carries nothing.
bool TakeSizedLength(MsgBuffer *m, uint32_t *n) {
    const uint8_t *p = Take(m, 4, 4);
    if (!p) return false;
    *n = GetU32(p);
    if (*n == MsgSizedNone) return true;
    if (PaddedLength(*n) > MsgRemaining(m) || *n > MsgMaxLength) {
        m->failed = true;
        return false;
    }
    return true;
}

}  // namespace

// ---- The buffer as a whole ----

MsgBuffer::MsgBuffer(MsgBuffer &&other) noexcept { *this = std::move(other); }

MsgBuffer &MsgBuffer::operator=(MsgBuffer &&other) noexcept {
    if (this != &other) {
        std::free(store);
        store = std::exchange(other.store, nullptr);
        capacity = std::exchange(other.capacity, 0);
        head = std::exchange(other.head, 0);
        length = std::exchange(other.length, 0);
        readPos = std::exchange(other.readPos, 0);
        endPos = std::exchange(other.endPos, MsgNoEnd);
        failed = std::exchange(other.failed, false);
    }
    return *this;
}

MsgBuffer::~MsgBuffer() { std::free(store); }

void MsgClear(MsgBuffer *m) { *m = MsgBuffer(); }

void MsgReset(MsgBuffer *m) {
    m->head = m->capacity / 4;   // keep some front room for a header
    m->length = 0;
    m->readPos = 0;
    m->endPos = MsgNoEnd;
    m->failed = false;
}

bool MsgLoad(MsgBuffer *m, const uint8_t *bytes, uint32_t n) {
    MsgReset(m);
    m->head = 0;
    // A received message is read, not grown: its store is exactly as large
    // as the message, so a read past the end cannot land in spare room.
    if (m->capacity != n) {
        if (n > MsgMaxLength) {
            ShowGrowthFailure(n);
            m->failed = true;
            return false;
        }
        uint8_t *store = (uint8_t *)std::malloc(n ? n : 1);
        if (!store) {
            ShowGrowthFailure(n);
            m->failed = true;
            return false;
        }
        // The bytes may lie in the old store: copy them before it goes.
        if (n) std::memcpy(store, bytes, n);
        std::free(m->store);
        m->store = store;
        m->capacity = n;
    } else if (n) {
        std::memmove(m->store, bytes, n);
    }
    m->length = n;
    return true;
}

const uint8_t *MsgData(const MsgBuffer *m) { return m->length ? m->store + m->head : nullptr; }
uint32_t MsgLength(const MsgBuffer *m) { return m->length; }
bool MsgFailed(const MsgBuffer *m) { return m->failed; }

uint32_t MsgEnd(const MsgBuffer *m) { return m->endPos == MsgNoEnd ? m->length : m->endPos; }

uint32_t MsgRemaining(const MsgBuffer *m) {
    uint32_t end = MsgEnd(m);
    return m->failed || m->readPos >= end ? 0 : end - m->readPos;
}

bool MsgSetEnd(MsgBuffer *m, uint32_t end) {
    if (end > m->length || end < m->readPos) {
        m->failed = true;
        return false;
    }
    m->endPos = end;
    return true;
}

void MsgRewind(MsgBuffer *m) {
    m->readPos = 0;
    m->failed = false;
}

// ---- Puts ----

bool MsgPutWord(MsgBuffer *m, uint16_t v) {
    uint8_t b[2];
    PutU16(b, v);
    return Append(m, b, 2, false);
}

bool MsgPutByte(MsgBuffer *m, uint8_t v) { return MsgPutWord(m, v); }

bool MsgPutLong(MsgBuffer *m, uint32_t v) {
    uint8_t b[4];
    PutU32(b, v);
    return Append(m, b, 4, false);
}

bool MsgPutBytes(MsgBuffer *m, const void *data, uint32_t n) { return Append(m, data, n, true); }
bool MsgPutBytesRaw(MsgBuffer *m, const void *data, uint32_t n) { return Append(m, data, n, false); }

bool MsgPutSized(MsgBuffer *m, const void *data, uint32_t n) {
    if (n == MsgSizedNone) return MsgPutLong(m, n);
    // Room for the whole item first, so a failed growth leaves no lone
    // length word behind.
    if (!Reserve(m, 0, 4 + PaddedLength(n))) return false;
    return MsgPutLong(m, n) && Append(m, data, n, true);
}

bool MsgPutHandle(MsgBuffer *m, MemBlock h) {
    uint8_t *p = MemLock(h);
    if (!p) return MsgPutSized(m, nullptr, 0);
    bool ok = MsgPutSized(m, p, MemSize(h));
    MemUnlock(h);
    return ok;
}

bool MsgPutPString(MsgBuffer *m, const uint8_t *s) { return Append(m, s, (uint32_t)s[0] + 1, true); }

bool MsgPutCString(MsgBuffer *m, const char *s) {
    PString p;
    PStringFromC(p, s);
    return MsgPutPString(m, p);
}

bool MsgPutBlock12(MsgBuffer *m, const PackedDecimal *v) { return Append(m, v->b, 12, false); }

bool MsgPutDecRect(MsgBuffer *m, const PackedDecimal rect[4]) {
    static constexpr int order[4] = {1, 0, 3, 2};
    if (!Reserve(m, 0, 48)) return false;
    for (int i : order) MsgPutBlock12(m, &rect[i]);
    return !m->failed;
}

bool MsgPutDate(MsgBuffer *m, const DateRec *d) {
    uint8_t b[6];
    PutU16(b, d->year);
    PutU16(b + 2, d->month);
    PutU16(b + 4, d->day);
    return Append(m, b, 6, false);
}

bool MsgPutRecord(MsgBuffer *m, int reg, const uint8_t *record) {
    uint32_t size = RegRecordSize(reg);
    int32_t slot = RegMatrixOffset(reg);
    if (size == 0 || (slot >= 0 && (uint32_t)slot + 4 > size)) {
        m->failed = true;
        return false;
    }
    MemBlock rows = slot >= 0 ? RecMatrixHandle(reg, record) : 0;
    uint32_t rowBytes = rows ? MemSize(rows) : 0;
    uint64_t whole = PaddedLength(size) + (slot >= 0 ? 4 + (uint64_t)PaddedLength(rowBytes) : 0);
    if (whole > MsgMaxLength || !Reserve(m, 0, (uint32_t)whole)) {
        m->failed = true;
        return false;
    }
    uint32_t at = m->length;
    Append(m, record, size, true);
    if (slot < 0) return true;
    PutU32(m->store + m->head + at + (uint32_t)slot, 0);   // the sender's handle means nothing to the reader
    if (!rows) return MsgPutLong(m, MsgSizedNone);
    return MsgPutHandle(m, rows);
}

// ---- Prepends ----

bool MsgPrependBytes(MsgBuffer *m, const void *data, uint32_t n) { return Prepend(m, data, n); }

bool MsgPrependWord(MsgBuffer *m, uint16_t v) {
    uint8_t b[2];
    PutU16(b, v);
    return Prepend(m, b, 2);
}

bool MsgPrependLong(MsgBuffer *m, uint32_t v) {
    uint8_t b[4];
    PutU32(b, v);
    return Prepend(m, b, 4);
}

bool MsgPrependPString(MsgBuffer *m, const uint8_t *s) { return Prepend(m, s, (uint32_t)s[0] + 1); }

// ---- Gets ----

bool MsgGetWord(MsgBuffer *m, uint16_t *v) {
    const uint8_t *p = Take(m, 2, 2);
    if (v) *v = p ? GetU16(p) : 0;
    return p != nullptr;
}

bool MsgGetByte(MsgBuffer *m, uint8_t *v) {
    uint16_t w;
    bool ok = MsgGetWord(m, &w);
    if (v) *v = (uint8_t)w;
    return ok;
}

bool MsgGetLong(MsgBuffer *m, uint32_t *v) {
    const uint8_t *p = Take(m, 4, 4);
    if (v) *v = p ? GetU32(p) : 0;
    return p != nullptr;
}

bool MsgGetBytes(MsgBuffer *m, void *data, uint32_t n) {
    const uint8_t *p = Take(m, n, PaddedLength(n));
    if (data && n) {
        if (p) std::memcpy(data, p, n);
        else std::memset(data, 0, n);
    }
    return p != nullptr;
}

bool MsgGetSized(MsgBuffer *m, void *data, uint32_t capacity, uint32_t *n) {
    uint32_t length = 0;
    bool ok = TakeSizedLength(m, &length);
    const uint8_t *p = nullptr;
    if (ok && length != MsgSizedNone) ok = (p = Take(m, length, PaddedLength(length))) != nullptr;
    uint32_t copied = 0;
    if (ok && p) copied = std::min(length, capacity);
    if (data) {
        if (copied) std::memcpy(data, p, copied);
        if (capacity > copied) std::memset((uint8_t *)data + copied, 0, capacity - copied);
    }
    if (n) *n = ok ? length : 0;
    return ok;
}

MemBlock MsgGetHandle(MsgBuffer *m, uint32_t *n) {
    if (n) *n = 0;
    uint32_t length = 0;
    // The lone 0xFFFFFFFF is not a block length.
    if (!TakeSizedLength(m, &length) || length == MsgSizedNone) {
        m->failed = true;
        return 0;
    }
    MemBlock h = MemAlloc(length);
    if (!h) {
        m->failed = true;
        return 0;
    }
    const uint8_t *p = Take(m, length, PaddedLength(length));
    if (!p) {   // cannot happen after TakeSizedLength; kept for safety
        MemFree(&h);
        return 0;
    }
    if (length) {
        std::memcpy(MemLock(h), p, length);
        MemUnlock(h);
    }
    if (n) *n = length;
    return h;
}

bool MsgGetPString(MsgBuffer *m, uint8_t *s) {
    const uint8_t *p = nullptr;
    uint32_t n = 0;
    if (MsgRemaining(m) >= 1) {
        n = (uint32_t)m->store[m->head + m->readPos] + 1;   // the length byte and the characters
        p = Take(m, n, PaddedLength(n));
    } else {
        m->failed = true;
    }
    if (s) {
        if (p) std::memcpy(s, p, n);
        else s[0] = 0;
    }
    return p != nullptr;
}

bool MsgGetCString(MsgBuffer *m, char *s) {
    PString p;
    bool ok = MsgGetPString(m, p);
    PStringToC(p, s);
    return ok;
}

bool MsgGetBlock12(MsgBuffer *m, PackedDecimal *v) {
    const uint8_t *p = Take(m, 12, 12);
    if (v) {
        if (p) std::memcpy(v->b, p, 12);
        else std::memset(v->b, 0, 12);
    }
    return p != nullptr;
}

bool MsgGetDecRect(MsgBuffer *m, PackedDecimal rect[4]) {
    static constexpr int order[4] = {1, 0, 3, 2};
    bool ok = true;
    for (int i : order) ok = MsgGetBlock12(m, &rect[i]) && ok;
    return ok;
}

bool MsgGetDate(MsgBuffer *m, DateRec *d) {
    const uint8_t *p = Take(m, 6, 6);
    if (d) *d = p ? DateRec{GetU16(p + 4), GetU16(p + 2), GetU16(p)} : DateRec{0, 0, 0};
    return p != nullptr;
}

bool MsgGetRecord(MsgBuffer *m, int reg, uint8_t *record) {
    uint32_t size = RegRecordSize(reg);
    int32_t slot = RegMatrixOffset(reg);
    if (size == 0 || (slot >= 0 && (uint32_t)slot + 4 > size)) {
        m->failed = true;
        return false;
    }
    if (slot >= 0) RecFreeMatrix(reg, record);
    const uint8_t *p = Take(m, size, PaddedLength(size));
    MemBlock rows = 0;
    bool ok = p != nullptr;
    if (ok && slot >= 0) {
        uint32_t n = 0;
        ok = TakeSizedLength(m, &n);
        uint32_t rowSize = RecRowSize(reg);
        if (ok && n != MsgSizedNone && rowSize && n % rowSize != 0) ok = false;   // not whole rows
        if (ok && n != MsgSizedNone) {
            m->readPos -= 4;   // MsgGetHandle reads the length word again
            rows = MsgGetHandle(m, nullptr);
            ok = rows != 0;
        }
    }
    if (!ok) {
        m->failed = true;
        std::memset(record, 0, size);
        return false;
    }
    std::memcpy(record, p, size);
    if (slot >= 0) std::memcpy(record + slot, &rows, 4);
    return true;
}

MemBlock MsgGetRest(MsgBuffer *m) {
    if (m->failed) return 0;
    uint32_t n = MsgRemaining(m);
    MemBlock h = MemAlloc(n);
    if (!h) {
        m->failed = true;
        return 0;
    }
    const uint8_t *p = Take(m, n, n);
    if (n) {
        std::memcpy(MemLock(h), p, n);
        MemUnlock(h);
    }
    return h;
}

// ---- Remote output and received messages ----

MsgPushFn MsgSetPush(MsgPushFn push) { return std::exchange(PushOutput, push); }
MsgPushFn MsgPushInstalled() { return PushOutput; }

bool MsgSend() {
    bool sent = PushOutput != nullptr;
    if (sent) PushOutput(&OutputMessage);
    MsgReset(&OutputMessage);
    return sent;
}

void MsgFlushIfFull() {
    if (MsgLength(&OutputMessage) > MsgFlushLimit) MsgSend();
}

void MsgDisposeReceived() { MsgClear(&ReceivedMessage); }
void MsgReleaseReceived() { MsgClear(&ReceivedMessage); }
