#!/usr/bin/env python3
"""Checks that every '#include "..."' in the tree points down the layers.

Layers, lowest first (each may include itself and what is listed):
  base; engine; addons; registry; resources; platform, inside it
  win32 < gdiplus < stdctrl < mfc < backend, with winmm on win32;
  controls; grid; pages and profiles (not each other); app.
tests/ and bench/ may include anything; nothing else includes tests/.
wxWidgets, Cairo, Pango and SDL headers appear only in platform/ and in the
tests of the platform. Prints each offending line and exits 1 when any.
"""

import os
import re
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))

PLATFORM_FLOOR = {"base", "resources"}
ALLOWED = {
    "base": set(),
    "engine": {"base"},
    "addons": {"engine", "base"},
    "registry": {"addons", "engine", "base"},
    "resources": set(),
    "platform/win32": PLATFORM_FLOOR,
    "platform/gdiplus": PLATFORM_FLOOR | {"platform/win32"},
    "platform/stdctrl": PLATFORM_FLOOR | {"platform/win32", "platform/gdiplus"},
    "platform/mfc": PLATFORM_FLOOR | {"platform/win32", "platform/gdiplus", "platform/stdctrl"},
    "platform/backend": PLATFORM_FLOOR
    | {"platform/win32", "platform/gdiplus", "platform/stdctrl", "platform/mfc"},
    "platform/winmm": PLATFORM_FLOOR | {"platform/win32"},
}
PLATFORM = {layer for layer in ALLOWED if layer.startswith("platform/")}
ALLOWED["controls"] = PLATFORM | {"engine", "base", "resources"}
ALLOWED["grid"] = ALLOWED["controls"] | {"controls"}
ALLOWED["pages"] = ALLOWED["grid"] | {"grid", "registry", "addons"}
ALLOWED["profiles"] = ALLOWED["pages"]
ALLOWED["app"] = set(ALLOWED) | {"pages", "profiles"}

# Folders whose code is free to include any layer.
FREE = ("tests", "bench")
# Tests of the platform look at pixels and fonts with the libraries it uses.
NATIVE_HEADERS_ALLOWED = ("platform", "tests/platform", "tests/display", "tests/sound")

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".c", ".inl")
QUOTED = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
NATIVE = re.compile(r"^\s*#\s*include\s*<(wx/|cairo|pango|SDL)")


def layer_of(path):
    """The layer a path (relative to the root) belongs to; None outside every layer."""
    parts = path.split("/")
    if parts[0] == "platform" and len(parts) > 2:
        return "platform/" + parts[1]
    if parts[0] in ALLOWED or parts[0] in FREE:
        return parts[0]
    return None


def resolve(including, target):
    """Where a quoted include points: beside the including file first, as the compiler looks."""
    beside = os.path.normpath(os.path.join(os.path.dirname(including), target))
    if os.path.exists(os.path.join(ROOT, beside)):
        return beside
    return os.path.normpath(target)


def source_files():
    """Every C/C++ source below the root, leaving out hidden and build folders."""
    for dirpath, dirnames, filenames in os.walk(ROOT):
        dirnames[:] = sorted(
            d
            for d in dirnames
            if not d.startswith(".")
            and not os.path.exists(os.path.join(dirpath, d, "CMakeCache.txt"))
        )
        for name in sorted(filenames):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.relpath(os.path.join(dirpath, name), ROOT)


def problems_in(path):
    layer = layer_of(path)
    if layer is None:
        return
    native_allowed = any(path.startswith(p + "/") for p in NATIVE_HEADERS_ALLOWED)
    with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            where = f"{path}:{number}: {line.strip()}"
            if NATIVE.match(line) and not native_allowed:
                yield f"{where}  (toolkit header outside platform/)"
                continue
            match = QUOTED.match(line)
            if not match:
                continue
            target = layer_of(resolve(path, match.group(1)))
            if target is None or target == layer or layer in FREE:
                continue
            if target in FREE:
                yield f"{where}  ({layer} includes {target}/)"
            elif target not in ALLOWED[layer]:
                yield f"{where}  ({layer} must not include {target})"


def main():
    problems = [p for path in source_files() for p in problems_in(path)]
    if problems:
        print("Includes that point up or across the layers:", file=sys.stderr)
        for problem in problems:
            print("  " + problem, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
