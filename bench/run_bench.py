#!/usr/bin/env python3
"""Benchmarks of the engine against Python doing the same work in the same run.

1. Compiling scripts of many small functions (256 KiB, 512 KiB, 1 MiB): compile time must grow
   linearly with size. Each compile runs through `vexrun /compile /time` under Wine, which reports
   the engine call alone, without the start-up of Wine and the runner.
2. A loop of one million simple statements, next to the same loop in python3.
3. DownloadUrl of 50 MiB from a local HTTP server, next to curl (bench/download_bench.py).
Prints times and ratios; the targets are ratios, never absolute times."""
import argparse
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HERE, '..', 'tools', 'wine-run')


def best_of(n, fn):
    return min(fn() for _ in range(n))


def timed(command, cwd):
    start = time.perf_counter()
    subprocess.run(command, cwd=cwd, capture_output=True)
    return time.perf_counter() - start


def engine_time(command, cwd):
    """Seconds the engine call took, as `vexrun /time` reports it."""
    out = subprocess.run(command, cwd=cwd, capture_output=True).stdout.decode('latin-1')
    for line in out.splitlines():
        if line.startswith('elapsed_ms='):
            return float(line.split('=', 1)[1]) / 1000.0
    raise RuntimeError('vexrun printed no elapsed time: ' + out)


VXS_FUNCTION = ('int f%(i)d(int a, string s)\n{\n    int b = a * 2 + %(k)d;\n    if (b > 10) b = b - 1;\n'
                '    s = s + "x" + b;\n    return b;\n}\n')
PY_FUNCTION = ('def f%(i)d(a, s):\n    b = a * 2 + %(k)d\n    if b > 10:\n        b = b - 1\n'
               '    s = s + "x" + str(b)\n    return b\n\n')


def source_of_size(size, function):
    """Small functions of one template until the text is about `size` bytes; returns it and the count."""
    parts, total, i = [], 0, 0
    while total < size - 200:
        text = function % {'i': i, 'k': i % 97}
        parts.append(text)
        total += len(text)
        i += 1
    return ''.join(parts), i


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--vexrun', required=True)
    options = parser.parse_args()
    vexrun = os.path.abspath(options.vexrun)
    work = tempfile.mkdtemp(prefix='vexa_bench_')
    subprocess.run([WINE_RUN, 'cmd', '/c', 'exit'], capture_output=True)

    with open(os.path.join(work, 'empty.vxs'), 'w') as f:
        f.write('int main()\n{\n    return 0;\n}\n')
    startup = best_of(3, lambda: timed([WINE_RUN, vexrun, '/compile', 'empty.vxs'], work))
    print('runner start-up under Wine: %.3f s (not part of the times below)' % startup)
    # The engine call's own fixed cost (running window, directory, driver) for a tiny script.
    fixed = best_of(5, lambda: engine_time([WINE_RUN, vexrun, '/compile', '/time', 'empty.vxs'], work))
    print('engine call for an empty script: %.3f s (taken off before the growth is computed)' % fixed)

    print('\n1. compile time by script size')
    rows = []
    for kib in (256, 512, 1024):
        text, functions = source_of_size(kib * 1024, VXS_FUNCTION)
        text += 'int main()\n{\n    return f0(1, "a");\n}\n'
        name = 'compile_%d.vxs' % kib
        with open(os.path.join(work, name), 'w') as f:
            f.write(text)
        engine = best_of(5, lambda: engine_time([WINE_RUN, vexrun, '/compile', '/time', name], work))
        source, _ = source_of_size(kib * 1024, PY_FUNCTION)
        python = best_of(3, lambda: (lambda s: (compile(source, 'bench', 'exec'), time.perf_counter() - s)[1])(time.perf_counter()))
        rows.append((kib, engine))
        print('  %5d KiB, %5d functions: engine %.3f s, python compile() %.3f s, ratio %.2f'
              % (kib, functions, engine, python, engine / python))
    base = max(rows[0][1] - fixed, 1e-6)
    print('  growth: ' + ', '.join('%d KiB x%.2f' % (kib, (t - fixed) / base) for kib, t in rows)
          + ' (linear is x2.00, x4.00)')

    print('\n2. one million simple statements')
    with open(os.path.join(work, 'loop.vxs'), 'w') as f:
        f.write('int main()\n{\n    int i = 0;\n    int s = 0;\n    while (i < 1000000) {\n'
                '        s = s + i % 7;\n        i = i + 1;\n    }\n    return s;\n}\n')
    engine = best_of(3, lambda: engine_time([WINE_RUN, vexrun, '/time', 'loop.vxs'], work))
    python_loop = 'i = 0\ns = 0\nwhile i < 1000000:\n    s = s + i % 7\n    i = i + 1\n'
    python = best_of(3, lambda: timed([sys.executable, '-c', python_loop], work)) - \
        best_of(3, lambda: timed([sys.executable, '-c', 'pass'], work))
    print('  engine %.3f s, python3 %.3f s, ratio %.2f' % (engine, python, engine / python))

    print('\n3. DownloadUrl next to curl')
    import download_bench
    download_bench.run(vexrun)


if __name__ == '__main__':
    main()
