// Runs the brief report on the real platform and checks its first line
// against the line the version rules give for the Windows version Wine is
// impersonating (argument 1).
#include "report/Report.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: os_line EXPECTED_OS_LINE\n");
        return 2;
    }
    std::u16string report;
    if (!kel::runReport(kel::ReportKind::Brief, &report)) {
        std::fprintf(stderr, "FAIL: the report call failed\n");
        return 1;
    }
    const std::string text(report.begin(), report.end());
    const std::string firstLine = text.substr(0, text.find('\n'));
    const std::string expected = std::string("OS: ") + argv[1];
    if (firstLine != expected) {
        std::fprintf(stderr, "FAIL: got [%s], expected [%s]\n", firstLine.c_str(), expected.c_str());
        return 1;
    }
    std::printf("ok: [%s]\n", firstLine.c_str());
    return 0;
}
