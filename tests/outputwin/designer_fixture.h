// designer_fixture.h - the fixture of the form designer's tests: a
// dictionary of its own with the form definitions (register 91), fonts
// (register 93), the designer window (type 23) and its eight part
// windows (types 24 to 31, known by their names), a fresh company, and
// helpers that make items and read them back.
#pragma once

#include <cstring>
#include <string>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "dict_offsets.h"
#include "output/layer_operations.h"
#include "outputwin/designer.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"
#include "tests/shell/record_fixture.h"

inline const char *const DesignerDict = R"(
register 91 DocVc size 486 matrix Matrix {
  Matrix         0  handle
  Code           4  keycode 20     # form name
  RowsPerPage   88  short          # applied when at least 1
  Layout90      90  short          # layout values handed to the print run
  Layout92      92  short
  Layout94      94  short
  Layout96      96  bool
  Copies        98  short
  Alias        100  keycode 20     # not empty: print this form instead; the form is not printed by itself
  CopyLabel1   162  text 60        # the label printed on each copy, 62 apart
  CopyLabel2   224  text 60
  CopyLabel3   286  text 60
  CopyLabel4   348  text 60
  CopyLabel5   410  text 60
  ResultWord   472  short          # returned to the print run
  CopyPage1    474  text 1         # page text of each copy
  CopyPage2    476  text 1
  CopyPage3    478  text 1
  CopyPage4    480  text 1
  CopyPage5    482  text 1

  rows size 182 {
    Kind         0  short          # 0 empty, 1 text, 2 line, 3 box, 4 data field, 5 picture
    Left         2  amount         # form units
    Top         14  amount
    Right       26  amount
    Bottom      38  amount
    Font        50  text 20        # font name; thickness of a line or box; picture file
    Text        72  text 100       # printed text or field text
    Alignment  174  short          # -1 right, 0 left, 1 centred
    RowPitch   176  short          # form units between rows; 0 for text items
    FieldCode  178  short          # 0 = found by the field text in choice list 101
    Word180    180  short          # 0 when made
  }

  index Code head 185 node 504 words 1 1 1 { Code }
}
register 93 FontVc size 136 {
  Name           0  keycode 20
  Text          22  text 60
  PSFontName    84  text 20        # PostScript face
  PSSize       106  short
  PSStyle      108  short
  WinFontName  110  text 20        # screen and printer face
  WinSize      132  short
  WinStyle     134  short

  index Name head 187 node 504 words 1 1 1 { Name }
}
1014 "viewing"
1015 "new"
1016 "changing"
1518 "Store the new record?"
1519 "Store the changes?"
12450 "DocTextVClass"
12451 "DocLineVClass"
12452 "DocFrameVClass"
12453 "DocPictVClass"
12454 "DocMainVClass"
12455 "DocPCVClass"
12456 "DocCopiesVClass"
12457 "DocFldVClass"
12458 "Form"
12459 "Customer number"
choice 102 { 1 -> 12459 }
wintype 1 { kind plain rect 0 0 32 600 }
wintype 23 { kind designer register DocVc recsize 486 rect 10 10 470 650 title 12458 }
window 23 {
  control rect 32 -16 -15 -1 kind scroll start 0 max 0 page 0 label ""
  control rect 4 10 27 70 kind button command 1 page 0 label "Text"
  control rect 4 80 27 140 kind button command 2 page 0 label "Line"
  control rect 4 150 27 210 kind button command 3 page 0 label "Box"
  control rect 4 220 27 280 kind button command 4 page 0 label "Field"
  control rect 4 290 27 350 kind button command 5 page 0 label "Picture"
  pane    rect 32 0 -15 -16 control 0
}
wintype 24 { kind plain recsize 182 rect 60 60 200 400 name 12450 }
window 24 { field rect 30 100 47 380 type text format 100 offset 72 access always page 0 label "Text" }
wintype 25 { kind plain recsize 182 rect 60 60 200 400 name 12451 }
window 25 { field rect 30 100 47 300 type text format 20 offset 50 access always page 0 label "Width" }
wintype 26 { kind plain recsize 182 rect 60 60 200 400 name 12452 }
window 26 { field rect 30 100 47 300 type text format 20 offset 50 access always page 0 label "Width" }
wintype 27 { kind plain recsize 486 rect 60 60 200 400 name 12454 }
window 27 { field rect 30 100 47 300 type keycode format 20 offset 4 access always page 0 label "Name" }
wintype 28 { kind plain recsize 486 rect 60 60 200 400 name 12455 }
window 28 { field rect 30 100 47 300 type short offset 88 access always page 0 label "Rows" }
wintype 29 { kind plain recsize 486 rect 60 60 200 400 name 12456 }
window 29 { field rect 30 100 47 300 type short offset 98 access always page 0 label "Copies" }
wintype 30 { kind plain recsize 182 rect 60 60 200 400 name 12453 }
window 30 { field rect 30 100 47 300 type text format 20 offset 50 access always page 0 label "File" }
wintype 31 { kind plain recsize 182 rect 60 60 200 400 name 12457 }
window 31 { field rect 30 100 47 300 type short offset 178 access always page 0 label "Code" }
)";

class DesignerFixture : public RecordFixture {
protected:
    std::string InterfaceSource() override { return DesignerDict; }

    // A designer window on a new form; 0 when it did not open.
    static int OpenDesigner() { return OpenOrActivateWindow(23, 0, 0, true, 0); }
    // The open part window of the name; 0 none.
    static int Part(const char *name) { return WinFindByName(name); }
    // Closes every part window without its OK.
    static void CloseParts()
    {
        for (const char *name : {"DocTextVClass", "DocLineVClass", "DocFrameVClass", "DocFldVClass",
                                 "DocPictVClass", "DocMainVClass", "DocPCVClass", "DocCopiesVClass"})
            while (int p = WinFindByName(name)) WinClose(p);
    }
    // The screen rectangle (left, top, right, bottom), as the designer takes it.
    static MacRect Screen(int left, int top, int right, int bottom)
    {
        MacRect r;
        MakeRect(&r, left, top, right, bottom);
        return r;
    }
    // Adds an item in form units (the screen rectangle at scroll 0 is
    // the form's moved down by the content's top) and closes its part
    // window; its row is 0.
    static bool Add(int w, int kind, int left, int top, int right, int bottom)
    {
        DesignerContentRect(w);
        int y = WinTable[w]->contentRect.top;
        MacRect r = Screen(left, top + y, right, bottom + y);
        bool added = DesignerAddItem(w, &r, kind);
        CloseParts();
        return added;
    }
    // Item n's coordinates in form units: left, top, right, bottom.
    struct Coords {
        int left, top, right, bottom;
        bool operator==(const Coords &) const = default;
    };
    static Coords At(int w, int n)
    {
        uint8_t item[DocVc::Rows::Size] = {};
        EXPECT_TRUE(MatrixRowGet(DocVc::Number, 0, WinRecordBuffer(w), n, item)) << "row " << n;
        auto u = [&item](size_t at) {
            PackedDecimal d = GetDec(item, at);
            return int(DecToLong(&d));
        };
        return Coords{u(DocVc::Rows::Left), u(DocVc::Rows::Top), u(DocVc::Rows::Right), u(DocVc::Rows::Bottom)};
    }
    static int Kind(int w, int n)
    {
        uint8_t item[DocVc::Rows::Size] = {};
        (void)MatrixRowGet(DocVc::Number, 0, WinRecordBuffer(w), n, item);
        return GetU16(item, DocVc::Rows::Kind);
    }
    // Sets item n's text (a PString field of 100) directly in the form.
    static void SetText(int w, int n, const char *text)
    {
        uint8_t item[DocVc::Rows::Size] = {};
        ASSERT_TRUE(MatrixRowGet(DocVc::Number, 0, WinRecordBuffer(w), n, item));
        PString t;
        PStringFromC(t, text);
        PutText(item, DocVc::Rows::Text, t);
        ASSERT_TRUE(MatrixRowPut(DocVc::Number, 0, WinRecordBuffer(w), n, item));
    }
    static std::string Text(int w, int n)
    {
        uint8_t item[DocVc::Rows::Size] = {};
        (void)MatrixRowGet(DocVc::Number, 0, WinRecordBuffer(w), n, item);
        PString t;
        GetText(item, DocVc::Rows::Text, t);
        return PStringToStd(t);
    }
    // Selects exactly the rows given.
    static void Select(int w, std::initializer_list<int> rows)
    {
        DesignerSelectOnly(w, -1);
        for (int n : rows) DesignerSelectItem(w, n, true);
    }
};
