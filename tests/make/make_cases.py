#!/usr/bin/env python3
"""Writes the batchcheck-make end-to-end case folders next to this script.

The tables are written here as a merchant would save them; the batches
expected from them are built from the request layout field by field. The
JSON Lines are batchcheck-describe's, as its own cases' builder writes them,
and the batches they give back are the described files themselves. Given a
folder, it writes them there instead (tests/cases_match.py holds them against
the committed ones).
"""
import importlib.util
import json
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ folder among the cases
describe_cases = importlib.util.spec_from_file_location(
    "describe_cases", os.path.join(HERE, "..", "describe", "make_cases.py"))
dc = importlib.util.module_from_spec(describe_cases)
describe_cases.loader.exec_module(dc)
bc = dc.bc

CASES = {}
OPTIONS = ["--merchant-id", "SHOP1", "--country", "FR", "--file-number", "12"]


def case(name, args, stdout="", status=0, inputs=None, outputs=None, modes=None, stderr=None):
    CASES[name] = dict(args=args, stdout=stdout, status=status, inputs=inputs or {}, outputs=outputs or {},
                       modes=modes or {}, stderr=stderr)


def pad(text, width):
    return (text + " " * width)[:width]


def record(fields, end="\r\n"):
    """A record of 199 characters from (value, width) pairs, then its line end."""
    return pad("".join(pad(value, width) for value, width in fields), 199) + end


def header(mid="SHOP1", country="FR", zone1="", zone2="", number="000012", version="03", rest="", end="\r\n"):
    return record([("00", 2), (country, 2), (mid, 15), (zone1, 8), (zone2, 6), (number, 6), (version, 2), (rest, 158)],
                  end)


def body(n, zone1="", tid=None, zone2="", zone3="", zone4="", zone5="", zone6="", rest="", mid="SHOP1", country="FR",
         number=None, end="\r\n"):
    return record([("03", 2), (country, 2), (mid, 15), ("%06d" % n if number is None else number, 6), (zone1, 8),
                   ("%06d" % n if tid is None else tid, 6), (zone2, 12), (zone3, 3), (zone4, 50), (zone5, 32),
                   (zone6, 3), (rest, 60)], end)


def footer(head, nb, rest="", end="\r\n"):
    return record([("09", 2), (head[2:41], 39), ("%06d" % nb, 6), (rest, 152)], end)


def described(batch, findings=None):
    """batchcheck-describe --json of `batch`, as UTF-8 bytes."""
    return dc.view(batch, findings or {}, 0, [], dc.counts(0, 0, 0, 0, 0, 0), True).encode("utf-8")


# --- from a table ---------------------------------------------------------------
# The README's example: five subscriptions, three accepted, one refused with
# code 05, one answered with code 14.
FIVE = ("transaction_id,body_zone_2,body_zone_4,answer\r\n"
        "A00001,CUST0001,Monthly coffee,00\r\n"
        "A00002,CUST0002,Monthly tea,00\r\n"
        "A00003,CUST0003,Weekly flowers,00\r\n"
        "A00004,CUST0004,Yearly magazine,05\r\n"
        "A00005,CUST0005,Daily bread,14\r\n")
H = header()
FIVE_BATCH = "".join([H, body(1, "00", "A00001", "CUST0001", zone4="Monthly coffee"),
                      body(2, "00", "A00002", "CUST0002", zone4="Monthly tea"),
                      body(3, "00", "A00003", "CUST0003", zone4="Weekly flowers"),
                      body(4, "05", "A00004", "CUST0004", zone4="Yearly magazine"),
                      body(5, "14", "A00005", "CUST0005", zone4="Daily bread"), footer(H, 5)])
case("five_records_from_a_table", OPTIONS + ["subscriptions.csv", "batch.txt"],
     inputs={"subscriptions.csv": FIVE}, outputs={"batch.txt": FIVE_BATCH})
# A header line ended by a carriage return alone, as an old Mac saves it.
case("header_line_ended_by_a_carriage_return", OPTIONS + ["subscriptions.csv", "batch.txt"],
     inputs={"subscriptions.csv": FIVE.replace("answer\r\n", "answer\r", 1)}, outputs={"batch.txt": FIVE_BATCH})

# Every column, in an order of the merchant's, quoted values holding commas,
# quotes and a line feed's neighbours, UTF-8 turned into ISO-8859-1, the
# answer written over the end of a given body_zone_1, LF line ends and the
# header's options.
EVERY = ("answer,body_rest,body_zone_6,body_zone_5,body_zone_4,body_zone_3,body_zone_2,transaction_id,body_zone_1,"
         "record_number,merchant_id,merchant_country\n"
         "51,\"rest, with a comma\",Z6Y,\"say \"\"hello\"\"\",Caf\u00e9 cr\u00e8me,EUR,CUST-1,ID0001,PROMO,,,\n"
         ",,,,,,,,ABCDEF12,000002,SHOP1,FR\n"
         "00,%s,,,,,,,X,,,\n" % ("R" * 60))
EVERY_H = header(zone1="BATCHZ01", zone2="RUN001", number="000007", version="03", rest="made for the release",
                 end="\n")
EVERY_BATCH = "".join([EVERY_H,
                       body(1, "PRO51", "ID0001", "CUST-1", "EUR", "Caf\u00e9 cr\u00e8me", 'say "hello"', "Z6Y",
                            "rest, with a comma", end="\n"),
                       body(2, "ABCDEF12", end="\n"), body(3, "X00", rest="R" * 60, end="\n"),
                       footer(EVERY_H, 3, "end of the release batch", end="\n")])
case("every_column_lf_line_ends",
     ["--merchant-id", "SHOP1", "--country", "FR", "--file-number", "7", "--header-zone-1", "BATCHZ01",
      "--header-zone-2=RUN001", "--header-rest", "made for the release", "--footer-rest",
      "end of the release batch", "--line-end", "lf", "every.csv", "batch.txt"],
     inputs={"every.csv": EVERY.encode("utf-8")}, outputs={"batch.txt": EVERY_BATCH})

# --- from describe's JSON Lines: the file comes back byte for byte --------------
with open(os.path.join(HERE, "..", "..", "examples", "request.txt"), "rb") as f:
    EXAMPLE = f.read().decode("latin-1")
case("round_trip_of_the_bundled_batch", ["--json", "request.jsonl", "copy.txt"],
     inputs={"request.jsonl": described(EXAMPLE)}, outputs={"copy.txt": EXAMPLE})
case("round_trip_of_a_batch_with_findings", ["--json", "faults.jsonl", "copy.txt"],
     inputs={"faults.jsonl": dc.view(dc.FAULTS, dc.FAULT_FINDINGS, 1, [], dc.FAULT_COUNTS, True).encode("utf-8")},
     outputs={"copy.txt": dc.FAULTS})
# Every way a record can end: CR LF, LF, 200 characters back to back, a line
# of 250 characters (a record and the rest of the line), an empty line, NUL,
# control and high bytes, a lone carriage return, and a last record without
# a line end.
ODD = (H + body(1, "00").replace("\r\n", "\n") + body(2, "05")[:199] + "X" + "L" * 250 + "\n" + "\r\n" +
       "".join(bc.ODD_BATCH[1:3]) + "03FR\x00\xe9\r\xff" + "\r\n" + footer(H, 2)[:120])
case("round_trip_of_odd_records", ["--json", "odd.jsonl", "copy.txt"],
     inputs={"odd.jsonl": described(ODD)}, outputs={"copy.txt": ODD})

# One field changed by hand makes a faulty batch on purpose: the value is
# padded to its field, so nothing after it moves.
VALID = "".join(bc.VALID)
edited = described(VALID).decode("utf-8").split("\n")
edited[2] = edited[2].replace('"merchant_id":"SHOP1          "', '"merchant_id":"SHOP2"')
case("one_field_edited_by_hand", ["--json", "edited.jsonl", "batch.txt"],
     inputs={"edited.jsonl": "\n".join(edited)},
     outputs={"batch.txt": "".join([bc.VALID[0], bc.VALID[1], bc.VALID[2][:4] + "SHOP2" + bc.VALID[2][9:], bc.VALID[3]])})

# A body record removed and the header's merchant changed: --renumber gives
# the record numbers, nb_record and the footer's file_identity again.
lines = described(FIVE_BATCH).decode("utf-8").split("\n")
lines[0] = lines[0].replace('"merchant_id":"SHOP1          "', '"merchant_id":"SHOP9          "')
for n in (1, 2, 4, 5):
    lines[n] = lines[n].replace('"merchant_id":"SHOP1          "', '"merchant_id":"SHOP9          "')
del lines[3]
H9 = header(mid="SHOP9")
RENUMBERED = "".join([H9, body(1, "00", "A00001", "CUST0001", zone4="Monthly coffee", mid="SHOP9"),
                      body(2, "00", "A00002", "CUST0002", zone4="Monthly tea", mid="SHOP9"),
                      body(3, "05", "A00004", "CUST0004", zone4="Yearly magazine", mid="SHOP9"),
                      body(4, "14", "A00005", "CUST0005", zone4="Daily bread", mid="SHOP9"), footer(H9, 4)])
case("renumber_after_removing_a_record", ["--json", "--renumber", "edited.jsonl", "batch.txt"],
     inputs={"edited.jsonl": "\n".join(lines)}, outputs={"batch.txt": RENUMBERED})

# --- bad input: one message on standard error naming the line and the
# field, status 2, nothing on standard output, and no Request file written;
# an existing one stays as it was ---------------------------------------------
def failed(name, args, message, inputs, modes=None):
    case(name, args, "", 2, inputs, stderr="batchcheck-make: " + message + "\n", modes=modes)


def refused(name, table, message, args=None, extra=None):
    inputs = {"table.csv": table}
    inputs.update(extra or {})
    failed(name, (args or OPTIONS) + ["table.csv", "batch.txt"], "table.csv, " + message, inputs)


refused("refused_value_wider_than_its_field", "merchant_id,answer\nSHOP1,00\nSHOP1-WITH-A-LONG-ID,00\n",
        "line 3, field merchant_id: 20 characters, the field holds 15",
        extra={"batch.txt": FIVE_BATCH})
refused("refused_character_without_latin1_form", "body_zone_4\n\u20ac 12 a month\n".encode("utf-8"),
        "line 2, field body_zone_4: the character U+20AC has no ISO-8859-1 form")
refused("refused_invalid_utf8", b"body_zone_4\nCaf\xe9\n", "line 2, field body_zone_4: invalid UTF-8")
refused("refused_line_end_in_a_value", 'answer,body_zone_4\n00,"two\r\nlines"\n',
        "line 2, field body_zone_4: a line end inside the value")
refused("refused_nul_in_a_value", "body_zone_2\nCUST\x00001\n", "line 2, field body_zone_2: a NUL character inside the value")
refused("refused_unknown_column", "answer,amount\n00,12.50\n",
        'line 1, column "amount": no such column; a table\'s columns are merchant_country, merchant_id, '
        "record_number, body_zone_1, transaction_id, body_zone_2 to body_zone_6, body_rest and answer")
refused("refused_repeated_column", "answer,body_zone_4,answer\n00,x,05\n", "line 1, column answer: named twice")
# A name holding a terminal's escape and a line end, 300 characters long:
# shown escaped and cut, on one line.
refused("refused_unknown_column_shown_on_one_line", 'answer,"\x1b[2Jamount\r\n%s"\n00,1\n' % ("9" * 300),
        'line 1, column "\\x1b[2Jamount\\r\\n9999999999999999999999999999"...: no such column; a table\'s '
        "columns are merchant_country, merchant_id, record_number, body_zone_1, transaction_id, body_zone_2 to "
        "body_zone_6, body_rest and answer")
refused("refused_answer_not_two_digits", "answer\n00\n5\n",
        'line 3, field answer: "5" is not a response code of two digits')
refused("refused_malformed_csv", 'answer,body_zone_4\n00,"never closed\n05,x\n',
        "line 2, field body_zone_4: malformed CSV: the quoted value is never closed")
refused("refused_row_of_another_width", "answer,body_zone_4\n00\n", "line 2: 1 value, but the first line names 2 columns")
failed("refused_malformed_json_line", ["--json", "request.jsonl", "batch.txt"],
       "request.jsonl, line 2: malformed JSON at character 14: syntax error while parsing object "
       "separator - unexpected string literal; expected ':'",
       {"request.jsonl": described(VALID).decode("utf-8").split("\n")[0] + '\n{"kind" "body"}\n'})
# A JSON line whose fields are no object.
failed("refused_fields_not_an_object", ["--json", "request.jsonl", "batch.txt"],
       "request.jsonl, line 1, member fields: not an object", {"request.jsonl": '{"kind":"body","fields":["a"]}\n'})
# Nothing to read, as after a describe that failed in a pipe: no batch, and
# the merchant's file stays.
failed("refused_empty_json_lines", ["--json", "described.jsonl", "batch.txt"],
       "described.jsonl: no record in the input", {"described.jsonl": "", "batch.txt": FIVE_BATCH})
# The batch's folder lets no temporary file be made: the existing batch is
# never written in place, where a bad row or an interrupt would cut it.
failed("refused_output_in_a_folder_it_cannot_replace", OPTIONS + ["table.csv", "batches/batch.txt"],
       "the file batches/batch.txt can only be replaced whole, and no temporary file can be made beside it",
       {"table.csv": "answer\n00\n5\n", "batches/batch.txt": FIVE_BATCH}, modes={"batches": "555"})
failed("refused_output_is_the_input", OPTIONS + ["table.csv", "./table.csv"],
       "the output file ./table.csv is the input file", {"table.csv": FIVE})
failed("usage_option_given_twice", OPTIONS + ["--merchant-id", "SHOP2", "table.csv", "batch.txt"],
       "--merchant-id is given twice\nUsage: batchcheck-make [OPTIONS] INPUT OUTPUT", {"table.csv": FIVE})
failed("usage_table_without_merchant", ["table.csv", "batch.txt"],
       "a table needs --merchant-id, --country and --file-number, as batchcheck will be given them\n"
       "Usage: batchcheck-make [OPTIONS] INPUT OUTPUT", {"table.csv": FIVE})


def main(folder=HERE):
    bc.clear_cases(folder)
    for name, c in CASES.items():
        bc.write_case(os.path.join(folder, name), c)


if __name__ == "__main__":
    main(*sys.argv[1:2])
