#!/usr/bin/env python3
"""Checks what one step printed on the board's console.

usage: compare.py CONSOLE STEP EXPECTED         exact: the step file itself
       compare.py CONSOLE STEP --either REF...  after a power cut: each
           command's output must be what it printed in one of the reference
           boots (the old content or the new); with --damaged, a command may
           also end in status 68 (a segment the cut left failing its CRC)
Prints the differences and exits 1 when there are any.
"""
import difflib
import sys


def step_text(console, step):
    with open(console, "rb") as f:
        lines = f.read().decode("utf-8", "replace").replace("\r", "").split("\n")
    try:
        start = lines.index("@@ step " + step) + 1
        end = lines.index("@@ end " + step, start)
    except ValueError:
        return None
    return lines[start:end]


def blocks(lines):
    out, cur = [], None
    for line in lines:
        if line.startswith("$ "):
            cur = [line]
            out.append(cur)
        elif cur is not None and not line.startswith("#") and line:
            cur.append(line)
    return out


console, step = sys.argv[1], sys.argv[2]
actual = step_text(console, step)
if actual is None:
    print(f"step {step}: did not run to its end; console tail:")
    with open(console, "rb") as f:
        print(f.read().decode("utf-8", "replace").replace("\r", "")[-2000:])
    sys.exit(1)

if sys.argv[3] != "--either":
    with open(sys.argv[3]) as f:
        expected = f.read().split("\n")
    if expected and expected[-1] == "":
        expected.pop()
    if actual == expected:
        sys.exit(0)
    sys.stdout.writelines(l + "\n" for l in difflib.unified_diff(expected, actual, sys.argv[3], "board", lineterm=""))
    sys.exit(1)

damaged = "--damaged" in sys.argv
refs = [blocks(step_text(r, step) or []) for r in sys.argv[4:] if r != "--damaged"]
bad = 0
for i, block in enumerate(blocks(actual)):
    allowed = [ref[i] for ref in refs if i < len(ref)]
    if block in allowed or (damaged and block[-1] == "[68]"):
        continue
    bad += 1
    print("\n".join(block))
    print("  -- is neither of:")
    for a in allowed:
        print("\n".join("  " + l for l in a))
sys.exit(1 if bad else 0)
