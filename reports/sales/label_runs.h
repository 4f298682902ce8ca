// label_runs.h - the document batch prints of single records and label
// sheets: stock movements (-20), items (-21), purchases (-22), purchase
// labels (-23), assets (-25), customers (-26, -13) and delivery labels
// (-27). Each walks its register over the job record's selection and
// hands what it collected to the form printer with the run's number as
// the form type.
#pragma once

#include <cstdint>

struct ReportJob;

// The sheet of labels the form printer fills: columns x rows cells of
// cellWidth x cellHeight form units. A run printing one record a form
// sets the single sheet (1 x 1).
struct LabelSheetRec {
    int16_t columns = 1, rows = 1, cellWidth = 0, cellHeight = 0;
};
extern LabelSheetRec LabelSheet;

// The form printer the runs hand their records (or sheets) to: PrintForm;
// tests put a recorder in its place and back.
extern uint8_t (*LabelFormPrint)(int16_t doctype, const uint8_t *record);

// The most forms a run prints of one record, whatever a quantity or a
// copy count asks for.
constexpr int32_t LabelCopyCap = 1000;

void PrintStockMoveForms(ReportJob &job);    // -20
void PrintItemForms(ReportJob &job);         // -21
void PrintPurchaseForms(ReportJob &job);     // -22
void PrintPurchaseLabels(ReportJob &job);    // -23
void PrintAssetForms(ReportJob &job);        // -25
void PrintCustomerForms26(ReportJob &job);   // -26
void PrintCustomerForms13(ReportJob &job);   // -13
void PrintDeliveryLabels(ReportJob &job);    // -27

// The forms of a label quantity q: trunc(q + 0.5), at least 1 when
// atLeastOne (delivery labels), capped at LabelCopyCap.
int32_t LabelCopies(double q, bool atLeastOne);
// The copies of run -26 from the job record's count: the unset value (all
// ones) counts as 1; capped at LabelCopyCap.
int32_t CustomerFormCopies(uint32_t count);
