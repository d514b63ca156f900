#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Plants one small fault at a time in the product code and runs the tests.

Every fault is planted in a private copy of the tree (build-mutants/src), never
in the sources, so an interrupted run leaves nothing behind. For each fault the
copy is rebuilt incrementally and only the test programs that link the changed
code run, fastest first, stopping at the first failure. A fault that does not
compile is thrown away and the next one in the sample takes its place; a test
that hangs past its time-out counts as catching the fault.

  scripts/mutants.py [--seed N] [--count N] [--minutes M] [--folders engine,ui/game]
"""

import argparse
import hashlib
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from collections import defaultdict
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
WORK = ROOT / "build-mutants"
SRC = WORK / "src"
BUILD = WORK / "build"


def use_work_folder(path):
    global WORK, SRC, BUILD
    WORK = Path(path).resolve()
    SRC, BUILD = WORK / "src", WORK / "build"
FOLDERS = ["engine", "ui", "sound", "resources"]
TEST_ENV = {"QT_QPA_PLATFORM": "offscreen", "SDL_AUDIODRIVER": "dummy"}
# The slow matrix of damaged files, the install round trip and the package
# build stay out.
SKIPPED_SCRIPT_TESTS = {"e2e_hostile_files"}
SKIPPED_LABELS = {"install", "package"}
# Sessions too slow to run for every fault, which --e2e adds. None now: the
# played sessions under openbox and i3 take seconds, and they are what
# catches a window fitted for a size it does not have.
SLOW_SCRIPT_TESTS = set()
# Diagnostics only: their texts are not mutated.
LOG_CALL = re.compile(r"\bq(C?)(Debug|Info|Warning|Critical)\b")


# --- the faults ----------------------------------------------------------

COMPARISONS = {"==": ["!="], "!=": ["=="], "<": ["<=", ">"], "<=": ["<", ">="], ">": [">=", "<"], ">=": [">", "<="]}
COMPARISON = re.compile(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)")
NUMBER = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")
STRING = re.compile(r'(?:\bu|\bL|\bu8)?"((?:[^"\\]|\\.)*)"')
DECLARATION = re.compile(
    r"^(?:(?:const|static|constexpr|inline|mutable|thread_local)\s+)*[A-Za-z_][\w:]*(?:<.*>)?[\s*&]+[*&]?[A-Za-z_]\w*\s*(?:=|\{|;|\(|\[)")
NOT_A_STATEMENT = re.compile(r"^(return|case|default|break|continue|goto|using|namespace|typedef|template|public|private|protected|friend|class|struct|enum|co_return)\b")


def code_part(line):
    """The line without its // comment and with string contents blanked."""
    blanked = STRING.sub(lambda m: '"' + "_" * len(m.group(1)) + '"', line)
    cut = blanked.find("//")
    return blanked if cut < 0 else blanked[:cut]


def balanced(text):
    return text.count("(") == text.count(")") and text.count("{") == text.count("}") and text.count("[") == text.count("]")


def simple_statement(lines, i, in_body):
    """A whole statement on line i that may be deleted or swapped."""
    if not in_body[i]:
        return False
    code = code_part(lines[i]).strip()
    if not code.endswith(";") or code.startswith(("#", "}", "{")) or not balanced(code):
        return False
    if NOT_A_STATEMENT.match(code) or DECLARATION.match(code) or code.startswith(("if ", "for ", "while ", "else")):
        return False
    j = i - 1
    while j >= 0 and not code_part(lines[j]).strip():
        j -= 1
    prev = code_part(lines[j]).strip() if j >= 0 else ""
    return prev.endswith((";", "{", "}", ":")) and not prev.endswith("::")


def body_lines(lines):
    """Marks lines inside a function body: a brace opened after a ')' or 'const'."""
    in_body = [False] * len(lines)
    stack = []
    for i, line in enumerate(lines):
        code = code_part(line)
        in_body[i] = any(stack)
        for k, ch in enumerate(code):
            if ch == "{":
                before = (code[:k].strip() or prev_code(lines, i)).rstrip()
                is_body = any(stack) or before.endswith((")", "const", "override", "noexcept", "mutable", "->"))
                is_body = is_body or bool(re.search(r"\)\s*(const|override|noexcept|final|\s)*$", before))
                is_body = is_body and not re.search(r"\b(class|struct|enum|namespace|union)\b[^()]*$", before)
                stack.append(is_body)
            elif ch == "}" and stack:
                stack.pop()
    return in_body


def prev_code(lines, i):
    j = i - 1
    while j >= 0 and not code_part(lines[j]).strip():
        j -= 1
    return code_part(lines[j]) if j >= 0 else ""


def candidate_faults(path, text):
    """Every fault this file offers: (line number, kind, description, new text)."""
    lines = text.split("\n")
    faults = []
    in_block_comment = False
    skip = [False] * len(lines)
    for i, line in enumerate(lines):
        stripped = line.strip()
        if in_block_comment:
            skip[i] = True
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            skip[i] = True
            in_block_comment = "*/" not in stripped
        if stripped.startswith(("#", "//", "static_assert", "Q_")) or "operator" in stripped:
            skip[i] = True
    in_body = body_lines(lines)

    def replaced(i, new_line):
        return "\n".join(lines[:i] + [new_line] + lines[i + 1:])

    for i, line in enumerate(lines):
        if skip[i]:
            continue
        code = code_part(line)
        n = i + 1
        for m in COMPARISON.finditer(code):
            # "template <" and stream operators are not comparisons.
            if m.group(1) in "<>" and re.search(r"\btemplate\s*$|<<|>>", code[: m.start()] + code[m.end():m.end() + 2]):
                continue
            for new in COMPARISONS[m.group(1)]:
                faults.append((n, "comparison", f"{m.group(1)} -> {new}", replaced(i, line[: m.start()] + new + line[m.end():])))
        for m in NUMBER.finditer(code):
            value = int(m.group(1))
            for new in (value + 1, value - 1):
                if new >= 0:
                    faults.append((n, "constant", f"{value} -> {new}", replaced(i, line[: m.start()] + str(new) + line[m.end():])))
        if not LOG_CALL.search(code):
            for m in STRING.finditer(line):
                if m.start() >= len(code):
                    break
                body = m.group(1)
                letters = [k for k, ch in enumerate(body) if ch.isalpha() and (k == 0 or body[k - 1] != "\\")]
                if letters:
                    k = letters[len(letters) // 2]
                    ch = body[k]
                    new_ch = "a" if ch == "z" else "A" if ch == "Z" else chr(ord(ch) + 1)
                    start = m.start(1) + k
                    faults.append((n, "string", f'"{body[:24]}" letter {k + 1} {ch} -> {new_ch}',
                                   replaced(i, line[:start] + new_ch + line[start + 1:])))
        if simple_statement(lines, i, in_body):
            indent = line[: len(line) - len(line.lstrip())]
            faults.append((n, "delete", "statement deleted", replaced(i, indent + "{}")))
            if i + 1 < len(lines) and not skip[i + 1] and simple_statement(lines, i + 1, in_body) and line.strip() != lines[i + 1].strip():
                swapped = lines[:i] + [lines[i + 1], line] + lines[i + 2:]
                faults.append((n, "swap", f"swapped with line {n + 1}", "\n".join(swapped)))
    return faults


# --- the private tree and its build --------------------------------------

def run(cmd, **kw):
    return subprocess.run(cmd, text=True, **kw)


def tree_files(rev):
    """Path -> content of the sources: the work tree as it is, or a commit."""
    if rev:
        names = run(["git", "ls-tree", "-r", "-z", "--name-only", rev], cwd=ROOT, capture_output=True,
                     check=True).stdout.split("\0")
        return {n: subprocess.run(["git", "show", f"{rev}:{n}"], cwd=ROOT, capture_output=True, check=True).stdout
                for n in names if n}
    listed = run(["git", "ls-files", "--cached", "--others", "--exclude-standard", "-z"], cwd=ROOT,
                 capture_output=True, check=True).stdout.split("\0")
    return {p: (ROOT / p).read_bytes() for p in listed if p and (ROOT / p).is_file()}


def sync_copy(files):
    """Mirrors the sources into build-mutants/src, touching only changed files."""
    for rel, data in files.items():
        dst = SRC / rel
        if not dst.exists() or dst.read_bytes() != data:
            dst.parent.mkdir(parents=True, exist_ok=True)
            dst.write_bytes(data)
            if rel.startswith("scripts/") or rel.endswith((".py", ".sh")) or data.startswith(b"#!"):
                dst.chmod(0o755)
    for dst in SRC.rglob("*"):
        if dst.is_file() and str(dst.relative_to(SRC)) not in files:
            dst.unlink()


def configure_and_build(jobs):
    launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []
    # Links are most of an incremental rebuild: lld where it is installed.
    linker = [f"-DCMAKE_{kind}_LINKER_FLAGS=-fuse-ld=lld" for kind in ("EXE", "SHARED", "MODULE")] \
        if shutil.which("ld.lld") else []
    if not (BUILD / "build.ninja").exists():
        run(["cmake", "-S", str(SRC), "-B", str(BUILD), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
             "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g0 -DNDEBUG", "-DPAIRLY_WERROR=ON", *launcher, *linker],
            check=True, stdout=subprocess.DEVNULL)
    result = run(["ninja", "-C", str(BUILD), f"-j{jobs}"], capture_output=True)
    if result.returncode != 0:
        sys.exit("the unmutated tree does not build:\n" + result.stdout[-4000:])


def ninja_edges():
    """(outputs, rule, explicit + implicit inputs, order-only inputs) of every build edge."""
    text = (BUILD / "build.ninja").read_text().replace("$\n", "")
    edges = []
    for line in text.split("\n"):
        if not line.startswith("build "):
            continue
        tokens = re.findall(r"(?:\$.|[^\s$])+", line[6:])
        tokens = [t.replace("$ ", " ").replace("$:", ":").replace("$$", "$") for t in tokens]
        colon = next(k for k, t in enumerate(tokens) if t.endswith(":") and not t.endswith("$:"))
        outputs = [t for t in tokens[:colon] + [tokens[colon][:-1]] if t and t != "|"]
        rest = tokens[colon + 1:]
        rule, rest = rest[0], rest[1:]
        order_only = rest[rest.index("||") + 1:] if "||" in rest else []
        inputs = [t for t in (rest[: rest.index("||")] if "||" in rest else rest) if t != "|"]
        edges.append((outputs, rule, inputs, order_only))
    return edges


class Suite:
    """Which test programs each source file reaches, and how to run them."""

    def __init__(self, skip):
        self.skip = skip
        edges = ninja_edges()
        self.executables = set()
        users = defaultdict(set)  # an input -> the link outputs built from it
        for outputs, rule, inputs, order_only in edges:
            if "LINKER" not in rule:
                continue
            for inp in inputs + [o for o in order_only if o.endswith(".so")]:
                users[inp].update(outputs)
            if "EXECUTABLE" in rule:
                self.executables.update(outputs)
        self.users = users
        self.objects_of = defaultdict(set)  # a source or header (absolute) -> objects
        deps = run(["ninja", "-C", str(BUILD), "-t", "deps"], capture_output=True, check=True).stdout
        obj = None
        for line in deps.split("\n"):
            if line and not line.startswith(" "):
                obj = line.split(":")[0]
            elif line.strip() and obj:
                self.objects_of[os.path.normpath(BUILD / line.strip())].add(obj)
        self.gtests = sorted(e for e in self.executables if e.startswith("tests/") and "/fuzz/" not in e)
        self.scripts = self._script_tests()
        self.seconds = {}

    def _script_tests(self):
        shown = run(["ctest", "--test-dir", str(BUILD), "--show-only=json-v1"], capture_output=True, check=True).stdout
        tests = []
        for t in json.loads(shown).get("tests", []):
            cmd = t.get("command") or []
            # Script tests: the Python ones, also when run under a wrapper
            # (dbus-run-session for the accessibility test).
            if t["name"] in self.skip or not any(a.endswith(".py") for a in cmd):
                continue
            env, labels = {}, set()
            for p in t.get("properties", []):
                if p["name"] == "ENVIRONMENT":
                    env.update(kv.split("=", 1) for kv in p["value"])
                elif p["name"] == "LABELS":
                    labels.update(p["value"])
            if labels & SKIPPED_LABELS:
                continue
            programs = [os.path.relpath(a, BUILD) for a in cmd[1:] if a.startswith(str(BUILD))]
            tests.append({"name": t["name"], "cmd": cmd, "env": env, "programs": programs})
        return tests

    def reached_by(self, rel):
        """The test runs (gtest programs, script tests) that link the code of one source file."""
        seen, todo = set(), list(self.objects_of.get(os.path.normpath(SRC / rel), ()))
        while todo:
            x = todo.pop()
            for out in self.users.get(x, ()):
                if out not in seen:
                    seen.add(out)
                    todo.append(out)
        runs = [("gtest", e) for e in self.gtests if e in seen]
        runs += [("script", t["name"]) for t in self.scripts if any(p in seen for p in t["programs"])]
        return runs

    def targets(self, runs):
        out = []
        for kind, name in runs:
            if kind == "gtest":
                out.append(name)
            else:
                out += next(t["programs"] for t in self.scripts if t["name"] == name)
        return sorted(set(out))

    def run_one(self, kind, name, timeout):
        """True when the run passes; a run past its time-out fails."""
        env = dict(os.environ, **TEST_ENV, GTEST_FAIL_FAST="1")
        if kind == "gtest":
            cmd = [str(BUILD / name)]
        else:
            t = next(t for t in self.scripts if t["name"] == name)
            cmd, env = t["cmd"], dict(env, **t["env"])
        start = time.monotonic()
        test = subprocess.Popen(cmd, env=env, cwd=BUILD, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                start_new_session=True)
        try:
            ok = test.wait(timeout=timeout) == 0
        except subprocess.TimeoutExpired:
            # The whole session goes: a script's X server and program too.
            os.killpg(test.pid, signal.SIGKILL)
            test.wait()
            ok = False
        return ok, time.monotonic() - start

    def run_all(self, runs, baseline=False):
        """Runs fastest first; returns the first failing run, or None."""
        for kind, name in sorted(runs, key=lambda r: self.seconds.get(r[1], 0)):
            timeout = 600 if baseline else max(30, 4 * self.seconds.get(name, 30))
            ok, seconds = self.run_one(kind, name, timeout)
            if baseline:
                self.seconds[name] = seconds
            if not ok:
                return name
        return None


def sample_order(pool, seed):
    """The faults in the order they are tried. Each next fault's kind is drawn
    first, all five alike; within a kind the faults are ordered by a hash of
    the seed, the file and the text of the line, so that a change elsewhere
    in the code leaves the rest of the order as it was."""
    rng = random.Random(seed)
    by_kind = defaultdict(list)
    seen = defaultdict(int)
    for fault in pool:
        rel, line, kind, what, _, text = fault
        occurrence = seen[(rel, text, kind, what)]
        seen[(rel, text, kind, what)] += 1
        key = hashlib.sha1(f"{seed}\0{rel}\0{text.strip()}\0{kind}\0{what}\0{occurrence}".encode()).hexdigest()
        by_kind[kind].append((key, fault[:5]))
    for faults in by_kind.values():
        faults.sort(reverse=True)
    order = []
    kinds = sorted(by_kind)
    while kinds:
        kind = rng.choice(kinds)
        order.append(by_kind[kind].pop()[1])
        if not by_kind[kind]:
            kinds.remove(kind)
    return order


def folder_of(rel, folders):
    return max((f for f in folders if rel == f or rel.startswith(f + "/")), key=len, default=None)


def report_folder(rel):
    parts = rel.split("/")
    return "/".join(parts[:2]) if parts[0] == "ui" and len(parts) > 2 else parts[0]


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--seed", type=int, default=11, help="sampling seed (default 11)")
    ap.add_argument("--count", type=int, default=100, help="faults to try (default 100)")
    ap.add_argument("--minutes", type=float, default=45, help="stop sampling after this long (default 45)")
    ap.add_argument("--folders", default=",".join(FOLDERS), help="comma-separated folders to mutate")
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    ap.add_argument("--list", action="store_true", help="print the sampled faults and stop")
    ap.add_argument("--only", nargs="*", default=[], metavar="FILE:LINE",
                    help="try only the sampled faults at these places (a survivor list, after a fix)")
    ap.add_argument("--json", help="also write the results to this file")
    ap.add_argument("--rev", help="test this commit instead of the work tree as it is")
    ap.add_argument("--work", default=str(WORK), help="folder for the private copy and its build")
    ap.add_argument("--e2e", action="store_true", help="also run the sessions too slow for every fault (none now)")
    args = ap.parse_args()
    folders = [f.strip().strip("/") for f in args.folders.split(",") if f.strip()]
    use_work_folder(args.work)
    started = time.monotonic()

    WORK.mkdir(parents=True, exist_ok=True)
    sources = tree_files(args.rev)
    sync_copy(sources)
    configure_and_build(args.jobs)
    suite = Suite(skip=SKIPPED_SCRIPT_TESTS | (set() if args.e2e else SLOW_SCRIPT_TESTS))

    files = sorted(p for p in sources if p.endswith((".cpp", ".h")) and folder_of(p, folders))
    pool, unreached = [], []
    for rel in files:
        runs = suite.reached_by(rel)
        if not runs:
            unreached.append(rel)
            continue
        text = (SRC / rel).read_text(encoding="utf-8", errors="surrogateescape")
        lines = text.split("\n")
        pool += [(rel, *f, lines[f[0] - 1]) for f in candidate_faults(rel, text)]
    pool = sample_order(pool, args.seed)
    if args.only:
        pool = [f for f in pool[: args.count * 2] if f"{f[0]}:{f[1]}" in args.only]
    print(f"{len(pool)} possible faults in {len(files) - len(unreached)} files; seed {args.seed}", flush=True)
    if unreached:
        print("not linked by any test program (not mutated): " + ", ".join(unreached), flush=True)
    if args.list:
        for rel, line, kind, what, _ in pool[: args.count]:
            print(f"{rel}:{line}: {kind}: {what}")
        return 0

    every_run = sorted({r for rel in files for r in suite.reached_by(rel)})
    ninja = ["ninja", "-C", str(BUILD), f"-j{args.jobs}"]
    run(ninja + suite.targets(every_run), check=True, stdout=subprocess.DEVNULL)
    failed = suite.run_all(every_run, baseline=True)
    if failed:
        sys.exit(f"{failed} fails without any fault planted; fix the suite first")
    print("baseline: " + ", ".join(f"{n} {s:.1f}s" for n, s in sorted(suite.seconds.items())), flush=True)

    results, discarded = [], 0
    deadline = started + args.minutes * 60
    for rel, line, kind, what, mutated in pool:
        if len(results) >= args.count or time.monotonic() > deadline:
            break
        path = SRC / rel
        original = sources[rel]
        t0 = time.monotonic()
        try:
            path.write_text(mutated, encoding="utf-8", errors="surrogateescape")
            runs = suite.reached_by(rel)
            built = run(ninja + suite.targets(runs), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if built.returncode != 0:
                discarded += 1
                continue
            caught_by = suite.run_all(runs)
        finally:
            path.write_bytes(original)
        verdict = "caught" if caught_by else "SURVIVED"
        results.append({"file": rel, "line": line, "kind": kind, "what": what, "caught_by": caught_by,
                        "folder": report_folder(rel), "seconds": round(time.monotonic() - t0, 1)})
        print(f"[{len(results):3}] {verdict:8} {rel}:{line}: {kind}: {what}" + (f"  ({caught_by})" if caught_by else ""),
              flush=True)

    by_folder = defaultdict(lambda: [0, 0])
    for r in results:
        by_folder[r["folder"]][0] += 1
        by_folder[r["folder"]][1] += bool(r["caught_by"])
    total, caught = len(results), sum(bool(r["caught_by"]) for r in results)
    print(f"\n{'folder':<12} {'faults':>6} {'caught':>6} {'share':>6}")
    for folder in sorted(by_folder):
        n, c = by_folder[folder]
        print(f"{folder:<12} {n:>6} {c:>6} {100 * c / n:>5.0f}%")
    if total:
        print(f"{'all':<12} {total:>6} {caught:>6} {100 * caught / total:>5.0f}%")
    print(f"{discarded} faults did not compile and were replaced; {(time.monotonic() - started) / 60:.1f} minutes")
    survivors = [r for r in results if not r["caught_by"]]
    if survivors:
        print("\nsurvivors:")
        for r in survivors:
            print(f"  {r['file']}:{r['line']}: {r['kind']}: {r['what']}")
    if args.json:
        Path(args.json).write_text(json.dumps({"seed": args.seed, "results": results, "discarded": discarded}, indent=1))
    return 0


if __name__ == "__main__":
    sys.exit(main())
