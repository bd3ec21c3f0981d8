#!/usr/bin/env python3
"""Writes the Windows-only end-to-end case folders next to this script.

They run only against the Windows executables under Wine, where drive W: is
the folder the cases run in: case <program>/<name> runs in
W:\\e2e.windows.<program>.<name>\\. Their batches, templates and expected
Response files are those of the Linux cases they start from; only the paths
change: backslashes, a drive letter, blanks, another letter case. Given a
folder, it writes them there instead (tests/cases_match.py holds them against
the committed ones).
"""
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
TESTS = os.path.dirname(HERE)
PROGRAMS = ["batchcheck", "pagesim"]
CASES = {}


def read(program, case, name):
    with open(os.path.join(TESTS, program, case, name), "rb") as f:
        return f.read().decode("latin-1")


def drive(program, name):
    """The folder case <program>/<name> runs in, as Windows names it."""
    return "W:\\e2e.windows.%s.%s\\" % (program, name)


def case(program, name, args, stdout, status=0, inputs=None, outputs=None, masks=""):
    files = {"args": "\n".join(args) + "\n", "stdout": stdout}
    if status:
        files["status"] = "%d\n" % status
    if masks:
        files["masks"] = masks
    for path, content in (inputs or {}).items():
        files["in/" + path] = content
    for path, content in (outputs or {}).items():
        files["out/" + path] = content
    CASES[program + "/" + name] = files


# A valid batch saved with CR LF line ends, and what batchcheck answers.
REQUEST = read("batchcheck", "valid_batch_crlf", "in/req")
RESPONSE = read("batchcheck", "valid_batch_crlf", "out/resp")
OK = read("batchcheck", "valid_batch_crlf", "stdout")
STAMPS = read("batchcheck", "valid_batch_crlf", "masks").replace("resp ", "RESP12.TXT ")
BATCH = "Shop Batches/Request 12.txt"


def named(text, request, response="resp"):
    return text.replace("(req)", "(%s)" % request).replace("(resp)", "(%s)" % response) \
               .replace("file req", "file " + request)


# The Request file named by an absolute path: drive letter, backslashes,
# blanks. Its TID file is made beside it and removed: nothing else is left.
REQ = drive("batchcheck", "drive_letter_path_with_blanks") + "Shop Batches\\Request 12.txt"
RESP = drive("batchcheck", "drive_letter_path_with_blanks") + "RESP12.TXT"
case("batchcheck", "drive_letter_path_with_blanks", ["SHOP1", "FR", REQ, RESP, "12"],
     named(OK, REQ, RESP), 0, {BATCH: REQUEST}, {"RESP12.TXT": RESPONSE}, STAMPS)

# The TID file goes beside the Request file, whatever separator names it: a
# file of that name there already stops the run.
REQ = "Shop Batches\\Request 12.txt"
case("batchcheck", "temporary_file_beside_request", ["SHOP1", "FR", REQ, "resp", "12"],
     named(read("batchcheck", "temporary_file_already_exists", "stdout"), REQ), 0,
     {BATCH: REQUEST, BATCH + ".TID": "merchant's own file\r\n"},
     {"resp": read("batchcheck", "temporary_file_already_exists", "out/resp")})

# The Response file is the Request file under another spelling: other letter
# case, the other separator, a ".." step, or the drive letter.
SAME = "Error : the response file %s is the request file\n"
for name, response in [("response_same_file_other_case", "shop batches/../SHOP BATCHES\\request 12.TXT"),
                       ("response_same_file_drive_letter",
                        drive("batchcheck", "response_same_file_drive_letter").upper() + "shop batches\\REQUEST 12.txt")]:
    case("batchcheck", name, ["SHOP1", "FR", REQ, response, "12"], SAME % response, 2, {BATCH: REQUEST})

# pagesim reads a template named by a drive-letter path with blanks and
# backslashes, and the Parameters file of the working folder.
TEMPLATE = drive("pagesim", "template_drive_letter_path") + "Shop Templates\\My Shop.HTML"
case("pagesim", "template_drive_letter_path", [TEMPLATE, "RECORD_CAPTURE"],
     read("pagesim", "page_record_capture_en", "stdout"), 0,
     {"parameters": read("pagesim", "page_record_capture_en", "in/parameters"),
      "Shop Templates/My Shop.HTML": read("pagesim", "page_record_capture_en", "in/shop.html")})


def main(folder=HERE):
    for program in PROGRAMS:
        shutil.rmtree(os.path.join(folder, program), ignore_errors=True)
    for name, files in CASES.items():
        for path, content in files.items():
            full = os.path.join(folder, name, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "wb") as f:
                f.write(content.encode("latin-1"))


if __name__ == "__main__":
    main(*sys.argv[1:2])
