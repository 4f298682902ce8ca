// road_form_steps.h - the step that designs a document's form from
// nothing in the form designer, as a user draws one: Registers > Forms,
// New, the form's name in its Form window, then each text and data field
// drawn with the designer's tool buttons and stored with OK; the step
// that chooses that form in a document's form settings; the steps that
// print a document and a customer's statement on their forms; and the
// reading of a printed bar code.
#pragma once

#include "tests/roads/road_fixture.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// What the designer draws: a text printed as typed, or a data field whose
// code is chosen by its name in the field window (as "Invoice number").
enum class FormItemKind { Text, Field };

// One item of a form: its kind, its text or field name, its place in
// form units (one a point) and, for a field of the document's rows, the
// form units between one row and the next (0: a field of the head).
struct FormItem {
    FormItemKind kind;
    std::string text;
    int left = 0, top = 0, width = 150;
    int rowPitch = 0;
};

// Registers > Forms (every window closed first), New, the form's name
// typed in the designer's Form window, each item drawn with its tool
// (the mouse dragged over its place) and typed in its window, and OK:
// the road fails unless the form is stored without a message. Every
// window is closed afterwards.
void DesignForm(RoadTest &road, const std::string &code, const std::vector<FormItem> &items);

// The pointer pressed at form point (x, y) of the active designer, moved
// to (x2, y2) in two steps and released there.
void DragInDesigner(RoadTest &road, const std::string &what, int x, int y, int x2, int y2);

// A double-click at form point (x, y) of the active designer: the item
// there opens in its window (a data field's shows the field's name).
void OpenInDesigner(RoadTest &road, const std::string &what, int x, int y);

// Settings > Forms... of the module shown, the row `row` and Return:
// the road fails unless window `type` opens; form `code` typed as its
// first row's form and OK, which must store it quietly. Every window is
// closed afterwards.
void ChooseForm(RoadTest &road, const std::string &row, int type, const std::string &code);

// Whether the tools that read a printed bar code are there.
bool CanScan();
// The digits of the bar code on the PDF's page, read as a bank's reader
// reads them (the page rendered at 300 dpi into `png`.png); empty when
// none is read.
std::string ScannedBarcode(const std::filesystem::path &pdf, const std::filesystem::path &png);

// Ctrl+P in the active document window, the print dialog answered: the
// road fails unless one more PDF is printed. The PDF's text is in the
// result once that step ran; a copy is kept as `shot`.pdf in the folder
// ORVEL_ROAD_SHOTS names.
std::shared_ptr<std::string> PrintActiveDocument(RoadTest &road, const std::string &shot);

// File > Documents... > "Customer statements" for customer `customer`
// over this year, to the printer: the road fails unless one more PDF is
// printed. Its text is in the result once that step ran; a copy is kept
// as `shot`.pdf in the folder ORVEL_ROAD_SHOTS names.
std::shared_ptr<std::string> PrintCustomerStatement(RoadTest &road, const std::string &customer,
                                                    const std::string &shot);
