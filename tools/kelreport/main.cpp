// kelreport: the command-line face of Kel's report.
#include "collectors/IdentityInfo.h"
#include "inventory/DeviceId.h"
#include "inventory/GlpiWriter.h"
#include "inventory/Inventory.h"
#include "inventory/OcsWriter.h"
#include "inventory/Utf8.h"
#include "platform/Platform.h"
#include "recorded/RecordedMachine.h"
#include "report/Report.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <optional>
#include <string>

#ifdef _WIN32
#include "tools/kelreport/win32/OcsSender.h"

#include <fcntl.h>
#include <io.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#endif

namespace {

enum ExitStatus { kSuccess = 0, kFailure = 1, kBadMachine = 2, kUsage = 64 };
constexpr unsigned kDefaultTimeout = 60;

enum class Format { Text, Ocs, Glpi };

// content.versionclient of the GLPI format.
const char kVersionClient[] = "Kel-kelreport_v1.0";

#ifdef _WIN32
constexpr bool kLiveMachine = true;
#else
constexpr bool kLiveMachine = false;
#endif

void printHelp()
{
    std::printf(
        "Usage: kelreport [--brief | --detail] [--format text|ocs|glpi] [--machine DIR]\n"
        "\n"
        "Prints Kel's inventory report of a machine, as the control's GetBriefInfo\n"
        "and GetDetailInfo return it, written as UTF-8 with line feeds only; or the\n"
        "whole inventory in an inventory server's format.\n"
        "\n"
        "  --brief        the brief report: OS, CPU, memory, display, sound,\n"
        "                 DirectX and network lines (the default)\n"
        "  --detail       the brief report followed by the Disks, Printers,\n"
        "                 Softwares and Startup sections\n"
        "  --format F     text (the default): the report above; ocs: the XML that\n"
        "                 OCS Inventory NG's server takes; glpi: GLPI's inventory\n"
        "                 JSON (see docs/fleet.md)\n"
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
            "The formats' DEVICEID is made at the first run and kept in\n"
            "Kel\\deviceid of the common application data folder.\n"
            "\n"
            "Sending to an OCS Inventory server (see docs/fleet.md):\n"
            "  kelreport --server URL [--machine DIR | --from FILE] [--timeout SECONDS]\n"
            "\n"
            "  --server URL       send the inventory in OCS's format to the server at\n"
            "                     URL, http:// or https://\n"
            "                     (for example http://ocs.example.org/ocsinventory)\n"
            "  --from FILE        send this OCS inventory (XML, as --format ocs writes\n"
            "                     it) instead of taking the inventory now\n"
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

bool parseFormat(const char* text, Format* format)
{
    static const struct {
        const char* name;
        Format format;
    } kFormats[] = {{"text", Format::Text}, {"ocs", Format::Ocs}, {"glpi", Format::Glpi}};
    for (const auto& known : kFormats) {
        if (std::strcmp(text, known.name) == 0) {
            *format = known.format;
            return true;
        }
    }
    return false;
}

// A recorded machine keeps its identifier as a recorded fact, so that its
// inventory is the same at every run; a live PC in a file the tool keeps.
std::string deviceId(const kel::RecordedMachine* machine)
{
    if (machine && !machine->recordedDeviceId().empty())
        return kel::ansiToUtf8(machine->recordedDeviceId());
    kel::IdentityInfo identity;
    identity.setIdentityInfo();
    const std::string name = kel::ansiToUtf8(identity.computerName());
    char folder[kel::kMaxPath] = {};
    if (!machine && kel::platform().getSpecialFolderPath(kel::kFolderCommonAppData, folder)) {
        bool kept = false;
        std::string id = kel::keptDeviceId(std::string(folder) + "\\Kel\\deviceid", name, &kept);
        if (!kept)
            std::fprintf(stderr,
                         "kelreport: warning: cannot keep the device identifier in %s\\Kel\\deviceid; "
                         "the next run makes another\n",
                         folder);
        return id;
    }
    std::fprintf(stderr, "kelreport: warning: %s, so the device identifier is made for this run only\n",
                 machine ? "the recorded machine has no [identity] device_id"
                         : "the common application data folder is unknown");
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (const std::tm* converted = std::localtime(&now))
        local = *converted;
    return kel::makeDeviceId(name, local);
}

// The output in the chosen form, as UTF-8; false when memory runs out.
bool render(Format format, kel::ReportKind kind, const kel::RecordedMachine* machine, std::string* out)
{
    if (format == Format::Text) {
        std::u16string report;
        if (!kel::runReport(kind, &report))
            return false;
        *out = kel::toUtf8(report);
        return true;
    }
    try {
        const kel::Inventory inventory = kel::takeInventory(deviceId(machine));
        *out = format == Format::Ocs ? kel::ocsInventoryXml(inventory)
                                     : kel::glpiInventoryJson(inventory, kVersionClient);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
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

// Sends the inventory: the file's when inventoryPath is given, else the one
// just taken.
int send(const std::string& url, const char* inventoryPath, const std::string& taken, unsigned timeoutSeconds)
{
    kel::SendOutcome outcome;
    try {
        std::string read;
        if (inventoryPath && !readInventory(inventoryPath, &read)) {
            std::fprintf(stderr, "kelreport: cannot read the inventory %s\n", inventoryPath);
            return kBadMachine;
        }
        outcome = kel::sendOcsInventory(url, inventoryPath ? read : taken, timeoutSeconds);
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
    std::optional<Format> chosenFormat;
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
        } else if (std::strcmp(arg, "--format") == 0) {
            if (i + 1 >= argc)
                return usageError("--format needs text, ocs or glpi", "");
            Format parsed;
            if (!parseFormat(argv[++i], &parsed))
                return usageError("unknown format (text, ocs or glpi): ", argv[i]);
            chosenFormat = parsed;
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
    Format format = chosenFormat.value_or(Format::Text);
#ifdef _WIN32
    if (inventoryPath && !server)
        return usageError("--from needs --server URL", "");
    if (inventoryPath && haveMachine)
        return usageError("--from and --machine name two inventories; give one", "");
    if (inventoryPath)
        return send(server, inventoryPath, std::string(), timeoutSeconds);
    if (server && format != Format::Ocs && chosenFormat)
        return usageError("--server sends the ocs format only", "");
    if (server)
        format = Format::Ocs;
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

    std::string utf8;
    if (!render(format, kind, machine.get(), &utf8)) {
        std::fprintf(stderr, "kelreport: out of memory while building the report\n");
        return kFailure;
    }
#ifdef _WIN32
    if (server)
        return send(server, nullptr, utf8, timeoutSeconds);
    _setmode(_fileno(stdout), _O_BINARY);  // line feeds only, as the report has them
#endif
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    return std::fflush(stdout) == 0 ? kSuccess : kFailure;
}
