// printing_fixture.h - a business fixture whose documents print: the
// output layer's prints installed as start-up installs them, through the
// fixture's InstallPrints (tests/operations/invoice_fixture.h), before
// the company is laid down.
#pragma once

#include "output/print_services_install.h"

template <class Base>
class Printing : public Base {
protected:
    void InstallPrints() override { PrintServicesInstall(); }
};
