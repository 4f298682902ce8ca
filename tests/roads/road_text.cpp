// road_text.cpp - import lines written and printed text read by the road
// tests (see road_text.h).
#include "tests/roads/road_text.h"

#include <cctype>
#include <cmath>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>

std::string ImportLine(std::initializer_list<std::string> fields, int empties) {
    std::string s;
    for (const std::string &f : fields) s += f + "\t";
    for (int i = 0; i < empties; i++) s += "\t";
    return s + "\r\n";
}

std::vector<std::string> FileLines(const std::filesystem::path &file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> lines;
    for (size_t at = 0; at < bytes.size();) {
        size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos) break;
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::string DigitsOf(const std::string &shown) {
    std::string d;
    for (char c : shown)
        if (c >= '0' && c <= '9') d += c;
    return d;
}

std::vector<std::string> ListRowCells(const std::string &row) {
    std::vector<std::string> cells;
    for (size_t at = 0, end; at <= row.size(); at = end + 3) {
        end = row.find(" | ", at);
        if (end == std::string::npos) end = row.size();
        cells.push_back(row.substr(at, end - at));
    }
    return cells;
}

std::vector<std::string> PrintedLinesStarting(const std::string &text, const std::string &what) {
    std::istringstream in(text);
    std::string line;
    std::vector<std::string> found;
    while (std::getline(in, line)) {
        const size_t at = line.find_first_not_of(" \t");
        if (at != std::string::npos && line.compare(at, what.size(), what) == 0) found.push_back(line);
    }
    return found;
}

std::vector<double> PrintedAmounts(const std::string &line) {
    std::vector<double> out;
    size_t i = 0;
    while (i < line.size()) {
        if (!(isdigit((unsigned char)line[i]) || line[i] == '-')) {
            i++;
            continue;
        }
        size_t j = i;
        std::string digits;
        bool negative = false, comma = false;
        for (; j < line.size(); j++) {
            char c = line[j];
            if (c == '-' && j == i) negative = true;
            else if (isdigit((unsigned char)c)) digits += c;
            else if (c == ',') comma = true;
            else if (c == '.' || c == ' ') {
                if (j + 1 >= line.size() || !isdigit((unsigned char)line[j + 1])) break;
            } else break;
        }
        if (comma && digits.size() >= 3) out.push_back((negative ? -1 : 1) * std::stod(digits) / 100);
        i = j + 1;
    }
    return out;
}

double PrintedLastAmount(const std::string &text, const std::string &label) {
    std::vector<std::string> lines = PrintedLinesStarting(text, label);
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        std::vector<double> a = PrintedAmounts(*line);
        if (!a.empty()) return a.back();
    }
    return std::nan("");
}

double TrialClosingBalance(const std::string &text, const std::string &account) {
    std::vector<std::string> lines = PrintedLinesStarting(text, account + " ");
    if (lines.empty()) return std::nan("");
    std::vector<double> a = PrintedAmounts(lines.front());
    return a.size() < 3 ? std::nan("") : a[a.size() - 3] - a[a.size() - 2];
}

std::string DayText(int days)
{
    std::time_t t = std::time(nullptr) + std::time_t(days) * 24 * 3600;
    char text[16];
    std::strftime(text, sizeof text, "%d.%m.%Y", std::localtime(&t));
    return text;
}
