#include "output/pdf_text.h"

#include <array>
#include <cstdio>

namespace qorvale::output {

namespace {

// Advance widths of Helvetica for the characters 32 to 126, in thousandths of the font size.
constexpr std::array<int, 95> AsciiWidths = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
    611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
    667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
    222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584};
// Latin-1 letters and signs above 126 are given the width of a typical lower-case letter.
constexpr int OtherWidth = 556;

// The code points of UTF-8 text; a byte that starts no valid character counts as Latin-1.
template <typename Visit>
void ForEachCodePoint(std::string_view text, Visit&& visit) {
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        std::size_t length = byte < 0x80    ? 1
                             : byte >= 0xF0 ? 4
                             : byte >= 0xE0 ? 3
                             : byte >= 0xC0 ? 2
                                            : 1;
        if (at + length > text.size()) length = 1;
        unsigned code = length == 1 ? byte : byte & (0xFFu >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[at + k]);
            if ((next & 0xC0) != 0x80) {
                length = 1;
                code = byte;
                break;
            }
            code = (code << 6) | (next & 0x3F);
        }
        visit(code);
        at += length;
    }
}

int Thousandths(unsigned code) {
    if (code >= 32 && code <= 126) return AsciiWidths[code - 32];
    return OtherWidth;
}

// A PDF string in WinAnsi encoding: Latin-1 as it is, other characters as "?".
std::string PdfString(std::string_view text) {
    std::string out = "(";
    ForEachCodePoint(text, [&](unsigned code) {
        const char c = code < 256 ? static_cast<char>(code) : '?';
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        out += c;
    });
    out += ')';
    return out;
}

}  // namespace

int HelveticaWidth(std::string_view text, int size) {
    long long total = 0;
    ForEachCodePoint(text, [&](unsigned code) { total += Thousandths(code); });
    return static_cast<int>((total * size + 999) / 1000);
}

PrintPage PdfPrintPage(const PdfPageSize& size, int max_print_lines) {
    PrintPage page;
    page.width = size.width;
    page.height = size.height;
    page.max_print_lines = max_print_lines;
    const int font = PrintFontHeight(size.height, max_print_lines);
    // The PDF font has no external leading: a line advances by the font's height.
    page.line_advance = font;
    page.text_width = [font](std::string_view text) { return HelveticaWidth(text, font); };
    return page;
}

std::string WritePdf(const std::vector<PrintedPage>& pages, const PrintPage& page) {
    const int font = page.line_advance;
    std::vector<std::string> objects;
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    std::string kids;
    for (std::size_t k = 0; k < pages.size(); ++k) {
        kids += std::to_string(4 + 2 * k) + " 0 R ";
    }
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " +
                      std::to_string(pages.size()) + " >>");
    objects.push_back(
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    char number[64];
    for (std::size_t k = 0; k < pages.size(); ++k) {
        std::string content = "BT /F1 " + std::to_string(font) + " Tf\n";
        for (const PrintedLine& line : pages[k]) {
            // The line's top is `y` below the page's top; its baseline about four fifths of the
            // font lower.
            std::snprintf(number, sizeof number, "1 0 0 1 %d %d Tm ", page.Margin(),
                          page.height - line.y - font * 4 / 5);
            content += number;
            content += PdfString(line.text);
            content += " Tj\n";
        }
        content += "ET\n";
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " +
                          std::to_string(page.width) + " " + std::to_string(page.height) +
                          "] /Resources << /Font << /F1 3 0 R >> >> /Contents " +
                          std::to_string(5 + 2 * k) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" +
                          content + "endstream");
    }
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t k = 0; k < objects.size(); ++k) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(k + 1) + " 0 obj\n" + objects[k] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        std::snprintf(number, sizeof number, "%010zu 00000 n \n", offset);
        pdf += number;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

}  // namespace qorvale::output
