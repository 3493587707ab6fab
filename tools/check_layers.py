#!/usr/bin/env python3
"""Fails on an include between folders of src/ that does not point down the layer order,
and on a test folder (tests/<folder>, which tests src/<folder>) that includes a folder
above the one it tests.

The order is read from README.md's Layout section (the `src/<folder>/` lines, bottom to top),
so the README and the check cannot drift apart. Prints each offending file and include."""
import os
import re
import sys

root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
readme = open(os.path.join(root, "README.md"), encoding="utf-8").read()
section = readme.split("## Layout", 1)[1].split("\n## ", 1)[0]
order = re.findall(r"^\d+\.\s+`src/([a-z0-9_]+)/`", section, re.M)
if not order:
    sys.exit("no layer order found in README.md's Layout section")
rank = {name: i for i, name in enumerate(order)}

bad = []
checked = []
for folder in sorted(os.listdir(os.path.join(root, "src"))):
    if not os.path.isdir(os.path.join(root, "src", folder)):
        continue
    if folder not in rank:
        bad.append(f"src/{folder}/: folder missing from README's layer order")
        continue
    checked.append(("src", folder, False))
for folder in sorted(os.listdir(os.path.join(root, "tests"))):
    if folder in rank and os.path.isdir(os.path.join(root, "tests", folder)):
        checked.append(("tests", folder, True))

for top, folder, is_test in checked:
    path = os.path.join(root, top, folder)
    for dirpath, _, files in os.walk(path):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp", ".rc")):
                continue
            file = os.path.join(dirpath, name)
            rel = os.path.relpath(file, root)
            with open(file, encoding="utf-8", errors="replace") as f:
                for n, line in enumerate(f, 1):
                    m = re.match(r'\s*#\s*include\s+"([a-z0-9_]+)/', line)
                    if not m or (m.group(1) == folder and not is_test):
                        continue
                    target = m.group(1)
                    if target not in rank:
                        continue  # generated headers and resource ids live outside src/
                    if rank[target] > rank[folder]:
                        what = f"the tests of {folder}" if is_test else folder
                        bad.append(f"{rel}:{n}: {what} include {target}/, which lies above it")
for line in bad:
    print(line)
print(f"{len(order)} layers, {len(bad)} upward includes")
sys.exit(1 if bad else 0)
