#!/usr/bin/env python3
"""Run: python3 bench/download_bench.py --vexrun build/win/vexrun.exe (under Xvfb, as ./x bench).

DownloadUrl throughput next to curl on the same 50 MiB file from the same local HTTP server,
in one run. The engine's time is the engine call alone (`vexrun /time`); curl's is its process.
Each side's fixed cost (the same download of a one-byte file: start-up, running window, session)
is taken off, so the ratio compares the transfers. Target: at least 90 % of curl's throughput."""
import argparse
import functools
import http.server
import os
import shutil
import subprocess
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HERE, '..', 'tools', 'wine-run')
SIZE = 50 << 20
TARGET = 0.90


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def engine_seconds(vexrun, folder, name, size):
    with open(os.path.join(folder, 'download.vxs'), 'w') as f:
        f.write('int main() { return DownloadUrl("%s/%s", "copy.bin"); }\n' % (URL[0], name))
    copy = os.path.join(folder, 'copy.bin')
    if os.path.exists(copy):
        os.remove(copy)
    done = subprocess.run([WINE_RUN, vexrun, '/time', 'download.vxs'], cwd=folder,
                          capture_output=True)
    out = done.stdout.decode('latin-1')
    values = dict(line.split('=', 1) for line in out.splitlines() if '=' in line)
    # The runner's exit code is the script's result: 1 when the download completed.
    if done.returncode != 1 or os.path.getsize(copy) != size or 'elapsed_ms' not in values:
        raise RuntimeError('DownloadUrl failed: %d %s' % (done.returncode, out))
    return float(values['elapsed_ms']) / 1000.0


URL = ['']


def curl_seconds(url, target):
    start = time.perf_counter()
    subprocess.run(['curl', '-s', '-f', '-o', target, url], check=True)
    return time.perf_counter() - start


def run(vexrun, rounds=5):
    folder = tempfile.mkdtemp(prefix='vexa-bench-download-')
    try:
        with open(os.path.join(folder, 'large.bin'), 'wb') as f:
            block = os.urandom(1 << 20)
            for _ in range(SIZE >> 20):
                f.write(block)
        with open(os.path.join(folder, 'tiny.bin'), 'wb') as f:
            f.write(b'x')
        server = serve(folder)
        URL[0] = 'http://127.0.0.1:%d' % server.server_address[1]
        subprocess.run([WINE_RUN, 'cmd', '/c', 'exit'], capture_output=True)
        curl_target = os.path.join(folder, 'curl.bin')
        engine_fixed = min(engine_seconds(vexrun, folder, 'tiny.bin', 1) for _ in range(rounds))
        curl_fixed = min(curl_seconds(URL[0] + '/tiny.bin', curl_target) for _ in range(rounds))
        engine = min(engine_seconds(vexrun, folder, 'large.bin', SIZE) for _ in range(rounds))
        curl = min(curl_seconds(URL[0] + '/large.bin', curl_target) for _ in range(rounds))
        server.shutdown()
        engine_transfer = max(engine - engine_fixed, 1e-6)
        curl_transfer = max(curl - curl_fixed, 1e-6)
        ratio = curl_transfer / engine_transfer
        print('DownloadUrl of 50 MiB: engine %.3f s - %.3f s fixed (%.0f MiB/s), curl %.3f s - '
              '%.3f s fixed (%.0f MiB/s), throughput %.0f %% of curl (target %.0f %%): %s'
              % (engine, engine_fixed, 50 / engine_transfer, curl, curl_fixed, 50 / curl_transfer,
                 ratio * 100, TARGET * 100, 'met' if ratio >= TARGET else 'MISSED'))
        return ratio >= TARGET
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--vexrun', required=True)
    options = parser.parse_args()
    return 0 if run(os.path.abspath(options.vexrun)) else 1


if __name__ == '__main__':
    raise SystemExit(main())
