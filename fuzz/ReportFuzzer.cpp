// libFuzzer target for the whole report on broken machines. An input is
// either a registry.reg and a machine.ini separated by a line "=====", with
// more bytes after a second such line decoded into extra registry keys (the
// sample machines seed this form), or bytes decoded whole into a machine.
// Both reports and both inventory formats must come back whole, with every
// key and search closed.

#include "MachineDecoder.h"

#include "inventory/GlpiWriter.h"
#include "inventory/Inventory.h"
#include "inventory/OcsWriter.h"
#include "platform/Platform.h"
#include "recorded/RecordedMachine.h"
#include "report/Report.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

const char kRegHeader[] = "Windows Registry Editor Version 5.00\n";

void report(const std::string& registry, const std::string& ini)
{
    std::string error;
    auto machine = kel::RecordedMachine::parse(registry, ini, &error);
    if (!machine)
        return;
    kel::ScopedPlatform scope(*machine);
    for (kel::ReportKind kind : {kel::ReportKind::Brief, kel::ReportKind::Detail}) {
        std::u16string text;
        if (!kel::runReport(kind, &text) || text.empty())
            __builtin_trap();
    }
    const kel::Inventory inventory = kel::takeInventory("fuzz-2024-01-15-10-30-00");
    const std::string xml = kel::ocsInventoryXml(inventory);
    const std::string json = kel::glpiInventoryJson(inventory, "fuzz");
    if (xml.find("</REQUEST>\n") != xml.size() - 11 || json.empty() || json[json.size() - 2] != '}')
        __builtin_trap();
    if (machine->openKeyCount() != 0 || machine->openSearchCount() != 0)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string mark = "\n=====\n";
    std::size_t first = input.find(mark);
    std::size_t second = first == std::string::npos ? first : input.find(mark, first + mark.size());
    if (second != std::string::npos) {
        std::size_t tail = second + mark.size();
        kelfuzz::MachineDecoder decoder(data + tail, size - tail);
        report(input.substr(0, first) + "\n" + decoder.registryBlocks(),
               input.substr(first + mark.size(), second - first - mark.size()));
        return 0;
    }
    kelfuzz::MachineDecoder decoder(data, size);
    std::string ini = decoder.machineIni();
    report(kRegHeader + decoder.registryBlocks(), ini);
    return 0;
}
