#!/usr/bin/python3
"""Rewrites the help pages of a folder, in place, from UTF-8 into code page 1251, the code
page of the compiled help file: the viewer's search results and index then show the pages'
Russian titles as they are. A character the code page lacks becomes a numeric character
reference, which every HTML viewer draws as the character.

    pages_to_cp1251.py FOLDER
"""
import os
import sys

UTF8_META = '<meta charset="utf-8">'
CP1251_META = '<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">'


def main(folder):
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".html"):
            continue
        path = os.path.join(folder, name)
        with open(path, encoding="utf-8") as f:
            text = f.read()
        if UTF8_META not in text:
            sys.exit("%s: no %s to replace" % (name, UTF8_META))
        text = text.replace(UTF8_META, CP1251_META)
        with open(path, "wb") as f:
            f.write(text.encode("cp1251", "xmlcharrefreplace"))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
