#pragma once

// Python's HTML parser as the reader of the pages: the images a page shows, in order, the text
// of its caption, and its title, bold runs and quoted blocks.

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/file.h"

namespace qorvale::test {

struct ParsedPage {
    bool parsed = false;
    std::vector<std::string> images;
    std::string caption;  // its text with white space collapsed, non-ASCII as \uXXXX
    int tables = 0;
    std::string title;   // these three as the caption
    std::string bold;    // every <b> element's text, joined by " | "
    std::string quotes;  // every <blockquote>'s text, joined by " | "
};

// Parses every page in one run of Python (started once: it is slow to start).
inline std::vector<ParsedPage> ParseHtml(const std::vector<std::string>& paths) {
    static const char* const Script = R"(import sys
from html.parser import HTMLParser
class Page(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.images, self.caption, self.inside, self.tables = [], '', 0, 0
        self.open, self.texts = [], {'title': [], 'b': [], 'blockquote': []}
    def handle_starttag(self, tag, attrs):
        if tag == 'img': self.images.append(dict(attrs)['src'])
        if tag == 'caption': self.inside += 1
        if tag == 'table': self.tables += 1
        if tag in self.texts:
            self.open.append(tag)
            self.texts[tag].append('')
    def handle_endtag(self, tag):
        if tag == 'caption': self.inside -= 1
        if tag in self.open: self.open.remove(tag)
    def handle_data(self, data):
        if self.inside: self.caption += data
        for tag in self.open: self.texts[tag][-1] += data
def line(text): return ' '.join(text.split()).encode('unicode_escape').decode()
for path in sys.argv[1:]:
    page = Page()
    page.feed(open(path, encoding='ascii').read())
    page.close()
    print('=page')
    print(page.tables)
    print(line(page.caption))
    for tag in ('title', 'b', 'blockquote'): print(' | '.join(line(t) for t in page.texts[tag]))
    for image in page.images: print(image)
)";
    std::vector<ParsedPage> pages(paths.size());
    if (paths.empty()) return pages;
    const std::string script = paths.front() + ".py";
    std::ofstream(script) << Script;
    const char* python = platform::FileExists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    std::string command = std::string(python) + " '" + script + "'";
    for (const std::string& path : paths) command += " '" + path + "'";
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return pages;
    std::string out;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, got);
    const bool finished = ::pclose(pipe) == 0;
    (void)platform::DeleteFile(script);
    if (!finished) return pages;
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < out.size(); start = end + 1) {
        end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        lines.push_back(out.substr(start, end - start));
    }
    std::size_t page = 0;
    for (std::size_t k = 0; k < lines.size() && page < pages.size(); ++k) {
        if (lines[k] != "=page" || k + 5 >= lines.size()) continue;
        ParsedPage& parsed = pages[page++];
        parsed.parsed = true;
        parsed.tables = std::stoi(lines[k + 1]);
        parsed.caption = lines[k + 2];
        parsed.title = lines[k + 3];
        parsed.bold = lines[k + 4];
        parsed.quotes = lines[k + 5];
        for (k += 6; k < lines.size() && lines[k] != "=page"; ++k)
            parsed.images.push_back(lines[k]);
        --k;
    }
    return pages;
}

inline ParsedPage ParseHtml(const std::string& path) {
    return ParseHtml(std::vector{path}).front();
}

}  // namespace qorvale::test
