# SPDX-License-Identifier: GPL-3.0-or-later
# What work_log_readers.sh checks once the story of work_log_export.vts has run:
#   work_log_readers.py totals JOB.pcl
#       prints the clock's seconds and the minute counter the saved job holds
#   work_log_readers.py csv LOG.csv LOG.fods SEPARATOR SECONDS MINUTES
#       the CSV export's bytes, and the sheet LibreOffice Calc made of it (flat ODF)
#   work_log_readers.py ics LOG.ics
#       the iCalendar export's bytes, and the calendar Python's icalendar reads from it
#   work_log_readers.py register INVOICES.fods
#       the sheet Calc made of the register of issued invoices
# Each ends with status 1 and a line beginning FAIL where a check fails.
import re
import sys
import xml.etree.ElementTree as ET
from datetime import datetime, timezone

from icalendar import Calendar

COLUMNS = ["Date", "Start", "End", "Start ISO", "End ISO", "Seconds", "Hours",
           "Billed minutes", "Kind", "Note"]
NUMBERS = ["Seconds", "Hours", "Billed minutes"]
# The notes the story writes: one a spreadsheet would take for a formula, one that needs
# quoting in CSV and escaping in iCalendar.
FORMULA_NOTE = "=1+1"
MANUAL_NOTE = 'Übersicht, "Entwurf"; Korrektur'
# The clock ran from 09:00 to 10:00 in Berlin; the manual entry is 22:30 to 23:45 the evening
# before.
SPANS = [(datetime(2026, 12, 9, 21, 30, tzinfo=timezone.utc),
          datetime(2026, 12, 9, 22, 45, tzinfo=timezone.utc), MANUAL_NOTE),
         (datetime(2026, 12, 10, 8, 0, tzinfo=timezone.utc),
          datetime(2026, 12, 10, 9, 0, tzinfo=timezone.utc), None)]

TABLE = "{urn:oasis:names:tc:opendocument:xmlns:table:1.0}"
OFFICE = "{urn:oasis:names:tc:opendocument:xmlns:office:1.0}"
TEXT = "{urn:oasis:names:tc:opendocument:xmlns:text:1.0}"


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


def totals(path):
    # Line 8 is the minute counter; lines 55 to 61 the clock's digits, seconds to days.
    lines = open(path, "rb").read().decode("latin-1").split("\r\n")
    if len(lines) < 61:
        fail(f"{path} has {len(lines)} lines, not the 61 of a job")
    try:
        minutes = float(lines[7])
        digits = [int(line) for line in lines[54:61]]
    except ValueError:
        fail(f"{path}: line 8 or lines 55 to 61 are no numbers")
    weights = [1, 10, 60, 600, 3600, 36000, 86400]
    print(sum(d * w for d, w in zip(digits, weights)), minutes)


def crlf_lines(path, data):
    if not data.endswith(b"\r\n"):
        fail(f"{path} does not end with CR LF")
    lines = data.split(b"\r\n")[:-1]
    if any(b"\r" in line or b"\n" in line for line in lines):
        fail(f"{path} has a line that does not end with CR LF")
    return lines


def utf8(path, data):
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError as e:
        fail(f"{path} is not UTF-8: {e}")


def sheet_rows(path):
    """The rows of the first sheet that hold something, each a list of its cells."""
    table = ET.parse(path).getroot().find(f".//{TABLE}table")
    if table is None:
        fail(f"{path} holds no sheet")
    rows = []
    for row in table.iter(f"{TABLE}table-row"):
        cells = []
        for cell in row:
            repeat = int(cell.get(f"{TABLE}number-columns-repeated", "1"))
            cells.append((cell, repeat))
        while cells and cells[-1][0].get(f"{OFFICE}value-type") is None:
            cells.pop()  # the empty rest of the row
        if cells:
            expanded = [cell for cell, repeat in cells for _ in range(repeat)]
            rows += [expanded] * int(row.get(f"{TABLE}number-rows-repeated", "1"))
    return rows


def text(cell):
    return "\n".join("".join(p.itertext()) for p in cell.iter(f"{TEXT}p"))


def csv(path, fods, separator, seconds, minutes):
    data = open(path, "rb").read()
    if not data.startswith(b"\xef\xbb\xbf"):
        fail(f"{path} does not begin with a UTF-8 byte order mark")
    header = utf8(path, crlf_lines(path, data[3:])[0])
    if header != separator.join(COLUMNS):
        fail(f"{path} begins '{header}', not '{separator.join(COLUMNS)}'")

    rows = sheet_rows(fods)
    heading = [text(cell) for cell in rows[0]] if rows else []
    if heading != COLUMNS:
        fail(f"Calc read the heading of {path} as {heading}")
    data_rows = rows[1:]
    sums = dict.fromkeys(NUMBERS, 0.0)
    notes = []
    for number, row in enumerate(data_rows, 2):
        if len(row) > len(COLUMNS):
            fail(f"Calc read row {number} of {path} as {len(row)} cells: {[text(c) for c in row]}")
        for cell in row:
            if cell.get(f"{TABLE}formula") is not None:
                fail(f"Calc read a formula in row {number} of {path}: "
                     f"{cell.get(TABLE + 'formula')}, showing {text(cell)}")
        row = row + [ET.Element("empty")] * (len(COLUMNS) - len(row))  # ends at its last value
        for name in NUMBERS:
            cell = row[COLUMNS.index(name)]
            if cell.get(f"{OFFICE}value-type") != "float":
                fail(f"Calc read {name} in row {number} of {path} as '{text(cell)}', "
                     f"not as a number")
            sums[name] += float(cell.get(f"{OFFICE}value"))
        notes.append((row[-1].get(f"{OFFICE}value-type"), text(row[-1])))

    if abs(sums["Seconds"] - seconds) > 1e-6:
        fail(f"the Seconds in {path} add up to {sums['Seconds']:g}, the clock to {seconds}")
    if abs(sums["Billed minutes"] - minutes) > 1e-6:
        fail(f"the Billed minutes in {path} add up to {sums['Billed minutes']:g}, "
             f"the minute counter to {minutes:g}")
    if abs(sums["Hours"] - seconds / 3600) > 0.0001 * len(data_rows):
        fail(f"the Hours in {path} add up to {sums['Hours']:g}, the clock to {seconds / 3600:g}")
    # As text: shown as written, or with the apostrophe that keeps it from being a formula.
    if not {("string", FORMULA_NOTE), ("string", "'" + FORMULA_NOTE)} & set(notes):
        fail(f"Calc read no note of {path} as the text {FORMULA_NOTE}: {notes}")
    if ("string", MANUAL_NOTE) not in notes:
        fail(f"Calc read no note of {path} as {MANUAL_NOTE}: {notes}")


def ics(path):
    data = open(path, "rb").read()
    whole = utf8(path, data)  # before unfolding, so a fold inside a character fails
    for number, line in enumerate(crlf_lines(path, data), 1):
        if len(line) > 75:
            fail(f"line {number} of {path} is {len(line)} octets long, over 75")
    # A comma or semicolon in text goes escaped; icalendar reads one left bare all the same.
    for line in whole.replace("\r\n ", "").replace("\r\n\t", "").split("\r\n"):
        if line.startswith("DESCRIPTION") and re.search(r"(?<!\\)[,;]", line.partition(":")[2]):
            fail(f"{path} has a comma or semicolon left bare in {line}")

    calendar = Calendar.from_ical(data)
    if str(calendar.get("VERSION")) != "2.0" or not calendar.get("PRODID"):
        fail(f"{path} names no VERSION 2.0 or no PRODID")
    events = calendar.walk("VEVENT")
    if len(events) != len(SPANS):
        fail(f"{path} has {len(events)} events, not one for each of the {len(SPANS)} spans")
    uids = {str(event.get("UID", "")) for event in events}
    if "" in uids or len(uids) != len(events):
        fail(f"the events of {path} lack a UID or share one: {sorted(uids)}")
    if not all("DTSTAMP" in event for event in events):
        fail(f"an event of {path} has no DTSTAMP")
    found = []
    for event in events:
        for name in ("DTSTART", "DTEND"):
            value = event[name].to_ical().decode() if name in event else "nothing"
            if not value.endswith("Z"):
                fail(f"an event of {path} has no {name} in UTC: {value}")
        found.append((event.decoded("DTSTART"), event.decoded("DTEND"), event.get("DESCRIPTION")))
    found.sort(key=lambda span: span[0])
    for (start, end, description), (want_start, want_end, want_note) in zip(found, SPANS):
        if (start, end) != (want_start, want_end):
            fail(f"{path} has an event from {start} to {end}, not {want_start} to {want_end}")
        if want_note is not None and str(description) != want_note:
            fail(f"the event at {start} in {path} is described '{description}', not '{want_note}'")


REGISTER = ["Number", "Date", "Customer", "Project", "Net", "Tax", "Gross", "Currency", "File"]
CUSTOMER = "=SUM(1;2)"


def register(fods):
    rows = sheet_rows(fods)
    if not rows or [text(cell) for cell in rows[0]] != REGISTER:
        fail(f"Calc read the heading of the register as {[text(c) for c in rows[0]] if rows else []}")
    if len(rows) != 2:
        fail(f"Calc read {len(rows) - 1} invoices from the register, not 1")
    row = rows[1]
    figures = {}
    for name in ("Net", "Tax", "Gross"):
        cell = row[REGISTER.index(name)]
        if cell.get(f"{OFFICE}value-type") != "float":
            fail(f"Calc read the {name} of the register as '{text(cell)}', not as a number")
        figures[name] = round(float(cell.get(f"{OFFICE}value")) * 100)
    # VAT at 19 %, half a cent up.
    if figures["Tax"] != (figures["Net"] * 19 + 50) // 100 or \
            figures["Net"] + figures["Tax"] != figures["Gross"] or figures["Net"] == 0:
        fail(f"the register's figures do not add up: {figures}")
    customer = row[REGISTER.index("Customer")]
    if customer.get(f"{TABLE}formula") is not None or \
            text(customer) not in (CUSTOMER, "'" + CUSTOMER):
        fail(f"Calc read the register's customer as '{text(customer)}'")


if __name__ == "__main__":
    what, args = sys.argv[1], sys.argv[2:]
    if what == "totals":
        totals(*args)
    elif what == "csv":
        csv(args[0], args[1], args[2], int(args[3]), float(args[4]))
    elif what == "ics":
        ics(*args)
    elif what == "register":
        register(*args)
    else:
        fail(f"no check called {what}")
