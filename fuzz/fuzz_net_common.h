// fuzz_net_common.h - what the two network fuzz targets share: the
// interface file the build compiled, quiet messages, an abort on a failed
// check, and the building of frames for their seeds.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/interface_load.h"
#include "core/language_file.h"
#include "core/message_sink.h"
#include "core/msg_buffer.h"
#include "core/ui_text.h"

namespace fuzznet {

inline void Quiet(const char *) {}

inline void Check(bool ok) {
    if (!ok) std::abort();
}

inline bool LoadInterface() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    LangFileSetDirectories({exe.string(), exe.parent_path().string(), ""});
    std::string error;
    if (LoadDefinitions(&error)) return true;
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
}

// A frame: the u32 total length, then head (the words and longs after
// it, as given) and the body.
inline void AppendFrame(std::vector<uint8_t> *out, MsgBuffer *head, MsgBuffer *body) {
    uint32_t n = 4 + MsgLength(head) + (body ? MsgLength(body) : 0);
    for (int i = 0; i < 4; i++) out->push_back(uint8_t(n >> (8 * i)));
    out->insert(out->end(), MsgData(head), MsgData(head) + MsgLength(head));
    if (body && MsgLength(body)) out->insert(out->end(), MsgData(body), MsgData(body) + MsgLength(body));
}

}  // namespace fuzznet
