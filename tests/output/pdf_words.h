// pdf_words.h - what the printer tests read back from a PDF: its words
// with their boxes (pdftotext -bbox), by page, and the file's bytes.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace pdfwords {

namespace fs = std::filesystem;

// A word pdftotext found, its box in points from the page's top left.
struct PdfWord {
    int page;
    double xMin, yMin, xMax, yMax;
    std::string text;
};

// The words of a PDF in reading order (pdftotext -bbox); fails the test
// when the tool cannot run.
inline std::vector<PdfWord> PdfWords(const fs::path &pdf)
{
    std::vector<PdfWord> words;
    std::string cmd = "pdftotext -bbox '" + pdf.string() + "' - 2>/dev/null";
    FILE *p = popen(cmd.c_str(), "r");
    if (!p) {
        ADD_FAILURE() << "pdftotext cannot run";
        return words;
    }
    std::string out;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    EXPECT_EQ(pclose(p), 0) << "pdftotext (poppler-utils) failed on " << pdf;
    int page = 0;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.find("<page ") != std::string::npos) page++;
        PdfWord w{page, 0, 0, 0, 0, ""};
        if (std::sscanf(line.c_str(), " <word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\">", &w.xMin, &w.yMin,
                        &w.xMax, &w.yMax) != 4)
            continue;
        size_t a = line.find('>') + 1, b = line.find("</word>");
        w.text = line.substr(a, b - a);
        words.push_back(w);
    }
    return words;
}

// The words of one page.
inline std::vector<PdfWord> PageWords(const std::vector<PdfWord> &all, int page)
{
    std::vector<PdfWord> out;
    for (const PdfWord &w : all)
        if (w.page == page) out.push_back(w);
    return out;
}

// The first word with the text; a failure and an empty word when none.
inline PdfWord Find(const std::vector<PdfWord> &words, const std::string &text)
{
    for (const PdfWord &w : words)
        if (w.text == text) return w;
    ADD_FAILURE() << "no word \"" << text << "\" in the PDF";
    return PdfWord{0, 0, 0, 0, 0, ""};
}

inline std::string ReadAll(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace pdfwords

using pdfwords::PdfWord;
using pdfwords::PdfWords;
using pdfwords::PageWords;
using pdfwords::Find;
using pdfwords::ReadAll;
