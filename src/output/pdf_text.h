#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "output/print_list.h"

namespace qorvale::output {

// Printed pages as a PDF file without a printer: text lines in Helvetica, one of the fonts every
// PDF reader carries, so nothing is embedded. Units are PostScript points.
struct PdfPageSize {
    int width = 595;  // A4
    int height = 842;
};

// How wide `text` (UTF-8) prints in Helvetica of `size` points, rounded up.
int HelveticaWidth(std::string_view text, int size);

// The print page of a PDF of `size` with the program's print font for `max_print_lines`.
PrintPage PdfPrintPage(const PdfPageSize& size, int max_print_lines);

// The whole PDF file holding `pages`, laid out for `page`.
std::string WritePdf(const std::vector<PrintedPage>& pages, const PrintPage& page);

}  // namespace qorvale::output
