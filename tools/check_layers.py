#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the house's layers from the includes of every program file:

- nothing includes upward: runtime < sims < measure < cli < shell (web/
  stands beside shell);
- the plain C++ parts (runtime/numeric, runtime/text, runtime/canvas, sims/,
  measure/ but its window, cli/) include no Qt and nothing of the Qt side;
- a library's internal headers are included only from its own folder;
- no header is named like a system header.

usage: check_layers.py SOURCE_ROOT   (prints each fault; exit 1 if any)
"""
import os
import re
import sys

LAYERS = [  # folder prefix, rank
    ('runtime/numeric/', 0), ('runtime/text/', 0), ('runtime/canvas/', 1), ('runtime/forms/', 2),
    ('resources/', 2), ('sims/', 3), ('measure/', 4), ('cli/', 5), ('shell/', 6), ('web/', 6),
]
QT_SIDE = ('runtime/forms/', 'resources/', 'shell/', 'measure/measurement_window.', 'measure/experiment_face.h')
INTERNAL = {  # header: the folder that may include it
    'sims/rubber_cord/chain_relax_kernel.h': 'sims/rubber_cord/',
    'sims/rubber_cord/relax_sweep.h': 'sims/rubber_cord/',
    'sims/rubber_cord/chain_relax_fast.h': 'sims/rubber_cord/',
    'runtime/forms/beep_sound.h': 'runtime/forms/',
    'runtime/text/catalogue_data.h': 'runtime/text/',
}
SYSTEM_NAMES = {'windows.h', 'time.h', 'math.h', 'string.h', 'signal.h', 'errno.h', 'limits.h', 'locale.h',
                'assert.h', 'stdio.h', 'stdlib.h', 'memory.h', 'float.h', 'fenv.h', 'version.h.in'}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def rank(path):
    for prefix, r in LAYERS:
        if path.startswith(prefix):
            return r
    return None


def plain(path):
    return rank(path) is not None and rank(path) != 6 and not path.startswith(QT_SIDE)


def faults(root):
    found = []
    for folder in [p for p, _ in LAYERS]:
        for d, _, files in os.walk(os.path.join(root, folder)):
            for f in files:
                if not f.endswith(('.h', '.cpp')):
                    continue
                path = os.path.relpath(os.path.join(d, f), root).replace(os.sep, '/')
                if f in SYSTEM_NAMES:
                    found.append(f'{path}: named like a system header')
                text = open(os.path.join(d, f), encoding='utf-8').read()
                for kind, target in INCLUDE.findall(text):
                    if kind == '<':
                        if plain(path) and target.startswith('Q'):
                            found.append(f'{path}: plain C++ includes Qt <{target}>')
                        continue
                    if '/' not in target:
                        if not target.endswith('.moc'):
                            found.append(f'{path}: "{target}" is not spelled from the root')
                        continue
                    r_from, r_to = rank(path), rank(target)
                    if r_to is not None and r_to > r_from and not (path.startswith('web/') or target.startswith('web/') and r_from == 6):
                        found.append(f'{path}: includes {target}, a layer above')
                    if plain(path) and target.startswith(QT_SIDE):
                        found.append(f'{path}: plain C++ includes the Qt side {target}')
                    owner = INTERNAL.get(target)
                    if owner and not path.startswith(owner):
                        found.append(f'{path}: includes {target}, internal to {owner}')
    return found


def main():
    found = faults(sys.argv[1])
    for line in found:
        print(line)
    print(f'{len(found)} faults' if found else 'the layers hold')
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main())
