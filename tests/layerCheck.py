#!/usr/bin/env python3
"""The layers, as the compiler saw them: every object of a layered folder may have read only headers of
its own folder and of the folders its arrows reach (layers.txt, written by vt_layer() at configure time).
The headers come from ninja's dependency log, the compiler's own record, so an include is caught however
it is spelt (<...>, "../", spaces after #). Ends with 77 (skipped) where the build keeps no such log.

    layerCheck.py SOURCE_DIR BUILD_DIR NINJA
"""
import os
import subprocess
import sys

source, build, ninja = (os.path.realpath(sys.argv[1]), os.path.realpath(sys.argv[2]), sys.argv[3])

arrows = {}
with open(os.path.join(build, "layers.txt"), encoding="utf-8") as f:
    for line in f:
        folder, _, uses = line.partition(":")
        arrows[folder.strip()] = uses.split()
for folder, uses in arrows.items():
    for used in uses:
        if used not in arrows:
            sys.exit(f"layers: {folder} names {used}, which is no layered folder")


def reach(folder, seen=None):
    seen = set() if seen is None else seen
    for used in arrows[folder]:
        if used not in seen:
            seen.add(used)
            reach(used, seen)
    return seen


allowed = {folder: reach(folder) | {folder} for folder in arrows}
if not os.path.exists(os.path.join(build, ".ninja_deps")):
    print("layers: no ninja dependency log in", build, "(another generator?): skipped")
    sys.exit(77)


def run(*args):
    return subprocess.run([ninja, "-C", build, *args], check=True, capture_output=True, text=True).stdout


# Objects of the build as it is now (the log also keeps those of removed sources).
live = {line.split(":")[0] for line in run("-t", "targets", "all").splitlines() if line.split(":")[0].endswith(".o")}


def folder_of(path):
    """The layered folder a source-tree path lies in, '' for another part of the tree, None outside it."""
    relative = os.path.relpath(path, source)
    if relative.startswith(".."):
        return None
    best = ""
    for folder in arrows:
        if (relative + "/").startswith(folder + "/") and len(folder) > len(best):
            best = folder
    return best


faults, objects = [], 0
owner, headers = None, []


def check():
    global objects
    if owner is None or owner not in live or "/CMakeFiles/" not in owner:
        return
    folder = owner.split("/CMakeFiles/")[0]
    if folder not in arrows:
        return
    objects += 1
    for header in headers:
        path = os.path.realpath(os.path.join(build, header))
        if path.startswith(build + os.sep):
            continue  # made by the build (moc, the build's configuration)
        where = folder_of(path)
        # The teachers' tools share the headers at the top of tools/ (their command line).
        shared_by_tools = where == "" and folder.startswith("tools/") and \
            os.path.dirname(os.path.relpath(path, source)) == "tools"
        if where is not None and where not in allowed[folder] and not shared_by_tools:
            faults.append(f"{owner}: {os.path.relpath(path, source)} — {folder} may use only: "
                          f"{' '.join(sorted(allowed[folder] - {folder})) or 'nothing'}")


for line in run("-t", "deps").splitlines():
    if line and not line[0].isspace():
        check()
        owner, headers = line.split(": #deps")[0], []
    elif line.strip():
        headers.append(line.strip())
check()

if objects == 0:
    sys.exit("layers: no object of a layered folder in the dependency log; build first")
for fault in faults:
    print(fault)
print(f"layers: {objects} objects of {len(arrows)} layered folders, {len(faults)} forbidden headers")
sys.exit(1 if faults else 0)
