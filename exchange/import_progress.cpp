// import_progress.cpp - what an import shows while it reads a local file:
// the section tag, the key of the record being read, the database's free
// sectors and a progress bar in the import window; and the Esc that stops it.
#include <cstdio>

#include "core/field_types.h"
#include "core/pstring.h"
#include "database/access/record_access.h"
#include "database/engine/engine.h"
#include "exchange/text_exchange.h"
#include "shell/company.h"
#include "shell/window_utils.h"

namespace {

constexpr uint16_t BarWidth = 198;
uint16_t ShownWidth;   // the filled width last drawn

// True while a local file is read with the import window open.
bool LocalWindowShown()
{
    return ImportSourceMode() == ImportSourceFile && ImportWindowNumber != 0;
}

}  // namespace

// Forgets the bar drawn for the last source.
void ImportProgressReset()
{
    ShownWidth = 0;
}

// Draws the tag followed by blanks at (20, 40) of the import window.
void ImportTagDraw(const uint8_t *tag)
{
    if (!LocalWindowShown()) return;
    PString text;
    PStringCopy(text, tag);
    PStringAppendC(text, "          ");
    ImportWindowText(20, 40, text);
}

// Redraws the progress bar when its filled width has changed (files only:
// a memory source has no window of its own to show).
void ImportProgressBar()
{
    uint16_t mode = ImportSourceMode();
    if (mode == ImportSourceMemory || ImportWindowNumber == 0) return;
    uint32_t length = ImportFileLength();
    uint16_t width = length ? uint16_t(uint64_t(BarWidth) * ImportReadPosition() / length) : 0;
    if (width == ShownWidth) return;
    ShownWidth = width;
    ImportWindowBar(width);
}

// Polls Esc into the abort flag (outside client mode) and shows the value,
// formatted by its type, and the database's free sectors.
void ImportShowProgress(const void *value, uint16_t type)
{
    if (!RunModeIsClient()) PollEscape(&ImportAbortFlag);
    if (!LocalWindowShown() || !value) return;
    PString text;
    FieldToText(static_cast<const uint8_t *>(value), type, text);
    PStringAppendC(text, "          ");
    ImportWindowText(20, 60, text);
    char sectors[16];
    std::snprintf(sectors, sizeof sectors, "%u", unsigned(D4FreeSectorCount()));
    PStringFromC(text, sectors);
    ImportWindowText(20, 100, text);
}
