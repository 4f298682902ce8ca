// Modal services: message boxes, file open and save dialogs, the print and
// print set-up dialogs and the help call.
//
// Each service first takes an answer queued by the script (script.h). With
// none queued it shows a modal dialog when the screen back end runs (or the
// script asked for interactive dialogs); headless it answers at once: a
// message box its default button, the other dialogs "cancelled". Every call
// is recorded (script.h) so that tests can read what was asked.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/print.h"

// Results of a message box.
constexpr int kPlIdOk = 1;
constexpr int kPlIdCancel = 2;
constexpr int kPlIdYes = 6;
constexpr int kPlIdNo = 7;

enum class PlMbButtons : uint8_t { Ok, OkCancel, YesNo, YesNoCancel };
enum class PlMbIcon : uint8_t { None, Stop, Question, Information, Warning };

// A modal message box owned by `owner` (0 = the active window). The default
// button is the first (OK or Yes) unless defaultButton (0-based) says
// otherwise. While the box is up its owner takes no input. The close box,
// Esc and a close of the owner window answer the safe choice: Cancel, or OK
// for a box with OK only, or No for a Yes/No box; never the default button.
int DlgMessageBox(uint32_t owner, std::string_view text, std::string_view caption, PlMbButtons buttons,
                  PlMbIcon icon, int defaultButton = 0);

struct PlFileDialog {
    std::string_view title;
    // Pairs of description and pattern list separated by "|" and ending with
    // "|", e.g. "All files (*.*)|*.*|Orvel(*.VDB)|*.VDB|"; a pattern list may
    // hold several patterns separated by ";".
    std::string_view filter;
    int filterIndex = 1;             // 1-based: the filter chosen at first
    std::string_view defaultExt;     // added to a name typed without extension
    std::string_view initialDir;     // empty = the current directory
    bool save = false;
    bool overwritePrompt = false;    // save: ask before replacing a file
    bool pathMustExist = true;       // the directory must exist
    bool fileMustExist = false;      // open: the file must exist
    bool createPrompt = false;       // open: ask before naming a new file
    std::string_view fileName = {};  // the name first shown in the name field (cp1252); empty = none
};

// Open or save dialog. True with the chosen path (at most 255 bytes);
// false when cancelled. Paths (the initial directory and the answer) are in
// the file system's encoding, UTF-8, ready to open; the dialog shows names and
// takes typed ones in the program's character set (cp1252). A name with
// characters cp1252 lacks is listed with "?" for them and opens from its row.
bool DlgFileOpen(uint32_t owner, const PlFileDialog &dialog, std::string *path);

// The filter as pairs of (description, patterns); bad input gives fewer pairs.
std::vector<std::pair<std::string, std::string>> DlgParseFilter(std::string_view filter);
// Whether a file name matches one of the ";"-separated patterns ("*" and
// "?" wildcards, letters compared without regard to case; "*." matches names
// without an extension).
bool DlgMatchPattern(std::string_view name, std::string_view patterns);
// The name with ".ext" added when it has no extension and ext is not empty.
std::string DlgApplyDefaultExt(std::string_view name, std::string_view ext);

// The page set-up the print set-up dialog edits, and its stored form (the
// "device mode" the program keeps per user and window type).
struct PlPrintSetup {
    PlPaper paper = PlPaper::A4;
    bool landscape = false;
};
std::vector<uint8_t> DlgPrintSetupToBytes(const PlPrintSetup &setup);
// False (and *setup unchanged) for bytes that are not a stored set-up.
bool DlgPrintSetupFromBytes(std::span<const uint8_t> bytes, PlPrintSetup *setup);

// Print set-up: true when confirmed, with *setup changed.
bool DlgPrintSetupDialog(uint32_t owner, PlPrintSetup *setup);

// The print dialog's choice: the set-up, the number of copies and the PDF
// file name (empty = a name made from the job title).
struct PlPrintChoice {
    PlPrintSetup setup;
    int copies = 1;
    std::string fileName;
};
// Print dialog: true when confirmed, with *choice changed.
bool DlgPrintDialog(uint32_t owner, PlPrintChoice *choice);
// The printer settings for a choice.
PlPrintSettings DlgPrintSettings(const PlPrintChoice &choice);

// Help: there are no help files on this platform; the call says so in a
// message box and returns false.
bool DlgHelp(uint32_t owner, std::string_view helpFile, int command);
constexpr std::string_view kPlHelpMissingText = "Help files are not available.";
