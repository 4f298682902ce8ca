// output_fixture.h - what the output tests share: a double of the runs
// that later subsystems install (it records every call with its
// arguments and a copy of the job record, answers as the test says and puts
// the table back when it goes), and a fresh folder for printed files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "database/access/settings_blocks.h"
#include "database/engine/engine.h"
#include "output/output_job.h"
#include "output/printer.h"
#include "tests/database/access/company_fixture.h"
#include "tests/output/test_job.h"

// One call a run received.
struct RunCall {
    std::string name;                 // the OutputRunServices member
    std::vector<int64_t> args;        // its number arguments, in order
    std::vector<uint8_t> bytes;       // the bytes or PString it was given, when any
    std::vector<uint8_t> params;      // the job record the run had at the call (empty without)
    bool attached = false;            // the run's job was the one the output prints from
};

class RunServicesDouble {
public:
    bool answer = true;               // what the runs with a result give
    std::vector<RunCall> calls;

    RunServicesDouble() : saved_(OutputRunServices)
    {
        EXPECT_EQ(current_, nullptr) << "one RunServicesDouble at a time";
        current_ = this;
        OutputRunServicesRec &s = OutputRunServices;
        s.runReportCommand = [](ReportJob &job) { return Take("runReportCommand", {}, nullptr, 0, job.selection); };
        s.reportParamsCheck = [](uint8_t *params) {
            return Take("reportParamsCheck", {}, params, params ? ReportParamsSize : 0);
        };
        s.runTextExport = [](ReportJob &job, int kind) { return Take("runTextExport", {kind}, nullptr, 0, job.selection); };
    }
    ~RunServicesDouble()
    {
        OutputRunServices = saved_;
        current_ = nullptr;
    }
    RunServicesDouble(const RunServicesDouble &) = delete;
    RunServicesDouble &operator=(const RunServicesDouble &) = delete;

    // The calls a run received, in order.
    std::vector<RunCall> CallsOf(const std::string &name) const
    {
        std::vector<RunCall> out;
        for (const RunCall &c : calls)
            if (c.name == name) out.push_back(c);
        return out;
    }
    // The names of all calls, in order.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> out;
        for (const RunCall &c : calls) out.push_back(c.name);
        return out;
    }

private:
    OutputRunServicesRec saved_;
    static inline RunServicesDouble *current_ = nullptr;

    // Records a call and gives the double's answer; the job record is the
    // run's own, else the one the output prints from.
    static bool Take(const char *name, std::vector<int64_t> args, const uint8_t *bytes = nullptr, uint32_t n = 0,
                     const uint8_t *job = nullptr)
    {
        RunServicesDouble *d = current_;
        if (!d) {
            ADD_FAILURE() << name << " called after its double went";
            return false;
        }
        RunCall c{name, std::move(args), {}, {}, job && CurrentJobRecord() == job};
        if (bytes) c.bytes.assign(bytes, bytes + n);
        if (!job) job = CurrentJobRecord();
        if (job) c.params.assign(job, job + ReportParamsSize);
        d->calls.push_back(std::move(c));
        return d->answer;
    }
};

// A fresh folder for the files a print job writes, removed at the end.
struct TempPrintDir {
    std::filesystem::path path;

    TempPrintDir()
    {
        const ::testing::TestInfo *t = ::testing::UnitTest::GetInstance()->current_test_info();
        path = std::filesystem::path(::testing::TempDir()) /
               ("orvel_print_" + std::to_string(getpid()) + "_" + (t ? t->name() : "none"));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempPrintDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempPrintDir(const TempPrintDir &) = delete;
    TempPrintDir &operator=(const TempPrintDir &) = delete;

    // The files in the folder.
    std::vector<std::filesystem::path> Files() const
    {
        std::vector<std::filesystem::path> out;
        for (const auto &e : std::filesystem::directory_iterator(path))
            if (e.is_regular_file()) out.push_back(e.path());
        return out;
    }
};

// A PString made from a C text, passed where the operations take one.
struct Ps {
    PString t;
    explicit Ps(const std::string &s) { PStringFromC(t, s.c_str()); }
    operator const uint8_t *() const { return t; }
};

// Makes buf the PString of t; buf, for the calls that take one.
inline const uint8_t *P(PString &buf, const char *t)
{
    PStringFromView(buf, t);
    return buf;
}

// Sets the output kind of the job record the output prints from.
inline void OutKind(uint16_t kind)
{
    if (uint8_t *job = CurrentJobRecord()) PutU16(job, ReportParamsVc::OutputKind, kind);
}

// A company whose settings database exists and is loaded, as the print
// paths read it; a print job left open is ended. It works in the company
// folder of Base: CompanyFixture, or a higher layer's fixture of one.
template <class Base>
class PrintCompanyIn : public Base {
protected:
    using Base::dir;

    void SetUp() override
    {
        Base::SetUp();
        ResetOutputJobState();
        ASSERT_NE(LoggedInUser, nullptr);
        ASSERT_EQ(D4Create((dir / "PRINT.VDB").c_str(), 0), D4OpenOk);
        SettingsBlockLoad(CompanyBlk::Number);
    }
    void TearDown() override
    {
        if (Printer.job) PrinterEndDoc();
        CompanyVariantBind(nullptr);
        ResetOutputJobState();
        Base::TearDown();
    }
};
using PrintCompany = PrintCompanyIn<CompanyFixture>;
