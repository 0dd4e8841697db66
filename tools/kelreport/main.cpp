// kelreport: the command-line face of Kel's report.
#include "platform/Platform.h"
#include "recorded/RecordedMachine.h"
#include "report/Report.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

enum ExitStatus { kSuccess = 0, kFailure = 1, kBadMachine = 2, kUsage = 64 };

#ifdef _WIN32
constexpr bool kLiveMachine = true;
#else
constexpr bool kLiveMachine = false;
#endif

void printHelp()
{
    std::printf(
        "Usage: kelreport [--brief | --detail] [--machine DIR]\n"
        "\n"
        "Prints Kel's inventory report of a machine, as the control's GetBriefInfo\n"
        "and GetDetailInfo return it, written as UTF-8 with line feeds only.\n"
        "\n"
        "  --brief        the brief report: OS, CPU, memory, display, sound,\n"
        "                 DirectX and network lines (the default)\n"
        "  --detail       the brief report followed by the Disks, Printers,\n"
        "                 Softwares and Startup sections\n"
        "  --machine DIR  report the recorded machine in DIR (registry.reg and\n"
        "                 machine.ini; see docs/recorded-machine.md)\n"
        "  --help         show this text\n"
        "\n");
    if (kLiveMachine)
        std::printf("Without --machine, the machine kelreport runs on is reported.\n");
    else
        std::printf(
            "Without --machine, the sample machine that ships with Kel is reported:\n"
            "  %s\n",
            KEL_SAMPLE_MACHINE);
    std::printf(
        "\nExit status: 0 success, 1 out of memory, 2 the machine directory is\n"
        "missing or malformed, 64 usage error.\n");
}

int usageError(const char* problem, const char* argument)
{
    std::fprintf(stderr, "kelreport: %s%s\nTry 'kelreport --help'.\n", problem, argument);
    return kUsage;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string toUtf8(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    kel::ReportKind kind = kel::ReportKind::Brief;
    std::string machineDir;
    bool haveMachine = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            printHelp();
            return kSuccess;
        } else if (std::strcmp(arg, "--brief") == 0) {
            kind = kel::ReportKind::Brief;
        } else if (std::strcmp(arg, "--detail") == 0) {
            kind = kel::ReportKind::Detail;
        } else if (std::strcmp(arg, "--machine") == 0) {
            if (i + 1 >= argc)
                return usageError("--machine needs a directory", "");
            machineDir = argv[++i];
            haveMachine = true;
        } else {
            return usageError("unknown argument: ", arg);
        }
    }
    if (!haveMachine && !kLiveMachine) {
        machineDir = KEL_SAMPLE_MACHINE;
        haveMachine = true;
    }

    std::unique_ptr<kel::RecordedMachine> machine;
    std::unique_ptr<kel::ScopedPlatform> scoped;
    if (haveMachine) {
        std::string error;
        machine = kel::RecordedMachine::load(machineDir, &error);
        if (!machine) {
            std::fprintf(stderr, "kelreport: %s\n", error.c_str());
            return kBadMachine;
        }
        scoped = std::make_unique<kel::ScopedPlatform>(*machine);
    }

    std::u16string report;
    if (!kel::runReport(kind, &report)) {
        std::fprintf(stderr, "kelreport: out of memory while building the report\n");
        return kFailure;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // line feeds only, as the report has them
#endif
    const std::string utf8 = toUtf8(report);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    return std::fflush(stdout) == 0 ? kSuccess : kFailure;
}
