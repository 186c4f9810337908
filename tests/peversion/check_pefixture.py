"""Checks the output of pe-fixture with pefile, a PE reader that we did not write.

Usage: check_pefixture.py PE_FIXTURE_COMMAND WORK_FOLDER
"""
import os
import subprocess
import sys

import pefile

CASES = [
    # machine, PE32+, version, internal name
    ("arm", False, (1, 2, 3, 4), "korwind"),
    ("thumb", False, (65535, 0, 7, 1), "Russa"),
    ("amd64", True, (9, 8, 7, 6), "Руса"),
    ("i386", False, (0, 0, 0, 1), ""),
]
MACHINES = {"arm": 0x1C0, "thumb": 0x1C2, "i386": 0x14C, "amd64": 0x8664}


def main():
    command, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    failures = 0
    for machine, plus, version, name in CASES:
        path = os.path.join(folder, f"{machine}.exe")
        arguments = [command, "--machine", machine, "--file-version", ".".join(map(str, version)), path]
        if plus:
            arguments.insert(1, "--pe32plus")
        if name:
            arguments[1:1] = ["--internal-name", name]
        subprocess.run(arguments, check=True)
        pe = pefile.PE(path)
        fixed = pe.VS_FIXEDFILEINFO[0]
        found = (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF, fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF)
        strings = {}
        for info in pe.FileInfo[0]:
            if info.Key == b"StringFileInfo":
                for table in info.StringTable:
                    if table.LangID == b"040904b0":
                        strings = {k.decode(): v.decode() for k, v in table.entries.items()}
        checks = [
            ("machine", pe.FILE_HEADER.Machine, MACHINES[machine]),
            ("magic", pe.OPTIONAL_HEADER.Magic, 0x20B if plus else 0x10B),
            ("version", found, version),
            ("internal name", strings.get("InternalName", ""), name),
        ]
        for what, actual, expected in checks:
            if actual != expected:
                print(f"{machine}: {what} is {actual!r}, expected {expected!r}")
                failures += 1
    print("all fixtures read back" if failures == 0 else f"{failures} mismatches")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
