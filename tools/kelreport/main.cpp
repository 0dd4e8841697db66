// kelreport: the command-line face of Kel's report.
#include "platform/Platform.h"
#include "recorded/RecordedMachine.h"
#include "report/Report.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#ifdef _WIN32
#include "tools/kelreport/win32/OcsSender.h"

#include <fcntl.h>
#include <io.h>

#include <cstdlib>
#include <fstream>
#include <new>
#include <sstream>
#endif

namespace {

enum ExitStatus { kSuccess = 0, kFailure = 1, kBadMachine = 2, kUsage = 64 };
constexpr unsigned kDefaultTimeout = 60;

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
    if (kLiveMachine)
        std::printf(
            "\n"
            "Sending to an OCS Inventory server (see docs/fleet.md):\n"
            "  kelreport --server URL --from FILE [--timeout SECONDS]\n"
            "\n"
            "  --server URL       send to the server at URL, http:// or https://\n"
            "                     (for example http://ocs.example.org/ocsinventory)\n"
            "  --from FILE        the OCS inventory (XML) to send\n"
            "  --timeout SECONDS  wait at most this long for each step (default %u)\n"
            "\n"
            "The server must list Kel's User-Agent, \"Kel\", in its extra_useragents file.\n",
            kDefaultTimeout);
    std::printf(
        "\nExit status: 0 success, 1 out of memory, 2 the machine directory is\n"
        "missing or malformed, 64 usage error.\n");
    if (kLiveMachine)
        std::printf(
            "When sending:\n"
            "   2  the inventory file is missing, unreadable or has no DEVICEID\n"
            "   3  this Windows has no WinHTTP (Windows 95 to NT 4.0)\n"
            "   4  the server's name does not resolve\n"
            "   5  cannot connect to the server\n"
            "   6  the server did not answer in time\n"
            "   7  the server's certificate is not one this system trusts\n"
            "   8  the server answered with an HTTP error status\n"
            "   9  the reply is not an OCS Inventory server's\n"
            "  10  the server declined the inventory (its PROLOG answer was not SEND)\n");
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

#ifdef _WIN32
// The file's bytes, at most 64 MiB; false when it cannot be read.
bool readInventory(const std::string& path, std::string* text)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    if (!file || !(content << file.rdbuf()))
        return false;
    *text = content.str();
    return text->size() <= (64u << 20);
}

int send(const std::string& url, const std::string& inventoryPath, unsigned timeoutSeconds)
{
    kel::SendOutcome outcome;
    try {
        std::string inventory;
        if (!readInventory(inventoryPath, &inventory)) {
            std::fprintf(stderr, "kelreport: cannot read the inventory %s\n", inventoryPath.c_str());
            return kBadMachine;
        }
        outcome = kel::sendOcsInventory(url, inventory, timeoutSeconds);
    } catch (const std::bad_alloc&) {
        outcome = {kel::kOutOfMemory, "out of memory while sending"};
    }
    if (outcome.status != kel::kSent) {
        std::fprintf(stderr, "kelreport: %s\n", outcome.message.c_str());
        return outcome.status;
    }
    std::fprintf(stderr, "kelreport: sent to %s\n", url.c_str());
    return kSuccess;
}

// A whole number of seconds from 1 to a day; 0 when the text is not one.
unsigned parseSeconds(const char* text)
{
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    return (end != text && *end == '\0' && value >= 1 && value <= 86400) ? static_cast<unsigned>(value) : 0;
}
#endif

}  // namespace

int main(int argc, char** argv)
{
    kel::ReportKind kind = kel::ReportKind::Brief;
    std::string machineDir;
    bool haveMachine = false;
#ifdef _WIN32
    const char* server = nullptr;
    const char* inventoryPath = nullptr;
    unsigned timeoutSeconds = kDefaultTimeout;
#endif
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
        } else if (std::strcmp(arg, "--server") == 0 || std::strcmp(arg, "--from") == 0) {
#ifdef _WIN32
            if (i + 1 >= argc)
                return usageError(arg, " needs a value");
            const char*& value = std::strcmp(arg, "--server") == 0 ? server : inventoryPath;
            value = argv[++i];
        } else if (std::strcmp(arg, "--timeout") == 0) {
            if (i + 1 >= argc || (timeoutSeconds = parseSeconds(argv[i + 1])) == 0)
                return usageError("--timeout needs a number of seconds from 1 to 86400", "");
            ++i;
#else
            return usageError("only the Windows builds send: ", arg);
#endif
        } else {
            return usageError("unknown argument: ", arg);
        }
    }
#ifdef _WIN32
    if (server || inventoryPath) {
        if (!server || !inventoryPath)
            return usageError(server ? "--server needs --from FILE" : "--from needs --server URL", "");
        return send(server, inventoryPath, timeoutSeconds);
    }
#endif
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
