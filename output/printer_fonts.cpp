// printer_fonts.cpp - the fonts a print job draws with: the normal and
// the bold printer font (10 points), the font of a form's font record,
// and the sized font the form designer draws texts in on the screen.
//
// A face comes from the caller (the company's printer face, a font
// record's face), else from text PrinterFace, else the platform's serif
// face: the first of these that is set and that the font layer can make
// a font of.
#include <cstring>
#include <string>

#include "core/field_access.h"
#include "core/output_kind.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/settings_blocks.h"
#include "output/output_windows.h"
#include "output/output_job.h"
#include "output/printer.h"
#include "platform/print.h"

namespace {

// Bytes of the key that tells one font record's font from another's:
// the record's name, face, size and style and where it is drawn.
constexpr size_t KeyName = 0, KeyFace = 22, KeySize = 44, KeyStyle = 46, KeyTarget = 48;
static_assert(KeyTarget + 1 <= sizeof(PrinterStateRec::lastFontRecord));

// The largest size a font record prints at, in points: ten inches, more
// than any page holds. A record (a server's among them) asking for more
// prints at this size rather than at one the font layer cannot make.
constexpr int FormFontPointsMax = 720;

// A font of the face (a PString, may be null or empty), else of text
// PrinterFace, else of the serif face; null when none can be made.
PlFont *FontOfFace(const uint8_t *face, int pixelHeight, int weight, bool italic)
{
    PString fallback;
    GetUiText(fallback, Texts::PrinterFace);
    const std::string faces[3] = {
        face ? PlCp1252ToUtf8(PStringView(face)) : std::string(),
        PlCp1252ToUtf8(PStringView(fallback)),
        std::string(kPlSerifFace),
    };
    for (const std::string &f : faces) {
        if (f.empty()) continue;
        PlFont *font = FontCreate(f, pixelHeight, weight, italic);
        if (font) return font;
    }
    return nullptr;
}

// Frees *font after taking it out of the contexts that may hold it.
void ReleaseFont(PlFont **font)
{
    if (!*font) return;
    if (Printer.dc && DcFont(Printer.dc) == *font) DcSelectFont(Printer.dc, nullptr);
    DrawContext *port = OutPortContext();
    if (port && DcFont(port) == *font) DcSelectFont(port, nullptr);
    FontDestroy(*font);
    *font = nullptr;
}

// The company's printer face (a PString in block 129); null when no
// company block is bound.
const uint8_t *CompanyPrinterFace(PString out)
{
    if (!CompanyBlock) return nullptr;
    SettingsBlockLoad(CompanyBlk::Number);
    GetText(CompanyBlock, CompanyBlk::PrinterFontName, out);
    return out;
}

// A report's font at dpi: 10 points of the company's printer face in
// weight 400 (normal) or 700 (bold). The print job and the measures for a
// client's printer make their fonts here, so both measure alike.
PlFont *ReportPrinterFont(int dpi, int weight)
{
    PString face;
    return FontOfFace(CompanyPrinterFace(face), 10 * dpi / 72, weight, false);
}

}  // namespace

// Makes the job's normal (weight 400) and bold (700) fonts of 10 points at
// the job's vertical resolution in the company's printer face, and forgets
// the last form font. False (no font kept) when either cannot be made.
bool PrinterFontsInit()
{
    PrinterFontsFree();
    Printer.normal = ReportPrinterFont(Printer.dpiY, 400);
    Printer.bold = ReportPrinterFont(Printer.dpiY, 700);
    if (!Printer.normal || !Printer.bold) {
        PrinterFontsFree();
        return false;
    }
    return true;
}

namespace {

// The normal printer font made for measuring without a print job (see
// PrinterMeasureWidth).
PlFont *MeasureFont = nullptr;

}  // namespace

// The width in device units of a PString as a report job's printer draws
// it: in the job's normal font at the printers' resolution, made as
// PrinterFontsInit makes it, without a document. A server measures so for
// a client whose printer the job goes to. 0 when the font cannot be made.
int PrinterMeasureWidth(const uint8_t *text)
{
    if (!text || !text[0]) return 0;
    if (!MeasureFont) MeasureFont = ReportPrinterFont(kPlPrintDpi, 400);
    return MeasureFont ? FontTextExtent(MeasureFont, PStringView(text)).cx : 0;
}

// Frees the font PrinterMeasureWidth made.
void PrinterMeasureFontFree()
{
    if (MeasureFont) FontDestroy(MeasureFont);
    MeasureFont = nullptr;
}

// Frees the job's fonts and forgets the last form font.
void PrinterFontsFree()
{
    ReleaseFont(&Printer.normal);
    ReleaseFont(&Printer.bold);
    ReleaseFont(&Printer.formFont);
    std::memset(Printer.lastFontRecord, 0, sizeof Printer.lastFontRecord);
}

// Selects the bold or the normal printer font on the open page.
void SelectFontOf(bool bold)
{
    PlFont *font = bold ? Printer.bold : Printer.normal;
    if (Printer.dc && font) DcSelectFont(Printer.dc, font);
}

// Makes a font of `height` pixels in the face (a PString; empty: the
// fallbacks) and selects it into the screen port, in place of the sized
// font made before. A font that cannot be made leaves the old one.
void PrinterFontSized(const uint8_t *face, int unused, int height)
{
    PlFont *font = FontOfFace(face, height, 400, false);
    if (!font) return;
    if (DrawContext *port = OutPortContext()) DcSelectFont(port, font);
    ReleaseFont(&Printer.sized);
    Printer.sized = font;
}

// Selects the font of a font record (register 93: face, size in points,
// style 1 bold, 2 italic, 3 both): on the page at the job's resolution,
// or 12 pixels high on the screen port while the output is a preview.
// The font is made again only for a record that differs from the last.
// A record without a size prints at 10 points, one past the largest at
// FormFontPointsMax.
void PrinterFontSelect(const uint8_t *fontRecord)
{
    if (!fontRecord) return;
    const uint8_t *job = CurrentJobRecord();
    bool preview = job && GetU16(job, ReportParamsVc::OutputKind) == OutputCode(OutputKind::ToPreview);
    uint8_t key[sizeof Printer.lastFontRecord] = {};
    std::memcpy(key + KeyName, fontRecord + FontVc::Name, KeyFace - KeyName);
    std::memcpy(key + KeyFace, fontRecord + FontVc::WinFontName, KeySize - KeyFace);
    std::memcpy(key + KeySize, fontRecord + FontVc::WinSize, 2);
    std::memcpy(key + KeyStyle, fontRecord + FontVc::WinStyle, 2);
    key[KeyTarget] = preview ? 2 : 1;
    if (!Printer.formFont || std::memcmp(key, Printer.lastFontRecord, sizeof key) != 0) {
        int points = GetI16(fontRecord, FontVc::WinSize);
        if (points < 1) points = 10;
        if (points > FormFontPointsMax) points = FormFontPointsMax;
        int style = GetI16(fontRecord, FontVc::WinStyle);
        PString face;
        GetText(fontRecord, FontVc::WinFontName, face);
        PlFont *font = FontOfFace(face, preview ? 12 : points * Printer.dpiY / 72, style == 1 || style == 3 ? 700 : 400,
                                  style == 2 || style == 3);
        if (!font) return;
        ReleaseFont(&Printer.formFont);
        Printer.formFont = font;
        std::memcpy(Printer.lastFontRecord, key, sizeof key);
    }
    DrawContext *dc = preview ? OutPortContext() : Printer.dc;
    if (dc) DcSelectFont(dc, Printer.formFont);
}
