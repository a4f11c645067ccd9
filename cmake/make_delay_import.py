#!/usr/bin/env python3
"""Makes a delay-load import library for a system DLL from its ordinary import library.

  make_delay_import.py NM DLLTOOL IMPORT_LIB DLL_NAME OUTPUT

Every function the import library names (a symbol with both an import pointer and a call thunk; data
exports are left out) is written to a module definition, which dlltool turns into a library whose
calls load the DLL at their first use. For 32-bit libraries the decorated names (Name@N) are kept for
linking and the DLL is asked for the plain names.
"""
import os
import re
import subprocess
import sys


def main(argv):
    if len(argv) != 6:
        sys.exit(__doc__.strip().splitlines()[2].strip())
    nm, dlltool, implib, dll, output = argv[1:]
    if not os.path.isfile(implib):
        sys.exit(f"error: no import library {implib}")
    symbols = subprocess.run([nm, implib], check=True, capture_output=True, text=True).stdout
    pointers, thunks = set(), set()
    for line in symbols.splitlines():
        fields = line.split()
        if len(fields) < 2:
            continue
        kind, name = fields[-2], fields[-1]
        if kind == "I" and name.startswith("__imp_"):
            pointers.add(name[len("__imp_"):])
        elif kind == "T":
            thunks.add(name)
    functions = sorted(pointers & thunks)
    if not functions:
        sys.exit(f"error: no functions found in {implib}")
    decorated = any(re.search(r"@\d+$", f) for f in functions)
    # 32-bit names carry a leading underscore that the module definition leaves out.
    if decorated:
        functions = [f[1:] if f.startswith("_") else f for f in functions]
    definition = output + ".def"
    with open(definition, "w") as f:
        f.write(f"LIBRARY {dll}\nEXPORTS\n")
        f.writelines(f"    {name}\n" for name in functions)
    command = [dlltool, "--input-def", definition, "--dllname", dll, "--output-delaylib", output]
    if decorated:
        command.append("--kill-at")
    subprocess.run(command, check=True)


if __name__ == "__main__":
    main(sys.argv)
