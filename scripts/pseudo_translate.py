#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a pseudo-translation of Quandrel: every text about 40 % longer than
English and bracketed, so that a window that clips or truncates a translated
text shows it at a glance.

    python3 scripts/pseudo_translate.py translations/quandrel_de.ts /tmp/pseudo.ts
    /usr/lib/qt6/bin/lrelease /tmp/pseudo.ts -qm /tmp/pseudo.qm
    QUANDREL_TRANSLATION=/tmp/pseudo.qm quandrel
"""
import html
import re
import sys

source, target = sys.argv[1], sys.argv[2]
text = open(source, encoding="utf-8").read()


def lengthen(match):
    original = html.unescape(match.group(1))
    if "|" in original:  # a file filter keeps its form
        longer = original
    else:
        longer = "[" + original + "~" * max(1, round(len(original) * 0.4) - 2) + "]"
    longer = html.escape(longer, quote=False)
    forms = match.group(2).count("<numerusform")
    if forms:  # a text with a number keeps its singular and plural forms
        longer = "".join("\n            <numerusform>%s</numerusform>" % longer for _ in range(forms)) + "\n        "
    return "<source>%s</source>\n        <translation>%s</translation>" % (match.group(1), longer)


text = re.sub(r"<source>(.*?)</source>\s*<translation[^>]*>(.*?)</translation>", lengthen, text, flags=re.S)
text = text.replace('language="de_DE"', 'language="en"')
open(target, "w", encoding="utf-8").write(text)
