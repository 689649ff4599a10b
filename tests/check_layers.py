#!/usr/bin/env python3
"""The engine's include arrows run one way: built-in families -> builtin_api.h -> values and
the result record. A family that reaches into the interpreter, or a Windows built-in that
reaches into engine/builtins/, fails this check with the offending line."""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
# The interpreter: what a family must not see.
INTERPRETER = {'calls.h', 'run_context.h', 'program.h', 'expression.h', 'expression_lexer.h',
               'statements.h', 'compiler.h', 'scanner.h', 'builtin_table.h', 'loader.h',
               'stack_guard.h', 'driver.h', 'bound_body.h'}
# The interface itself rests on values, the result record, error codes and the host window.
API_ALLOWED = {'builtin_names.h', 'error_codes.h', 'program_resource.h', 'run_window.h',
               'script_result.h', 'script_value.h'}
VALUES = {'script_value.h', 'shared_text.h', 'script_result.h', 'error_codes.h'}
# The host's side of the drivers: the exports call them, the platform implements their host.
HOST_FILES = {'engine_exports.cpp', 'windows_platform.cpp', 'windows_platform.h'}
FAMILY_FOLDERS = ['builtins', 'runtime_windows', 'internet', 'browser']


def includes(path):
    with open(path, encoding='latin-1') as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if m:
                yield number, os.path.basename(m.group(1))


def main():
    engine = os.path.join(sys.argv[1] if len(sys.argv) > 1 else '.', 'engine')
    builtin_headers = {f for f in os.listdir(os.path.join(engine, 'builtins')) if f.endswith('.h')}
    problems = []
    for folder in FAMILY_FOLDERS:
        root = os.path.join(engine, folder)
        if not os.path.isdir(root):
            continue
        for name in sorted(os.listdir(root)):
            if not name.endswith(('.cpp', '.h')):
                continue
            path = os.path.join(root, name)
            for number, header in includes(path):
                where = '%s/%s:%d includes %s' % (folder, name, number, header)
                if header in INTERPRETER and not (name in HOST_FILES and header == 'driver.h'):
                    problems.append(where + ' (the interpreter)')
                if folder == 'runtime_windows' and header in builtin_headers:
                    problems.append(where + ' (a header of engine/builtins)')
    for header, allowed in (('builtin_api.h', API_ALLOWED), ) + tuple((v, VALUES) for v in VALUES):
        for number, included in includes(os.path.join(engine, header)):
            if included not in allowed:
                problems.append('%s:%d includes %s' % (header, number, included))
    for p in problems:
        print(p)
    print('layers: %d problem(s)' % len(problems))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
