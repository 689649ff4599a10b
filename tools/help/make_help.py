#!/usr/bin/env python3
"""Writes the editor's help pages into docs/help: index.html, language.html, functions.html.

Every built-in gets an anchor of its own name, every keyword and constant one of its own on the
language page; the editor's F1 jumps to them. With --check the pages are compared, not written,
and every built-in and constant of the engine's lists must have its entry.
"""
import html
import re
import sys
from pathlib import Path

from functions_data import FUNCTIONS
from language_data import SECTIONS, CONSTANT_NOTES

ROOT = Path(__file__).resolve().parents[2]
OUT = ROOT / "docs" / "help"

STYLE = """body{font-family:Segoe UI,Tahoma,Arial,sans-serif;font-size:10pt;margin:1.5em 2em;max-width:60em;color:#222}
h1{font-size:16pt;border-bottom:2px solid #336}h2{font-size:13pt;margin-top:1.6em;color:#336}
h3{font-size:11pt;margin:1.4em 0 .3em;font-family:Consolas,Courier New,monospace}
pre,code{font-family:Consolas,Courier New,monospace}pre{background:#f4f4f8;border:1px solid #dde;padding:.5em}
dl.fn dt{font-weight:bold;float:left;width:7em}dl.fn dd{margin-left:7.5em;margin-bottom:.2em}
table{border-collapse:collapse}td,th{border:1px solid #ccd;padding:2px 8px;text-align:left}
.toc{columns:3}.toc a{display:block}"""


def page(title, body):
    return (f'<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="windows-1252">\n'
            f'<title>{html.escape(title)}</title>\n<style>\n{STYLE}\n</style>\n</head>\n<body>\n'
            f'<p><a href="index.html">Contents</a> | <a href="language.html">Language Reference</a> | '
            f'<a href="functions.html">Built-in Function Reference</a></p>\n{body}</body>\n</html>\n')


def engine_names():
    builtins = re.findall(r"X\((\w+), ([A-Z_]+)\)", (ROOT / "engine/builtin_names.h").read_text())
    constants = [(n, v.rstrip("u")) for n, v in
                 re.findall(r"X\((\w+), ([-\w]+)\)", (ROOT / "engine/constant_names.h").read_text())]
    return builtins, [("NULL", "0 (void)")] + constants


FAMILY_TITLES = [
    ("STRINGS", "Strings and numbers"), ("DIALOGS", "Message and input boxes"),
    ("RUNNING_WINDOW", "The Running Script window"), ("WINDOW_CONTROLS", "Windows and dialog controls"),
    ("KEYS_MOUSE", "Keystrokes and the mouse"), ("FILES", "Files and folders"),
    ("REGISTRY", "The registry"), ("SYSTEM", "System, programs, clipboard and mail"),
    ("INTERNET", "Internet transfers"), ("BROWSER", "Browser windows"),
]


def functions_page(builtins):
    family = dict(builtins)
    entries = {f[0]: f for f in FUNCTIONS}
    toc, body = [], []
    for key, title in FAMILY_TITLES:
        names = sorted((n for n, fam in builtins if fam == key), key=str.lower)
        if not names:
            continue
        toc.append(f'<h2>{html.escape(title)}</h2>\n<div class="toc">' +
                   "".join(f'<a href="#{n}">{n}</a>' for n in names) + "</div>\n")
        body.append(f'<h2 id="family-{key.lower()}">{html.escape(title)}</h2>\n')
        for n in names:
            _, params, result, text, example = entries[n]
            body.append(
                f'<h3 id="{n}">{n}</h3>\n<p>{html.escape(text)}</p>\n<dl class="fn">\n'
                f'<dt>Parameters</dt><dd>{html.escape(params)}</dd>\n'
                f'<dt>Result</dt><dd>{html.escape(result)}</dd>\n</dl>\n'
                f'<p><b>Example</b></p>\n<pre>{html.escape(example)}</pre>\n')
    intro = ("<h1>Built-in Function Reference</h1>\n<p>The 130 functions every script can call. "
             "Names compare without regard to letter case unless the script is strict. Optional "
             "parameters are shown in brackets; a parameter of the wrong type or a missing one stops "
             "the script with an error message. In the editor, press F1 on a function name to come "
             "here.</p>\n")
    return page("Vexa Script Built-in Function Reference", intro + "".join(toc) + "".join(body))


def language_page(constants):
    toc = "".join(f'<a href="#{anchor}">{html.escape(title)}</a>' for anchor, title, _ in SECTIONS)
    body = []
    for anchor, title, content in SECTIONS:
        body.append(f'<h2 id="{anchor}">{html.escape(title)}</h2>\n{content}\n')
    rows = "".join(
        f'<tr id="{n}"><td><code>{n}</code></td><td>{v}</td><td>{html.escape(CONSTANT_NOTES.get(n, ""))}</td></tr>\n'
        for n, v in constants)
    body.append('<h2 id="constants">Predefined constants</h2>\n<p>These names stand for fixed '
                'values wherever a value is expected. <code>NULL</code> is the empty value of '
                'any type; the <code>HKEY_</code> roots are handles for the registry functions.</p>\n'
                f'<table><tr><th>Name</th><th>Value</th><th>Used with</th></tr>\n{rows}</table>\n')
    intro = ('<h1>Vexa Script Language Reference</h1>\n<p>A script is a text file with the '
             'extension .vxs. It declares global variables and functions; running it calls its '
             '<code>main</code> function. In the editor, press F1 on a keyword to come here.</p>\n'
             f'<div class="toc">{toc}<a href="#constants">Predefined constants</a></div>\n')
    return page("Vexa Script Language Reference", intro + "".join(body))


def index_page():
    body = ('<h1>Vexa Script Help</h1>\n<p>Vexa Script drives other programs: it finds and '
            'activates windows, fills in dialogs, types keys, works with files, the registry, '
            'FTP and web pages, and shows message boxes. You write a script in the editor, '
            'check it with Build &gt; Compile (Ctrl+F7) and run it with Build &gt; Run (F5). '
            'When the engine reports an error, the editor opens the script at the line of the '
            'error.</p>\n<ul>\n<li><a href="language.html">Language Reference</a>: values, '
            'variables, functions, statements, operators, #include and #strict.</li>\n'
            '<li><a href="functions.html">Built-in Function Reference</a>: every built-in '
            'function with its parameters, result and an example.</li>\n</ul>\n'
            '<h2>Editing aids</h2>\n<ul>\n<li>Tab and Shift+Tab on several selected lines '
            'indent or outdent the whole block.</li>\n<li>Enter keeps the indentation of the '
            'line.</li>\n<li>F1 opens the help for the word under the caret.</li>\n<li>F3 '
            'finds the next occurrence of the last search.</li>\n<li>The status bar shows the '
            'line and column of the caret; a tab counts four columns.</li>\n</ul>\n')
    return page("Vexa Script Help", body)


def main():
    builtins, constants = engine_names()
    names = {n for n, _ in builtins}
    documented = {f[0] for f in FUNCTIONS}
    problems = [f"no entry for {n}" for n in sorted(names - documented)]
    problems += [f"{n} is no built-in" for n in sorted(documented - names)]
    problems += [f"{f[0]} lacks {field}" for f in FUNCTIONS
                 for field, value in zip(("parameters", "result", "text", "example"), f[1:]) if not value]
    if problems:
        print("\n".join(problems), file=sys.stderr)
        return 1
    pages = {"index.html": index_page(), "language.html": language_page(constants),
             "functions.html": functions_page(builtins)}
    if "--check" in sys.argv:
        stale = [n for n, text in pages.items()
                 if not (OUT / n).exists() or (OUT / n).read_text(encoding="cp1252") != text]
        for n in stale:
            print(f"docs/help/{n} is out of date: run tools/help/make_help.py", file=sys.stderr)
        return 1 if stale else 0
    OUT.mkdir(parents=True, exist_ok=True)
    for n, text in pages.items():
        (OUT / n).write_text(text, encoding="cp1252", newline="\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
