// program_start.cpp - the features layer installed, then the program run.
#include "features/program_start.h"

#include "exchange/text_exchange.h"
#include "net/net.h"
#include "reports/frame/report_run.h"

void FeaturesInstall()
{
    TextExchangeInstall();
    ReportsInstall();
    NetInstall();
}

int OrvelStart(const StartOptions &o)
{
    FeaturesInstall();
    return WinMain(o);
}
