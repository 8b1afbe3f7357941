#!/usr/bin/env python3
"""Checks the Markdown files we ship the way a renderer would trip over them.

Each file given (or every *.md under each folder given) must have
- fences that open and close in pairs, a closing fence bare (only the backticks), since a
  closing fence with text after it opens a new block and swallows the rest of the file;
- tables without a blank line inside, since a blank line ends the table and the rest of its
  rows render as text;
- relative links and images that point at files that exist.
Prints one line per fault ("FILE:LINE: fault") and exits 1 when there is any.
"""
import os
import re
import sys

FENCE = re.compile(r"^(\s*)(`{3,}|~{3,})(.*)$")
LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)(?:\s+\"[^\"]*\")?\)")
TABLE_ROW = re.compile(r"^\s*\|.*\|\s*$")
DELIMITER_ROW = re.compile(r"^\s*\|(\s*:?-+:?\s*\|)+\s*$")


def check(path):
    faults = []
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    fence = None  # (marker, line number) of the open fence
    table_gap = None  # line number of a blank line that follows a table row
    for n, line in enumerate(lines, 1):
        m = FENCE.match(line)
        if fence is not None:
            if m and m.group(2)[0] == fence[0][0] and len(m.group(2)) >= len(fence[0]):
                if m.group(3).strip():
                    faults.append((n, "a closing fence carries text: " + line.strip()))
                fence = None
            continue
        if m:
            fence = (m.group(2), n)
            table_gap = None
            continue
        for target in LINK.findall(line):
            if re.match(r"^[a-z][a-z0-9+.-]*:", target) or target.startswith("#"):
                continue
            file_part = target.split("#", 1)[0]
            if not os.path.exists(os.path.join(os.path.dirname(path), file_part)):
                faults.append((n, "the link target does not exist: " + target))
        if TABLE_ROW.match(line):
            # A header row with its delimiter row below starts a table of its own.
            starts_table = n < len(lines) and DELIMITER_ROW.match(lines[n])
            if table_gap is not None and not starts_table:
                faults.append((table_gap, "a blank line inside a table"))
            table_gap = None
        elif not line.strip():
            prev = lines[n - 2] if n >= 2 else ""
            if TABLE_ROW.match(prev):
                table_gap = n
        else:
            table_gap = None
    if fence is not None:
        faults.append((fence[1], "a fence that is never closed"))
    return ["%s:%d: %s" % (path, n, what) for n, what in faults]


def main(args):
    files = []
    for a in args:
        if os.path.isdir(a):
            for root, _, names in os.walk(a):
                files += [os.path.join(root, x) for x in sorted(names) if x.endswith(".md")]
        else:
            files.append(a)
    if not files:
        print("no Markdown file given")
        return 2
    faults = [f for path in files for f in check(path)]
    print("\n".join(faults) if faults else "%d Markdown files checked" % len(files))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
