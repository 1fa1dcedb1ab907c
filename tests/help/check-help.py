#!/usr/bin/env python3
"""Checks the compiled help files as a help viewer reads them.

For each help file: every topic path that the named source folders open ("::/<path>") is in it,
its default topic, contents and index are in it, every link of its pages, contents and index
resolves inside it, and every page can be reached from its contents. With --zip, the release
archive holds the named files at its top. Prints one line per fault and exits 1 when there is one.
"""
import argparse
import pathlib
import posixpath
import re
import struct
import subprocess
import sys
import tempfile
import zipfile

TOPIC = re.compile(r'L"::/([^"]+)"')
LINK = re.compile(r'''(?:href|src)\s*=\s*["']([^"']+)["']''', re.I)
LOCAL = re.compile(r'''<param\s+name\s*=\s*["']Local["']\s+value\s*=\s*["']([^"']+)["']''', re.I)
SYSTEM_CODES = {0: 'contents file', 1: 'index file', 2: 'default topic'}


def opened_topics(source_root, folders):
    """The topic paths that the sources of the folders open, with the file that names each."""
    topics = {}
    for folder in folders:
        for path in sorted((source_root / folder).rglob('*')):
            if path.suffix in ('.cpp', '.h'):
                for topic in TOPIC.findall(path.read_text(encoding='utf-8', errors='replace')):
                    topics.setdefault(topic, path.relative_to(source_root).as_posix())
    return topics


def chm_entries(chm):
    """Names of the files in the help file, without the leading slash."""
    listing = subprocess.run(['enum_chmLib', str(chm)], check=True, capture_output=True,
                             text=True).stdout
    names = set()
    for line in listing.splitlines():
        match = re.search(r'\s(/\S.*)$', line)
        if match and not match.group(1).endswith('/'):
            names.add(match.group(1)[1:])
    return names


def system_entries(folder):
    """The named strings of the #SYSTEM file: contents file, index file, default topic."""
    data = (folder / '#SYSTEM').read_bytes()
    found, at = {}, 4
    while at + 4 <= len(data):
        code, length = struct.unpack_from('<HH', data, at)
        if code in SYSTEM_CODES:
            found[code] = data[at + 4:at + 4 + length].split(b'\0')[0].decode('latin-1')
        at += 4 + length
    return found


def links_of(text):
    for target in LINK.findall(text) + LOCAL.findall(text):
        if re.match(r'^[a-z][a-z0-9+.-]*:', target, re.I) or target.startswith('#'):
            continue  # web, mail and in-page links leave the file or stay on the page
        yield target.split('#')[0]


def check_chm(chm, topics, faults):
    if not chm.is_file():
        faults.append(f'{chm}: missing')
        return
    names = chm_entries(chm)
    lower = {name.lower() for name in names}  # the viewer finds names without regard to case
    for topic, source in sorted(topics.items()):
        if topic.lower() not in lower:
            faults.append(f'{chm.name}: lacks topic {topic} that {source} opens')
    with tempfile.TemporaryDirectory() as tmp:
        folder = pathlib.Path(tmp)
        subprocess.run(['extract_chmLib', str(chm), tmp], check=True, capture_output=True)
        system = system_entries(folder)
        for code, what in SYSTEM_CODES.items():
            if code not in system:
                faults.append(f'{chm.name}: names no {what}')
            elif system[code].lower() not in lower:
                faults.append(f'{chm.name}: its {what} {system[code]} is not in it')
        pages = sorted(n for n in names if n.endswith(('.htm', '.html', '.hhc', '.hhk')))
        for page in pages:
            text = (folder / page).read_text(encoding='utf-8', errors='replace')
            for target in links_of(text):
                resolved = posixpath.normpath(posixpath.join(posixpath.dirname(page), target))
                if resolved.lower() not in lower:
                    faults.append(f'{chm.name}: {page} links to {target}, which is not in it')
        contents = system.get(0)
        if contents and contents.lower() in lower:
            listed = {t.lower() for t in links_of((folder / contents).read_text(errors='replace'))}
            for page in pages:
                if page.endswith(('.htm', '.html')) and page.lower() not in listed:
                    faults.append(f'{chm.name}: {page} is not in its contents')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--source-root', type=pathlib.Path, required=True)
    parser.add_argument('--chm', nargs='+', action='append', required=True,
                        metavar=('FILE', 'FOLDER'),
                        help='a help file and the source folders whose topics it must hold')
    parser.add_argument('--zip', type=pathlib.Path)
    parser.add_argument('--zip-holds', nargs='*', default=[])
    args = parser.parse_args()

    faults = []
    for chm, *folders in args.chm:
        check_chm(pathlib.Path(chm), opened_topics(args.source_root, folders), faults)
    if args.zip:
        with zipfile.ZipFile(args.zip) as archive:
            held = {pathlib.PurePosixPath(n).as_posix().removeprefix('./') for n in archive.namelist()}
        faults += [f'{args.zip.name}: lacks {name}' for name in args.zip_holds if name not in held]
    for fault in faults:
        print(fault)
    print(f'help files: {len(faults)} faults')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
