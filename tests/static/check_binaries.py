#!/usr/bin/env python3
"""Checks the Windows build without running it: every program and library is a PE image of the
build's architecture, none needs a mingw runtime DLL, the shipped programs carry their manifest
(naming the same architecture) and a version resource, and our libraries export exactly their
undecorated names."""
import argparse
import re
import struct
import sys
from pathlib import Path

MACHINES = {"i686": (0x14C, 0x10B, "x86"), "x86_64": (0x8664, 0x20B, "amd64")}
SHIPPED_PROGRAMS = ["mrf.exe", "ulksrv.exe"]
EXPORTS = {
    "vexcore.dll": {"AddEntry", "CheckDriver", "SetSecurity"},
    "quillon.dll": {"AmSystemProcess", "CreateGlobalEvent", "OpenGlobalEvent", "AddAccessForEveryone"},
}
REQUIRED = ["mrf.exe", "vexcore.dll"]
# Every program and library of the product carries the project's version as its product version.
VERSIONED = ["mrf.exe", "ulksrv.exe", "mrfctl.exe", "vexcheck.exe", "enginehost.exe", "vexcore.dll", "quillon.dll"]
RUNTIME_DLL = re.compile(r"^(libgcc|libstdc\+\+|libwinpthread|libssp|mingwm)", re.I)
RT_VERSION, RT_MANIFEST = 16, 24
# Libraries a program loads when it first needs them, so that a run that ends without them (the
# logon run of mrf.exe) does not load them.
LOADED_ON_USE = {"mrf.exe": {"wininet.dll", "version.dll"}}


class Pe:
    def __init__(self, path):
        self.data = data = path.read_bytes()
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, nsections = struct.unpack_from("<HH", data, pe + 4)
        opt_size = struct.unpack_from("<H", data, pe + 20)[0]
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        dirs = opt + (96 if self.magic == 0x10B else 112)
        self.dirs = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(3)]
        self.sections = []
        for i in range(nsections):
            vsize, va, rawsize, raw = struct.unpack_from("<IIII", data, opt + opt_size + 40 * i + 8)
            self.sections.append((va, max(vsize, rawsize), raw))

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError(f"RVA {rva:#x} outside every section")

    def cstr(self, rva):
        o = self.offset(rva)
        return self.data[o:self.data.index(b"\0", o)].decode("latin-1")

    def exports(self):
        rva, size = self.dirs[0]
        if not rva:
            return set()
        o = self.offset(rva)
        count, names = struct.unpack_from("<I", self.data, o + 24)[0], struct.unpack_from("<I", self.data, o + 32)[0]
        return {self.cstr(struct.unpack_from("<I", self.data, self.offset(names) + 4 * i)[0]) for i in range(count)}

    def imports(self):
        rva, _ = self.dirs[1]
        result, o = [], self.offset(rva) if rva else None
        while o is not None:
            desc = struct.unpack_from("<IIIII", self.data, o)
            if not any(desc):
                break
            result.append(self.cstr(desc[3]))
            o += 20
        return result

    def resource(self, type_id):
        """The first resource of a type, or None."""
        rva, _ = self.dirs[2]
        if not rva:
            return None
        base = self.offset(rva)
        entry = self._entry(base, base, type_id)
        for _ in range(2):  # name, then language: the first of each
            if entry is None or not entry & 0x80000000:
                return None
            entry = self._entry(base, base + (entry & 0x7FFFFFFF), None)
        if entry is None:
            return None
        data_rva, size = struct.unpack_from("<II", self.data, base + entry)
        o = self.offset(data_rva)
        return self.data[o:o + size]

    def _entry(self, base, directory, wanted):
        named, ids = struct.unpack_from("<HH", self.data, directory + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", self.data, directory + 16 + 8 * i)
            if wanted is None or name == wanted:
                return target
        return None


def product_version(pe):
    """The product version of the fixed part of the version resource, or None."""
    version = pe.resource(RT_VERSION)
    at = version.find(struct.pack("<I", 0xFEEF04BD)) if version else -1
    if at < 0:
        return None
    ms, ls = struct.unpack_from("<II", version, at + 16)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--machine", required=True, choices=MACHINES)
    ap.add_argument("--bin", required=True, type=Path)
    ap.add_argument("--version", help="the product version every program must carry, a.b.c.d")
    args = ap.parse_args()
    machine, magic, manifest_arch = MACHINES[args.machine]
    failures = []
    passed = 0

    def check(ok, what):
        nonlocal passed
        if ok:
            passed += 1
        else:
            failures.append(what)
            print("FAIL:", what)

    for name in REQUIRED:
        check((args.bin / name).is_file(), f"{name} was built")
    images = sorted(p for p in args.bin.iterdir() if p.suffix.lower() in (".exe", ".dll"))
    for path in images:
        try:
            pe = Pe(path)
        except (ValueError, struct.error) as e:
            check(False, f"{path.name} is a readable PE image ({e})")
            continue
        check(pe.machine == machine and pe.magic == magic,
              f"{path.name} is {'PE32' if magic == 0x10B else 'PE32+'} for {args.machine}"
              f" (machine {pe.machine:#x}, magic {pe.magic:#x})")
        runtime = [d for d in pe.imports() if RUNTIME_DLL.match(d)]
        check(not runtime, f"{path.name} links no mingw runtime DLL (links {runtime})")
        if path.name in LOADED_ON_USE:
            early = [d for d in pe.imports() if d.lower() in LOADED_ON_USE[path.name]]
            check(not early, f"{path.name} imports none of {sorted(LOADED_ON_USE[path.name])} (imports {early})")
        if path.name in EXPORTS:
            got = pe.exports()
            check(got == EXPORTS[path.name], f"{path.name} exports exactly {sorted(EXPORTS[path.name])} (has {sorted(got)})")
        if path.name in SHIPPED_PROGRAMS:
            manifest = pe.resource(RT_MANIFEST)
            check(manifest is not None, f"{path.name} has a manifest")
            if manifest is not None:
                archs = set(re.findall(rb'processorArchitecture="([^"]*)"', manifest))
                check(archs and all(a.decode().lower() in (manifest_arch, "*") for a in archs),
                      f"{path.name}'s manifest names {manifest_arch} (names {sorted(archs)})")
            version = pe.resource(RT_VERSION)
            check(version is not None and b"V\0S\0_\0V\0E\0R\0S\0I\0O\0N\0_\0I\0N\0F\0O" in version,
                  f"{path.name} has a version resource")
        if args.version and path.name in VERSIONED:
            check(product_version(pe) == args.version,
                  f"{path.name}'s product version is {args.version} (is {product_version(pe)})")
    print(f"{passed} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
