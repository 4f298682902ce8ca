// road_page_layout.h - the layout check of printed pages, as a reader
// sees them: the words of each page with their boxes (pdftotext -bbox),
// gathered into lines and, on a line, into texts (words a blank or two
// apart). A page is at fault where
//   - two words of one line overlap;
//   - a word touches the next one closer than a blank, so that two texts
//     read as one;
//   - one text of a line takes in what other lines of the page keep as
//     two columns: it starts where one column's texts start and ends
//     where the next column's texts end, a blank or two after the first
//     (a long name run into an amount);
//   - a column's text stands alone at the start of a line, right under a
//     text of the line above that reaches over where it starts: the
//     printer's way with a text that would have overlapped the one before;
//   - a row under a table's head line (texts without digits) holds a text
//     right of the head's last heading: a column printed without a
//     heading;
//   - a line holds amounts and nothing else: a total printed without the
//     label that says what it totals.
// Each fault names the page, the line's text and the words concerned.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/output/pdf_words.h"

// The faults of the pages whose words are given (any number of pages).
std::vector<std::string> PageLayoutFaults(const std::vector<PdfWord> &words);

// Fails the test with every layout fault of the PDF's pages, naming the
// file.
void ExpectPagesLaidOut(const std::filesystem::path &pdf);
