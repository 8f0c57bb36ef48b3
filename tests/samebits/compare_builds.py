#!/usr/bin/python3
"""One fixed filter run must give the same bits from every build of the CLI.

Runs `pelvaro run` with the same document, seeds and parameters in the native
release build, the Win64 build (under wine64), the static 32-bit x86 build
(under qemu) and the Win32 CLI loading the shipped dist/Pelvaro.aip (under
32-bit Wine), and compares the output files byte for byte. When they differ it
names each value that differs, with its float bits in every build.

Usage: compare_builds.py SOURCE_DIR [WORK_DIR]
"""

import json
import os
import struct
import subprocess
import sys
import tempfile


def builds(root):
    """Name, runner, executable, options and environment of each build."""
    toolchains = os.path.join(root, "cmake", "toolchains")
    build = os.path.join(root, "build")
    return [
        ("native", [], os.path.join(build, "release", "bin", "pelvaro"), [], {}),
        ("win64", [os.path.join(toolchains, "wine64-run.sh")],
         os.path.join(build, "win64", "bin", "pelvaro.exe"), [],
         {"WINEPREFIX": os.path.join(build, "win64", "wineprefix")}),
        ("linux32", ["/usr/bin/qemu-i386-static"],
         os.path.join(build, "linux32", "bin", "pelvaro"), [], {}),
        # The file a user installs, loaded by name as a user would.
        ("shipped", [os.path.join(toolchains, "wine32-run.sh")],
         os.path.join(build, "wine32", "bin", "pelvaro.exe"),
         ["--plugin", os.path.join(root, "dist", "Pelvaro.aip")],
         {"WINEPREFIX": os.path.join(build, "wine32", "wineprefix")}),
    ]


# Each run: seed and options. Large ranges and both fill settings, so that the
# offsets' cos and sin and the random grays all reach the output.
RUNS = [
    ("defaults", ["--seed", "1"]),
    ("wide", ["--seed", "4294967295", "--range", "37.5", "--gray-min", "12.5",
              "--gray-max", "87.5", "--fill"]),
    ("no-fill", ["--seed", "20240229", "--range", "0.75", "--no-fill"]),
    ("extremes", ["--seed", "99", "--range", "1000", "--gray-min", "0", "--gray-max", "100"]),
]


def mosaic():
    """Squares and triangles that share edges and corners, on quarter points so
    that positions fall on the halves of the one-decimal position text."""
    art = []
    size = 10.25
    for row in range(12):
        for col in range(12):
            x0, y0 = col * size - 61.5, row * size - 61.75
            x1, y1 = x0 + size, y0 + size
            gray = {"gray": round((row * 12 + col) / 143, 4)}
            if (row + col) % 3 == 0:
                # Two triangles over the square's diagonal, one filled.
                art.append({"fill": gray, "segments": [{"p": [x0, y0]}, {"p": [x1, y0]},
                                                       {"p": [x1, y1]}]})
                art.append({"segments": [{"p": [x0, y0]}, {"p": [x1, y1]}, {"p": [x0, y1]}]})
            else:
                fill = gray if (row * col) % 2 == 0 else {"rgb": [0.25, 0.5, 0.75]}
                art.append({"fill": fill, "segments": [
                    {"p": [x0, y0], "out": [x0 + 2.5, y0 - 1.25], "corner": False},
                    {"p": [x1, y0], "in": [x1 - 2.5, y0 + 1.25]},
                    {"p": [x1, y1]}, {"p": [x0, y1]}]})
    art.append({"selected": False, "segments": [{"p": [0.05, 0.15]}, {"p": [5.25, 0.35]}]})
    return {"art": art}


def bits(value):
    return struct.unpack("<I", struct.pack("<f", value))[0]


def leaves(node, where=""):
    """Every number in a document, by its place."""
    if isinstance(node, dict):
        for key, value in node.items():
            yield from leaves(value, f"{where}.{key}" if where else key)
    elif isinstance(node, list):
        for i, value in enumerate(node):
            yield from leaves(value, f"{where}[{i}]")
    else:
        yield where, node


def explain(outputs):
    """The values that differ between the builds' documents, one line each."""
    try:
        docs = {name: dict(leaves(json.loads(data))) for name, data in outputs.items()}
    except ValueError as error:
        return [f"  cannot compare values: {error}"]
    names = list(docs)
    places = sorted(set().union(*docs.values()))
    lines = []
    for place in places:
        values = [docs[name].get(place) for name in names]
        if all(v == values[0] for v in values):
            continue
        shown = []
        for name, value in zip(names, values):
            if isinstance(value, float) or isinstance(value, int) and not isinstance(value, bool):
                shown.append(f"{name} {value!r} (0x{bits(float(value)):08X})")
            else:
                shown.append(f"{name} {value!r}")
        lines.append(f"  {place}: " + ", ".join(shown))
    return lines


def main(argv):
    if len(argv) not in (2, 3):
        sys.exit(__doc__.split("\n\n")[-1])
    root = os.path.abspath(argv[1])
    work = argv[2] if len(argv) == 3 else tempfile.mkdtemp(prefix="pelvaro-samebits-")
    os.makedirs(work, exist_ok=True)
    document = os.path.join(work, "mosaic.json")
    with open(document, "w", encoding="utf-8") as out:
        json.dump(mosaic(), out)

    missing = [exe for _, _, exe, _, _ in builds(root) if not os.path.exists(exe)]
    if missing:
        sys.exit("compare_builds: missing " + ", ".join(missing) +
                 "; build the presets release, win64, linux32 and wine32 first (make test does)")

    passed = failed = 0
    for run, options in RUNS:
        outputs = {}
        for name, runner, exe, plugin, env in builds(root):
            target = os.path.join(work, f"{run}.{name}.json")
            result = subprocess.run(runner + [exe, "run", document, "-o", target] + plugin + options,
                                    env={**os.environ, **env}, capture_output=True, text=True)
            if result.returncode != 0:
                print(f"FAILED  {run}: {name} exited with {result.returncode}: "
                      f"{result.stderr.strip()}")
                break
            with open(target, "rb") as produced:
                outputs[name] = produced.read()
        else:
            reference = outputs["native"]
            differing = [name for name, data in outputs.items() if data != reference]
            if not differing:
                passed += 1
                print(f"ok      {run}: {', '.join(outputs)} wrote the same "
                      f"{len(reference)} bytes")
                continue
            print(f"FAILED  {run}: {', '.join(differing)} differ from native; the values:")
            print("\n".join(explain(outputs)) or "  (no value differs: the text does)")
        failed += 1
    print(f"samebits: {passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
