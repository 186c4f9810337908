#!/usr/bin/env python3
"""Fills the translations of i18n/*.ts from i18n/<language>.tsv (source<TAB>translation, \\n for line feeds,
\\t for tabs).

Run `lupdate` first (tools/update-translations does both); unknown sources stay unfinished."""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

top = Path(__file__).resolve().parent.parent


def unescape(text):
    return text.replace("\\n", "\n").replace("\\t", "\t")


for ts in sorted((top / "i18n").glob("KorwindNavigatorUpdater_*.ts")):
    language = ts.stem.split("_", 1)[1]
    table_file = top / "i18n" / f"{language}.tsv"
    if not table_file.exists():
        continue
    table = {}
    for line in table_file.read_text(encoding="utf-8").splitlines():
        if "\t" in line:
            source, text = line.split("\t", 1)
            table[unescape(source)] = unescape(text)
    tree = ET.parse(ts)
    for message in tree.iter("message"):
        source = message.findtext("source")
        translation = message.find("translation")
        if source in table:
            # A text with a count gets the same wording in every form: the tables word such texts so that
            # none of the language's forms needs another.
            forms = translation.findall("numerusform")
            for form in forms:
                form.text = table[source]
            if not forms:
                translation.text = table[source]
            translation.attrib.pop("type", None)
    tree.write(ts, encoding="utf-8", xml_declaration=True)
