#!/usr/bin/env python3
"""Runs a make_cases.py into a private temporary folder and holds what it
writes against the case folders committed beside it: a case edited by hand, or
a script changed without writing its cases again, fails here.

Usage: cases_match.py MAKE_CASES_PY
Every folder the script writes is compared with the committed folder of the
same name, file by file, byte for byte, symbolic links by their targets; the
files beside the script (the script itself, helpers) are not cases.
"""
import os
import shutil
import subprocess
import sys
import tempfile


def tree(root):
    """Every entry below `root` by relative path: file bytes, link target or folder."""
    entries = {}
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, root)
            if os.path.islink(path):
                entries[rel] = ("link", os.readlink(path))
            elif os.path.isdir(path):
                entries[rel] = ("folder", None)
            else:
                with open(path, "rb") as f:
                    entries[rel] = ("file", f.read())
    return entries


def case_folders(root):
    return {name for name in os.listdir(root)
            if os.path.isdir(os.path.join(root, name)) and name != "__pycache__"}


def main():
    script = os.path.abspath(sys.argv[1])
    committed = os.path.dirname(script)
    written = tempfile.mkdtemp(prefix="cases-match-")
    try:
        subprocess.run([sys.executable, "-B", script, written], check=True)
        faults = []
        for name in sorted(case_folders(written) ^ case_folders(committed)):
            where = "written only" if name in case_folders(written) else "committed only"
            faults.append("%s: %s" % (name, where))
        for name in sorted(case_folders(written) & case_folders(committed)):
            new, old = tree(os.path.join(written, name)), tree(os.path.join(committed, name))
            for rel in sorted(set(new) | set(old)):
                if rel not in old:
                    faults.append("%s/%s: written, not committed" % (name, rel))
                elif rel not in new:
                    faults.append("%s/%s: committed, not written" % (name, rel))
                elif new[rel] != old[rel]:
                    faults.append("%s/%s: differs" % (name, rel))
        for fault in faults:
            print(fault)
        if faults:
            print("%s no longer writes the committed cases: run it again, or mend the case" % script)
            return 1
        print("%s writes the committed cases, byte for byte" % script)
        return 0
    finally:
        shutil.rmtree(written)


if __name__ == "__main__":
    sys.exit(main())
