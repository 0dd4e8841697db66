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
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

enum ExitStatus { kSuccess = 0, kFailure = 1, kBadMachine = 2, kUsage = 64 };

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
            "Kel\\deviceid of the common application data folder.\n");
    std::printf(
        "\nExit status: 0 success, 1 out of memory, 2 the machine directory is\n"
        "missing or malformed, 64 usage error.\n");
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

}  // namespace

int main(int argc, char** argv)
{
    kel::ReportKind kind = kel::ReportKind::Brief;
    Format format = Format::Text;
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
        } else if (std::strcmp(arg, "--format") == 0) {
            if (i + 1 >= argc)
                return usageError("--format needs text, ocs or glpi", "");
            if (!parseFormat(argv[++i], &format))
                return usageError("unknown format (text, ocs or glpi): ", argv[i]);
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

    std::string utf8;
    if (!render(format, kind, machine.get(), &utf8)) {
        std::fprintf(stderr, "kelreport: out of memory while building the report\n");
        return kFailure;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // line feeds only, as the report has them
#endif
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    return std::fflush(stdout) == 0 ? kSuccess : kFailure;
}
