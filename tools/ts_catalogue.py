#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Turns the translation files (translations/springlab_<lang>.ts) into a C++
table, so that code without Qt (the command line, the WebAssembly module)
speaks the same texts as the windows. Every finished translation is kept;
an unfinished or empty one falls back to the source text at run time.

usage: ts_catalogue.py OUT.cpp springlab_ja.ts springlab_en.ts ...
"""
import os
import sys
import xml.etree.ElementTree as ET


def cstr(text):
    out = []
    for b in text.encode('utf-8'):
        c = chr(b)
        if c == '\\' or c == '"':
            out.append('\\' + c)
        elif 32 <= b < 127 and c != '?':
            out.append(c)
        else:
            out.append('\\%03o' % b)
    return '"' + ''.join(out) + '"'


def main():
    out_path, ts_files = sys.argv[1], sys.argv[2:]
    languages = []
    entries = []
    for path in sorted(ts_files):
        name = os.path.basename(path)
        code = name[len('springlab_'):-len('.ts')]
        languages.append(code)
        root = ET.parse(path).getroot()
        for context in root.iter('context'):
            ctx = context.findtext('name') or ''
            for message in context.iter('message'):
                source = message.findtext('source') or ''
                tr = message.find('translation')
                if tr is None or tr.get('type') in ('unfinished', 'obsolete', 'vanished'):
                    continue
                text = tr.text or ''
                if text:
                    entries.append((code, ctx, source, text))
    entries.sort(key=lambda e: (e[0].encode(), e[1].encode(), e[2].encode()))
    lines = ['// Made by tools/ts_catalogue.py from the translation files: do not edit.',
             '#include "runtime/text/catalogue_data.h"', '',
             'namespace rt::text::data {', '',
             'const std::string_view kLanguages[] = {' + ', '.join(cstr(c) for c in languages) + '};',
             'const std::size_t kLanguageCount = %d;' % len(languages), '',
             'const Entry kEntries[] = {']
    for code, ctx, source, text in entries:
        lines.append('    {%s, %s, %s, %s},' % (cstr(code), cstr(ctx), cstr(source), cstr(text)))
    if not entries:
        lines.append('    {"", "", "", ""},')
    lines += ['};', 'const std::size_t kEntryCount = %d;' % len(entries), '', '}  // namespace rt::text::data', '']
    text = '\n'.join(lines)
    try:
        if open(out_path, encoding='utf-8').read() == text:
            return
    except OSError:
        pass
    with open(out_path, 'w', encoding='utf-8') as f:
        f.write(text)


if __name__ == '__main__':
    main()
