#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The layer check against small trees, each with one planted fault, and a
clean one: a check that passes everything would pass the real tree too."""
import importlib.util
import os
import sys
import tempfile

loader = importlib.util.spec_from_file_location('check_layers', sys.argv[1])
check = importlib.util.module_from_spec(loader)
loader.loader.exec_module(check)

CASES = [  # name, {path: text}, expected fault text or None
    ('clean', {'sims/a/a.h': '#include "runtime/numeric/val.h"\n#include <vector>\n',
               'shell/w.cpp': '#include "sims/a/a.h"\n#include <QWidget>\n'}, None),
    ('upward', {'sims/a/a.h': '#include "shell/window_set.h"\n'}, 'a layer above'),
    ('measure_from_sims', {'sims/a/a.cpp': '#include "measure/csv.h"\n'}, 'a layer above'),
    ('qt_in_model', {'sims/a/a.cpp': '#include <QString>\n'}, 'includes Qt'),
    ('qt_side_in_cli', {'cli/c.cpp': '#include "runtime/forms/form.h"\n'}, 'the Qt side'),
    ('measurement_window_from_csv', {'measure/csv.cpp': '#include "measure/measurement_window.h"\n'}, 'the Qt side'),
    ('internal', {'cli/c.cpp': '#include "sims/rubber_cord/chain_relax_kernel.h"\n'}, 'internal to'),
    ('bare_name', {'measure/csv.cpp': '#include "recorder.h"\n'}, 'not spelled from the root'),
    ('system_name', {'shell/windows.h': '\n'}, 'system header'),
]

failed = 0
for name, files, expected in CASES:
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), 'w', encoding='utf-8') as f:
                f.write(text)
        found = check.faults(root)
        ok = (not found) if expected is None else any(expected in line for line in found)
        if not ok:
            failed += 1
            print(f'{name}: expected {expected!r}, found {found}')
print(f'{len(CASES) - failed} passed, {failed} failed')
sys.exit(1 if failed else 0)
