#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora from the unit tests' data tables.

Each table row whose input column is a plain literal ("...", QByteArray("..."),
raw("...") or QString::fromUtf8("...")) becomes one seed file, named by the
SHA-1 of its bytes as libFuzzer names its own finds. Rows built at run time
(long repeated text) are left out: the fuzzer makes such inputs itself.

Run from anywhere after changing the tables, then commit fuzz/corpus/:
    fuzz/seeds_from_tests.py
"""

import hashlib
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent

# target -> (test file, data function, index of the input column)
TABLES = {
    "settings_reader": [
        ("tst_settings_file.cpp", "fields_data", 0),
        ("tst_settings_file.cpp", "reading_data", 0),
        ("tst_startup.cpp", "startsFromTheFile_data", 1),
        ("tst_startup.cpp", "roundTripKeepsEverything_data", 0),
    ],
    "text_to_date": [
        ("tst_date_text.cpp", "accepted_data", 0),
        ("tst_date_text.cpp", "rejected_data", 0),
        ("tst_date_text.cpp", "dateText_data", 1),
        ("tst_date_text.cpp", "baseTime_data", 0),
    ],
    "numeric_value": [
        ("tst_number_text.cpp", "numericValue_data", 0),
        ("tst_number_text.cpp", "truthValue_data", 0),
        ("tst_number_text.cpp", "numberText_data", 1),
        ("tst_number_text.cpp", "numberText_data", 2),
    ],
}

LITERAL = re.compile(r'"((?:[^"\\]|\\.)*)"')
WRAPPED = re.compile(r'^(?:QByteArray|raw|QString::fromUtf8|QStringLiteral)?\(?\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\)?$', re.S)


def function_body(source, name):
    start = source.index("::" + name + "()")
    start = source.index("{", start)
    depth = 0
    for i in range(start, len(source)):
        depth += {"{": 1, "}": -1}.get(source[i], 0)
        if depth == 0:
            return source[start + 1:i]
    raise ValueError(name)


def split_top_level(row):
    """The row's parts between top-level '<<', outside literals and brackets."""
    parts, depth, current, i = [], 0, "", 0
    while i < len(row):
        c = row[i]
        if c == '"':
            m = LITERAL.match(row, i)
            current += m.group(0)
            i = m.end()
            continue
        if c in "({[":
            depth += 1
        elif c in ")}]":
            depth -= 1
        if depth == 0 and row.startswith("<<", i):
            parts.append(current.strip())
            current, i = "", i + 2
            continue
        current += c
        i += 1
    parts.append(current.strip())
    return parts


def unescape(text):
    """C string literal text to bytes (source is UTF-8)."""
    out, i, raw = bytearray(), 0, text.encode("utf-8")
    simple = {ord("n"): 10, ord("r"): 13, ord("t"): 9, ord("\\"): 92, ord('"'): 34,
              ord("'"): 39, ord("a"): 7, ord("b"): 8, ord("f"): 12, ord("v"): 11}
    while i < len(raw):
        if raw[i] != 92:
            out.append(raw[i])
            i += 1
            continue
        i += 1
        c = raw[i]
        if c == ord("x"):
            j = i + 1
            while j < len(raw) and chr(raw[j]) in "0123456789abcdefABCDEF":
                j += 1
            out.append(int(raw[i + 1:j], 16) & 0xFF)
            i = j
        elif chr(c) in "01234567":
            j = i
            while j < len(raw) and j < i + 3 and chr(raw[j]) in "01234567":
                j += 1
            out.append(int(raw[i:j], 8) & 0xFF)
            i = j
        else:
            out.append(simple[c])
            i += 1
    return bytes(out)


def seeds(test_file, function, column):
    body = function_body((ROOT / "tests" / test_file).read_text(encoding="utf-8"), function)
    for row in re.findall(r"QTest::newRow\((.*?);\s*$", body, re.S | re.M):
        parts = split_top_level("(" + row)
        if len(parts) <= column + 1:
            continue
        m = WRAPPED.match(parts[column + 1])
        if m:
            yield b"".join(unescape(s) for s in LITERAL.findall(m.group(1)))


def main():
    for target, tables in TABLES.items():
        folder = ROOT / "fuzz" / "corpus" / target
        folder.mkdir(parents=True, exist_ok=True)
        for old in folder.iterdir():
            old.unlink()
        written = set()
        for table in tables:
            for data in seeds(*table):
                name = hashlib.sha1(data).hexdigest()
                if name not in written:
                    (folder / name).write_bytes(data)
                    written.add(name)
        print(f"{target}: {len(written)} seeds")


if __name__ == "__main__":
    main()
