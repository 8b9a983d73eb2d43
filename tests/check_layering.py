#!/usr/bin/env python3
"""The folders depend one way: app/ uses the subsystems, a subsystem uses
state/, platform/, resources/ and subsystems below it, never one above it and
never in a circle, those three include nothing but each other, and nothing
outside app/ and the tests includes anything from app/.
    check_layering.py SOURCE_DIR"""
import re
import sys
from pathlib import Path

SUBSYSTEMS = ["tray", "system", "capture", "reminder", "hotkeys", "autostart"]
# Below every subsystem: they include only each other.
BOTTOM = ["state", "platform", "resources"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder_of(path, root):
    return path.relative_to(root).parts[0]


def included_folders(source, root):
    """The top-level folders the quoted includes of one file name."""
    for name in INCLUDE.findall(source.read_text(encoding="utf-8")):
        target = (source.parent / name).resolve()
        if not target.exists():
            target = (root / name).resolve()
        if target.is_relative_to(root):
            yield folder_of(target, root)


def find_circle(edges):
    """A list of folders that reach themselves, or None."""
    state = {}

    def visit(node, trail):
        state[node] = "open"
        for after in sorted(edges.get(node, ())):
            if state.get(after) == "open":
                return trail[trail.index(after):] + [after]
            if after not in state:
                circle = visit(after, trail + [after])
                if circle:
                    return circle
        state[node] = "done"
        return None

    for node in sorted(edges):
        if node not in state:
            circle = visit(node, [node])
            if circle:
                return circle
    return None


def main(root):
    root = Path(root).resolve()
    failures = []
    edges = {}
    for source in sorted(root.rglob("*")):
        if source.suffix not in (".h", ".cpp", ".rc") or "build" in source.relative_to(root).parts:
            continue
        origin = folder_of(source, root)
        for target in included_folders(source, root):
            if target == "app" and origin not in ("app", "tests"):
                failures.append(f"{source.relative_to(root)} includes from app/")
            if origin in BOTTOM and target not in BOTTOM:
                failures.append(f"{source.relative_to(root)} reaches up into {target}/")
            if origin in SUBSYSTEMS and target in SUBSYSTEMS and target != origin:
                edges.setdefault(origin, set()).add(target)
    circle = find_circle(edges)
    if circle:
        failures.append("subsystems include each other in a circle: " + " -> ".join(circle))
    for failure in failures:
        print("FAIL:", failure)
    print("subsystem edges:", ", ".join(f"{a} -> {b}" for a in sorted(edges) for b in sorted(edges[a])) or "none")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
