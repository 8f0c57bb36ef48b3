#!/usr/bin/env python3
"""Inkscape's launcher for the Pelvaro filter.

Inkscape calls it as it calls every effect: the selected ids as --id=ID, the
dialog's values as --NAME=VALUE, the document's path last. The new document
goes to standard output, messages to standard error. It runs `pelvaro run`,
found beside this file, in $PELVARO, or on the PATH.
"""
import os
import shutil
import subprocess
import sys

WELD_TOLERANCE = "0.02"
# What Inkscape may pass that the filter has no use for.
IGNORED = {"--selected-nodes", "--tab", "--output"}


def fail(message):
    sys.stderr.write("Pelvaro: " + message + "\n")
    sys.exit(2)


def find_tool():
    here = os.path.dirname(os.path.abspath(__file__))
    for candidate in (os.environ.get("PELVARO"), os.path.join(here, "pelvaro", "pelvaro"),
                      os.path.join(here, "pelvaro"), shutil.which("pelvaro")):
        if candidate and os.path.isfile(candidate) and os.access(candidate, os.X_OK):
            return candidate
    fail("cannot find the pelvaro tool: install it with 'make install-inkscape' or set PELVARO")


def boolean(name, text):
    if text.lower() in ("true", "1"):
        return True
    if text.lower() in ("false", "0"):
        return False
    fail("--%s=%s is neither true nor false" % (name, text))


def command_line(argv):
    """The pelvaro command for Inkscape's arguments, and the output path if one was given."""
    if not argv or argv[-1].startswith("--"):
        fail("no document given; Inkscape passes its path last")
    document, options = argv[-1], argv[:-1]
    ids, values, output = [], {}, None
    for option in options:
        name, equals, value = option.partition("=")
        if not name.startswith("--") or not equals:
            fail("unexpected argument '%s'; expected --NAME=VALUE" % option)
        name = name[2:]
        if name == "id":
            ids.append(value)
        elif name == "output":
            output = value
        elif "--" + name in IGNORED:
            continue
        elif name in ("range", "gray_min", "gray_max", "seed", "fill", "weld"):
            values[name] = value
        else:
            fail("unknown option --%s" % name)
    args = [find_tool(), "run", "--format", "svg", document, "-o", output or "-"]
    for element in ids:
        args += ["--id", element]
    for name, flag in (("range", "--range"), ("gray_min", "--gray-min"), ("gray_max", "--gray-max")):
        if name in values:
            args += [flag, values[name]]
    if "fill" in values:
        args.append("--fill" if boolean("fill", values["fill"]) else "--no-fill")
    if values.get("seed", "0") != "0":
        args += ["--seed", values["seed"]]
    if boolean("weld", values.get("weld", "true")):
        args += ["--weld", WELD_TOLERANCE]
    return args


def worth_showing(line):
    """Inkscape shows whatever reaches standard error in a dialog: pass on
    warnings, errors and split joints, not the routine lines of a good run."""
    return not (line.startswith("seed: ") or
                (line.startswith("pelvaro run: joints: ") and line.endswith("kept every one")))


def main():
    args = command_line(sys.argv[1:])
    sys.stdout.flush()
    # The document goes straight to our standard output, as Inkscape expects.
    done = subprocess.run(args, stderr=subprocess.PIPE, text=True)
    for line in done.stderr.splitlines():
        if done.returncode != 0 or worth_showing(line):
            sys.stderr.write(line + "\n")
    sys.exit(done.returncode)


if __name__ == "__main__":
    main()
