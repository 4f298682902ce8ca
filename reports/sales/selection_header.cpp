// selection_header.cpp - how a report's header takes its title from the
// selection.
#include "reports/sales/report_frame.h"

uint8_t TitleFromSelection = 0;
