// stock_cost_lines.cpp - the writers of the stock cost calculations'
// report lines, empty until a report installs them.
#include "rules/stock_cost_lines.h"

#include "core/ui_text.h"

StockCostLinesRec StockCostLines;

// Lines asked for with no writer installed are refused, never dropped
// unseen: the user is told, and the calculation goes on without them.
bool StockCostLinesReady(bool asked, bool installed)
{
    return asked && ServiceInstalled(installed);
}
