#!/usr/bin/env python3
"""What a release's files say of themselves, read from their structure, for verify-release.sh.

  release_facts.py listing ZIP FOLDER   the zip's own listing, before anything is extracted:
                                        one line a fault; none when it is exactly one folder
                                        FOLDER of regular files, no two names alike in any
                                        letter case; then "file NAME" for each file in it
  release_facts.py pe FILE              "version A.B.C.D" (the version resource's fixed
                                        part), "after-signature N" (bytes past the signature)
  release_facts.py msi FILE             "after-end N" (bytes past the last sector in use)
"""
import stat
import struct
import sys
import zipfile


def listing(path, folder):
    faults, files, seen = [], [], {}
    with zipfile.ZipFile(path) as archive:
        for entry in archive.infolist():
            name = entry.filename
            key = name.rstrip('/').lower()
            if key in seen:
                faults.append(f'two entries named {seen[key]!r} and {name!r}')
            seen[key] = name
            mode = entry.external_attr >> 16
            top, _, rest = name.partition('/')
            if top != folder:
                faults.append(f'{name!r} lies outside the folder {folder}/')
            elif name.endswith('/'):
                if rest.strip('/'):
                    faults.append(f'{name!r}: a folder inside the release folder')
            elif mode and not stat.S_ISREG(mode):
                faults.append(f'{name!r} is no regular file (mode {mode:o})')
            elif '/' in rest or not rest:
                faults.append(f'{name!r}: not a file of the release folder itself')
            else:
                files.append(rest)
    for fault in faults:
        print(fault)
    for name in sorted(files):
        print('file', name)


def pe(path):
    data = open(path, 'rb').read()
    header = struct.unpack_from('<I', data, 0x3C)[0]
    magic = struct.unpack_from('<H', data, header + 24)[0]
    directories = header + 24 + (96 if magic == 0x10B else 112)
    offset, size = struct.unpack_from('<II', data, directories + 4 * 8)  # the certificate table
    print('after-signature', len(data) - (offset + size) if size else 0)
    at = data.find(b'\xbd\x04\xef\xfe')  # VS_FIXEDFILEINFO's signature
    if at >= 0:
        high, low = struct.unpack_from('<II', data, at + 8)
        print(f'version {high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}')


def msi(path):
    data = open(path, 'rb').read()
    shift = struct.unpack_from('<H', data, 30)[0]
    sector = 1 << shift
    fat_sectors, first_difat, difat_count = struct.unpack_from('<I', data, 44)[0], *struct.unpack_from('<II', data, 68)
    fat_at = [s for s in struct.unpack_from('<109I', data, 76) if s < 0xFFFFFFFA]
    next_difat = first_difat
    while next_difat < 0xFFFFFFFA and difat_count > 0:
        block = struct.unpack_from(f'<{sector // 4}I', data, (next_difat + 1) * sector)
        fat_at += [s for s in block[:-1] if s < 0xFFFFFFFA]
        next_difat, difat_count = block[-1], difat_count - 1
    used = -1
    for number, at in enumerate(fat_at[:fat_sectors]):
        for index, value in enumerate(struct.unpack_from(f'<{sector // 4}I', data, (at + 1) * sector)):
            if value != 0xFFFFFFFF:
                used = max(used, number * (sector // 4) + index)
    print('after-end', len(data) - (used + 2) * sector)


if __name__ == '__main__':
    {'listing': lambda: listing(sys.argv[2], sys.argv[3]), 'pe': lambda: pe(sys.argv[2]),
     'msi': lambda: msi(sys.argv[2])}[sys.argv[1]]()
