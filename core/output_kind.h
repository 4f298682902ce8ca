// output_kind.h - the output devices by the code the job record's first
// word holds: where a report, a form or an export goes.
#pragma once

#include <cstdint>

enum class OutputKind : uint16_t {
    ToPrinter = 1,       // the printer (a PDF document)
    ToTextFile = 2,      // a text file: texts each followed by TAB, lines ended by CR LF
    ToBuffer = 5,        // the memory buffer, emptied at job start
    ToPreview = 6,       // a preview window
    ToJobQueue = 7,      // not run: the job is kept in the job queue
    ToBufferKept = 8,    // the memory buffer, kept across jobs
    ToCharPrinter = 10,  // a character printer on a port
    ToTabFile = 12,      // a file of TAB-separated fields
    Nowhere = 65521,     // no output; only the busy message shows the title
};

// The code as the job record stores it.
constexpr uint16_t OutputCode(OutputKind k) { return static_cast<uint16_t>(k); }
