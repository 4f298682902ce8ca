// remote_settings.cpp - client stubs of the settings blocks stored in
// the server's database: read into a buffer, fetch as a handle, store
// with the server's check (requests 1 and 10 of docs/protocol.md). Block
// data travel in memory form; nothing is converted here.
#include <cstring>

#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/remote_internal.h"

namespace {

// Request 1: the block's data in a new handle (*n bytes; a block of 0
// bytes for an absent one).
bool ReadRequest(int block, MsgBuffer *reply, MemBlock *data, uint32_t *n) {
    MsgBuffer request;
    MsgPutWord(&request, (uint16_t)block);
    if (!RemoteExchange(ReqSettingsRead, &request, reply)) return false;
    *data = MsgGetHandle(reply, n);
    if (RemoteReplyDone(reply)) return true;
    MemFree(data);
    return false;
}

}  // namespace

// An absent block (length 0) zero-fills the buffer and gives false, as
// the local read does. A block longer than the buffer fills it; a
// shorter one leaves the rest zero.
bool SettingsBlockReadRemote(int block, uint8_t *buffer, uint32_t size) {
    MsgBuffer reply;
    MemBlock data = 0;
    uint32_t n = 0;
    if (!ReadRequest(block, &reply, &data, &n)) return false;
    uint32_t copied = n < size ? n : size;
    if (copied) {
        std::memcpy(buffer, MemLock(data), copied);
        MemUnlock(data);
    }
    if (size > copied) std::memset(buffer + copied, 0, size - copied);
    MemFree(&data);
    return n != 0;
}

bool SettingsBlockFetchRemote(MemBlock *var, int block) {
    MsgBuffer reply;
    MemBlock data = 0;
    uint32_t n = 0;
    if (!ReadRequest(block, &reply, &data, &n)) return false;
    if (n == 0) MemFree(&data);
    MemFree(var);
    *var = data;
    return n != 0;
}

int SettingsBlockStoreRemote(int block, const uint8_t *data, uint32_t size) {
    MsgBuffer request;
    MsgPutWord(&request, (uint16_t)block);
    MsgPutSized(&request, data, size);
    return RemoteCheckedExchange(ReqSettingsStore, &request);
}
