#!/usr/bin/python3
"""Runs the Internet tests against real servers on 127.0.0.1 that this driver starts and stops:
the .vxs scripts of tests/internet/scripts through vexrun (their `// expect:` lines, as in the
conformance corpus), the byte-exact check of a 50 MiB download, and the GoogleTest program of
the Internet built-ins. Run as root, everything happens in a private network namespace with only
the loopback, so no test traffic, not even a name look-up, leaves the machine."""
import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..'))
sys.path.insert(0, HERE)

import run_corpus  # noqa: E402
from servers import TestServers  # noqa: E402

WINE_RUN = os.path.join(HERE, '..', '..', 'tools', 'wine-run')
WINE_PREFIX = os.environ.get('WINEPREFIX') or os.path.join(HERE, '..', '..', 'build', 'wineprefix')


def restart_wineserver():
    """Wine creates sockets in its server process, so the server must live in the network the
    tests use: one started outside the private namespace would connect elsewhere, and one
    started inside must not outlive it for the tests that follow."""
    env = dict(os.environ, WINEPREFIX=WINE_PREFIX)
    for switch in ('-k', '-w'):
        subprocess.run(['wineserver', switch], env=env, capture_output=True)


def in_private_network():
    """Re-runs this driver inside `unshare -n` with the loopback up; None when that cannot be."""
    if os.environ.get('VEX_NETNS') or os.geteuid() != 0 or not shutil.which('unshare') or \
            not shutil.which('ip'):
        return None
    probe = subprocess.run(['unshare', '-n', 'true'], capture_output=True)
    if probe.returncode != 0:
        return None
    env = dict(os.environ, VEX_NETNS='1')
    # Wine reports an Internet connection only when an adapter has a gateway: a default route
    # through the loopback gives it one, and still nothing can leave the namespace.
    network = 'ip link set lo up && ip route add default via 127.0.0.1 dev lo && exec "$@"'
    command = ['unshare', '-n', 'sh', '-c', network, 'sh',
               sys.executable, os.path.abspath(__file__)] + sys.argv[1:]
    return subprocess.run(command, env=env).returncode


def windows_path(path):
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def case_requires(path):
    with open(path, 'rb') as f:
        text = f.read().decode('latin-1')
    return [line.split(':', 1)[1].strip() for line in text.splitlines()
            if line.strip().startswith('// requires:')]


def run_scripts(options, servers, counts):
    scripts = sorted(f for f in os.listdir(options.scripts) if f.endswith('.vxs'))
    if options.only:
        scripts = [s for s in scripts if s in options.only or s[:-4] in options.only]
    for script in scripts:
        path = os.path.join(options.scripts, script)
        if 'ftp-port-21' in case_requires(path) and not servers.port21:
            print('SKIP %s (port 21 needs root)' % script)
            continue
        for case in run_corpus.parse_cases(path):
            label = script + (' [%s]' % case['name'] if case['name'] else '')
            ok = run_corpus.run_case(WINE_RUN, os.path.abspath(options.vexrun), path, case, label)
            counts[0 if ok else 1] += 1


def check_large_download(options, servers, scratch, counts):
    """DownloadUrl of a 50 MiB file arrives byte for byte."""
    source = os.path.join(servers.http_root, 'large.bin')
    target = os.path.join(scratch, 'large-copy.bin')
    script = os.path.join(scratch, 'large.vxs')
    with open(script, 'w') as f:
        f.write('int main() { return DownloadUrl("http://127.0.0.1:%d/files/large.bin", '
                '"large-copy.bin"); }\n' % servers.http_port)
    done = subprocess.run([WINE_RUN, os.path.abspath(options.vexrun), '/record', 'large.vxs'],
                          cwd=scratch, capture_output=True, timeout=600)
    out = done.stdout.decode('latin-1')
    ok = 'result=1' in out.split() and os.path.exists(target) and \
        digest(target) == digest(source)
    print('%s DownloadUrl of 50 MiB matches byte for byte' % ('ok  ' if ok else 'FAIL'))
    if not ok:
        print('     ' + out.replace('\n', ' ') + done.stderr.decode('latin-1'))
    counts[0 if ok else 1] += 1


def digest(path):
    h = hashlib.sha256()
    with open(path, 'rb') as f:
        for chunk in iter(lambda: f.read(1 << 20), b''):
            h.update(chunk)
    return h.hexdigest()


def make_large_file(path, size):
    block = hashlib.sha256(b'vexa').digest() * 2048  # 64 KiB, not all one byte
    with open(path, 'wb') as f:
        for i in range(size // len(block)):
            f.write(bytes([i & 0xFF]) + block[1:])


def make_fixtures(folder):
    os.makedirs(folder, exist_ok=True)
    fixtures = {'empty.txt': b'', 'text.txt': b'line one\r\nline two\r\n', 'zero.bin': b'ab\0cd\r\n'}
    for name, content in fixtures.items():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(content)
    make_large_file(os.path.join(folder, 'big.bin'), 16 << 20)


def make_listing_folder(servers):
    """An FTP folder of files and folders whose names order differently with and without case."""
    folder = os.path.join(servers.ftp_root, 'listing')
    os.makedirs(folder, exist_ok=True)
    for name in ('b.txt', 'Zulu.txt', 'a.txt', 'C.txt'):
        with open(os.path.join(folder, name), 'w') as f:
            f.write(name)
    for name in ('Zeta', 'alpha'):
        os.makedirs(os.path.join(folder, name), exist_ok=True)


def run_gtest(options, counts):
    if not options.gtest:
        return
    done = subprocess.run([WINE_RUN, os.path.abspath(options.gtest)], timeout=900)
    # The program prints its own "[  PASSED  ]" and "[  FAILED  ]" lines for the summary.
    if done.returncode != 0:
        counts[2] = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--vexrun', required=True)
    parser.add_argument('--scripts', required=True)
    parser.add_argument('--gtest', help='the Internet GoogleTest program')
    parser.add_argument('--programs', help='the folder of the test programs (RecordingChild.exe)')
    parser.add_argument('--skip-large', action='store_true')
    parser.add_argument('only', nargs='*',
                        help='script names to run, "gtest" for the GoogleTest program (default: all)')
    options = parser.parse_args()

    code = in_private_network()
    if code is not None:
        return code
    print('network: %s' % ('a private namespace with only the loopback' if os.environ.get('VEX_NETNS')
                           else 'the loopback of this machine (no private namespace)'))

    scratch = tempfile.mkdtemp(prefix='vexa-internet-')
    servers = TestServers(scratch)
    servers.start(want_port21=os.geteuid() == 0)
    make_large_file(os.path.join(servers.http_root, 'large.bin'), 50 << 20)
    make_fixtures(os.path.join(scratch, 'fixtures'))
    make_listing_folder(servers)
    os.environ.update({
        'VEXTEST_FTP': '127.0.0.1:%d' % servers.ftp_port,
        'VEXTEST_FTP_PORT': str(servers.ftp_port),
        'VEXTEST_FTP_ROOT': windows_path(servers.ftp_root),
        'VEXTEST_HTTP': 'http://127.0.0.1:%d' % servers.http_port,
        'VEXTEST_HTTP_HOST': '127.0.0.1:%d' % servers.http_port,
        'VEXTEST_HTTP_ROOT': windows_path(servers.http_root),
        'VEXTEST_CONTROL': windows_path(servers.control.path),
        'VEXTEST_FIXTURES': windows_path(os.path.join(scratch, 'fixtures')),
        'VEXTEST_PROGRAMS': windows_path(options.programs or scratch),
    })
    restart_wineserver()
    subprocess.run([WINE_RUN, 'cmd', '/c', 'exit'], capture_output=True)
    counts = [0, 0, False]
    try:
        run_scripts(options, servers, counts)
        if not options.skip_large and not options.only:
            check_large_download(options, servers, scratch, counts)
        if not options.only or 'gtest' in options.only:
            run_gtest(options, counts)
    finally:
        restart_wineserver()
        servers.stop()
        shutil.rmtree(scratch, ignore_errors=True)
    print('corpus: %d passed, %d failed' % (counts[0], counts[1]))
    return 1 if counts[1] or counts[2] or counts[0] == 0 else 0


if __name__ == '__main__':
    sys.exit(main())
