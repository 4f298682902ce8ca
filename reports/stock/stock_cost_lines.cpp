// stock_cost_lines.cpp - the stock reports' lines of the FIFO walk and of
// the component scan, installed into the rules' line writers.
#include <cstdio>

#include "core/field_types.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "reports/sales/sales_reports.h"
#include "rules/stock_cost_lines.h"

namespace {

constexpr int TextProduction = Texts::FifoLineProduction, TextPurchase = Texts::YearName205,
              TextMovement = Texts::YearName209;
constexpr int LineHeight = 15;   // the reports' line: a line of no height is overprinted by the next

// One report line of a row taken: the document, its date, the units taken,
// the unit cost and their value.
void FifoRowLine(uint16_t type, uint32_t serial, const DateRec &date, const PackedDecimal *qty,
                 const PackedDecimal *unit, const PackedDecimal *value) {
    PString text, number;
    GetUiText(text, type == ProductionVc::Number ? TextProduction
                    : type == PUVc::Number       ? TextPurchase
                                                 : TextMovement);
    PStringAppendC(text, ":");
    char digits[16];
    std::snprintf(digits, sizeof digits, "%u", unsigned(serial));
    PStringFromC(number, digits);
    PStringAppend(text, number);
    RepStartLine(LineHeight);
    RepTextEx(50, 0, 0, 0, 0, text);
    RepValueEx(160, -1, 0, reinterpret_cast<const uint8_t *>(&date), FtDate, 0, 0);
    RepValueEx(3, -1, 0, reinterpret_cast<const uint8_t *>(qty), FtAmount3, 1, 0);
    RepValueEx(4, -1, 0, reinterpret_cast<const uint8_t *>(unit), FtAmount2, 1, 0);
    RepValueEx(1, -1, 0, reinterpret_cast<const uint8_t *>(value), FtAmount2, 1, 0);
    RepEndLine();
}

// One report line per component: its code, what is available and
// reserved, and the two quantities the item needs of it per unit.
void ComponentLine(const uint8_t *code, const PackedDecimal *available, const PackedDecimal *reserved,
                   const PackedDecimal *needed, const PackedDecimal *neededSecond) {
    constexpr int ColName = 2;
    RepStartLine(LineHeight);
    RepTextEx(ColName, -1, 0, 0, 0, code);
    RepValue(250, 0, reinterpret_cast<const uint8_t *>(available), FtAmount3, -1);
    RepValue(300, 0, reinterpret_cast<const uint8_t *>(reserved), FtAmount3, -1);
    RepValue(360, 0, reinterpret_cast<const uint8_t *>(needed), FtAmount3, -1);
    RepValue(430, 0, reinterpret_cast<const uint8_t *>(neededSecond), FtAmount3, -1);
    RepEndLine();
}

}  // namespace

void StockCostLinesInstall()
{
    StockCostLines = StockCostLinesRec{
        .fifoRow = FifoRowLine,
        .component = ComponentLine,
    };
}
