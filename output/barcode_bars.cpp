// barcode_bars.cpp - bar codes drawn as bars on the printer. No bar-code
// font ships with the program, so a form text whose font record names a
// bar-code face is not drawn as characters: its text, in the bar-code
// font's characters that the document's values produce, is laid out as
// the symbols' bars and spaces across the element's rectangle. Faces:
// "Code 128" (start character 0x91, one character per symbol value, the
// stop characters 0x8F 0x85) and "EAN-13" (the 15 characters of
// Ean13BarcodeText).
//
// Each Code 128 symbol is six widths (bar, space, bar, space, bar, space)
// of 11 modules in all; the stop symbol is seven widths of 13 modules.
// A text that is not a whole Code 128 symbol string draws nothing rather
// than bars that scan to something else.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/barcode_tables.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "output/printer.h"

namespace {
constexpr uint8_t StartC = 0x91, Stop1 = 0x8F, Stop2 = 0x85;
constexpr int StartCValue = 105, QuietModules = 10;

// The widths of Code 128 symbol values 0..105, bar first.
constexpr const char *Code128Widths[106] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131", "211412", "211214", "211232"};
constexpr const char *Code128Stop = "2331112";

void AppendWidths(const char *w, std::vector<uint8_t> *out) {
    for (; *w; w++) out->push_back((uint8_t)(*w - '0'));
}

// The EAN-13 digit patterns of the left half's odd-parity set (L), as
// seven modules each, 1 a bar; the even set (G) is the R set reversed,
// the R set the L set inverted.
constexpr const char *Ean13L[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                    "0110001", "0101111", "0111011", "0110111", "0001011"};

// Appends module pattern bits (1 bar, 0 space) as run widths, bar first,
// to widths; the pattern must continue the runs so far (its first
// module of the other colour than the last run's, or the same to extend).
void AppendModules(const std::string &bits, std::vector<uint8_t> *widths) {
    for (char b : bits) {
        bool bar = b == '1';
        bool lastIsBar = widths->size() % 2 == 1;
        if (!widths->empty() && bar == lastIsBar) widths->back()++;
        else if (widths->empty() && !bar) { widths->push_back(0); widths->push_back(1); }
        else widths->push_back(1);
    }
}
}  // namespace

// The 13 digits of an EAN-13 text in the bar-code font's characters;
// false when it is not one (the text is encoded again to be sure).
bool Ean13DigitsOfBarText(const uint8_t *text, uint8_t *digits) {
    if (text[0] != 15 || text[1] != '.' || text[8] != '-' || text[15] != '.') return false;
    digits[0] = 13;
    digits[2] = text[2];
    for (int k = 3; k <= 7; k++) digits[k] = text[k] >= '0' + 16 ? (uint8_t)(text[k] - 16) : text[k];
    for (int i = 8; i <= 13; i++) digits[i] = (uint8_t)(text[i + 1] - 49);
    for (int first = 0; first <= 9; first++) {
        digits[1] = (uint8_t)('0' + first);
        uint8_t again[256];
        if (Ean13BarcodeText(digits, again) && std::equal(again, again + 16, text)) return true;
    }
    return false;
}

// The bar and space widths of an EAN-13 text: guards, the left half by
// the first digit's parities, the centre guard, the right half.
bool Ean13BarWidths(const uint8_t *text, std::vector<uint8_t> *widths) {
    widths->clear();
    uint8_t d[256];
    if (!Ean13DigitsOfBarText(text, d)) return false;
    std::string bits = "101";
    for (int i = 2; i <= 7; i++) {
        std::string l = Ean13L[d[i] - '0'];
        // The font text's shifted characters are the even-parity (G) digits.
        if (text[i] >= '0' + 16) {   // G: the L pattern inverted and reversed
            for (char &c : l) c = c == '1' ? '0' : '1';
            l = std::string(l.rbegin(), l.rend());
        }
        bits += l;
    }
    bits += "01010";
    for (int i = 8; i <= 13; i++) {
        std::string r = Ean13L[d[i] - '0'];
        for (char &c : r) c = c == '1' ? '0' : '1';
        bits += r;
    }
    bits += "101";
    AppendModules(bits, widths);
    return true;
}

// True when the face names the Code 128 bar-code face.
bool IsCode128Face(const uint8_t *face) {
    uint8_t a[256], b[256];
    PStringFromC(a, "Code 128");
    PStringFromC(b, "Code128");
    return PStringCompareNoCase(face, a) == 0 || PStringCompareNoCase(face, b) == 0;
}

// The bar and space widths (in modules, bar first) of a Code 128 text in
// the bar-code font's characters: its start, its symbols and its stop.
// False, widths empty, for a text that is not such a string.
bool Code128BarWidths(const uint8_t *text, std::vector<uint8_t> *widths) {
    widths->clear();
    int n = text[0];
    if (n < 3 || text[1] != StartC || text[n - 1] != Stop1 || text[n] != Stop2) return false;
    AppendWidths(Code128Widths[StartCValue], widths);
    for (int i = 2; i <= n - 2; i++) {
        uint16_t v = OrdinalOfChar(text[i]);
        if (CharFromOrdinal(v) != text[i] || v > 102) {
            widths->clear();
            return false;
        }
        AppendWidths(Code128Widths[v], widths);
    }
    AppendWidths(Code128Stop, widths);
    return true;
}

// True when the face names the EAN-13 bar-code face.
bool IsEan13Face(const uint8_t *face) {
    uint8_t a[256], b[256];
    PStringFromC(a, "EAN-13");
    PStringFromC(b, "EAN13");
    return PStringCompareNoCase(face, a) == 0 || PStringCompareNoCase(face, b) == 0;
}

// Draws the text of a bar-code face as bars across the rectangle (report
// points) on the printer's page, a quiet zone of ten modules each side;
// false when the face is none or the text no string of it, or the
// rectangle is too narrow for one device unit a module.
bool PrinterBarcodeBars(const uint8_t *face, const uint8_t *text, int32_t top, int32_t left, int32_t bottom,
                        int32_t right) {
    std::vector<uint8_t> widths;
    bool ok = IsCode128Face(face) ? Code128BarWidths(text, &widths) : IsEan13Face(face) && Ean13BarWidths(text, &widths);
    if (!Printer.dc || !ok) return false;
    int modules = 2 * QuietModules;
    for (uint8_t w : widths) modules += w;
    int32_t x0 = ReportToPrinterX(left), x1 = ReportToPrinterX(right);
    int32_t y0 = ReportToPrinterY(top), y1 = ReportToPrinterY(bottom);
    int module = (x1 - x0) / modules;
    if (module < 1 || y1 <= y0) return false;
    int x = x0 + QuietModules * module;
    for (size_t i = 0; i < widths.size(); i++) {
        int w = widths[i] * module;
        if (i % 2 == 0) DcFillRect(Printer.dc, PlRect{x, y0, x + w, y1}, kPlBrushBlack);
        x += w;
    }
    return true;
}
