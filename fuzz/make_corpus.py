#!/usr/bin/env python3
"""Builds the seed corpora of the fuzz targets from the test suite.

    fuzz/make_corpus.py

formula/: every string literal of the engine and control tests that looks
like a formula (C escapes resolved, so π and θ are their Shift-JIS bytes),
and every formula text of the test documents. equation_file/: the test
documents themselves. Files are named by the SHA-1 of their content, as
libFuzzer names what it adds, so running this again adds nothing twice.
"""
import hashlib
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"
LITERAL = re.compile(rb'"((?:[^"\\\n]|\\.)*)"')
# What a formula may hold: the keys' characters and π, θ (Shift-JIS).
FORMULA = re.compile(rb"^(?:[A-Za-z0-9^/*+\-().,!\[\]=]|\x83\xce|\x83\xc6)+$")


def unescape(raw):
    out = bytearray()
    i = 0
    while i < len(raw):
        c = raw[i]
        if c == 0x5C and i + 1 < len(raw):  # backslash
            n = raw[i + 1]
            if n == ord("x"):
                m = re.match(rb"[0-9A-Fa-f]{1,2}", raw[i + 2:])
                out.append(int(m.group(0), 16))
                i += 2 + len(m.group(0))
                continue
            out.append({ord("n"): 10, ord("t"): 9, ord("0"): 0}.get(n, n))
            i += 2
            continue
        out.append(c)
        i += 1
    return bytes(out)


def keep(folder, content):
    folder.mkdir(parents=True, exist_ok=True)
    (folder / hashlib.sha1(content).hexdigest()).write_bytes(content)


def main():
    formulas = set()
    for source in sorted((ROOT / "tests").glob("*/*.cpp")) + sorted((ROOT / "tests").glob("*/*.h")):
        for match in LITERAL.finditer(source.read_bytes()):
            text = unescape(match.group(1))
            # Literals next to kPi/kTheta are joined at run time; keep each piece.
            if text and FORMULA.match(text) and len(text) <= 1000:
                formulas.add(text)
    documents = sorted((ROOT / "tests" / "documents").glob("*.gtq"))
    for document in documents:
        lines = document.read_bytes().split(b"\r\n")
        for line in lines[11:]:
            if FORMULA.match(line) and not re.match(rb"^-?[0-9.E]+$|^True$|^False$|^def", line):
                formulas.add(line)
        keep(CORPUS / "equation_file", document.read_bytes())
    for text in formulas:
        keep(CORPUS / "formula", text)
    print(f"{len(formulas)} formulas, {len(documents)} documents")


if __name__ == "__main__":
    main()
