#!/usr/bin/env python3
"""Runs the browser scripts (tests/browser/*.vxs) through `vexrun /record` under Wine against
pages served by a local HTTP server, each case with the server's base address as its first
argument. Every browser a script starts is ended when its file is done or has timed out:
the engine gives each browser a profile folder in the prefix's temporary folder, and every
process whose command line names that folder is killed by its id."""
import argparse
import glob
import http.server
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from run_corpus import parse_cases, run_case  # noqa: E402

RECORD_KEYS = ('result', 'file', 'line', 'param', 'name', 'call', 'message')


def run_script(wine_run, vexrun, path, case):
    """Like the corpus runner, but the output goes through files: a browser the script leaves
    running (Internet Explorer's server under Wine) would hold a pipe open past the script."""
    folder, name = os.path.split(path)
    command = [wine_run, vexrun, '/record'] + case['flags']
    if case['call'] is not None:
        command += ['/call', case['call']]
    command += [name] + case['args']
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        try:
            subprocess.run(command, cwd=folder, stdout=out, stderr=err, timeout=case['timeout'])
        except subprocess.TimeoutExpired:
            return None, '', 'timed out after %d s' % case['timeout']
        out.seek(0)
        err.seek(0)
        text = out.read().decode('latin-1').replace('\r\n', '\n')
        fields = {}
        for line in text.split('\n'):
            key, sep, value = line.partition('=')
            if sep and key in RECORD_KEYS:
                fields[key] = value
        return fields, text, err.read().decode('latin-1')

PROFILES = 'Vexa Script Browsers'


HELD = threading.Event()  # set by /release: the page /held answers only then
HELD_LIMIT = 60


class PageHandler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        if url.path == '/echo':
            self.answer('Echo', url.query.replace('&', '&amp;').replace('<', '&lt;'))
        elif url.path == '/release':
            HELD.set()
            self.answer('Released', '')
        elif url.path == '/held':
            HELD.wait(HELD_LIMIT)
            HELD.clear()
            self.answer('Frame', '<a href="start.html">Held Link</a>')
        else:
            super().do_GET()

    def answer(self, title, body):
        data = ('<!DOCTYPE html><html><head><title>%s</title></head><body><pre>%s</pre>'
                '</body></html>' % (title, body)).encode('utf-8')
        self.send_response(200)
        self.send_header('Content-Type', 'text/html; charset=utf-8')
        self.send_header('Content-Length', str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def log_message(self, *args):
        pass


def profile_folders(prefix):
    return glob.glob(os.path.join(prefix, 'drive_c', 'users', '*', '*', '*', 'Temp', PROFILES)) + \
        glob.glob(os.path.join(prefix, 'drive_c', 'users', '*', 'Temp', PROFILES))


def browser_pids(prefix):
    """Processes whose command line names a profile folder of this prefix, and Internet
    Explorer's servers running in this prefix."""
    marker = os.path.realpath(prefix).encode()
    own_prefix = b'WINEPREFIX=' + prefix.encode() + b'\0'
    pids = []
    for entry in os.listdir('/proc'):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open('/proc/%s/cmdline' % entry, 'rb') as f:
                line = f.read()
            if marker in line and PROFILES.encode() in line:
                pids.append(int(entry))
            elif b'iexplore.exe' in line:
                with open('/proc/%s/environ' % entry, 'rb') as f:
                    if own_prefix in f.read():
                        pids.append(int(entry))
        except OSError:
            continue
    return pids


def end_browsers(prefix):
    deadline = time.time() + 20
    while time.time() < deadline:
        pids = browser_pids(prefix)
        if not pids:
            break
        for pid in pids:
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
        time.sleep(0.1)
    for folder in profile_folders(prefix):
        shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--vexrun', required=True)
    parser.add_argument('only', nargs='*', help='script names to run (default: all)')
    options = parser.parse_args()
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.join(here, '..', '..')
    wine_run = os.path.join(root, 'tools', 'wine-run')
    prefix = os.environ.get('WINEPREFIX') or os.path.normpath(os.path.join(root, 'build', 'wineprefix'))

    pages = os.path.join(here, 'pages')
    handler = lambda *a, **k: PageHandler(*a, directory=pages, **k)  # noqa: E731
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = 'http://127.0.0.1:%d/' % server.server_address[1]

    subprocess.run([wine_run, 'cmd', '/c', 'exit'], capture_output=True)  # prefix and wineserver up
    scripts = sorted(f for f in os.listdir(here) if f.endswith('.vxs'))
    if options.only:
        scripts = [s for s in scripts if s in options.only or s[:-4] in options.only]
    passed = failed = 0
    end_browsers(prefix)
    try:
        for script in scripts:
            path = os.path.join(here, script)
            try:
                for case in parse_cases(path):
                    case['args'] = [base] + case['args']
                    case['timeout'] = min(case['timeout'], 120)
                    label = script + (' [%s]' % case['name'] if case['name'] else '')
                    ok = run_case(wine_run, os.path.abspath(options.vexrun), path, case, label,
                                  run_script)
                    passed += ok
                    failed += not ok
            finally:
                end_browsers(prefix)
    finally:
        server.shutdown()
    print('corpus: %d passed, %d failed' % (passed, failed))
    return 1 if failed or passed == 0 else 0


if __name__ == '__main__':
    sys.exit(main())
