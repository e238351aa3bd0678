#!/usr/bin/python3
"""Writes html5_entities.inc: the named character references of HTML5 that
HTML 4.01 (and so libxml2's HTML parser) lacks. Run: ./make_html5_entities.py"""
import html.entities as E
import os

HTML4 = set(E.name2codepoint) | {"apos"}  # libxml2 knows "apos" too


def literal(value):
    out = ""
    for c in value:
        if 32 <= ord(c) < 127 and c not in '"\\':
            out += c
        else:
            out += "".join("\\x%02X" % b for b in c.encode())
    return '"' + out + '"'


names = sorted((k[:-1] for k in E.html5 if k.endswith(";") and k[:-1] not in HTML4),
               key=lambda s: s.encode())
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "html5_entities.inc"), "w") as f:
    f.write("// The named character references of HTML5 that HTML 4.01 lacks, and so\n"
            "// libxml2's HTML parser, as {name without \";\", UTF-8}, sorted by name's\n"
            "// bytes. Made from CPython's html.entities.html5 (names ending in \";\",\n"
            "// less html.entities.name2codepoint and \"apos\") with make_html5_entities.py.\n")
    for name in names:
        f.write('{"%s", %s},\n' % (name, literal(E.html5[name + ";"])))
