#!/usr/bin/env python3
"""Mutation sites of the C++ sources, for scripts/mutate.sh.

  mutate_sites.py ROOT SEED            every mutant, in the order mutate.sh tries them
  mutate_sites.py ROOT SEED apply ID COPY   writes mutant ID's file into the tree COPY

Output lines are tab separated: ID, file, line, kind, before, after.
The order: all candidate sites over the files in sorted order, each kind's
list shuffled with SEED, then taken round-robin across the kinds, so that
every kind is represented whatever the count.
"""
import os
import random
import re
import sys

KINDS = ["compare", "arith", "constant", "delete", "table"]
DIRS = ["src", "platform"]
SUFFIXES = (".cpp", ".h")


def mask(text):
    """The text with comments blanked and literal contents replaced by 'x',
    so that positions still match the original."""
    out, i, n = list(text), 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out[i:j] = " " * (j - i)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out[i:j] = ["\n" if ch == "\n" else " " for ch in text[i:j]]
            i = j
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not text[i - 1].isalnum()):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            if not m:
                i += 1
                continue
            end = text.find(")" + m.group(1) + '"', i)
            j = n if end < 0 else end + len(m.group(1)) + 2
            out[i + 1:j] = ['"'] + ["\n" if ch == "\n" else "x" for ch in text[i + 2:j - 1]] + ['"']
            i = j
        elif c in "\"'":
            if c == "'" and i > 0 and text[i - 1].isalnum():  # digit separator
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out[i + 1:j] = "x" * (j - i - 1)
            i = j + 1
        else:
            i += 1
    return "".join(out)


def groups(code):
    """Brace groups that open and close on the line and hold no statement:
    (start, end, cells) with cells as (start, end) spans of the content."""
    found = []
    for start, ch in enumerate(code):
        if ch != "{":
            continue
        depth, cells, cell_start = 0, [], start + 1
        for j in range(start, len(code)):
            c = code[j]
            if c in "{([":
                depth += 1
            elif c in "})]":
                depth -= 1
                if depth == 0:
                    cells.append((cell_start, j))
                    break
            elif c == "," and depth == 1:
                cells.append((cell_start, j))
                cell_start = j + 1
            elif c == ";":
                break
        else:
            continue
        # An enumeration's order is rarely observable: its swaps are left out.
        if depth == 0 and len(cells) >= 2 and ";" not in code[start:j] and \
                not re.search(r"\benum\b", code[:start]):
            found.append((start, j, cells))
    return found


NUMBER = re.compile(r"(?<![\w.'])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.'])")


def cell_kind(value):
    if value.startswith('"'):
        return "string"
    if re.fullmatch(r"-?(0[xX][0-9a-fA-F]+|\d+)[uUlL]*", value):
        return "number"
    if re.fullmatch(r"[A-Za-z_][\w:]*", value):
        return "name"
    return None


def bump(literal, up):
    m = re.fullmatch(r"(-?)(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)", literal)
    sign, digits, suffix = m.groups()
    value = int(digits, 16) if digits[:2] in ("0x", "0X") else int(digits)
    value = value + 1 if up or value == 0 else value - 1
    text = ("0x%0*X" % (len(digits) - 2, value)) if digits[:2] in ("0x", "0X") else str(value)
    return sign + text + suffix


COMPARE = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
ARITH = {"+": "-", "-": "+", "+=": "-=", "-=": "+=", "++": "--", "--": "++"}
NOT_STATEMENT = re.compile(r"(return|break|continue|case|default|goto|using|typedef|static_assert|"
                           r"namespace|struct|class|enum|template|extern|public|private|protected)\b")
LVALUE = r"[\w.\[\]>*-]+(?:\([^()]*\))?[\w.\[\]>-]*"
CALL = re.compile(r"[\w:.\[\]>-]+(<[\w:, ]*>)?\(.*\);")
ASSIGN = re.compile(r"(\*?" + LVALUE + r") (=|\+=|-=|\|=|&=|<<=|>>=) .*;")
STEP = re.compile(r"(\+\+|--)?[\w.\[\]>-]+(\+\+|--)?;")


def sites(root, path):
    text = open(os.path.join(root, path), encoding="utf-8").read()
    lines, code_lines = text.split("\n"), mask(text).split("\n")
    previous = ";"
    for number, (line, code) in enumerate(zip(lines, code_lines), 1):
        stripped = code.strip()
        if not stripped:
            continue
        if stripped.startswith("#"):
            previous = ";"
            continue
        table_spans = []
        for start, end, cells in groups(code):
            table_spans.append((start, end))
            values = []
            for a, b in cells:
                raw = line[a:b]
                value = raw.strip()
                designated = re.match(r"\.\w+\s*=\s*", value)
                if designated:
                    value = value[designated.end():]
                offset = a + raw.index(value[:1]) + (designated.end() if designated else 0) if value else a
                values.append((offset, value, cell_kind(value)))
            for (a, va, ka), (b, vb, kb) in zip(values, values[1:]):
                if ka and ka == kb and va != vb:
                    after = line[:a] + vb + line[a + len(va):b] + va + line[b + len(vb):]
                    yield ("table", number, line, after)
            for k, (a, va, ka) in enumerate(values):
                if ka == "number":
                    yield ("table", number, line, line[:a] + bump(va, (number + k) % 2 == 0) + line[a + len(va):])

        def in_table(pos):
            return any(s <= pos <= e for s, e in table_spans)

        for m in re.finditer(r"(?<=[\w)\]\"'] )(<=|>=|==|!=|<|>)(?= [\w(!\"'*&-])", code):
            yield ("compare", number, line, line[:m.start()] + COMPARE[m.group(1)] + line[m.end():])
        for m in re.finditer(r"(?<=[\w)\]] )(\+=|-=|\+|-)(?= [\w(])", code):
            yield ("arith", number, line, line[:m.start()] + ARITH[m.group(1)] + line[m.end():])
        # Reversed loop steps only hang until the timeout; other steps are kept.
        for m in re.finditer(r"(?<=\w)(\+\+|--)(?=[;)\]])|(?<=[(; ])(\+\+|--)(?=\w)", code):
            if re.match(r"\s*for \(", code):
                continue
            yield ("arith", number, line, line[:m.start()] + ARITH[m.group(0)] + line[m.end():])
        for k, m in enumerate(NUMBER.finditer(code)):
            if not in_table(m.start()):
                before = m.group(0)
                yield ("constant", number, line,
                       line[:m.start()] + bump(before, (number + k) % 2 == 0) + line[m.end():])
        if (stripped.endswith(";") and previous[-1:] in ";{}" and not NOT_STATEMENT.match(stripped)
                and stripped.count("(") == stripped.count(")")
                and (CALL.fullmatch(stripped) or ASSIGN.fullmatch(stripped) or STEP.fullmatch(stripped))):
            yield ("delete", number, line, None)
        previous = stripped


def candidates(root, seed):
    files = sorted(os.path.relpath(os.path.join(d, f), root)
                   for top in DIRS for d, _, fs in os.walk(os.path.join(root, top))
                   for f in fs if f.endswith(SUFFIXES))
    per_kind = {k: [] for k in KINDS}
    for path in files:
        seen = set()
        for kind, line_no, before, after in sites(root, path):
            if (line_no, after) in seen or after == before:
                continue
            seen.add((line_no, after))
            per_kind[kind].append((path, line_no, kind, before, after))
    rng = random.Random(seed)
    for kind in KINDS:
        rng.shuffle(per_kind[kind])
    order, queues = [], [list(per_kind[k]) for k in KINDS]
    while any(queues):
        for q in queues:
            if q:
                order.append(q.pop(0))
    return order


def show(text):
    return "(deleted)" if text is None else text.strip()


def main():
    root, seed = sys.argv[1], int(sys.argv[2])
    order = candidates(root, seed)
    if len(sys.argv) > 3 and sys.argv[3] == "apply":
        path, line_no, _, _, after = order[int(sys.argv[4]) - 1]
        lines = open(os.path.join(root, path), encoding="utf-8").read().split("\n")
        if after is None:
            del lines[line_no - 1]
        else:
            lines[line_no - 1] = after
        open(os.path.join(sys.argv[5], path), "w", encoding="utf-8").write("\n".join(lines))
        return
    for i, (path, line_no, kind, before, after) in enumerate(order, 1):
        print("%d\t%s\t%d\t%s\t%s\t%s" % (i, path, line_no, kind, show(before), show(after)))


if __name__ == "__main__":
    main()
