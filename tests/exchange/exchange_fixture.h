// exchange_fixture.h - the fixture of the text exchange's tests: a fresh
// company in a folder of its own, the exchange installed, the messages
// shown recorded; exports run to a text file and come back as bytes,
// imports read bytes from memory or from a file.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "database/engine/engine.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "features/program_start.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "platform/script.h"
#include "shell/database_open.h"
#include "tests/output/test_job.h"
#include "tests/shell/shell_fixture.h"

class ExchangeFixture : public ShellCompanyFixture {
protected:
    std::string source;   // the bytes an import from memory reads; kept for its run

    void SetUp() override
    {
        ShellCompanyFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_EQ(D4Create((dir / "company.VDB").c_str(), 0), D4OpenOk);
        ASSERT_TRUE(SettingsStartup());
        ResetOutputJobState();
        FeaturesInstall();
        ImportDosLetters = 0;
    }
    void TearDown() override
    {
        ImportFileClose();
        ImportResult = ImportResultRec{};
        ImportDosLetters = 0;
        OutputRunServices.runTextExport = nullptr;
        D4SetRawExportRunner(nullptr);
        ResetOutputJobState();
        ShellCompanyFixture::TearDown();   // SettingsText back to empty
    }

    // Runs write as an export job to a text file in the company folder;
    // the file's bytes.
    std::string ExportBytes(void (*write)(), const char *name = "export.txt")
    {
        PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
        ScriptAnswerFile((dir / name).string());
        RepOpenFileDevice();
        EXPECT_EQ(OutputJobState.stopFlag, 0);
        PString title = {0};
        RepOpenJob(title);
        write();
        RepEndJob();
        return FileBytes(dir / name);
    }
    // The bytes of a file ("" when it cannot be read).
    static std::string FileBytes(const std::filesystem::path &p)
    {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Makes bytes the import's source: from memory (source mode 12), or
    // written to a file in the company folder and opened read-only (mode 2).
    void SourceOf(const std::string &bytes, bool fromFile = false)
    {
        source = bytes;
        if (!fromFile) {
            ImportMemorySource(reinterpret_cast<const uint8_t *>(source.data()), uint32_t(source.size()));
            return;
        }
        std::filesystem::path p = dir / "import.txt";
        std::ofstream(p, std::ios::binary) << bytes;
        PutU16(TestJob, ReportParamsVc::OutputKind, ImportSourceFile);
        PString path;
        PStringFromC(path, p.c_str());
        ASSERT_EQ(ImportFileOpen(ReportJob{TestJob}, path, 0), 0);
    }
    // Imports bytes from memory as the program does (ImportRun in mode 0).
    void ImportBytes(const std::string &bytes)
    {
        PutU16(TestJob, ReportParamsVc::OutputKind, ImportSourceMemory);
        PutU16(TestJob, ReportParamsVc::ReportNumber, 0);
        SourceOf(bytes);
        ImportRun();
    }
    // The next field of the line as text (at most 255 characters).
    static std::string Field()
    {
        PString t = {0};
        EXPECT_TRUE(ImportReadField(t, FtText, 255));
        return PStringToStd(t);
    }
    // How often a message holding text n was shown.
    static int Shown(int n)
    {
        std::string want = TextOf(n);
        int count = 0;
        for (const std::string &m : MessagesShown) count += m.find(want) != std::string::npos;
        return count;
    }
};
