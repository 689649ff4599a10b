#!/usr/bin/env python3
"""Runs the conformance corpus: every tests/scripts/*.vxs through `vexrun /record` under Wine,
comparing the record fields with the script's own `// expect: key=value` lines."""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

DIRECTIVE = re.compile(r'^\s*//\s*(case|expect|flags|call|args|timeout|env):\s?(.*?)\s*$')


def new_case(name, base=None):
    case = {'name': name, 'expect': [], 'flags': [], 'call': None, 'args': [], 'timeout': 60, 'env': {}}
    if base:  # a case inherits the file's shared switches, call, arguments and environment
        case.update(flags=list(base['flags']), call=base['call'], args=list(base['args']),
                    timeout=base['timeout'], env=dict(base['env']))
    return case


def parse_cases(path):
    """Directives before the first `// case:` line are shared; each `// case: NAME` starts a run."""
    shared = new_case('')
    cases = []
    with open(path, 'rb') as f:
        for raw in f.read().decode('latin-1').splitlines():
            m = DIRECTIVE.match(raw)
            if not m:
                continue
            kind, value = m.groups()
            case = cases[-1] if cases else shared
            if kind == 'case':
                cases.append(new_case(value, shared))
            elif kind == 'expect':
                key, _, expected = value.partition('=')
                case['expect'].append((key.strip(), expected))
            elif kind == 'flags':
                case['flags'] += value.split()
            elif kind == 'call':
                case['call'] = value
            elif kind == 'args':
                case['args'] += value.split()
            elif kind == 'timeout':
                case['timeout'] = int(value)
            elif kind == 'env':  # NAME=VALUE for the runner's process (Wine reads the locale here)
                key, _, setting = value.partition('=')
                case['env'][key.strip()] = setting
    return cases or [shared]


def testapps_folder(vexrun):
    """Where the build puts the target program, as a Windows path (Wine maps / to Z:)."""
    folder = os.path.join(os.path.dirname(os.path.abspath(vexrun)), 'testapps')
    return 'Z:' + folder.replace('/', '\\')


def run_script(wine_run, vexrun, path, case):
    folder, name = os.path.split(path)
    command = [wine_run, vexrun, '/record'] + case['flags']
    if case['call'] is not None:
        command += ['/call', case['call']]
    command += [name] + case['args']
    # Output goes to files, not pipes: a program the script started inherits the runner's
    # streams and would hold a pipe open after the runner ended.
    with tempfile.TemporaryFile() as stdout, tempfile.TemporaryFile() as stderr:
        try:
            completed = subprocess.run(
                command, cwd=folder, stdout=stdout, stderr=stderr, timeout=case['timeout'],
                env=dict(os.environ, VEX_TESTAPPS=testapps_folder(vexrun), **case['env']))
        except subprocess.TimeoutExpired:
            return None, '', 'timed out after %d s' % case['timeout']
        stdout.seek(0)
        stderr.seek(0)
        out, err = stdout.read(), stderr.read()
    out = out.decode('latin-1').replace('\r\n', '\n')
    err = err.decode('latin-1')
    if not out.strip():  # no record at all: say how the runner ended, for a failure that passes later
        err += '\n(no output; exit code %d)' % completed.returncode
    fields = {}
    for line in out.split('\n'):
        key, sep, value = line.partition('=')
        if sep and key in ('result', 'file', 'line', 'param', 'name', 'call', 'message'):
            fields[key] = value
    return fields, out, err


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
        for case in parse_cases(path):
            label = script + (' [%s]' % case['name'] if case['name'] else '')
            if not case['expect']:
                print('SKIP %s (no expect lines)' % label)
                continue
            ok = run_case(wine_run, os.path.abspath(options.vexrun), path, case, label)
            passed += ok
            failed += not ok
    print('corpus: %d passed, %d failed' % (passed, failed))
    return 1 if failed or passed == 0 else 0


def run_case(wine_run, vexrun, path, case, label, runner=None):
    started = time.time()
    fields, out, err = (runner or run_script)(wine_run, vexrun, path, case)
    problems = []
    if fields is None:
        problems.append(err)
    else:
        for key, expected in case['expect']:
            if key.endswith('~'):  # "key~=text": the field only has to contain text
                actual = fields.get(key[:-1])
                if actual is None or expected not in actual:
                    problems.append('%s: expected to contain %r, got %r' % (key[:-1], expected, actual))
                continue
            actual = fields.get(key)
            if actual != expected:
                problems.append('%s: expected %r, got %r' % (key, expected, actual))
    if problems:
        print('FAIL %s' % label)
        for p in problems:
            print('     ' + p)
        if fields is not None and err.strip():
            print('     stderr: ' + err.strip().replace('\n', '\n             '))
        return False
    print('ok   %s (%.1f s)' % (label, time.time() - started))
    return True


if __name__ == '__main__':
    sys.exit(main())
