#!/usr/bin/env python3
"""Runs the Inkscape extension exactly as Inkscape runs it: the launcher with
the selected ids as --id=ID, the dialog's values as --NAME=VALUE and the
document's path last, the new document read from standard output.

usage: check_extension.py LAUNCHER PELVARO
"""
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"
DOCUMENT = """<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape" width="100" height="50">
  <g id="layer1" inkscape:groupmode="layer" inkscape:label="Tiles">
    <path id="left" d="M 0 0 L 49.94 0 L 49.94 50 L 0 50 Z" style="fill:#cc3333"/>
    <rect id="right" x="49.95" y="0" width="50" height="50" fill="none"/>
  </g>
</svg>
"""
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED: " + what)


def run(launcher, tool, document, args):
    env = dict(os.environ, PELVARO=tool)
    return subprocess.run([sys.executable, launcher] + args + [document], env=env,
                          capture_output=True, text=True)


def geometry(svg_text):
    """d (or the shape's own attributes) and style of each element with an id."""
    root = ET.fromstring(svg_text)
    return {e.get("id"): (e.tag, e.get("d"), e.get("x"), e.get("style"))
            for e in root.iter() if e.get("id") and e.tag in (SVG + "path", SVG + "rect")}


def main():
    launcher, tool = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as directory:
        document = os.path.join(directory, "ink_ext_XXXXXX.svg")
        with open(document, "w") as f:
            f.write(DOCUMENT)
        before = geometry(DOCUMENT)
        values = ["--range=6", "--fill=true", "--gray_min=5", "--gray_max=95", "--seed=3"]

        # One selected path: it alone changes, and its fill is a gray now.
        one = run(launcher, tool, document, ["--id=left"] + values + ["--weld=false"])
        check(one.returncode == 0, "one id: exit 0, got %d: %s" % (one.returncode, one.stderr))
        after = geometry(one.stdout)
        check(after["left"][1] != before["left"][1], "one id: the selected path moved")
        check(after["right"] == before["right"], "one id: the other shape stayed as it was")
        style = after["left"][3] or ""
        rgb = style[len("fill:#"):len("fill:#") + 6]
        check(style.startswith("fill:#") and rgb[0:2] == rgb[2:4] == rgb[4:6],
              "one id: the fill became a gray: " + style)

        # Nothing selected: the whole document, and the weld keeps the shared
        # edge joined although 49.94 and 49.95 print apart at one decimal.
        whole = run(launcher, tool, document, values + ["--weld=true"])
        check(whole.returncode == 0, "no id: exit 0: " + whole.stderr)
        after = geometry(whole.stdout)
        check(after["right"][0] == SVG + "path", "no id: the moved rect is a path now")
        check(whole.stderr == "", "no id: a run that kept every joint has nothing to say: "
              + whole.stderr)
        split = run(launcher, tool, document, values + ["--weld=false"])
        check("the run split 2 (--weld 0.02 keeps them joined)" in split.stderr,
              "without the weld the split joints are reported: " + split.stderr)
        again = run(launcher, tool, document, values + ["--weld=true"])
        check(again.stdout == whole.stdout, "the same seed gives the same document")

        # A bad value: an error on standard error, nothing on standard output.
        bad = run(launcher, tool, document, ["--range=wide", "--seed=1"])
        check(bad.returncode != 0 and bad.stdout == "" and "--range 'wide'" in bad.stderr,
              "a bad value fails with a message: %d %r" % (bad.returncode, bad.stderr))
        unknown = run(launcher, tool, document, ["--frob=1"])
        check(unknown.returncode != 0 and "unknown option --frob" in unknown.stderr,
              "an unknown parameter is named")
    print("Inkscape extension: " + ("%d checks failed" % len(failures) if failures
                                    else "every check passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
