#!/usr/bin/env python3
"""Checks the release exe the way a careful reviewer would before shipping it:
check_exe.py --objdump OBJDUMP path/to/p2pblocker.exe"""
import argparse
import re
import struct
import subprocess
import sys

ALLOWED_DLLS = {'kernel32.dll', 'user32.dll', 'gdi32.dll', 'advapi32.dll', 'msvcrt.dll'}
# Functions a mingw-w64 runtime may pull in that Windows XP SP3 does not have.
NEWER_THAN_XP = {
    'GetTickCount64', 'InitializeConditionVariable', 'SleepConditionVariableCS', 'SleepConditionVariableSRW',
    'WakeConditionVariable', 'WakeAllConditionVariable', 'InitializeSRWLock', 'AcquireSRWLockExclusive',
    'AcquireSRWLockShared', 'ReleaseSRWLockExclusive', 'ReleaseSRWLockShared', 'TryAcquireSRWLockExclusive',
    'InitOnceExecuteOnce', 'InitOnceBeginInitialize', 'InitOnceComplete', 'GetSystemTimePreciseAsFileTime',
    'FlsAlloc', 'FlsFree', 'FlsGetValue', 'FlsSetValue', 'GetFinalPathNameByHandleW', 'CreateSymbolicLinkW',
    'GetErrorMode', 'LocaleNameToLCID', 'LCIDToLocaleName', 'GetLocaleInfoEx', 'CompareStringEx',
    'RegDeleteTreeA', 'RegDeleteTreeW', 'RegGetValueA', 'RegGetValueW', 'RegSetKeyValueA', 'RegSetKeyValueW',
    'RegDeleteKeyExA', 'RegDeleteKeyExW', 'SetThreadStackGuarantee', 'GetCurrentProcessorNumber',
    'QueryFullProcessImageNameW', 'GetDpiForWindow', 'SetProcessDPIAware', 'SetProcessDpiAwarenessContext',
}

failures = []


def check(ok, what, detail=''):
    print(('PASS' if ok else 'FAIL') + ': ' + what + (f' ({detail})' if detail else ''))
    if not ok:
        failures.append(what)


def resources(data):
    """{type: {name: bytes}} from the PE resource directory (first language)."""
    pe = struct.unpack_from('<I', data, 0x3C)[0]
    nsections, optsize = struct.unpack_from('<H12xH', data, pe + 6)
    opt = pe + 24
    rsrc_rva = struct.unpack_from('<I', data, opt + 96 + 2 * 8)[0]
    sections = []
    for i in range(nsections):
        vsize, va, rawsize, rawptr = struct.unpack_from('<IIII', data, opt + optsize + 40 * i + 8)
        sections.append((va, max(vsize, rawsize), rawptr))

    def offset(rva):
        for va, size, raw in sections:
            if va <= rva < va + size:
                return rva - va + raw
        raise ValueError(hex(rva))

    base = offset(rsrc_rva)

    def key(name_field):
        if name_field & 0x80000000:
            at = base + (name_field & 0x7FFFFFFF)
            n = struct.unpack_from('<H', data, at)[0]
            return data[at + 2:at + 2 + 2 * n].decode('utf-16-le')
        return name_field

    def walk(at, depth):
        named, ids = struct.unpack_from('<HH', data, at + 12)
        out = {}
        for i in range(named + ids):
            name_field, target = struct.unpack_from('<II', data, at + 16 + 8 * i)
            if target & 0x80000000:
                sub = walk(base + (target & 0x7FFFFFFF), depth + 1)
                out[key(name_field)] = next(iter(sub.values())) if depth == 1 else sub
            else:
                rva, size = struct.unpack_from('<II', data, base + target)
                out[key(name_field)] = data[offset(rva):offset(rva) + size]
        return out

    return walk(base, 0)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--objdump', required=True)
    ap.add_argument('exe')
    args = ap.parse_args()
    headers = subprocess.run([args.objdump, '-p', args.exe], capture_output=True, text=True, check=True).stdout
    symbols = subprocess.run([args.objdump, '-t', args.exe], capture_output=True, text=True).stdout
    sections = subprocess.run([args.objdump, '-h', args.exe], capture_output=True, text=True, check=True).stdout

    def field(name):
        m = re.search(r'^' + name + r'\s+(\S+)', headers, re.M)
        return m.group(1) if m else ''

    check('file format pei-i386' in headers and field('Magic') == '010b', 'PE32 executable for i386')
    check(field('Subsystem') == '00000002', 'Windows GUI subsystem', field('Subsystem'))
    flags = int(field('DllCharacteristics') or '0', 16)
    check(flags & 0x0040 != 0, 'DYNAMIC_BASE (ASLR)', hex(flags))
    check(flags & 0x0100 != 0, 'NX_COMPAT (DEP)', hex(flags))
    version = (int(field('MajorSubsystemVersion') or 99), int(field('MinorSubsystemVersion') or 99))
    check(version <= (5, 1), 'subsystem version loads on Windows XP SP3 and later', '%d.%d' % version)

    dlls = {m.lower() for m in re.findall(r'DLL Name: (\S+)', headers)}
    check(dlls <= ALLOWED_DLLS, 'imports only system known DLLs', ', '.join(sorted(dlls)))
    imported = set(re.findall(r'^\s+[0-9a-f]+\s+\d+\s+(\w+)$', headers, re.M))
    newer = sorted(imported & NEWER_THAN_XP)
    check(not newer, 'imports no function newer than Windows XP', ', '.join(newer))

    check('no symbols' in symbols and '.debug' not in sections, 'stripped: no symbols, no debug sections')

    res = resources(open(args.exe, 'rb').read())
    manifest = res.get(24, {}).get(1, b'').decode('utf-8', 'replace')
    check(re.search(r'requestedExecutionLevel\s+level="asInvoker"', manifest) is not None,
          'manifest requests asInvoker')
    check('supportedOS' in manifest, 'manifest declares the supported OS versions')
    check('dpiAware' not in manifest, 'manifest declares no DPI awareness')

    group = res.get(14, {}).get('DEFAULT_ICON', b'')
    sizes = sorted(struct.unpack_from('<B', group, 6 + 14 * i)[0] or 256
                   for i in range(struct.unpack_from('<H', group, 4)[0])) if group else []
    check(sizes == [16, 32], 'icon DEFAULT_ICON has 16x16 and 32x32 images', str(sizes))

    info = res.get(16, {}).get(1, b'')
    fixed = info.find(struct.pack('<I', 0xFEEF04BD))
    file_version = struct.unpack_from('<II', info, fixed + 8) if fixed >= 0 else (0, 0)
    check(file_version == (0x00010000, 0), 'version resource 1.0.0.0')
    check('MorvestaP2P软件屏蔽器 V1.0'.encode('utf-16-le') in info, 'product name is the window title')

    print(f'{len(failures)} failed' if failures else 'all checks passed')
    return 1 if failures else 0


sys.exit(main())
