// company_fixture.h - the shell's fixture working in a fresh company
// folder of its own with the database layer started.
#pragma once

#include "tests/shell/shell_fixture.h"

class CompanyFixture : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        UseCompanyFolder();
    }
};
