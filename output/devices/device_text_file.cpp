// device_text_file.cpp - the text file device (kind 2), the TAB file
// device (kind 12), the export stream, and the choice of their file.
//
// The file is chosen and created before the report runs
// (RepOpenFileDevice) and stays open until the job ends. A text goes to
// it followed by a TAB; a line ends with CR LF on the text file and with
// a lone CR on the TAB file, the same bytes a client writes for the
// server's TAB-file commands. A write that fails, in any run mode, stops
// the job and marks it, so that its end tells the user.
#include <cassert>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core/pstring.h"
#include "core/system.h"
#include "core/text_files.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/bank_file_hooks.h"
#include "output/devices/device_table.h"
#include "output/output_windows.h"

BankFileHooksRec BankFileHooks = {};

namespace {

// True when the running job writes the bank payment file; false also
// while the exchange has not installed the question (no such job can
// then have been started by it).
bool JobIsBankFile() { return BankFileHooks.jobIsBankFile && BankFileHooks.jobIsBankFile(); }

// The open output file of kinds 2 and 12 (and of text exports); null when none.
OutStream *TextStream = nullptr;

// The name the user chose for the job's file and how many files the job
// has opened under it; empty while no name was chosen.
std::string ChosenName;
int FileCount = 0;
// The job's files written under a temporary name: (temporary, own name).
std::vector<std::pair<std::string, std::string>> Staged;
bool Staging = false;

// The n-th file of a chosen name: "-n" before the extension of its last
// part ("PAY.TXT" gives "PAY-2.TXT"; "PAY" gives "PAY-2").
std::string NumberedName(const std::string &name, int n)
{
    size_t slash = name.rfind('/'), dot = name.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1)
        dot = name.size();
    return name.substr(0, dot) + "-" + std::to_string(n) + name.substr(dot);
}

// Forgets staged files that no job end took, removing what they left.
void DropStaged()
{
    for (const auto &f : Staged) std::remove(f.first.c_str());
    Staged.clear();
}

// Marks the job's output as failed: stopped, told at its end.
void WriteFailed()
{
    RepOutputState.writeFailed = 1;
    RepStopped = 1;
}

// Writes bytes to the open file; false (the job failed) when they were
// not all written or no file is open.
bool WriteBytes(const uint8_t *bytes, uint32_t n)
{
    if (RepOutputState.writeFailed) return false;
    if (StreamWrite(TextStream, bytes, n) == 0) return true;
    WriteFailed();
    return false;
}

// Closes the open file, if any; a close that loses bytes is a failed write.
void CloseTextStream()
{
    if (!TextStream) return;
    if (!FileClose(TextStream)) WriteFailed();
    TextStream = nullptr;
}

// The file device's job start: it needs the file RepOpenFileDevice made.
bool FileOpenJob(const uint8_t *)
{
    if (!TextStream) return false;
    PString busy;
    GetUiText(busy, JobIsBankFile() ? Texts::BankFileWriting : Texts::PrintStarting);
    OutBusyShow(busy);
    return true;
}

// A text of the line: its characters and a TAB.
void FileText(int, int, int, int, int, const uint8_t *text) { TextLineWrite(text); }

// The text file's line end (an advance of any height, or a flushed line).
void TextFileLineEnd()
{
    static const uint8_t crlf[2] = {13, 10};
    WriteBytes(crlf, 2);
}
void TextFileAdvance(int32_t) { TextFileLineEnd(); }

// The TAB file's line end: one CR.
void TabFileAdvance(int32_t)
{
    static const uint8_t cr = 13;
    WriteBytes(&cr, 1);
}

// The end of a text-file job: the last line ended, the file closed.
void TextFileEndJob()
{
    if (TextStream && !RepStopped) TextFileLineEnd();
    CloseTextStream();
    OutBusyClose();
}

// The end of a TAB-file job: the file closed.
void TabFileEndJob()
{
    CloseTextStream();
    OutBusyClose();
}

// Creates the file of a PString name as the open output file; false when
// it could not be made (told). While staging, the file is made under its
// temporary name and kept for RepStagedFilesEnd.
bool CreateTextStream(const uint8_t *name)
{
    CloseTextStream();
    if (name[0] == 0) return false;
    const std::string own = PStringToStd(name), temporary = own + ".part";
    // A device (a printer port, a pipe) is written as it stands.
    struct stat st;
    if (!Staging || (::stat(own.c_str(), &st) == 0 && !S_ISREG(st.st_mode))) return TextFileCreate(name, &TextStream);
    PString t;
    PStringFromView(t, temporary);
    if (t[0] != temporary.size() || !TextFileCreate(t, &TextStream)) return false;
    Staged.emplace_back(temporary, own);
    return true;
}

}  // namespace

const RepDevice TextFileDevice = {.openJob = FileOpenJob,
                                  .endJob = TextFileEndJob,
                                  .advance = TextFileAdvance,
                                  .text = FileText,
                                  .flushLine = TextFileLineEnd};
const RepDevice TabFileDevice = {.openJob = FileOpenJob, .endJob = TabFileEndJob, .advance = TabFileAdvance, .text = FileText};

// Chooses and creates the output file of kinds 2 and 12 before the
// report runs; the job stays stopped until the file exists. Every job
// asks for its file; a bank payment file proposes its format's default
// name and, on this computer, is written under a temporary name until its
// job has ended whole (a client's file is written where the client chose).
// A cancelled dialog leaves the job stopped, so nothing is written.
void RepOpenFileDevice()
{
    RepStopped = 0;
    uint16_t kind = CurrentOutputKind();
    if (kind != OutTextFile && kind != OutTabFile) return;
    RepStopped = 1;
    CloseTextStream();
    DropStaged();
    ChosenName.clear();
    FileCount = 0;
    // Whether the file is the bank's decides how it is written: without
    // the exchange's answer no file is made.
    if (!ServiceInstalled(BankFileHooks.jobIsBankFile && BankFileHooks.defaultName)) {
        Staging = false;
        return;
    }
    const bool bankFile = BankFileHooks.jobIsBankFile();
    Staging = bankFile && !RunModeIsClient();
    PString name;
    name[0] = 0;
    uint16_t word = 0;
    if (bankFile) BankFileHooks.defaultName(name);
    bool named = OutExportFileDialog(name, &word);
    if (named && CreateTextStream(name)) {
        ChosenName = PStringToStd(name);
        FileCount = 1;
        RepOutputState.writeFailed = 0;
        RepStopped = 0;
    }
}

// Ends the open file's line, closes it and creates the job's next file:
// the chosen name numbered, or (no name chosen) a new unique name after
// the clock's next second; the job is stopped when that file could not
// be made.
void RepReopenFileDevice()
{
    if (TextStream && !RepStopped) TextFileLineEnd();
    CloseTextStream();
    PString name;
    uint16_t word = 0;
    RepStopped = 1;
    bool named;
    if (!ChosenName.empty()) {
        PStringFromView(name, NumberedName(ChosenName, ++FileCount));
        named = name[0] != 0;
    } else {
        WaitNextSecond();
        named = UniqueOutFileName(name, &word);
    }
    if (named && CreateTextStream(name)) RepStopped = 0;
}

bool RepStagedFilesEnd(bool keep, std::vector<std::string> *names)
{
    CloseTextStream();
    bool ok = true;
    for (const auto &f : Staged) {
        if (keep && ok && std::rename(f.first.c_str(), f.second.c_str()) != 0) ok = false;
        if (!keep || !ok) std::remove(f.first.c_str());
        if (names && (ok || !keep)) names->push_back(f.second);
    }
    Staged.clear();
    Staging = false;
    return ok;
}

void RepDiscardFileDevice()
{
    CloseTextStream();
    DropStaged();
    Staging = false;
    // Only files go: a device or a pipe the job wrote to stays as it was.
    auto removeFile = [](const std::string &name) {
        struct stat st;
        if (::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode)) std::remove(name.c_str());
    };
    if (!ChosenName.empty()) {
        removeFile(ChosenName);
        for (int n = 2; n <= FileCount; n++) removeFile(NumberedName(ChosenName, n));
    }
    ChosenName.clear();
    FileCount = 0;
}

// Writes a text and a TAB to the open file. Control characters inside
// the text become blanks, so neither the fields nor the lines shift,
// nothing after them is lost and the import, which refuses them, reads
// the file back; with DosCodePage the letters are written
// in their DOS forms. False, with the job stopped, when a write failed
// (the TAB is then not written).
bool TextLineWrite(const uint8_t *text)
{
    assert(text);
    PString t;
    PStringCopy(t, text);
    PStrBlankControls(t);
    if (DosCodePage) AnsiToDosLetters(t);
    static const uint8_t tab = 9;
    return WriteBytes(t + 1, t[0]) && WriteBytes(&tab, 1);
}

// Writes bytes to the open output file (the export stream); a failed
// write, or no open file, stops the job and marks it failed.
void StreamWrite(const uint8_t *bytes, uint32_t n) { WriteBytes(bytes, n); }

// Turns the control characters inside a PString (below 32, and DEL)
// into blanks. Records stored before windows kept them out may hold
// such bytes; written as they stand they would shift a file's fields or
// stop its import.
void PStrBlankControls(uint8_t *text)
{
    for (int i = 1; i <= text[0]; i++)
        if (text[i] < 32 || text[i] == 127) text[i] = ' ';
}
