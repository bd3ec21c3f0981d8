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
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ folder among the batchcheck cases
sys.path.insert(0, os.path.join(HERE, "..", "batchcheck"))
import make_cases as bc  # noqa: E402

CASES = {}

LAYOUTS = {"00": ("header", bc.HEADER), "03": ("body", bc.BODY), "09": ("footer", bc.FOOTER)}
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


def code_of(record):
    return bc.field(record, bc.OTHER, "record_code").rstrip(" ")


def records_of(text):
    """The records as the reading unit cuts them."""
    return [record for record, _ in records_with_line_ends(text)]


def kind_of(record):
    kind, fields = LAYOUTS.get(code_of(record), ("other", bc.OTHER))
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


# The field that each rule of a Request file concerns.
RULE_FIELD = {"first_record_not_header": "record_code", "merchant_country_differs": "merchant_country",
              "merchant_id_differs": "merchant_id", "file_identity_differs": "file_identity",
              "record_code_unknown": "record_code", "transaction_id_repeated": "transaction_id"}
REQUEST_FIELD_AT = {name: (offset, width) for layout in (bc.HEADER, bc.BODY, bc.FOOTER) for name, offset, width in layout}


def request_finding(rule, text):
    """A finding of a Request file as the JSON view gives it."""
    obj = {"rule": rule, "text": text}
    if rule in RULE_FIELD:
        field = RULE_FIELD[rule]
        obj.update(field=field, offset=REQUEST_FIELD_AT[field][0], length=REQUEST_FIELD_AT[field][1])
    return obj


def text_record(n, record, findings):
    kind, fields = kind_of(record)
    shown = kind if kind != "other" else 'other (code "%s")' % escape(code_of(record))
    out = "record %d: %s, length %d\n" % (n, shown, len(record))
    for name, offset, width in fields:
        marks = [rule for rule, _ in findings if RULE_FIELD.get(rule) == name]
        out += "  %-17s%-9s\"%s\"%s\n" % (name, "%d-%d" % (offset, offset + width - 1),
                                          escape(record[offset:offset + width]),
                                          "  <- " + ", ".join(marks) if marks else "")
    return out + "".join(marked(text, "  ") for _, text in findings)


def json_record(n, record, findings, line_end):
    kind, fields = kind_of(record)
    obj = {"record": n, "kind": kind, "length": len(record), "line_end": line_end,
           "fields": {name: record[offset:offset + width] for name, offset, width in fields},
           "findings": [request_finding(*f) for f in findings]}
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
        end = {"layout": "request", "result": result, "findings": [request_finding(*f) for f in file_findings],
               "counts": count, "file_number_checked": checked}
        return out + json.dumps(end, ensure_ascii=False, separators=(",", ":")) + "\n"
    if count:
        out += bc.summary(count["file_number"], count["records"], count["errors"], count["header_records"],
                          count["footer_records"])
    out += "".join(marked(text, "") for _, text in file_findings)
    return out + "result %d: %s%s\n" % (result, MEANINGS[result], "" if checked else " (file number not checked)")


def case(name, args, batch, stdout, status, outputs=None):
    """`batch` is the Request file req, or a dict of the files in in/;
    `outputs` the files expected in out/."""
    CASES[name] = dict(args=args, batch=batch, stdout=stdout, status=status, outputs=outputs or {})


VALID = "".join(bc.VALID)
VALID_COUNTS = counts(12, 4, 0, 1, 1, 2)
case("valid_batch_text", ["req", "12"], VALID, view(VALID, {}, 0, [], VALID_COUNTS, False), 0)
case("valid_batch_json", ["--json", "req", "12"], VALID, view(VALID, {}, 0, [], VALID_COUNTS, True), 0)

# Findings on several records, each with batchcheck's own text: a repeated id
# (records 2 and 4), another merchant (record 3), a short record (record 4),
# an unknown code (record 5) and a footer that differs from the header.
H = bc.H
short = bc.pad(bc.body(3, "TID001")[:149], 149) + "\n"
# The footer's copy of the header's identity ends in another version.
bad_footer = bc.line(bc.build(bc.FOOTER, record_code="09", file_identity=bc.identity(H)[:-2] + "04",
                              nb_record="000003"))
FAULTS = "".join([H, bc.body(1, "TID001"), bc.body(2, "TID002", country="BE", mid="SHOP2"), short,
                  bc.line("3 SHOP1"), bad_footer])
FAULT_FINDINGS = {
    2: [("transaction_id_repeated", "The transaction_id (TID001) is present in several lines\n")],
    3: [("merchant_country_differs", "The merchant_country in header file (FR) is not the same that in line 3 \n"),
        ("merchant_id_differs", "The in merchant_id in header file (SHOP1) is not the same that in line 3 \n")],
    4: [("record_length", "error length in record 4\n")],
    5: [("record_code_unknown", "Error in code enregistrement (3)\n")],
    6: [("file_identity_differs",
         "First and last record are not consistent:\n First (" + bc.identity(H) + ")\n last  (" +
         bc.identity(bad_footer) + ")\n")],
}
FAULT_COUNTS = counts(12, 6, 3, 1, 1, 3)
case("faults_on_several_records_json", ["--json", "req", "12"], FAULTS,
     view(FAULTS, FAULT_FINDINGS, 1, [], FAULT_COUNTS, True), 1)
# Only records 3 to 5 and, of those, only the ones with a finding (record 6
# has one too); the end still speaks of the whole file, here without a file
# number.
SPARSE = "".join([H, bc.body(1, "TID001"), bc.body(2, "TID002"), bc.body(3, "TID003", mid="SHOP2"),
                  bc.body(4, "TID004"), bc.body(5, "TID005", mid="SHOP3"), bc.footer(H, 4)])
SPARSE_FINDINGS = {4: [("merchant_id_differs", "The in merchant_id in header file (SHOP1) is not the same that in line 4 \n")],
                   6: [("merchant_id_differs", "The in merchant_id in header file (SHOP1) is not the same that in line 6 \n")]}
case("records_and_findings_text", ["--records", "3-5", "--findings", "req"], SPARSE,
     view(SPARSE, SPARSE_FINDINGS, 1, [], counts(12, 7, 2, 1, 1, 5), False, checked=False, shown={4}), 1)
case("decision_on_the_whole_file_text", ["--findings", "req", "13"], VALID,
     view(VALID, {}, 2, [("file_already_treated", "Error : File already treated !\n")], VALID_COUNTS, False,
          shown=set()), 1)

# NUL, control and high bytes in every field and in the findings: still JSON.
ODD = "".join(bc.ODD_BATCH) + "".join(bc.ODD_CODES[1:3]) + bc.line("\x1b\t\r\x01\x1f\\\"")
ODD_FINDINGS = {5: [("record_code_unknown", "Error in code enregistrement (\xff3)\n")],
                6: [("record_code_unknown", "Error in code enregistrement (\x000)\n")],
                7: [("record_code_unknown", "Error in code enregistrement (\x1b\t)\n")]}
case("odd_bytes_give_valid_json", ["--json", "req", "12"], ODD,
     view(ODD, ODD_FINDINGS, 1, [], counts(12, 7, 3, 1, 1, 2), True), 1)
# A wrong command line: the usage goes to standard error, status 2.
case("usage_unknown_option", ["--yaml", "req", "12"], VALID, "", 2)
# A second --junit would silently replace the first: refused, no report written.
case("usage_option_given_twice", ["--junit", "first.xml", "--junit", "second.xml", "req", "12"], VALID, "", 2)
# A report in the place of batchcheck's TID file of the batch would make every
# later check of it fail: refused before anything is read or written.
case("report_is_the_tid_file", ["--junit", "./req.TID", "req", "12"], VALID, "", 2)
case("request_missing_json", ["--json", "nothing.req"], None,
     view("", {}, 2, [("file_unreadable", "Error : can't read the file nothing.req")], None, True, checked=False), 2)


# --- Response files ---------------------------------------------------------------
R_HEADER = bc.HEADER[:7] + [("response_code", 41, 2), ("header_rest", 43, 157)]
R_BODY = bc.BODY[:10] + [("response_code", 136, 2), ("authorisation_number", 138, 6), ("approval_reference", 144, 12),
                      ("response_date", 156, 8), ("response_time", 164, 6), ("card_type", 170, 12),
                      ("masked_card_number", 182, 7), ("card_expiry", 189, 6), ("response_code_repeat", 195, 2),
                      ("body_zone_6", 197, 3)]
R_FOOTER = [("record_code", 0, 2), ("file_identity", 2, 39), ("body_count", 41, 6), ("accepted_count", 47, 6),
            ("refused_count", 53, 6), ("footer_rest", 59, 141)]
E_FIRST = bc.HEADER[:7] + [("verification_code", 41, 2), ("blanks", 43, 157)]
E_SECOND = [("record_code", 0, 2), ("file_identity", 2, 39), ("blanks", 41, 159)]
# Where the fields that findings name sit, the reply block among them.
FIELD_AT = {name: (offset, width) for layout in (R_HEADER, R_BODY, R_FOOTER, E_FIRST, E_SECOND)
            for name, offset, width in layout}
FIELD_AT["reply_block"] = (138, 59)
STAMP = "09022004100503"  # response_date and response_time


def answer(req, code):
    """batchcheck's answer to a request body, stamped with STAMP."""
    return bc.response_body(req, code).replace(bc.DATE + bc.TIME, "" if code == "14" else STAMP)


def response_records(text):
    return [text[i:i + 200] for i in range(0, len(text), 200)]


def response_kind(form, n, record):
    if form == "error":
        if n == 1:
            return "error_first", E_FIRST
        return ("error_second", E_SECOND) if n == 2 and code_of(record) == "09" else ("other", bc.OTHER)
    return {"00": ("header", R_HEADER), "03": ("body", R_BODY), "09": ("footer", R_FOOTER)}.get(
        code_of(record), ("other", bc.OTHER))


def outcome(kind, record, as_text):
    if kind == "error_first":
        code = bc.field(record, E_FIRST, "verification_code")
        return MEANINGS[int(code[1])] if code in ("01", "02", "03", "04") else "unknown"
    if kind != "body":
        return ""
    code = bc.field(record, R_BODY, "response_code")
    if code == "00":
        return "accepted"
    if code == "14":
        return "refused without a reply block"
    return "refused with code " + code if as_text else "refused"


def finding_object(rule, text, field=None):
    obj = {"rule": rule, "text": text}
    if field:
        obj.update(field=field, offset=FIELD_AT[field][0], length=FIELD_AT[field][1])
    return obj


def response_text_record(n, record, kind, fields, found):
    shown = kind if kind != "other" else 'other (code "%s")' % escape(code_of(record))
    out = "record %d: %s, length %d" % (n, shown, len(record))
    out += (", " + outcome(kind, record, True) if outcome(kind, record, True) else "") + "\n"
    for name, offset, width in fields:
        marks = [f[0] for f in found if len(f) > 2 and f[2] == name]
        out += "  %-21s%-9s\"%s\"%s\n" % (name, "%d-%d" % (offset, offset + width - 1),
                                          escape(record[offset:offset + width]),
                                          "  <- " + ", ".join(marks) if marks else "")
    return out + "".join(marked(f[1], "  ") for f in found)


def response_json_record(n, record, kind, fields, found):
    obj = {"record": n, "kind": kind, "length": len(record),
           "fields": {name: record[offset:offset + width] for name, offset, width in fields}}
    if outcome(kind, record, False):
        obj["outcome"] = outcome(kind, record, False)
    obj["findings"] = [finding_object(*f) for f in found]
    return json.dumps(obj, ensure_ascii=False, separators=(",", ":")) + "\n"


def response_view(text, findings, file_findings, as_json, request=None, only_findings=False):
    """The whole output for a Response file: findings maps a record to its
    (rule, text[, field]) tuples."""
    records = response_records(text)
    form = "full" if bc.field(records[0], R_HEADER, "response_code") == "00" else "error"
    out, bodies, accepted = "", 0, 0
    for n, record in enumerate(records, 1):
        kind, fields = response_kind(form, n, record)
        if form == "full" and n > 1 and code_of(record) == "03":
            bodies += 1
            accepted += bc.field(record, R_BODY, "response_code") == "00"
        found = findings.get(n, [])
        if only_findings and not found:
            continue
        out += (response_json_record if as_json else response_text_record)(n, record, kind, fields, found)
    result = 1 if findings or file_findings else 0
    if as_json:
        end = {"layout": "response", "form": form, "result": result,
               "findings": [finding_object(*f) for f in file_findings],
               "counts": {"records": len(records), "body_records": bodies, "accepted": accepted,
                          "refused": bodies - accepted}, "request": request}
        return out + json.dumps(end, ensure_ascii=False, separators=(",", ":")) + "\n"
    out += "\n%s: %d records" % ("response" if form == "full" else "error response", len(records))
    if form == "full":
        out += ", %d body records, %d accepted, %d refused" % (bodies, accepted, bodies - accepted)
    out += "\n\n" + "".join(marked(f[1], "") for f in file_findings)
    out += "result %d: %s" % (result, "invalid response" if result else "valid response")
    return out + (" (against the request file %s)" % request if request else "") + "\n"


# A Response as batchcheck writes it: read by its content, no finding.
ANSWERED = [H, bc.body(1, "TID001"), bc.body(2, "TID002", zone1="123405  "), bc.body(3, "TID003", zone1="12345614"),
            bc.footer(H, 3)]
RESPONSE = (bc.response_header(H) + answer(ANSWERED[1], "00") + answer(ANSWERED[2], "05") +
            answer(ANSWERED[3], "14") + bc.response_footer(H, ANSWERED[4], 3, 1, 2))
case("response_from_batchcheck_text", ["resp"], {"resp": RESPONSE}, response_view(RESPONSE, {}, [], False), 0)
ERROR_RESPONSE = bc.error_response(H, 4)
case("error_response_json", ["--json", "resp"], {"resp": ERROR_RESPONSE},
     response_view(ERROR_RESPONSE, {}, [], True), 0)

# One of each of the Response's own rules broken, each a finding on its record.
def spliced(record, offset, text):
    return record[:offset] + text + record[offset + len(text):]


B = [answer(bc.body(n, "TID%03d" % n), "00") for n in range(1, 8)]
REFUSED = answer(bc.body(9, "TID009", zone1="123405  "), "05")
BROKEN = "".join([
    spliced(bc.response_header(H), 0, "01"),
    spliced(B[0], 195, "01"),
    spliced(answer(bc.body(2, "TID002", zone1="12345614"), "14"), 160, "77"),
    spliced(REFUSED, 138, " " * 59),
    spliced(B[3], 138, " " * 6),
    spliced(REFUSED, 144, "APPROVED"),
    spliced(spliced(B[5], 156, "29022025"), 164, "236000"),
    spliced(B[6], 0, "05"),
    bc.response_footer(H, ANSWERED[4], 5, 2, 0),
])
BROKEN_FINDINGS = {
    1: [("first_record_not_header", 'the first record\'s code is "01", not "00"', "record_code")],
    2: [("response_code_repeat_differs", 'response_code_repeat "01" is not the response_code "00"',
         "response_code_repeat")],
    3: [("reply_block_with_code_14", "response code 14 comes without a reply block, but this one is filled",
         "reply_block")],
    4: [("reply_block_missing", 'response code "05" needs a reply block, but it is blank', "reply_block")],
    5: [("authorisation_missing", "authorisation_number is blank for an accepted body (code 00)",
         "authorisation_number")],
    6: [("authorisation_unexpected", 'approval_reference is filled for a refused body (code "05")',
         "approval_reference")],
    7: [("response_date_invalid", 'response_date "29022025" is not a date DDMMYYYY', "response_date"),
        ("response_time_invalid", 'response_time "236000" is not a time HHMMSS', "response_time")],
    8: [("record_not_body", 'a record between the header and the footer has the code "05", not "03"',
         "record_code")],
    9: [("body_count_differs", 'body_count is "000005", but the file holds 6 body records', "body_count"),
        ("accepted_count_differs", 'accepted_count is "000002", but 3 body records are accepted', "accepted_count"),
        ("refused_count_differs", 'refused_count is "000000", but 3 body records are refused', "refused_count")],
}
case("response_rules_broken_json", ["--json", "--findings", "resp"], {"resp": BROKEN},
     response_view(BROKEN, BROKEN_FINDINGS, [], True, only_findings=True), 1)
# An error response with an unknown result and a record after its end, cut
# short: told from a batch by --as.
ODD_ERROR = spliced(ERROR_RESPONSE, 41, "07") + "09" + H[2:60]
case("error_response_rules_broken_text", ["--as", "response", "resp"], {"resp": ODD_ERROR},
     response_view(ODD_ERROR, {
         1: [("verification_code_unknown", 'verification_code "07" is no verification result (01 to 04)',
              "verification_code")],
         3: [("record_cut_short", "the record is cut short: 60 characters instead of 200"),
             ("record_after_footer", "an error response ends after its second record")]}, [], False), 1)

# A Response whose first body has lost its response code reads as a valid
# batch written back to back too: the content cannot tell, --as must.
case("damaged_response_asks_for_as", ["resp"], {"resp": spliced(RESPONSE, 200 + 136, "A0")}, "", 2)

# A Response against the Request it answers, and against another one.
case("response_paired_with_its_request_text", ["--findings", "--request", "req", "resp"],
     {"resp": RESPONSE, "req": "".join(ANSWERED)}, response_view(RESPONSE, {}, [], False, "req", True), 0)
OTHER_REQUEST = [bc.header(number="000013"), bc.body(1, "TID001", mid="SHOP2"), bc.body(2, "TID009"),
                 bc.body(3, "TID003", zone1="12345614"), bc.body(4, "TID004"), bc.body(5, "TID005"),
                 bc.footer(bc.header(number="000013"), 5)]
case("response_paired_with_another_request_json", ["--json", "--findings", "--request", "other.req", "resp"],
     {"resp": RESPONSE, "other.req": "".join(OTHER_REQUEST)},
     response_view(RESPONSE, {
         1: [("carried_field_differs", 'file_number is not the request header\'s "000013"', "file_number")],
         2: [("carried_field_differs", 'merchant_id is not the request body\'s "SHOP2          "', "merchant_id")],
         3: [("carried_field_differs", 'body_zone_1 is not the request body\'s "00001200"', "body_zone_1"),
             ("carried_field_differs", 'transaction_id is not the request body\'s "TID009"', "transaction_id")],
         5: [("carried_field_differs",
              'file_identity is not the request header\'s "FRSHOP1          ZONE0001ZONE0200001303"',
              "file_identity")]},
         [("body_missing_in_response", "the request's body records 4 to 5 have no answer")], True, "other.req",
         True), 1)


def main(folder=HERE):
    bc.clear_cases(folder)
    for name, c in CASES.items():
        # The JSON Lines are UTF-8; the text view is the file's own bytes.
        stdout = c["stdout"].encode("utf-8") if "--json" in c["args"] else c["stdout"]
        inputs = {"req": c["batch"]} if isinstance(c["batch"], str) else c["batch"] or {}
        bc.write_case(os.path.join(folder, name), dict(c, stdout=stdout, inputs=inputs))


if __name__ == "__main__":
    main(*sys.argv[1:2])
