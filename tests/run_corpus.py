#!/usr/bin/env python3
"""Runs the conformance corpus: every tests/scripts/*.vxs through `vexrun /record` under Wine,
comparing the record fields with the script's own `// expect: key=value` lines."""
import argparse
import os
import re
import subprocess
import sys
import time

DIRECTIVE = re.compile(r'^\s*//\s*(expect|flags|call|args|timeout):\s?(.*?)\s*$')


def parse_directives(path):
    spec = {'expect': [], 'flags': [], 'call': None, 'args': [], 'timeout': 60}
    with open(path, 'rb') as f:
        for raw in f.read().decode('latin-1').splitlines():
            m = DIRECTIVE.match(raw)
            if not m:
                continue
            kind, value = m.groups()
            if kind == 'expect':
                key, _, expected = value.partition('=')
                spec['expect'].append((key.strip(), expected))
            elif kind == 'flags':
                spec['flags'] += value.split()
            elif kind == 'call':
                spec['call'] = value
            elif kind == 'args':
                spec['args'] += value.split()
            elif kind == 'timeout':
                spec['timeout'] = int(value)
    return spec


def run_script(wine_run, vexrun, path, spec):
    folder, name = os.path.split(path)
    command = [wine_run, vexrun, '/record'] + spec['flags']
    if spec['call'] is not None:
        command += ['/call', spec['call']]
    command += [name] + spec['args']
    try:
        done = subprocess.run(command, cwd=folder, capture_output=True, timeout=spec['timeout'])
    except subprocess.TimeoutExpired:
        return None, '', 'timed out after %d s' % spec['timeout']
    out = done.stdout.decode('latin-1').replace('\r\n', '\n')
    fields = {}
    for line in out.split('\n'):
        key, sep, value = line.partition('=')
        if sep and key in ('result', 'file', 'line', 'param', 'name', 'call', 'message'):
            fields[key] = value
    return fields, out, done.stderr.decode('latin-1')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--vexrun', required=True)
    parser.add_argument('--scripts', required=True)
    parser.add_argument('only', nargs='*', help='script names to run (default: all)')
    options = parser.parse_args()
    wine_run = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tools', 'wine-run')
    subprocess.run([wine_run, 'cmd', '/c', 'exit'], capture_output=True)  # prefix and wineserver up

    scripts = sorted(f for f in os.listdir(options.scripts) if f.endswith('.vxs'))
    if options.only:
        scripts = [s for s in scripts if s in options.only or s[:-4] in options.only]
    passed = failed = 0
    for script in scripts:
        path = os.path.join(options.scripts, script)
        spec = parse_directives(path)
        if not spec['expect']:
            print('SKIP %s (no expect lines)' % script)
            continue
        started = time.time()
        fields, out, err = run_script(wine_run, os.path.abspath(options.vexrun), path, spec)
        problems = []
        if fields is None:
            problems.append(err)
        else:
            for key, expected in spec['expect']:
                actual = fields.get(key)
                if actual != expected:
                    problems.append('%s: expected %r, got %r' % (key, expected, actual))
        if problems:
            failed += 1
            print('FAIL %s' % script)
            for p in problems:
                print('     ' + p)
            if fields is not None and err.strip():
                print('     stderr: ' + err.strip().replace('\n', '\n             '))
        else:
            passed += 1
            print('ok   %s (%.1f s)' % (script, time.time() - started))
    print('corpus: %d passed, %d failed' % (passed, failed))
    return 1 if failed or passed == 0 else 0


if __name__ == '__main__':
    sys.exit(main())
