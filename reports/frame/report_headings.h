// report_headings.h - a line of column headings: the interface texts a
// report prints over its columns, each at its x with its alignment.
#pragma once

#include <initializer_list>

#include "output/devices/report_output.h"

// One heading: interface text `text` at x; align 0 left, non-zero right
// (the value goes to the device as given).
struct HeadingText {
    int x;
    int text;
    int align = 0;
};

// Starts a line of `height`, prints the headings in order and ends it.
inline void ReportHeadings(int height, std::initializer_list<HeadingText> heads) {
    RepStartLine(height);
    for (const HeadingText &h : heads) RepTextNr(h.x, 0, h.text, h.align);
    RepEndLine();
}
