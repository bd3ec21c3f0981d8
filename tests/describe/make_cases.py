#!/usr/bin/env python3
"""Writes the batchcheck-describe end-to-end case folders next to this script.

The batches and batchcheck's own messages come from the batchcheck cases'
builders; the expected views are written here from the layouts: the text view
by hand, the JSON Lines with Python's json module, so that every case also
checks that the output is valid JSON. Given a folder, it writes them there
instead (tests/cases_match.py holds them against the committed ones).
"""
import json
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ folder among the batchcheck cases
sys.path.insert(0, os.path.join(HERE, "..", "batchcheck"))
import make_cases as bc  # noqa: E402

CASES = {}

HEADER = [("record_code", 0, 2), ("merchant_country", 2, 2), ("merchant_id", 4, 15), ("header_zone_1", 19, 8),
          ("header_zone_2", 27, 6), ("file_number", 33, 6), ("version", 39, 2), ("header_rest", 41, 159)]
BODY = [("record_code", 0, 2), ("merchant_country", 2, 2), ("merchant_id", 4, 15), ("record_number", 19, 6),
        ("body_zone_1", 25, 8), ("transaction_id", 33, 6), ("body_zone_2", 39, 12), ("body_zone_3", 51, 3),
        ("body_zone_4", 54, 50), ("body_zone_5", 104, 32), ("body_zone_6", 136, 3), ("body_rest", 139, 61)]
FOOTER = [("record_code", 0, 2), ("file_identity", 2, 39), ("nb_record", 41, 6), ("footer_rest", 47, 153)]
OTHER = [("record_code", 0, 2), ("record_rest", 2, 198)]
LAYOUTS = {"00": ("header", HEADER), "03": ("body", BODY), "09": ("footer", FOOTER)}
MEANINGS = ["valid", "content error", "file already treated or unreadable", "file sequence interrupted",
            "structure error"]


def records_with_line_ends(text):
    """The records as the reading unit cuts them (CR LF read as one line end),
    each with its line end as the file has it ("\r\n", "\n" or none)."""
    records, record, i = [], "", 0
    while i < len(text):
        c, end = text[i], text[i]
        i += 1
        if c == "\r" and i < len(text) and text[i] == "\n":
            c, end, i = "\n", "\r\n", i + 1
        record += c
        if c == "\n" or len(record) == 200:
            records.append((record, end if c == "\n" else ""))
            record = ""
    if record:
        records.append((record, ""))
    return records


def records_of(text):
    """The records as the reading unit cuts them."""
    return [record for record, _ in records_with_line_ends(text)]


def kind_of(record):
    kind, fields = LAYOUTS.get(record[:2].rstrip(" "), ("other", OTHER))
    return kind, fields


def escape(text, quoting=True):
    out = ""
    for c in text:
        if c in "\"\\" and quoting:
            out += "\\" + c
        elif c in "\r\n\t":
            out += {"\r": "\\r", "\n": "\\n", "\t": "\\t"}[c]
        elif ord(c) < 0x20 or ord(c) > 0x7e:
            out += "\\x%02x" % ord(c)
        else:
            out += c
    return out


def marked(text, indent):
    if text.endswith("\n"):
        text = text[:-1]
    return "".join("%s!! %s\n" % (indent, escape(part, False)) for part in text.split("\n"))


def text_record(n, record, findings):
    kind, fields = kind_of(record)
    shown = kind if kind != "other" else 'other (code "%s")' % escape(record[:2].rstrip(" "))
    out = "record %d: %s, length %d\n" % (n, shown, len(record))
    for name, offset, width in fields:
        out += "  %-17s%-9s\"%s\"\n" % (name, "%d-%d" % (offset, offset + width - 1),
                                        escape(record[offset:offset + width]))
    return out + "".join(marked(f, "  ") for f in findings)


def json_record(n, record, findings, line_end):
    kind, fields = kind_of(record)
    obj = {"record": n, "kind": kind, "length": len(record), "line_end": line_end,
           "fields": {name: record[offset:offset + width] for name, offset, width in fields},
           "findings": findings}
    return json.dumps(obj, ensure_ascii=False, separators=(",", ":")) + "\n"


def counts(number, records, errors, headers, footers, bodies):
    return dict(file_number=number, records=records, errors=errors, header_records=headers,
                footer_records=footers, body_records=bodies)


def view(batch, findings, result, file_findings, count, as_json, checked=True, shown=None):
    """The whole output: the records (all, or those in `shown`), then the end."""
    out = ""
    for n, (record, line_end) in enumerate(records_with_line_ends(batch), 1):
        if shown is None or n in shown:
            found = findings.get(n, [])
            out += json_record(n, record, found, line_end) if as_json else text_record(n, record, found)
    if as_json:
        end = {"result": result, "findings": file_findings, "counts": count, "file_number_checked": checked}
        return out + json.dumps(end, ensure_ascii=False, separators=(",", ":")) + "\n"
    if count:
        out += bc.summary(count["file_number"], count["records"], count["errors"], count["header_records"],
                          count["footer_records"])
    out += "".join(marked(f, "") for f in file_findings)
    return out + "result %d: %s%s\n" % (result, MEANINGS[result], "" if checked else " (file number not checked)")


def case(name, args, batch, stdout, status):
    CASES[name] = dict(args=args, batch=batch, stdout=stdout, status=status)


VALID = "".join(bc.VALID)
VALID_COUNTS = counts(12, 4, 0, 1, 1, 2)
case("valid_batch_text", ["req", "12"], VALID, view(VALID, {}, 0, [], VALID_COUNTS, False), 0)
case("valid_batch_json", ["--json", "req", "12"], VALID, view(VALID, {}, 0, [], VALID_COUNTS, True), 0)

# Findings on several records, each with batchcheck's own text: a repeated id
# (records 2 and 4), another merchant (record 3), a short record (record 4),
# an unknown code (record 5) and a footer that differs from the header.
H = bc.H
short = bc.pad(bc.body(3, "TID001")[:149], 149) + "\n"
bad_footer = bc.line("09" + H[2:39] + "04" + "000003")
FAULTS = "".join([H, bc.body(1, "TID001"), bc.body(2, "TID002", country="BE", mid="SHOP2"), short,
                  bc.line("3 SHOP1"), bad_footer])
FAULT_FINDINGS = {
    2: ["The transaction_id (TID001) is present in several lines\n"],
    3: ["The merchant_country in header file (FR) is not the same that in line 3 \n",
        "The in merchant_id in header file (SHOP1) is not the same that in line 3 \n"],
    4: ["error length in record 4\n"],
    5: ["Error in code enregistrement (3)\n"],
    6: ["First and last record are not consistent:\n First (" + H[2:41] + ")\n last  (" + bad_footer[2:41] + ")\n"],
}
FAULT_COUNTS = counts(12, 6, 3, 1, 1, 3)
case("faults_on_several_records_json", ["--json", "req", "12"], FAULTS,
     view(FAULTS, FAULT_FINDINGS, 1, [], FAULT_COUNTS, True), 1)
# Only records 3 to 5 and, of those, only the ones with a finding (record 6
# has one too); the end still speaks of the whole file, here without a file
# number.
SPARSE = "".join([H, bc.body(1, "TID001"), bc.body(2, "TID002"), bc.body(3, "TID003", mid="SHOP2"),
                  bc.body(4, "TID004"), bc.body(5, "TID005", mid="SHOP3"), bc.footer(H, 4)])
SPARSE_FINDINGS = {4: ["The in merchant_id in header file (SHOP1) is not the same that in line 4 \n"],
                   6: ["The in merchant_id in header file (SHOP1) is not the same that in line 6 \n"]}
case("records_and_findings_text", ["--records", "3-5", "--findings", "req"], SPARSE,
     view(SPARSE, SPARSE_FINDINGS, 1, [], counts(12, 7, 2, 1, 1, 5), False, checked=False, shown={4}), 1)
case("decision_on_the_whole_file_text", ["--findings", "req", "13"], VALID,
     view(VALID, {}, 2, ["Error : File already treated !\n"], VALID_COUNTS, False, shown=set()), 1)

# NUL, control and high bytes in every field and in the findings: still JSON.
ODD = "".join(bc.ODD_BATCH) + "".join(bc.ODD_CODES[1:3]) + bc.line("\x1b\t\r\x01\x1f\\\"")
ODD_FINDINGS = {5: ["Error in code enregistrement (\xff3)\n"], 6: ["Error in code enregistrement (\x000)\n"],
                7: ["Error in code enregistrement (\x1b\t)\n"]}
case("odd_bytes_give_valid_json", ["--json", "req", "12"], ODD,
     view(ODD, ODD_FINDINGS, 1, [], counts(12, 7, 3, 1, 1, 2), True), 1)
# A wrong command line: the usage goes to standard error, status 2.
case("usage_unknown_option", ["--yaml", "req", "12"], VALID, "", 2)
case("request_missing_json", ["--json", "nothing.req"], None,
     view("", {}, 2, ["Error : can't read the file nothing.req"], None, True, checked=False), 2)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(text.encode("latin-1") if isinstance(text, str) else text)


def main(folder=HERE):
    for name in os.listdir(folder):
        if os.path.isdir(os.path.join(folder, name)) and name != "__pycache__":
            shutil.rmtree(os.path.join(folder, name))
    for name, c in CASES.items():
        root = os.path.join(folder, name)
        write(os.path.join(root, "args"), "".join(a + "\n" for a in c["args"]))
        # The JSON Lines are UTF-8; the text view is the file's own bytes.
        stdout = c["stdout"]
        write(os.path.join(root, "stdout"), stdout.encode("utf-8") if "--json" in c["args"] else stdout)
        if c["status"]:
            write(os.path.join(root, "status"), "%d\n" % c["status"])
        if c["batch"] is not None:
            write(os.path.join(root, "in", "req"), c["batch"])
        else:
            os.makedirs(root, exist_ok=True)


if __name__ == "__main__":
    main(*sys.argv[1:2])
