#!/usr/bin/env python3
"""Mutation testing for Tessavine; scripts/mutants.sh runs it, see there for the usage.

Each mutant is one rule applied at one place of a product line: a comparison flipped or loosened,
&& and || swapped, a condition negated or one of its terms dropped, a number moved by one, a
statement removed, a return value changed. The file is written with the mutant, the suites that
can reach its folder are built (in their own build folder) and run one after the other until one
fails; the file is put back before the next mutant and whenever the script stops.
"""

import argparse
import fcntl
import os
import random
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
PRODUCT_DIRS = ("src", "tools")
SOURCE_SUFFIXES = (".cpp", ".h", ".c")
EQUIVALENT_LIST = ROOT / "scripts" / "mutants-equivalent.txt"

# Which folder each program the suites run is built from, beyond the library a suite links.
PROGRAM_FOLDERS = {
    "tessavine-cli": ("src/cli", "src/engine"),
    "build_word_database": ("tools",),
    "build_language_words": ("tools",),
    "tessavine_kill_driver": ("src/window", "src/desktop", "src/app", "src/platform",
                              "src/engine"),
    "tessavine": ("src/main.cpp", "src/window", "src/desktop", "src/app", "src/platform",
                  "src/engine"),
}
# The folders a suite of each layer links.
LAYER_FOLDERS = {
    "engine": ("src/engine",),
    "platform": ("src/platform", "src/engine"),
    "app": ("src/app", "src/platform", "src/engine"),
    "window": ("src/window", "src/desktop", "src/app", "src/platform", "src/engine"),
}
# A mutant of these folders changes a program the suites run, not the suites: building the program
# is enough, and spares rebuilding the word database through the suites' dependencies.
PROGRAM_TARGETS = {"tools": ("build_word_database", "build_language_words"),
                   "src/cli": ("tessavine-cli",)}


class Stop(Exception):
    pass


STOP_SIGNALS = (signal.SIGINT, signal.SIGTERM, signal.SIGHUP)


def on_signal(signum, _frame):
    raise Stop(f"stopped by signal {signum}")


class SignalsHeld:
    """Holds the stopping signals while a file is written whole, so that none is left half done."""

    def __enter__(self):
        signal.pthread_sigmask(signal.SIG_BLOCK, STOP_SIGNALS)

    def __exit__(self, *_):
        signal.pthread_sigmask(signal.SIG_UNBLOCK, STOP_SIGNALS)


def run(cmd, **kw):
    return subprocess.run(cmd, cwd=ROOT, text=True, **kw)


def git(*args):
    return run(["git", *args], capture_output=True, check=True).stdout


def folder_of(path):
    if path == "src/main.cpp":
        return path
    parts = path.split("/")
    return "/".join(parts[:2]) if parts[0] == "src" else parts[0]


def read_suites():
    """Each suite with the folders it reaches, from the CMake fragments of tests/."""
    suites = {}
    fragments = sorted((ROOT / "tests").glob("*.cmake")) + sorted(
        (ROOT / "tests" / "suites").glob("*.cmake"))
    for fragment in fragments:
        text = fragment.read_text()
        for name, layer in re.findall(r"tessavine_add_test\((\w+)\s+(\w+)", text):
            if name == "name":
                continue
            suites[name] = {"layer": layer, "reach": set(LAYER_FOLDERS.get(layer, ()))}
        for name in re.findall(r"add_test\(NAME\s+(tst_\w+)", text):
            suites.setdefault(name, {"layer": "tool", "reach": set()})
        # A program a suite runs, named in its definitions or dependencies, extends its reach.
        for name in suites:
            for block in re.findall(r"\w+\(" + name + r"\b[^)]*\)", text):
                programs = re.findall(r"TARGET_FILE:([\w-]+)>", block)
                if block.startswith("add_dependencies"):
                    programs += block[:-1].split()[1:]
                for program in programs:
                    suites[name]["reach"].update(PROGRAM_FOLDERS.get(program, ()))
    return suites


# ---- mutants -------------------------------------------------------------------------------------

def mask_code(lines):
    """Each line with its comments, strings and character literals blanked."""
    masked, in_block = [], False
    for line in lines:
        out, i, n = [], 0, len(line)
        while i < n:
            if in_block:
                end = line.find("*/", i)
                if end < 0:
                    out.append(" " * (n - i))
                    i = n
                else:
                    out.append(" " * (end + 2 - i))
                    i, in_block = end + 2, False
                continue
            c = line[i]
            if line.startswith("//", i):
                out.append(" " * (n - i))
                break
            if line.startswith("/*", i):
                in_block = True
                out.append("  ")
                i += 2
                continue
            if line.startswith('R"', i):
                # Raw strings in this code base stay on one line; blank to its end if not.
                close = line.find(')"', i)
                end = n if close < 0 else close + 2
                out.append('"' + " " * (end - i - 2) + '"' if end - i >= 2 else " " * (end - i))
                i = end
                continue
            if c in "\"'":
                j = i + 1
                while j < n and line[j] != c:
                    j += 2 if line[j] == "\\" else 1
                j = min(j + 1, n)
                out.append(c + " " * max(j - i - 2, 0) + (c if j - i >= 2 else ""))
                i = j
                continue
            out.append(c)
            i += 1
        masked.append("".join(out)[:n].ljust(n))
    return masked


COMPARISONS = {
    "<": ("<=", ">"), "<=": ("<", ">"), ">": (">=", "<"), ">=": (">", "<"),
    "==": ("!=",), "!=": ("==",),
}
LOGICAL = {"&&": "||", "||": "&&"}
NOT_STATEMENT = re.compile(
    r"^(return\b|case\b|default\b|using\b|typedef\b|namespace\b|template\b|class\b|struct\b|"
    r"enum\b|public\b|private\b|protected\b|Q_|static_assert\b|friend\b|extern\b|virtual\b|"
    r"explicit\b|emit\b|delete\b|~|\}|\{|#)")
DECLARATION = re.compile(
    r"^(const\s+|static\s+|constexpr\s+|inline\s+|thread_local\s+|mutable\s+)*"
    r"[\w:]+(<[^;=()]*>)?[\s*&]+[\w]+\s*(=|\{|;|\[|\()")


def matching_paren(text, open_at):
    depth = 0
    for i in range(open_at, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def top_level_terms(cond, start):
    """The ranges of the && or || terms at the top level of a condition text."""
    depth, cuts = 0, []
    for i, c in enumerate(cond):
        if c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
        elif depth == 0 and cond.startswith((" && ", " || "), i):
            cuts.append(i)
    if not cuts:
        return []
    bounds = [0] + [c + 4 for c in cuts]
    ends = cuts + [len(cond)]
    return [(start + b, start + e, cuts) for b, e in zip(bounds, ends)]


def line_mutants(line, code, prev_code):
    """(column, old text, new text) for each rule that applies to one line."""
    found = []
    stripped = code.strip()
    if not stripped or stripped.startswith("#"):
        return found
    # Comparisons and logical operators, written with blanks around them by the formatter, which
    # tells them from template brackets, shifts and arrows.
    for m in re.finditer(r"(?<= )(<=|>=|==|!=|<|>|&&|\|\|)(?= )", code):
        op = m.group(1)
        for new in COMPARISONS.get(op, ()) + ((LOGICAL[op],) if op in LOGICAL else ()):
            found.append((m.start(), op, new))
    # Integer literals moved by one.
    for m in re.finditer(r"(?<![\w.])(\d+)(?![\w.'])", code):
        # Not a template's argument, an octal mode, nor the 0 of a pure virtual function.
        octal = len(m.group(1)) > 1 and m.group(1)[0] == "0"
        if (re.search(r"\w<\s*$", code[: m.start()]) or octal
                or re.search(r"=\s*$", code[: m.start()]) and stripped.startswith("virtual")):
            continue
        value = int(m.group(1))
        found.append((m.start(), m.group(1), str(value + 1)))
        if value > 0:
            found.append((m.start(), m.group(1), str(value - 1)))
    # Conditions negated, and each term of a compound condition dropped.
    for m in re.finditer(r"\b(if|while) \(", code):
        open_at = m.end() - 1
        close = matching_paren(code, open_at)
        if close < 0:
            continue
        cond = line[open_at + 1:close]
        if ";" in code[open_at:close]:
            continue
        found.append((open_at + 1, cond, f"!({cond})"))
        for begin, end, cuts in top_level_terms(code[open_at + 1:close], open_at + 1):
            if len(cuts) == 1:
                kept = line[open_at + 1:begin - 4] if begin > open_at + 1 else line[end + 4:close]
                found.append((open_at + 1, cond, kept))
    # Return values changed.
    m = re.match(r"^(\s*)return (.+);\s*$", code)
    if m:
        expr_at = len(m.group(1)) + len("return ")
        expr = line[expr_at:expr_at + len(m.group(2))]
        if expr == "true":
            found.append((expr_at, expr, "false"))
        elif expr == "false":
            found.append((expr_at, expr, "true"))
        elif expr not in ("{}", "0") and not re.fullmatch(r"\d+", expr):
            found.append((expr_at, expr, "{}"))
    # A whole statement on one line removed: a call, an assignment, a break or continue.
    ends_previous = not prev_code or prev_code.rstrip().endswith((";", "{", "}", ":")) \
        or prev_code.strip().startswith(("//", "#"))
    if (ends_previous and stripped.endswith(";") and not NOT_STATEMENT.match(stripped)
            and not DECLARATION.match(stripped) and stripped.count("(") == stripped.count(")")
            and stripped.count("{") == stripped.count("}")):
        at = len(code) - len(code.lstrip())
        found.append((at, line.strip(), ";"))
    return found


def mutants_of(path, wanted_lines=None):
    text = read_source(path)
    lines = text.split("\n")
    codes = mask_code(lines)
    result, seen = [], set()
    prev = ""
    for number, (line, code) in enumerate(zip(lines, codes), start=1):
        if wanted_lines is None or number in wanted_lines:
            for column, old, new in line_mutants(line, code, prev):
                mutated = line[:column] + new + line[column + len(old):]
                if mutated == line or (number, mutated) in seen:
                    continue
                seen.add((number, mutated))
                result.append({"path": path, "line": number, "column": column + 1, "old": old,
                               "new": new, "text": mutated})
        if code.strip():
            prev = code
    return result


def read_source(path):
    """The file's text exactly as it is, line ends and stray bytes included."""
    return (ROOT / path).read_bytes().decode("utf-8", "surrogateescape")


def write_source(path, text):
    (ROOT / path).write_bytes(text.encode("utf-8", "surrogateescape"))


def describe(m):
    return f"{m['path']}:{m['line']}:{m['column']}: '{m['old']}' -> '{m['new']}'"


def read_equivalents():
    known = {}
    if not EQUIVALENT_LIST.exists():
        return known
    for number, raw in enumerate(EQUIVALENT_LIST.read_text().splitlines(), start=1):
        if not raw.strip() or raw.startswith("#"):
            continue
        key, _, reason = raw.partition(" # ")
        if not reason.strip():
            sys.exit(f"{EQUIVALENT_LIST.name}:{number}: no reason after ' # '")
        known[key.strip()] = reason.strip()
    return known


def changed_lines(base):
    """The product lines added or changed since a commit, in the working tree."""
    diff = git("diff", "-U0", "--no-color", base, "--", *PRODUCT_DIRS)
    lines, path = {}, None
    for raw in diff.splitlines():
        if raw.startswith("+++ "):
            path = raw[6:] if raw.startswith("+++ b/") else None
        elif raw.startswith("@@") and path and path.endswith(SOURCE_SUFFIXES):
            m = re.search(r"\+(\d+)(?:,(\d+))?", raw)
            start, count = int(m.group(1)), int(m.group(2) or 1)
            lines.setdefault(path, set()).update(range(start, start + count))
    return lines


def files_under(paths):
    found = []
    for p in paths:
        full = (ROOT / p).resolve()
        if full.is_dir():
            found += sorted(str(f.relative_to(ROOT)) for f in full.rglob("*")
                            if f.suffix in SOURCE_SUFFIXES and f.is_file())
        elif full.is_file():
            found.append(str(full.relative_to(ROOT)))
        else:
            sys.exit(f"mutants: no file or folder {p}")
    return [f for f in found if f.split("/")[0] in PRODUCT_DIRS]


# ---- building and running ------------------------------------------------------------------------

class Runner:
    def __init__(self, build_dir, log):
        self.build_dir = build_dir
        self.log = log
        self.durations = {}

    def configure(self):
        if (self.build_dir / "CMakeCache.txt").exists():
            return
        generator = ["-G", "Ninja"] if subprocess.run(
            ["sh", "-c", "command -v ninja"], capture_output=True).returncode == 0 else []
        # -O1 without debug information: quick to compile, and cached the same from any folder.
        run(["cmake", "-S", ".", "-B", str(self.build_dir), *generator,
             "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1",
             "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1", "-DTESSAVINE_BUILD_BENCH=OFF"],
            stdout=self.log, stderr=self.log, check=True)

    def build(self, *targets):
        return run(["cmake", "--build", str(self.build_dir), "--target", *targets, "--parallel",
                    str(os.cpu_count() or 1)], stdout=self.log, stderr=self.log).returncode == 0

    def test(self, suite, limit):
        """'passed', 'failed' or 'timeout'."""
        start = time.monotonic()
        proc = subprocess.Popen(["ctest", "--test-dir", str(self.build_dir), "-R", f"^{suite}$",
                                 "--output-on-failure"], cwd=ROOT, stdout=self.log,
                                stderr=self.log, start_new_session=True)
        try:
            code = proc.wait(timeout=limit)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
            return "timeout"
        except BaseException:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
            raise
        self.durations.setdefault(suite, time.monotonic() - start)
        return "passed" if code == 0 else "failed"


def main():
    parser = argparse.ArgumentParser(prog="mutants.sh", description=__doc__.split("\n")[0])
    parser.add_argument("targets", nargs="+", metavar="BASE|PATH",
                        help="a commit (mutate the product lines changed since it) or files and "
                             "folders (mutate all their lines)")
    parser.add_argument("--sample", type=int, help="draw this many mutants at random")
    parser.add_argument("--seed", type=int, default=1, help="seed of the draw (default 1)")
    parser.add_argument("--list", action="store_true", help="only list the mutants")
    parser.add_argument("--only", metavar="FILE",
                        help="only the mutants named in FILE (an earlier run's output, say its "
                             "survivors)")
    parser.add_argument("--build-dir", default=os.environ.get("MUTANTS_BUILD_DIR", "build-mutants"))
    args = parser.parse_args()

    build_dir = (ROOT / args.build_dir).resolve()
    build_dir.mkdir(exist_ok=True)
    pending = build_dir / "mutant-in-progress"
    # One run at a time on a build folder (and so on its tree); the lock goes with the process.
    lock = open(build_dir / "lock", "w")
    if not args.list:
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except OSError:
            sys.exit(f"mutants: another run is using {build_dir.name}")

    # A run killed outright (SIGKILL, power) leaves the mutated file's original here.
    if not args.list and pending.exists():
        path, _, original = pending.read_bytes().decode("utf-8", "surrogateescape").partition("\n")
        write_source(path, original)
        pending.unlink()
        print(f"mutants: put back {path}, left mutated by an earlier run")

    first = args.targets[0]
    if len(args.targets) == 1 and not (ROOT / first).exists():
        if run(["git", "rev-parse", "--verify", "--quiet", first + "^{commit}"],
               capture_output=True).returncode != 0:
            sys.exit(f"mutants: {first} is neither a commit nor a file or folder")
        mutants = [m for path, lines in sorted(changed_lines(first).items())
                   for m in mutants_of(path, lines)]
    else:
        mutants = [m for path in files_under(args.targets) for m in mutants_of(path)]
    if args.sample and args.sample < len(mutants):
        mutants = random.Random(args.seed).sample(mutants, args.sample)
        mutants.sort(key=lambda m: (m["path"], m["line"], m["column"]))
    if args.only:
        named = set(re.findall(r"\S+:\d+:\d+: '.*?' -> '.*?'(?=\s|$)",
                               Path(args.only).read_text(), re.M))
        mutants = [m for m in mutants if describe(m) in named]
    if args.list:
        for m in mutants:
            print(describe(m))
        print(f"{len(mutants)} mutants")
        return 0
    if not mutants:
        print("mutants: no product line to mutate")
        return 0

    equivalents = read_equivalents()
    suites = read_suites()
    touched = {}
    log_path = build_dir / "mutants.log"
    log = open(log_path, "w")
    runner = Runner(build_dir, log)
    for sig in STOP_SIGNALS:
        signal.signal(sig, on_signal)

    def suites_for(path):
        folder = folder_of(path)
        reaching = [s for s, d in suites.items() if folder in d["reach"]]
        # The suites of the mutated layer first, then the quickest: a kill ends the mutant.
        own = {"src/cli": "engine", "tools": "tool"}.get(folder, folder.split("/")[-1])
        return sorted(reaching, key=lambda s: (suites[s]["layer"] != own,
                                               runner.durations.get(s, 0)))

    def build_points(path, reaching):
        """Where a build starts and what it takes: the first suite alone, as most mutants die
        there, then the rest of the mutated layer's, then all the others in one build."""
        own = {"src/cli": "engine", "tools": "tool"}.get(folder_of(path),
                                                         folder_of(path).split("/")[-1])
        layer = sum(suites[s]["layer"] == own for s in reaching)
        cuts = sorted({0, 1, max(layer, 1), len(reaching)})
        return {a: reaching[a:b] for a, b in zip(cuts, cuts[1:])}

    counts = {"killed": 0, "timeout": 0, "survived": 0, "uncompiled": 0, "equivalent": 0,
              "unreached": 0}
    by_folder, survivors = {}, []
    try:
        runner.configure()
        # The suites must pass unmutated; their times set each one's limit.
        needed = sorted({s for m in mutants for s in suites_for(m["path"])})
        print(f"mutants: {len(mutants)} mutants; building and timing {len(needed)} suites in "
              f"{build_dir.name} (log: {log_path})", flush=True)
        broken = []
        for suite in needed:
            if not runner.build(suite) or runner.test(suite, 600) != "passed":
                broken.append(suite)
        if broken:
            print(f"mutants: left out, failing before any mutant: {' '.join(broken)}")
            for suite in broken:
                suites.pop(suite)

        started = time.monotonic()
        for index, m in enumerate(mutants, start=1):
            name = describe(m)
            folder = folder_of(m["path"])
            tally = by_folder.setdefault(folder, {"killed": 0, "survived": 0})
            if name in equivalents:
                counts["equivalent"] += 1
                continue
            original = read_source(m["path"])
            touched.setdefault(m["path"], original)
            reaching = suites_for(m["path"])
            if not reaching:
                counts["unreached"] += 1
                print(f"[{index}/{len(mutants)}] {'no suite':10} {name}", flush=True)
                continue
            lines = original.split("\n")
            lines[m["line"] - 1] = m["text"]
            with SignalsHeld():
                pending.write_bytes(
                    (m["path"] + "\n" + original).encode("utf-8", "surrogateescape"))
                write_source(m["path"], "\n".join(lines))
            outcome, by = "survived", ""
            try:
                program = PROGRAM_TARGETS.get(folder)
                if program and not runner.build(*program):
                    outcome = "uncompiled"
                else:
                    points = build_points(m["path"], reaching)
                    for position, suite in enumerate(reaching):
                        if not program and position in points and not runner.build(
                                *points[position]):
                            outcome = "uncompiled"
                            break
                        limit = 3 * runner.durations.get(suite, 60) + 10
                        result = runner.test(suite, limit)
                        if result != "passed":
                            outcome, by = ("timeout" if result == "timeout" else "killed"), suite
                            break
            finally:
                with SignalsHeld():
                    write_source(m["path"], original)
                    pending.unlink()
            counts[outcome] += 1
            if outcome in ("killed", "timeout"):
                tally["killed"] += 1
            elif outcome == "survived":
                tally["survived"] += 1
                survivors.append(name + "  in: " + m["text"].strip())
            print(f"[{index}/{len(mutants)}] {outcome:10} {name}" + (f" ({by})" if by else ""),
                  flush=True)
    except Stop as stop:
        print(f"mutants: {stop}; the tree is as it was", file=sys.stderr)
        return 130
    finally:
        log.close()
        for path, original in touched.items():
            if read_source(path) != original:
                print(f"mutants: {path} differs from before the run!", file=sys.stderr)

    if survivors:
        print("\nSurvivors (an equivalent one goes in scripts/mutants-equivalent.txt, ' # why'):")
        for s in survivors:
            print("  " + s)
    judged = counts["killed"] + counts["timeout"] + counts["survived"]
    rate = 100.0 * (counts["killed"] + counts["timeout"]) / judged if judged else 100.0
    print()
    for folder, tally in sorted(by_folder.items()):
        n = tally["killed"] + tally["survived"]
        if n:
            print(f"  {folder}: {tally['killed']} of {n} killed "
                  f"({100.0 * tally['killed'] / n:.1f}%)")
    print(f"mutants: {len(mutants)}; killed {counts['killed'] + counts['timeout']} "
          f"({counts['timeout']} by timeout), survived {counts['survived']}, not compiled "
          f"{counts['uncompiled']}, equivalent {counts['equivalent']}"
          + (f", no passing suite {counts['unreached']}" if counts["unreached"] else "")
          + f"; kill rate {rate:.1f}% "
          f"in {time.monotonic() - started:.0f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
