// out_file.cpp - unique names for output files (bank files and the like)
// and the one export output stream that the output layer writes to.
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/system.h"

PString OutFileDirectory = {4, 'o', 'u', 't', '/'};
PString ExportFileName = {0};

namespace {

// The clock value of the last name handed out; later names never go
// below it, so two calls in the same second still differ.
uint64_t LastOutFileStamp = 0;

// How many taken names are passed over before giving up; only a
// directory full of files named like ours would get that far.
constexpr int MaxNameTries = 100000;

std::FILE *ExportStream = nullptr;

}  // namespace

bool UniqueOutFileName(uint8_t *name, uint16_t *word) {
    namespace fs = std::filesystem;
    name[0] = 0;
    *word = 0;

    std::string dir(PStringView(OutFileDirectory));
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    std::error_code ec;
    if (!dir.empty()) {
        fs::create_directories(dir, ec);
        if (ec || !fs::is_directory(dir, ec))
            return false;
    }

    uint64_t stamp = static_cast<uint64_t>(std::time(nullptr));
    if (stamp <= LastOutFileStamp)
        stamp = LastOutFileStamp + 1;
    for (int tries = 0; tries < MaxNameTries; ++tries, ++stamp) {
        char tail[32];
        std::snprintf(tail, sizeof tail, "%llX.EEP", static_cast<unsigned long long>(stamp));
        std::string path = dir + tail;
        if (path.size() > PStringMax)
            return false;
        if (fs::exists(path, ec) || ec)
            continue;
        LastOutFileStamp = stamp;
        PStringFromView(name, path);
        return true;
    }
    return false;
}

bool ExportFileOpen() {
    ExportFileClose();
    std::string path(PStringView(ExportFileName));
    if (path.empty())
        return false;
    ExportStream = std::fopen(path.c_str(), "wb");
    return ExportStream != nullptr;
}

int ExportFileWrite(const void *data, size_t n) {
    if (!ExportStream)
        return 1;
    if (n == 0)
        return 0;
    return std::fwrite(data, 1, n, ExportStream) == n ? 0 : 1;
}

bool ExportFileClose() {
    if (!ExportStream)
        return true;
    bool ok = std::fclose(ExportStream) == 0;
    ExportStream = nullptr;
    return ok;
}
