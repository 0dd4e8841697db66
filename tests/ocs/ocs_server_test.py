#!/usr/bin/env python3
"""Posts OCS inventories to the real server of scripts/ocs-server as an agent
does (PROLOG, then the zlib-compressed INVENTORY) and checks what the server
stored in its database.

    ocs_server_test.py STATE_DIR KELREPORT MACHINES_DIR
"""
import copy
import subprocess
import sys
import urllib.error
import urllib.request
import xml.etree.ElementTree as ET
import zlib
from pathlib import Path

USER_AGENT = "Kel"
MACHINES = ["win11-desktop", "xp-desktop"]
HERE = Path(__file__).resolve().parent

failures = []


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: got {got!r}, expected {expected!r}")


def inventory_xml(kelreport, machines_dir, machine):
    """The OCS inventory of a recorded machine as kelreport writes it: the
    one input of this test."""
    return subprocess.run([kelreport, "--format", "ocs", "--machine", str(Path(machines_dir) / machine)],
                          check=True, capture_output=True).stdout


def post(url, xml, user_agent=USER_AGENT):
    """One request as agents send it; returns the inflated reply."""
    request = urllib.request.Request(
        url, data=zlib.compress(xml), method="POST",
        headers={"User-Agent": user_agent, "Content-Type": "application/x-compress"})
    with urllib.request.urlopen(request, timeout=60) as reply:
        return ET.fromstring(zlib.decompress(reply.read()))


def prolog(device_id):
    return (f'<?xml version="1.0" encoding="UTF-8" ?>\n<REQUEST><DEVICEID>{device_id}</DEVICEID>'
            f"<QUERY>PROLOG</QUERY></REQUEST>\n").encode()


def send(url, xml):
    request = ET.fromstring(xml)
    device_id = request.findtext("DEVICEID")
    check(f"{device_id}: PROLOG answer", post(url, prolog(device_id)).findtext("RESPONSE"), "SEND")
    answer = post(url, xml).findtext("RESPONSE")
    if answer is None:
        failures.append(f"{device_id}: the INVENTORY answer has no RESPONSE")


class Database:
    def __init__(self, state):
        self.socket = str(Path(state) / "mariadb.sock")

    def rows(self, query, *args):
        """Rows as tuples of text; NULL reads as None. Each ? takes the next
        argument as a hexadecimal literal, which needs no quoting."""
        for arg in args:
            query = query.replace("?", "X'" + str(arg).encode().hex() + "'", 1)
        out = subprocess.run(
            ["mariadb", "--no-defaults", f"--socket={self.socket}", "-u", "root", "ocsweb",
             "-N", "-B", "--raw", "-e", query],
            check=True, capture_output=True, text=True).stdout
        return [tuple(None if v == "NULL" else v for v in line.split("\t"))
                for line in out.splitlines()]


def ordered(rows):
    """Rows in one order, an absent value (None) before any text."""
    return sorted(rows, key=lambda row: [(v is not None, v or "") for v in row])


def expected(section_elements, fields):
    return ordered(tuple(e.findtext(f) for f in fields) for e in section_elements)


def check_machine(db, xml):
    """The machine's rows hold what its inventory says; returns its row ID."""
    request = ET.fromstring(xml)
    device_id = request.findtext("DEVICEID")
    content = request.find("CONTENT")
    hardware_fields = ["NAME", "OSNAME", "MEMORY", "PROCESSORT", "PROCESSORS", "PROCESSORN"]
    rows = db.rows("SELECT ID, " + ", ".join(hardware_fields) + " FROM hardware WHERE DEVICEID = ?",
                   device_id)
    check(f"{device_id}: hardware rows", len(rows), 1)
    if len(rows) != 1:
        return None
    hardware_id = rows[0][0]
    hardware = content.find("HARDWARE")
    for field, got in zip(hardware_fields, rows[0][1:]):
        if hardware.findtext(field) is None:
            failures.append(f"{device_id}: the inventory has no HARDWARE.{field}")
        check(f"{device_id}: HARDWARE.{field}", got, hardware.findtext(field))

    sections = {
        "NETWORKS": ("SELECT DESCRIPTION, MACADDR FROM networks WHERE HARDWARE_ID = ?",
                     ["DESCRIPTION", "MACADDR"]),
        "DRIVES": ("SELECT LETTER, TYPE, NULLIF(FILESYSTEM, ''), TOTAL, FREE FROM drives"
                   " WHERE HARDWARE_ID = ?",
                   ["LETTER", "TYPE", "FILESYSTEM", "TOTAL", "FREE"]),
        # Row 1 of the version and publisher tables stands for none.
        "SOFTWARES": ("SELECT n.NAME, IF(s.VERSION_ID = 1, NULL, v.VERSION),"
                      " IF(s.PUBLISHER_ID = 1, NULL, p.PUBLISHER) FROM software s"
                      " JOIN software_name n ON n.ID = s.NAME_ID"
                      " JOIN software_version v ON v.ID = s.VERSION_ID"
                      " JOIN software_publisher p ON p.ID = s.PUBLISHER_ID WHERE s.HARDWARE_ID = ?",
                      ["NAME", "VERSION", "PUBLISHER"]),
    }
    for section, (query, fields) in sections.items():
        want = expected(content.findall(section), fields)
        got = ordered(db.rows(query, hardware_id))
        # Absent numbers are stored as 0 (the server's fallback).
        if section == "DRIVES":
            want = ordered(w[:3] + tuple(v or "0" for v in w[3:]) for w in want)
        check(f"{device_id}: {section}", got, want)
    # What the checks above compare must be there to compare.
    for section, field in [("NETWORKS", "MACADDR"), ("DRIVES", "FILESYSTEM"),
                           ("SOFTWARES", "VERSION"), ("SOFTWARES", "PUBLISHER")]:
        if not any(e.findtext(field) for e in content.findall(section)):
            failures.append(f"{device_id}: the inventory has no {section} with a {field}")
    return hardware_id


def changed_memory(xml):
    """The same machine with another memory figure, as a later run finds it."""
    request = ET.fromstring(xml)
    memory = request.find("CONTENT/HARDWARE/MEMORY")
    memory.text = str(int(memory.text) + 1024)
    return b'<?xml version="1.0" encoding="UTF-8" ?>\n' + ET.tostring(request)


def main():
    state, kelreport, machines_dir = sys.argv[1:4]
    url = subprocess.run([str(HERE.parent.parent / "scripts" / "ocs-server"), "status"],
                         check=True, capture_output=True, text=True).stdout.strip()
    db = Database(state)
    inventories = {m: inventory_xml(kelreport, machines_dir, m) for m in MACHINES}

    # An agent the server's configuration does not list is refused.
    device_id = ET.fromstring(inventories[MACHINES[0]]).findtext("DEVICEID")
    try:
        post(url, prolog(device_id), user_agent="Unknown-Agent")
        failures.append("a PROLOG from an unlisted User-Agent was accepted")
    except urllib.error.HTTPError as error:
        check("PROLOG from an unlisted User-Agent: HTTP status", error.code, 400)

    ids = {}
    for machine, xml in inventories.items():
        send(url, xml)
        ids[machine] = check_machine(db, xml)
    names = [ET.fromstring(xml).findtext("CONTENT/HARDWARE/NAME") for xml in inventories.values()]
    count_named = "SELECT COUNT(*) FROM hardware WHERE NAME IN (?, ?)"
    check("two machines: rows", int(db.rows(count_named, *names)[0][0]), 2)
    check("two machines: distinct rows", len(set(ids.values())), 2)

    # The same machine again: its row is updated, nothing is duplicated.
    machine = MACHINES[0]
    count_all = "SELECT COUNT(*) FROM hardware"
    before = db.rows(count_all)
    again = changed_memory(inventories[machine])
    send(url, again)
    check(f"{machine} sent again: its row", check_machine(db, again), ids[machine])
    check(f"{machine} sent again: rows", db.rows(count_all), before)
    check(f"{machine} sent again: rows of both", int(db.rows(count_named, *names)[0][0]), 2)

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
