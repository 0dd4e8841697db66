#include "tests/control/SteadyReport.h"

#include "tests/control/ControlSupport.h"

namespace kel::test {

namespace {

void maskDigits(std::wstring* line)
{
    for (wchar_t& c : *line) {
        if (c >= L'0' && c <= L'9')
            c = L'#';
    }
}

}  // namespace

std::wstring steadyPart(const std::wstring& report)
{
    std::wstring out;
    bool inDisks = false;
    std::size_t start = 0;
    while (start <= report.size()) {
        std::size_t end = report.find(L'\n', start);
        if (end == std::wstring::npos)
            end = report.size();
        std::wstring line = report.substr(start, end - start);
        if (line == L"Disks")
            inDisks = true;
        else if (line.empty())
            inDisks = false;
        if (inDisks)
            maskDigits(&line);
        out += line + L"\n";
        start = end + 1;
    }
    return withClockMasked(out);
}

}  // namespace kel::test
