#!/usr/bin/python3
"""Walks Vantrix's accessibility tree on the AT-SPI bus, as a screen reader
sees it, and checks that every object a user can reach by keyboard has a
name and a role other than filler.

  walk_tree.py [--dump]   exit 0 when all is well; --dump prints the tree
"""
import sys
import time

import pyatspi


def find_app(name, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        time.sleep(0.25)
    return None


def walk(node, depth, out):
    try:
        role = node.getRoleName()
        name = node.name or ""
        description = node.description or ""
        states = node.getState()
    except Exception:  # an object that went away meanwhile
        return
    out.append((depth, role, name, description, states))
    for child in node:
        if child is not None:
            walk(child, depth + 1, out)


def main():
    dump = "--dump" in sys.argv
    app = find_app("Vantrix")
    if app is None:
        print("Vantrix is not on the accessibility bus")
        return 2
    time.sleep(1)
    objects = []
    walk(app, 0, objects)
    faults = []
    for depth, role, name, description, states in objects:
        if dump:
            line = "  " * depth + f"{role} '{name}'"
            if description:
                line += f" ({description})"
            print(line)
        reachable = states.contains(pyatspi.STATE_FOCUSABLE) and states.contains(pyatspi.STATE_SHOWING)
        if reachable and (not name.strip() or role == "filler"):
            faults.append(f"{role} '{name}' can take the focus but says nothing")
    for fault in faults:
        print("FAULT:", fault)
    names = [name for _, _, name, _, _ in objects]
    for wanted in ("lo traffic", "lo graph", "Properties of lo"):
        if wanted not in names:
            print("MISSING:", wanted)
            faults.append(wanted)
    print(f"{len(objects)} objects, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
