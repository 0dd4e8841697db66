#!/usr/bin/env python3
"""Checks kelreport's inventory formats on recorded machines.

For each machine the OCS XML must parse, carry only the fields the OCS
server's mapping reads and hold the expected values; the GLPI JSON must
validate against GLPI's schema and use only keys the schema declares; and
both must carry the figures of the text report: memory, clock, drives'
sizes and program names.

usage: check-formats.py SCHEMA OUTDIR MACHINE...
OUTDIR holds NAME.text, NAME.ocs and NAME.glpi of each machine, as
write-formats.sh writes them; a machine is NAME or NAME=EXPECTED.json, whose
values the formats must hold.
"""

import json
import re
import sys
import xml.etree.ElementTree as ElementTree

import jsonschema

# The fields of the OCS server's mapping (Apache::Ocsinventory::Map, and
# the software table's columns) for the sections Kel writes.
OCS_FIELDS = {
    "HARDWARE": {"NAME", "WORKGROUP", "USERDOMAIN", "OSNAME", "OSVERSION", "OSCOMMENTS", "PROCESSORT",
                 "PROCESSORS", "PROCESSORN", "MEMORY", "SWAP", "DEFAULTGATEWAY", "IPADDR", "DNS", "USERID",
                 "TYPE", "DESCRIPTION", "WINCOMPANY", "WINOWNER", "WINPRODID", "WINPRODKEY", "LASTDATE",
                 "CHECKSUM", "UUID", "ARCH"},
    "BIOS": {"MMANUFACTURER", "MMODEL", "MSN", "SMANUFACTURER", "SMODEL", "SSN", "BMANUFACTURER", "BVERSION",
             "BDATE", "TYPE", "ASSETTAG"},
    "CPUS": {"MANUFACTURER", "TYPE", "SERIALNUMBER", "SPEED", "CORES", "L2CACHESIZE", "CPUARCH", "DATA_WIDTH",
             "CURRENT_ADDRESS_WIDTH", "LOGICAL_CPUS", "VOLTAGE", "CURRENT_SPEED", "SOCKET"},
    "VIDEOS": {"NAME", "CHIPSET", "MEMORY", "RESOLUTION"},
    "SOUNDS": {"NAME", "MANUFACTURER", "DESCRIPTION"},
    "NETWORKS": {"IPADDRESS", "IPMASK", "IPSUBNET", "DESCRIPTION", "TYPE", "TYPEMIB", "SPEED", "MTU", "MACADDR",
                 "STATUS", "IPGATEWAY", "IPDHCP", "VIRTUALDEV"},
    "DRIVES": {"LETTER", "TYPE", "FILESYSTEM", "TOTAL", "FREE", "VOLUMN", "NUMFILES", "CREATEDATE"},
    "PRINTERS": {"NAME", "DRIVER", "PORT", "DESCRIPTION", "SERVERNAME", "SHARENAME", "RESOLUTION", "COMMENT",
                 "SHARED", "NETWORK"},
    "SOFTWARES": {"NAME", "PUBLISHER", "VERSION", "FOLDER", "COMMENTS", "FILENAME", "FILESIZE", "SOURCE",
                  "GUID", "LANGUAGE", "INSTALLDATE", "BITSWIDTH", "CATEGORY"},
}
ONCE = {"HARDWARE", "BIOS"}
DEVICE_ID = re.compile(r"^.+-\d{4}(?:-\d{2}){5}$")  # the server's own check

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def read(path):
    with open(path, encoding="utf-8") as file:
        return file.read()


def text_figures(report):
    """The figures of the detailed text report."""
    lines = report.split("\n")
    figures = {"drives": {}, "programs": []}
    for line in lines:
        if line.startswith("Memory: "):
            figures["memory"] = int(line[len("Memory: "):-2])
        match = re.match(r"^CPU: .* (\d+)Mhz \((\d+)CPUs\)$", line)
        if match:
            figures["mhz"], figures["cpus"] = int(match.group(1)), int(match.group(2))
        match = re.match(r"^([A-Z]:)\\\(.*, (\d+)MB/(\d+)MB\)$", line)
        if match:
            figures["drives"][match.group(1)] = (int(match.group(2)), int(match.group(3)))
    section = lines[lines.index("Softwares") + 1:lines.index("Startup")]
    figures["programs"] = [name for name in section if name]
    return figures


def xml_carried(text):
    """Text as XML 1.0 can carry it: other controls than tab and line ends
    become U+FFFD."""
    return re.sub("[\x00-\x08\x0b\x0c\x0e-\x1f]", "\ufffd", text)


def check_ocs(name, xml, figures, expected):
    root = ElementTree.fromstring(xml.encode("utf-8"))
    check(root.tag == "REQUEST", name + ": the root is " + root.tag)
    check(root.findtext("QUERY") == "INVENTORY", name + ": QUERY is not INVENTORY")
    check(DEVICE_ID.match(root.findtext("DEVICEID") or ""), name + ": bad DEVICEID")
    content = root.find("CONTENT")
    for section in content:
        allowed = OCS_FIELDS.get(section.tag)
        check(allowed is not None, "%s: section %s is not one the server maps" % (name, section.tag))
        for field in section:
            check(field.tag in (allowed or ()), "%s: %s/%s is not a field the server maps"
                  % (name, section.tag, field.tag))
    for tag in ONCE:
        check(len(content.findall(tag)) <= 1, "%s: %s given twice" % (name, tag))
    hardware = content.find("HARDWARE")
    check(int(hardware.findtext("MEMORY", "0")) == figures.get("memory", 0), name + ": MEMORY differs from the report")
    check(int(hardware.findtext("PROCESSORS", "0")) == figures.get("mhz", 0), name + ": PROCESSORS differs")
    check(int(hardware.findtext("PROCESSORN", "0")) == figures.get("cpus", 0), name + ": PROCESSORN differs")
    sizes = {d.findtext("LETTER")[:2]: (int(d.findtext("TOTAL")), int(d.findtext("FREE")))
             for d in content.findall("DRIVES") if d.find("TOTAL") is not None}
    check(sizes == figures["drives"], "%s: drive sizes %s, the report's %s" % (name, sizes, figures["drives"]))
    programs = [s.findtext("NAME") for s in content.findall("SOFTWARES")]
    reported = [xml_carried(program) for program in figures["programs"]]
    check(programs[:len(reported)] == reported,
          "%s: programs %s do not start with the report's %s" % (name, programs, figures["programs"]))
    for path, value in expected.get("ocs", {}).items():
        found = [element.text for element in content.findall(path)]
        check(value in found, "%s: %s is %s, not %r" % (name, path, found, value))


def undeclared(value, schema, definitions, path):
    """The keys of value that the schema does not declare where they are."""
    while "$ref" in schema:
        schema = definitions[schema["$ref"].split("/")[-1]]
    keys = []
    if isinstance(value, dict):
        properties = schema.get("properties", {})
        for key, item in value.items():
            if key not in properties:
                keys.append(path + "/" + key)
            else:
                keys += undeclared(item, properties[key], definitions, path + "/" + key)
    elif isinstance(value, list):
        for index, item in enumerate(value):
            keys += undeclared(item, schema.get("items", {}), definitions, "%s[%d]" % (path, index))
    return keys


def check_glpi(name, text, schema, figures, expected):
    inventory = json.loads(text)
    validator = jsonschema.validators.validator_for(schema)(schema, format_checker=jsonschema.FormatChecker())
    for error in validator.iter_errors(inventory):
        check(False, "%s: %s at %s" % (name, error.message, "/".join(str(p) for p in error.absolute_path)))
    for key in undeclared(inventory, schema, schema.get("definitions", {}), ""):
        check(False, "%s: %s is not declared by the schema" % (name, key))
    content = inventory["content"]
    check(inventory.get("itemtype") == "Computer", name + ": itemtype is not Computer")
    check(content.get("hardware", {}).get("memory", 0) == figures.get("memory", 0), name + ": memory differs")
    check(content.get("cpus", [{}])[0].get("speed", 0) == figures.get("mhz", 0), name + ": speed differs")
    sizes = {d["letter"]: (d["total"], d["free"]) for d in content.get("drives", []) if "total" in d}
    check(sizes == figures["drives"], "%s: drive sizes %s, the report's %s" % (name, sizes, figures["drives"]))
    machine_programs = [s["name"] for s in content.get("softwares", []) if "username" not in s]
    check(machine_programs == figures["programs"],
          "%s: programs %s, the report's %s" % (name, machine_programs, figures["programs"]))
    for path, value in expected.get("glpi", {}).items():
        found = content
        for part in path.split("/"):
            found = found[int(part)] if isinstance(found, list) else found.get(part) if found is not None else None
        check(found == value, "%s: %s is %r, not %r" % (name, path, found, value))


def main():
    schema = json.loads(read(sys.argv[1]))
    out, machines = sys.argv[2], sys.argv[3:]
    for machine in machines:
        name, _, expected_path = machine.partition("=")
        expected = json.loads(read(expected_path)) if expected_path else {}
        figures = text_figures(read("%s/%s.text" % (out, name)))
        check_ocs(name, read("%s/%s.ocs" % (out, name)), figures, expected)
        check_glpi(name, read("%s/%s.glpi" % (out, name)), schema, figures, expected)
    for failure in failures:
        print("FAIL " + failure)
    print("%d machines, %d failures" % (len(machines), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
