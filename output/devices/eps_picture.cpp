// eps_picture.cpp - the texts that include an EPS picture in PostScript
// output, handed to the platform's pass-through.
//
// The pass-through is empty on this platform (null), so an EPS picture
// a server sends leaves no trace on paper: the texts are composed in
// their order all the same (tests capture them) and the caller frees the
// picture's handles.
#include <cstdio>
#include <string>

#include "core/pstring.h"
#include "output/devices/device_table.h"

void (*PostScriptPassThrough)(const uint8_t *text) = nullptr;

namespace {

// Hands one text to the pass-through (nothing when there is none).
void Pass(const std::string &text)
{
    if (!PostScriptPassThrough) return;
    PString t;
    PStringFromView(t, text);
    PostScriptPassThrough(t);
}

// Two numbers, each after a blank, with "." as the decimal separator
// whatever the locale, then the operator text.
std::string Pair(double a, double b, const char *op)
{
    std::string s;
    for (double v : {a, b}) {
        char n[48];
        std::snprintf(n, sizeof n, " %.4f", v);
        for (char *c = n; *c; c++)
            if (*c == ',') *c = '.';
        s += n;
    }
    return s + op;
}

// Coordinate i (0 top, 1 left, 2 bottom, 3 right) less the page origin.
double At(const PackedDecimal r[4], int i)
{
    double v = DecToDouble(&r[i]);
    return (i % 2 == 0) ? v - FormOriginY : v - FormOriginX;
}

}  // namespace

// Composes the EPS inclusion for the picture rectangle r1 and the EPS
// bounding rectangle r2: the save-state prologue, a move to the picture's
// lower left, a scale (mode 1: the picture's size over the EPS's; else a
// flip), a move to the EPS's origin, the document text, the epilogue.
void EpsPictureOut(MemBlock, MemBlock, const PackedDecimal r1[4], const PackedDecimal r2[4], const uint8_t *text,
                   int mode)
{
    static const char *const prologue[] = {
        " /BeginEPSF {%def ", " /b4_Inc_state save def ", " /dict_count countdictstack def ",
        " /op_count count 1 sub def ", " userdict begin ", " /showpage {} def ", " 0 setgray 0 setlinecap ",
        " 1 setlinewidth 0 setlinejoin ", " 10 setmiterlimit [] 0 setdash newpath ", " /languagelevel where ",
        " {pop languagelevel ", " 1 ne ", " {false setstrokeadjust false setoverprint ", " } if ", " } if ",
        " } bind def ", " /EndEPSF {%def ", " count op_count sub {pop} repeat ",
        " countdictstack dict_count sub {end} repeat ", " b4_Inc_state restore ", " } bind def ", " BeginEPSF ",
    };
    for (const char *p : prologue) Pass(p);
    Pass(Pair(At(r1, 1), At(r1, 2), " translate "));
    double epsWidth = At(r2, 3) - At(r2, 1), epsHeight = At(r2, 2) - At(r2, 0);
    if (mode == 1 && epsWidth != 0 && epsHeight != 0)
        Pass(Pair((At(r1, 3) - At(r1, 1)) / epsWidth, (At(r1, 2) - At(r1, 0)) / epsHeight, " scale "));
    else
        Pass("1 -1 scale ");
    Pass(Pair(-At(r2, 1), -At(r2, 0), " translate "));
    std::string doc = "%%BeginDocument: ";
    if (text) doc.append(reinterpret_cast<const char *>(text + 1), text[0]);
    Pass(doc);
    Pass(" %%EndDocument ");
    Pass(" EndEPSF ");
}
