"""The user manual's examples hold for the program: every tax code in it is right for the
place it names (or, inside class="errato", said to be wrong), and the example lines of the
fixed-width and the delimited subject files pass velmora-cli check.

    python3 manual_examples.py <source folder> <velmora-cli>
"""
import html
import os
import re
import subprocess
import sys
import tempfile

root, cli = sys.argv[1], sys.argv[2]
with open(os.path.join(root, "docs-src", "manuale-utente.html"), encoding="utf-8") as f:
    manual = f.read()
work = ["--workdir", os.path.join(root, "data")]  # its ref/ holds the shipped tables
faults = []


def run(*arguments):
    done = subprocess.run([cli, *work, *arguments], capture_output=True, text=True)
    return done.returncode, done.stdout.strip()


CODE = r"[A-Z]{6}[0-9LMNPQRSTUV]{2}[A-EHLMPRST][0-9LMNPQRSTUV]{2}[A-Z][0-9LMNPQRSTUV]{3}[A-Z]"
wrong = set(re.findall(r'class="errato">(' + CODE + ")<", manual))
codes = set(re.findall(r"(?<![A-Z])(" + CODE + r")(?![A-Z0-9])", manual))
if not codes:
    faults.append("no tax code found")
for code in sorted(codes):
    status, decoded = run("taxcode", "--decode", code)
    place = decoded.split(" ")[2] if status == 0 else "Z000"
    answer = run("taxcode", code, place)[1]
    expected = {"Errato", "Warning"} if code in wrong else {"Corretto"}
    if answer not in expected:
        faults.append(f"{code} ({place}): {answer}")

# The example files: the <pre> blocks after "Esempio", with "[n spazi]" written out.
examples = re.findall(r"Esempio[^<]*<[^>]*>[^<]*</p>\s*<pre>(.*?)</pre>", manual, re.S)
examples += re.findall(r"<p>Esempio[^:]*:</p>\s*<pre>(.*?)</pre>", manual, re.S)
checked = 0
with tempfile.TemporaryDirectory() as scratch:
    for block in dict.fromkeys(examples):
        lines = html.unescape(block).strip().split("\n")
        lines = [re.sub(r"\[(\d+) spazi\]", lambda m: " " * int(m.group(1)), line) for line in lines]
        kind = "txt" if all(len(line) in (311, 318) for line in lines) else "csv"
        path = os.path.join(scratch, f"esempio{checked}.{kind}")
        with open(path, "w", encoding="cp1252", newline="") as f:
            f.write("".join(line + "\r\n" for line in lines))
        status, out = run("check", "--strict", path)
        if status != 0:
            faults.append(f"example {lines[0][:40]}...: check exits {status}: {out}")
        checked += 1
if checked < 2:
    faults.append(f"{checked} example files found, 2 expected")

for fault in faults:
    print("manual:", fault)
sys.exit(1 if faults else 0)
