#!/usr/bin/env python3
"""Writes the batchcheck end-to-end case folders next to this script.

Each case is spelled out here: the Request file built record by record, the
arguments, and the expected console output and Response file written by hand
from the rules of the file formats. Run it again after changing a case; the
folders it writes are the fixtures that ctest runs. Given a folder, it writes
them there instead (tests/cases_match.py holds them against the committed ones).
"""
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CASES = {}


def pad(text, width):
    return (text + " " * width)[:width]


# The record layouts, as the file formats give them: (field, offset, width)
# in file order, each kind covering its 200 characters.
HEADER = [("record_code", 0, 2), ("merchant_country", 2, 2), ("merchant_id", 4, 15), ("header_zone_1", 19, 8),
          ("header_zone_2", 27, 6), ("file_number", 33, 6), ("version", 39, 2), ("header_rest", 41, 159)]
BODY = [("record_code", 0, 2), ("merchant_country", 2, 2), ("merchant_id", 4, 15), ("record_number", 19, 6),
        ("body_zone_1", 25, 8), ("transaction_id", 33, 6), ("body_zone_2", 39, 12), ("body_zone_3", 51, 3),
        ("body_zone_4", 54, 50), ("body_zone_5", 104, 32), ("body_zone_6", 136, 3), ("body_rest", 139, 61)]
FOOTER = [("record_code", 0, 2), ("file_identity", 2, 39), ("nb_record", 41, 6), ("footer_rest", 47, 153)]
OTHER = [("record_code", 0, 2), ("record_rest", 2, 198)]
RESPONSE_HEADER = [("header_prefix", 0, 41), ("response_code", 41, 2), ("header_rest", 43, 157)]
RESPONSE_BODY = [("record_code", 0, 2), ("answered_fields", 2, 134), ("response_code", 136, 2),
                 ("authorisation_number", 138, 6), ("approval_reference", 144, 12), ("response_date", 156, 8),
                 ("response_time", 164, 6), ("card_type", 170, 12), ("masked_card_number", 182, 7),
                 ("card_expiry", 189, 6), ("response_code_repeat", 195, 2), ("body_zone_6", 197, 3)]
RESPONSE_FOOTER = [("record_code", 0, 2), ("file_identity", 2, 39), ("body_count", 41, 6),
                   ("accepted_count", 47, 6), ("refused_count", 53, 6), ("footer_rest", 59, 141)]
ERROR_RESPONSE = [("header_prefix", 0, 41), ("verification_code", 41, 2), ("rest", 43, 157)]
for layout in (HEADER, BODY, FOOTER, OTHER, RESPONSE_HEADER, RESPONSE_BODY, RESPONSE_FOOTER, ERROR_RESPONSE):
    assert [o for _, o, _ in layout] == [0] + [o + w for _, o, w in layout[:-1]] and sum(w for *_, w in layout) == 200


def place(layout, name):
    """(offset, width) of the field `name`."""
    return next((o, w) for n, o, w in layout if n == name)


def field(record, layout, name):
    """The characters of the field `name` that `record` holds."""
    offset, width = place(layout, name)
    return record[offset:offset + width]


def build(layout, **values):
    """A record of `layout`: each value cut or padded with blanks to its field, blanks for the others."""
    return "".join(pad(values.get(name, ""), width) for name, _, width in layout)


def line(text):
    """A record of 199 characters and a line end: 200 characters in all."""
    return pad(text, 199) + "\n"


def header(country="FR", mid="SHOP1", number="000012", version="03", rest="HEADER-REST"):
    return line(build(HEADER, record_code="00", merchant_country=country, merchant_id=mid, header_zone_1="ZONE0001",
                      header_zone_2="ZONE02", file_number=number, version=version, header_rest="H" + rest))


def body(n, tid, zone1="00001200", country="FR", mid="SHOP1", number=None):
    return line(build(BODY, record_code="03", merchant_country=country, merchant_id=mid,
                      record_number="%06d" % n if number is None else number, body_zone_1=zone1,
                      transaction_id=tid, body_zone_2="ZONE2-CARRY", body_zone_3="Z3X", body_zone_4="zone four text",
                      body_zone_5="zone five", body_zone_6="Z6Y", body_rest="BODY-REST"))


def identity(record):
    """A record's file_identity: where the footer has it, the header has it too."""
    return field(record, FOOTER, "file_identity")


def footer(head, nb, rest="FOOTER-REST-0123456789"):
    return line(build(FOOTER, record_code="09", file_identity=identity(head), nb_record="%06d" % nb,
                      footer_rest=rest))


def summary(number, records, errors, headers, footers):
    return ("\nnumber of the tested file = %d\nnumber of recordings = %d\nnumber of errors = %d\n"
            "number of heading recording = %d\nnumber of end recording = %d\n\n"
            % (number, records, errors, headers, footers))


START = "Global verification of the request file\n"


def ok_lines(req="req", resp="resp"):
    return ("\nGlobal verification of the request file (%s) is OK\n"
            "\nCreation of the response file (%s)\n"
            "\nResponse file (%s) created\n" % (req, resp, resp))


def failed(req="req"):
    return "\nError in the global verification of the request file (%s)\n" % req


def error_response(first, result):
    """The two-record error response built from the first request record."""
    prefix = field(first, RESPONSE_HEADER, "header_prefix")
    return (build(ERROR_RESPONSE, header_prefix=prefix, verification_code="%02d" % result) +
            build(RESPONSE_FOOTER, record_code="09", file_identity=identity(prefix)))


def response_header(head):
    return build(RESPONSE_HEADER, header_prefix=field(head, RESPONSE_HEADER, "header_prefix"), response_code="00",
                 header_rest=field(head, HEADER, "header_rest")[1:])


DATE, TIME = "#" * 8, "#" * 6  # response_date and response_time, masked by the runner


def response_body(req, code):
    reply = {}
    if code != "14":
        reply = dict(response_date=DATE, response_time=TIME, card_type="MASTERCARD", masked_card_number="5131.07",
                     card_expiry="062011", response_code_repeat=code)
    if code == "00":
        reply.update(authorisation_number="107357", approval_reference="1073578606")
    return build(RESPONSE_BODY, record_code="03", answered_fields=req[2:], response_code=code,
                 body_zone_6=field(req, BODY, "body_zone_6"), **reply)


def response_footer(head, foot, total, accepted, refused):
    return build(RESPONSE_FOOTER, record_code="09", file_identity=identity(head), body_count="%06d" % total,
                 accepted_count="%06d" % accepted, refused_count="%06d" % refused,
                 footer_rest=field(foot, FOOTER, "footer_rest"))


def stamp_masks(name, codes):
    """Mask lines for the clock's digits of every answered body record."""
    offset = place(RESPONSE_BODY, "response_date")[0]
    return "".join("%s %d %d 200 1\n" % (name, 200 * (i + 1) + offset, len(DATE + TIME))
                   for i, code in enumerate(codes) if code != "14")


def case(name, args, stdout, status=0, inputs=None, outputs=None, masks="", links=None, modes=None):
    """`links` maps a symbolic link's name to its target, both in in/; `modes`
    maps a path of in/ to the permissions it has during the run."""
    CASES[name] = dict(args=args, stdout=stdout, status=status, inputs=inputs or {},
                       outputs=outputs or {}, masks=masks, links=links or {}, modes=modes or {})


H = header()
VALID = [H, body(1, "TID001"), body(2, "TID002"), footer(H, 2)]
VALID_RESPONSE = (response_header(H) + response_body(VALID[1], "00") + response_body(VALID[2], "00") +
                  response_footer(H, VALID[3], 2, 2, 0))
ARGS = ["SHOP1", "FR", "req", "resp", "12"]

# --- command line --------------------------------------------------------------
USAGE = ("Error  : usage is batchcheck <merchant_id> <merchant_country> <request_file> "
         "<response_file> <file_number>\n")
case("usage_four_arguments", ["SHOP1", "FR", "req", "resp"], USAGE, 1, {"req": "".join(VALID)})
case("usage_six_arguments", ARGS + ["x"], USAGE, 1, {"req": "".join(VALID)})
case("usage_merchant_id_too_long", ["SHOP1SHOP1SHOP1X", "FR", "req", "resp", "12"], USAGE, 1,
     {"req": "".join(VALID)})
case("usage_merchant_country_too_long", ["SHOP1", "FRAN", "req", "resp", "12"], USAGE, 1,
     {"req": "".join(VALID)})
case("usage_file_number_too_long", ["SHOP1", "FR", "req", "resp", "00000012"], USAGE, 1,
     {"req": "".join(VALID)})
case("request_missing", ARGS, "Error : can't read the file req", 2)
case("request_empty_argument", ["SHOP1", "FR", "", "resp", "12"], "Error : can't read the file ", 2)
case("response_in_missing_folder", ["SHOP1", "FR", "req", "no/such/folder/resp", "12"],
     "Error : can't write into the file no/such/folder/resp", 2, {"req": "".join(VALID)})
case("response_same_as_request", ["SHOP1", "FR", "req", "req", "12"],
     "Error : the response file req is the request file\n", 2, {"req": "".join(VALID)})
case("response_same_file_other_path", ["SHOP1", "FR", "req", "./sub/../req", "12"],
     "Error : the response file ./sub/../req is the request file\n", 2,
     {"req": "".join(VALID), "sub/.keep": ""})
# The verification would create and delete the Response file under it.
case("response_is_the_tid_file", ["SHOP1", "FR", "req", "./req.TID", "12"],
     "Error : the response file ./req.TID is the temporary file of the request file\n", 2, {"req": "".join(VALID)})
# No file has an empty name: refused before the verification, as any open would.
case("response_empty_argument", ["SHOP1", "FR", "req", "", "12"], "Error : can't write into the file ", 2,
     {"req": "".join(VALID)})

# --- a valid batch --------------------------------------------------------------
case("valid_batch", ARGS, START + summary(12, 4, 0, 1, 1) + ok_lines(), 0, {"req": "".join(VALID)},
     {"resp": VALID_RESPONSE}, stamp_masks("resp", ["00", "00"]))
case("valid_batch_crlf", ARGS, START + summary(12, 4, 0, 1, 1) + ok_lines(), 0,
     {"req": "".join(r[:-1] + "\r\n" for r in VALID)}, {"resp": VALID_RESPONSE},
     stamp_masks("resp", ["00", "00"]))
case("valid_batch_back_to_back", ARGS, START + summary(12, 4, 0, 1, 1) + ok_lines(), 0,
     {"req": "".join(r[:-1] + " " for r in VALID)},
     {"resp": (response_header(H) + response_body(VALID[1], "00") + response_body(VALID[2], "00") +
               response_footer(H, VALID[3], 2, 2, 0))},
     stamp_masks("resp", ["00", "00"]))
NAME = ("a folder; $(touch pwned)/batch $(touch pwned); 'quoted' \"twice\" " + "x" * 200 +
        ".req")
case("request_path_with_shell_characters", ["SHOP1", "FR", NAME, "resp", "12"],
     START + summary(12, 4, 0, 1, 1) + ok_lines(NAME), 0,
     {NAME: "".join(VALID), "a folder; $(touch pwned)/batch $(touch pwned)/.keep": ""}, {"resp": VALID_RESPONSE},
     stamp_masks("resp", ["00", "00"]))

# The Response is first written beside its place: a name that leaves no room
# for the temporary file's suffix, or a folder where no file can be made, must
# not refuse what a plain open of the Response allows.
LONG_NAME = "response-" + "x" * 237 + ".txt"
assert len(LONG_NAME) == 250
case("response_name_of_250_characters", ["SHOP1", "FR", "req", LONG_NAME, "12"],
     START + summary(12, 4, 0, 1, 1) + ok_lines(resp=LONG_NAME), 0, {"req": "".join(VALID)},
     {LONG_NAME: VALID_RESPONSE}, stamp_masks(LONG_NAME, ["00", "00"]))
case("response_in_unwritable_folder", ["SHOP1", "FR", "req", "answers/resp", "12"],
     START + summary(12, 4, 0, 1, 1) + ok_lines(resp="answers/resp"), 0,
     {"req": "".join(VALID), "answers/resp": "an earlier Response\n"}, {"answers/resp": VALID_RESPONSE},
     stamp_masks("answers/resp", ["00", "00"]), modes={"answers": "555"})

# --- verification findings --------------------------------------------------------
case("empty_request", ARGS,
     START + summary(0, 0, 0, 0, 0) + failed() +
     "Error creation of the response file : file Version unknown ()\n", 0, {"req": ""}, {"resp": ""})
case("already_treated", ["SHOP1", "FR", "req", "resp", "13"],
     START + summary(12, 4, 0, 1, 1) + "Error : File already treated !\n" + failed(), 0,
     {"req": "".join(VALID)}, {"resp": error_response(H, 2)})
# The Response is written beside the link's target and renamed onto it: the
# link stays and names the new Response.
case("response_through_link_replaces_its_target", ["SHOP1", "FR", "req", "resp", "13"],
     START + summary(12, 4, 0, 1, 1) + "Error : File already treated !\n" + failed(), 0,
     {"req": "".join(VALID), "answers/real": "an earlier Response\n"}, {"answers/real": error_response(H, 2)},
     links={"resp": "answers/real"})
case("file_sequence_interrupted", ["SHOP1", "FR", "req", "resp", "11"],
     START + summary(12, 4, 0, 1, 1) +
     "Error : file sequence interrupted : file number (000012) is supperior to file number "
     "transmitted (11)\n" + failed(), 0, {"req": "".join(VALID)}, {"resp": error_response(H, 3)})
first_body = body(1, "TID001")
case("first_record_not_header", ARGS,
     START + "error in first record\n" + summary(0, 4, 1, 0, 1) + failed() +
     "Error creation of the response file : file Version unknown (ZO)\n", 0,
     {"req": "".join([first_body, body(1, "TID001"), body(2, "TID002"), footer(first_body, 2)])},
     {"resp": ""})
case("record_numbers_interrupted", ARGS,
     START + summary(12, 4, 0, 1, 1) + "Error : recordings sequence interrupted\n" + failed(), 0,
     {"req": "".join([H, body(1, "TID001"), body(3, "TID003"), footer(H, 2)])},
     {"resp": error_response(H, 4)})
short = pad(body(1, "TID001")[:149], 149) + "\n"
case("body_record_too_short", ARGS,
     START + "error length in record 2\n" + summary(12, 4, 0, 1, 1) +
     "Error : incorrect size file (150)!\n" + failed(), 0,
     {"req": "".join([H, short, body(2, "TID002"), footer(H, 2)])}, {"resp": error_response(H, 1)})
case("footer_without_line_end", ARGS,
     START + "error length in record 4\n" + summary(12, 4, 0, 1, 1) +
     "Error : incorrect size file (199)!\n" + failed(), 0,
     {"req": "".join(VALID[:3]) + VALID[3][:199]}, {"resp": error_response(H, 1)})
H01 = header(version="01")
short01 = body(1, "TID001")[:60] + "\n"
case("version_01_has_no_length_rule", ARGS,
     START + summary(12, 4, 0, 1, 1) + ok_lines().replace("\nResponse file (resp) created\n", "") +
     " Error : file Version unknown (01)\nError during the treatment of the header file\n"
     "Error during the creation of the response file (resp)\n", 0,
     {"req": "".join([H01, short01, body(2, "TID002"), footer(H01, 2)])}, {"resp": ""})
H02 = header(version="02")
case("version_02_gets_empty_response", ARGS,
     START + summary(12, 4, 0, 1, 1) + ok_lines().replace("\nResponse file (resp) created\n", "") +
     " Error : file Version unknown (02)\nError during the treatment of the header file\n"
     "Error during the creation of the response file (resp)\n", 0,
     {"req": "".join([H02, body(1, "TID001"), body(2, "TID002"), footer(H02, 2)])}, {"resp": ""})
case("empty_line_after_first_record", ARGS,
     START + "Error in code enregistrement (\n)\n" + summary(12, 5, 1, 1, 1) + failed(), 0,
     {"req": "".join([H, "\n", body(1, "TID001"), body(2, "TID002"), footer(H, 2)])},
     {"resp": error_response(H, 1)})
# The footer's copy of the header's identity ends in another version.
bad_footer = line(build(FOOTER, record_code="09", file_identity=identity(H)[:-2] + "04", nb_record="000002"))
case("footer_not_consistent", ARGS,
     START + "First and last record are not consistent:\n First (" + identity(H) + ")\n last  (" +
     identity(bad_footer) + ")\n" + summary(12, 4, 0, 1, 1) + failed(), 0,
     {"req": "".join(VALID[:3] + [bad_footer])}, {"resp": error_response(H, 4)})
case("two_footers", ARGS, START + summary(12, 5, 0, 1, 2) + failed(), 0,
     {"req": "".join(VALID + [footer(H, 2)])}, {"resp": error_response(H, 4)})
case("no_footer", ARGS, START + summary(12, 3, 0, 1, 0) + failed(), 0,
     {"req": "".join(VALID[:3])}, {"resp": error_response(H, 4)})
case("nb_record_differs", ARGS,
     START + summary(12, 4, 0, 1, 1) + "Error in the number of recordings, nb_record = 000003 !\n" +
     failed(), 0, {"req": "".join(VALID[:3] + [footer(H, 3)])}, {"resp": error_response(H, 4)})
case("unknown_record_code", ARGS,
     START + "Error in code enregistrement (3)\n" + summary(12, 5, 1, 1, 1) + failed(), 0,
     {"req": "".join(VALID[:3] + [line("3 SHOP1"), VALID[3]])}, {"resp": error_response(H, 1)})
case("merchant_differs_and_id_repeats", ARGS,
     START + "The merchant_country in header file (FR) is not the same that in line 3 \n"
     "The in merchant_id in header file (SHOP1) is not the same that in line 3 \n" +
     summary(12, 4, 2, 1, 1) + "The transaction_id (TID001) is present in several lines\n" + failed(), 0,
     {"req": "".join([H, body(1, "TID001"), body(2, "TID001", country="BE", mid="SHOP2"), footer(H, 2)])},
     {"resp": error_response(H, 1)})
dups = [H] + [body(i + 1, t) for i, t in enumerate(["A", "B", "A", "A", "AB", "", "B", ""])] + [footer(H, 8)]
case("repeated_ids_in_file_order", ARGS,
     START + summary(12, 10, 0, 1, 1) +
     "The transaction_id (A) is present in several lines\n"
     "The transaction_id (B) is present in several lines\n"
     "The transaction_id (A) is present in several lines\n"
     "The transaction_id () is present in several lines\n" + failed(), 0,
     {"req": "".join(dups)}, {"resp": error_response(H, 1)})
# An id that ends in a carriage return runs into the record's line end: the
# id is "ABCD\r\n", and two such ids differ.
HCR = line("00FRSHOP1          ZONE1AAAZONE2B00001201")
case("id_holding_a_line_end_is_no_repeat", ARGS,
     START + summary(12, 4, 0, 1, 1) + ok_lines().replace("\nResponse file (resp) created\n", "") +
     " Error : file Version unknown (01)\nError during the treatment of the header file\n"
     "Error during the creation of the response file (resp)\n", 0,
     {"req": "".join([HCR, "03FRSHOP1          00000100001200ABCD\r\r\n",
                      "03FRSHOP1          00000200001200EFGH\r\r\n",
                      line("09FRSHOP1          ZONE1AAAZONE2B00001201000002")])}, {"resp": ""})
case("temporary_file_already_exists", ARGS,
     START + "Error : the temporary file req.TID already exists" + failed(), 0,
     {"req": "".join(VALID), "req.TID": "merchant's own file\n"}, {"resp": error_response(H, 2)})
# --- the response file ------------------------------------------------------------
zones = ["00001200", "123405  ", "ABCDEFGH", "12345614", "5       ", "00000051"]
codes = ["00", "05", "00", "14", "00", "51"]
bodies = [body(i + 1, "T%05d" % i, zone1=z) for i, z in enumerate(zones)]
F = footer(H, len(bodies))
case("response_codes", ARGS, START + summary(12, 8, 0, 1, 1) + ok_lines(), 0,
     {"req": "".join([H] + bodies + [F])},
     {"resp": response_header(H) + "".join(response_body(b, c) for b, c in zip(bodies, codes)) +
      response_footer(H, F, 6, 3, 3)},
     stamp_masks("resp", codes))
WH = header(mid="SHOP2")
wb = [body(i + 1, "TID00%d" % i, mid="SHOP2") for i in range(3)]
WF = footer(WH, 3)
case("identity_warnings", ARGS,
     START + summary(12, 5, 0, 1, 1) +
     "\nGlobal verification of the request file (req) is OK\n\nCreation of the response file (resp)\n"
     "WARNING: the merchant_id set (SHOP1) is not the same in the header file (SHOP2)\n" +
     "WARNING: the merchant_id set (SHOP1) is not the same in the body file (SHOP2)\n" * 3 +
     "WARNING: the merchant_id set (SHOP1) is not the same in the footer file (SHOP2)\n"
     "\nResponse file (resp) created\n", 0,
     {"req": "".join([WH] + wb + [WF])},
     {"resp": response_header(WH) + "".join(response_body(b, "00") for b in wb) +
      response_footer(WH, WF, 3, 3, 0)},
     stamp_masks("resp", ["00"] * 3))
case("country_warning_after_id_warning", ["SHOP9", "BE", "req", "resp", "12"],
     START + summary(12, 4, 0, 1, 1) +
     "\nGlobal verification of the request file (req) is OK\n\nCreation of the response file (resp)\n" +
     ("WARNING: the merchant_id set (SHOP9) is not the same in the header file (SHOP1)\n"
      "WARNING: the merchant_country set (BE) is not the same in the header file (FR)\n") +
     ("WARNING: the merchant_id set (SHOP9) is not the same in the body file (SHOP1)\n"
      "WARNING: the merchant_country set (BE) is not the same in the body file (FR)\n") * 2 +
     ("WARNING: the merchant_id set (SHOP9) is not the same in the footer file (SHOP1)\n"
      "WARNING: the merchant_country set (BE) is not the same in the footer file (FR)\n") +
     "\nResponse file (resp) created\n", 0,
     {"req": "".join(VALID)}, {"resp": VALID_RESPONSE}, stamp_masks("resp", ["00", "00"]))
after = [H, body(1, "TID001"), body(2, "TID002"), footer(H, 3), body(3, "TID003")]
case("body_after_footer_not_answered", ARGS, START + summary(12, 5, 0, 1, 1) + ok_lines(), 0,
     {"req": "".join(after)},
     {"resp": response_header(H) + response_body(after[1], "00") + response_body(after[2], "00") +
      response_footer(H, after[3], 2, 2, 0)},
     stamp_masks("resp", ["00", "00"]))
case("header_and_footer_only", ARGS, START + summary(12, 2, 0, 1, 1) + ok_lines(), 0,
     {"req": H + footer(H, 0)}, {"resp": response_header(H) + response_footer(H, footer(H, 0), 0, 0, 0)})
case("response_to_full_disk", ["SHOP1", "FR", "req", "/dev/full", "12"],
     START + summary(12, 4, 0, 1, 1) +
     "\nGlobal verification of the request file (req) is OK\n\nCreation of the response file (/dev/full)\n"
     "Error during the creation of the response file (/dev/full)\n", 2, {"req": "".join(VALID)})
case("error_response_to_full_disk", ["SHOP1", "FR", "req", "/dev/full", "13"],
     START + summary(12, 4, 0, 1, 1) + "Error : File already treated !\n" + failed() +
     "Error during the creation of the response file (/dev/full)\n", 2, {"req": "".join(VALID)})

# --- hostile input: what merchants' editors and mistakes produce -------------------
case("hostile_request_is_directory", ["SHOP1", "FR", "batch", "resp", "12"],
     "Error : can't read the file batch", 2, {"batch/req": "".join(VALID)})
case("hostile_response_is_directory", ["SHOP1", "FR", "req", "answers", "12"],
     "Error : can't write into the file answers", 2, {"req": "".join(VALID), "answers/.keep": ""})
# A device never ends: reading /dev/zero as a batch would go on for ever.
case("hostile_request_is_a_device", ["SHOP1", "FR", "/dev/zero", "resp", "12"],
     "Error : can't read the file /dev/zero", 2)
case("hostile_response_link_to_request", ["SHOP1", "FR", "req", "answer", "12"],
     "Error : the response file answer is the request file\n", 2, {"req": "".join(VALID)},
     links={"answer": "req"})
case("hostile_request_through_link", ["SHOP1", "FR", "batch", "req", "12"],
     "Error : the response file req is the request file\n", 2, {"req": "".join(VALID)},
     links={"batch": "req"})
LINE_ENDS = "\n" * 20 + "\r\n" * 20 + "\r\r\n"
case("hostile_only_line_ends", ARGS,
     START + "error in first record\n" + "Error in code enregistrement (\n)\n" * 39 +
     "Error in code enregistrement (\r\n)\n" + summary(0, 41, 41, 0, 0) + failed() +
     "Error creation of the response file : file Version unknown ()\n", 0,
     {"req": LINE_ENDS}, {"resp": ""})

# NUL bytes and bytes 0x80-0xFF in every field the server leaves to the merchant:
# they are carried through byte for byte, in the messages and the Response file.
ODD = "".join(chr(c) for c in [0, 0x80, 0xA0, 0xE9, 0xFF, 0x9B, 0x00, 0x7F])


def odd(width, seed):
    return "".join(ODD[(seed + i) % len(ODD)] for i in range(width))


def odd_header():
    return line(build(HEADER, record_code="00", merchant_country=odd(2, 1), merchant_id=odd(15, 2),
                      header_zone_1=odd(8, 3), header_zone_2=odd(6, 4), file_number="000012", version="03",
                      header_rest=odd(10, 5)))


def odd_body(n, head):
    return line(build(BODY, record_code="03", merchant_country=field(head, HEADER, "merchant_country"),
                      merchant_id=field(head, HEADER, "merchant_id"), record_number="%06d" % n,
                      body_zone_1=odd(8, n), transaction_id="\xff\x00%04d" % n, body_zone_2=odd(12, 6),
                      body_zone_3=odd(3, 7), body_zone_4=odd(50, 8), body_zone_5=odd(32, 9), body_zone_6=odd(3, 10),
                      body_rest=odd(20, 11)))


OH = odd_header()
ODD_BATCH = [OH, odd_body(1, OH), odd_body(2, OH),
             line(build(FOOTER, record_code="09", file_identity=identity(OH), nb_record="000002",
                        footer_rest=odd(30, 12)))]


def odd_warnings(kind, record):
    return ("WARNING: the merchant_id set (SHOP1) is not the same in the %s file (%s)\n"
            "WARNING: the merchant_country set (FR) is not the same in the %s file (%s)\n"
            % (kind, field(record, BODY, "merchant_id").rstrip(" "), kind,
               field(record, BODY, "merchant_country").rstrip(" ")))


case("hostile_nul_and_high_bytes_in_every_field", ARGS,
     START + summary(12, 4, 0, 1, 1) +
     "\nGlobal verification of the request file (req) is OK\n\nCreation of the response file (resp)\n" +
     odd_warnings("header", OH) + odd_warnings("body", ODD_BATCH[1]) + odd_warnings("body", ODD_BATCH[2]) +
     odd_warnings("footer", ODD_BATCH[3]) + "\nResponse file (resp) created\n", 0,
     {"req": "".join(ODD_BATCH)},
     {"resp": response_header(OH) + response_body(ODD_BATCH[1], "00") + response_body(ODD_BATCH[2], "00") +
      response_footer(OH, ODD_BATCH[3], 2, 2, 0)},
     stamp_masks("resp", ["00", "00"]))
# The same bytes in the record codes, numbers and version: findings, no answer.
ODD_CODES = [line("0\x00" + OH[2:33] + "\x8000012" + "0\xff"), line("\xff3" + OH[2:]),
             line("\x00" + OH[1:]), line("09" + OH[2:41] + "\xe90002")]
case("hostile_nul_and_high_bytes_in_codes", ARGS,
     START + "error in first record\n" + "Error in code enregistrement (\xff3)\n" +
     "Error in code enregistrement (\x000)\n" +
     "First and last record are not consistent:\n First (" + identity(ODD_CODES[0]) + ")\n last  (" +
     identity(OH) + ")\n" + summary(0, 4, 3, 0, 1) + failed() +
     "Error creation of the response file : file Version unknown (0\xff)\n", 0,
     {"req": "".join(ODD_CODES)}, {"resp": ""})

# A 300-character request path full of what a command interpreter would act
# on. Beside it lie the files and the folder that a command line cut at its
# blanks would name: all must survive, and nothing may be created.
SHELL_DIR = "a folder; $(touch pwned) 'quoted' \"twice\" & > out"
SHELL_FILE = "batch $(rm -rf ..); `touch pwned` | 'x' \"y\" "
SHELL_FILE += "z" * (300 - len(SHELL_DIR) - 1 - len(SHELL_FILE) - 4) + ".req"
SHELL_NAME = SHELL_DIR + "/" + SHELL_FILE
assert len(SHELL_NAME) == 300
case("hostile_request_path_of_300_characters", ["SHOP1", "FR", SHELL_NAME, "resp", "12"],
     START + summary(12, 4, 0, 1, 1) + ok_lines(SHELL_NAME), 0,
     {SHELL_NAME: "".join(VALID), "a": "keep\n", "folder;": "keep\n", "out": "keep\n",
      SHELL_DIR + "/batch": "keep\n", SHELL_DIR + "/batch $(rm -rf ..);/.keep": ""},
     {"resp": VALID_RESPONSE}, stamp_masks("resp", ["00", "00"]))


def write(path, content):
    """Writes `content` (text, as ISO-8859-1 bytes, or bytes) at `path`."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(content.encode("latin-1") if isinstance(content, str) else content)


def clear_cases(folder):
    """Removes every case folder of `folder`, before the cases are written anew."""
    for name in os.listdir(folder):
        if os.path.isdir(os.path.join(folder, name)) and name != "__pycache__":
            shutil.rmtree(os.path.join(folder, name))


def write_case(root, c):
    """Writes the case `c` into its folder `root`, as the end-to-end runner reads it."""
    write(os.path.join(root, "args"), "".join(a + "\n" for a in c["args"]))
    write(os.path.join(root, "stdout"), c["stdout"])
    if c.get("stderr") is not None:
        write(os.path.join(root, "stderr"), c["stderr"])
    if c.get("status"):
        write(os.path.join(root, "status"), "%d\n" % c["status"])
    for file, content in c.get("inputs", {}).items():
        write(os.path.join(root, "in", file), content)
    for file, content in c.get("outputs", {}).items():
        write(os.path.join(root, "out", file), content)
    if c.get("masks"):
        write(os.path.join(root, "masks"), c["masks"])
    if c.get("modes"):
        write(os.path.join(root, "modes"), "".join("%s %s\n" % m for m in c["modes"].items()))
    for link, target in c.get("links", {}).items():
        os.makedirs(os.path.join(root, "in"), exist_ok=True)
        os.symlink(target, os.path.join(root, "in", link))


def main(folder=HERE):
    clear_cases(folder)
    for name, c in CASES.items():
        write_case(os.path.join(folder, name), c)


if __name__ == "__main__":
    main(*sys.argv[1:2])
