#!/usr/bin/env python3
"""Throughput and memory of Lanthor's CSV parser beside libcsv and Python's csv module.

Builds the benchmark executables (-DLANTHOR_BENCH=ON), generates the data in a temporary folder
(deleted afterwards), and prints:

- a generated tree file of 1,000,000 nodes, in UTF-8 and as UTF-16LE with the mark FF FE, read
  with option value 2 by a delegate that counts fields and their code units, and by
  arrayWithContentsOfCSVFile; libcsv and Python's csv module read the UTF-8 file;
- peak memory while streaming 1 GiB of short records, and while reading one huge quoted field
  at two sizes, which shows whether time and memory grow linearly with the field.

Each reader runs in a process of its own, once per round, the rounds interleaving the readers so
that a busy spell of this shared machine hits them alike; the best of the rounds counts.
Throughput is the size of the file read (MB = 10^6 bytes) over the CPU time (user + system) of
the parse; wall time is shown beside it. Peak memory is the process's high-water mark of
resident memory. Every reader's count of fields and field text is checked against what the
generator wrote. Exit status: 0 when everything ran and counted right, whether or not a target
was met; 1 otherwise.

    bench/csv_throughput.py [--build-dir DIR] [--runs N]
"""

import argparse
import csv
import json
import os
import random
import string
import subprocess
import sys
import tempfile
import time
from dataclasses import asdict, dataclass
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
MB = 1e6
RUNS = 3
SEED = 1729

TREE_NODES = 1_000_000
SHORT_RECORDS_BYTES = 1 << 30
QUOTED_FIELD_SIZES = (25_000_000, 50_000_000)

# Targets for the counting delegate on the tree file.
TARGET_VS_LIBCSV = 0.8
TARGET_VS_PYTHON = 5.0
TARGET_UTF16_MBPS = 150.0
TARGET_STREAMING_PEAK_MB = 20.0

# Node texts: letters, digits and blanks, with a few non-ASCII letters so that UTF-8 is not
# plain ASCII.
TEXT_CHARACTERS = string.ascii_letters + string.digits + " " * 12 + "é€"


# ---- Data ----


@dataclass
class Expected:
    """What a parser must count in a generated file."""

    fields: int
    units: int  # UTF-16 code units of the field texts (every character is in the BMP)
    utf8_bytes: int  # UTF-8 bytes of the field texts


def csv_field(text):
    if any(c in text for c in ',"\n\r'):
        return '"' + text.replace('"', '""') + '"'
    return text


def node_text(rng):
    """3 to 40 characters; about one text in ten holds commas, a double quote or a line break."""
    chars = rng.choices(TEXT_CHARACTERS, k=rng.randint(3, 40))
    if rng.randrange(10) == 0:
        special = (",", '"', "\n")[rng.randrange(3)]
        for _ in range(rng.randint(1, 2)):
            chars[rng.randrange(len(chars))] = special
    return "".join(chars)


def tree_file_text(nodes, rng):
    """A tree in the editor's row format: number, children (each followed by a blank), flag R, 0
    or 1, text. Node 0 is the root; nodes are numbered breadth-first, each inner node having 1
    to 5 children."""
    first_child = [0] * nodes
    child_count = [0] * nodes
    next_number = 1
    for parent in range(nodes):
        if next_number >= nodes:
            break
        count = min(rng.randint(1, 5), nodes - next_number)
        first_child[parent], child_count[parent] = next_number, count
        next_number += count
    lines = []
    units = utf8_bytes = 0
    for number in range(nodes):
        start = first_child[number]
        children = "".join(f"{child} " for child in range(start, start + child_count[number]))
        flag = "R" if number == 0 else ("1" if rng.randrange(5) == 0 else "0")
        text = node_text(rng)
        fields = (str(number), children, flag, text)
        lines.append(",".join(map(csv_field, fields)) + "\n")
        plain = len(fields[0]) + len(children) + len(flag)
        units += plain + len(text)
        utf8_bytes += plain + len(text.encode("utf-8"))
    return "".join(lines), Expected(4 * nodes, units, utf8_bytes)


def write_short_records_file(path, size, rng):
    """About `size` bytes of short tree rows: one block of rows written over and over."""
    rows = []
    block_length = 0
    number = 0
    while block_length < 1 << 20:
        text = "".join(rng.choices(string.ascii_lowercase, k=rng.randint(3, 12)))
        if rng.randrange(10) == 0:
            text += ", and more"
        row = f"{number},{number + 1} ,0,{csv_field(text)}\n"
        rows.append(row)
        block_length += len(row)
        number += 1
    block = "".join(rows).encode("ascii")
    repeats = size // len(block)
    with open(path, "wb") as out:
        for _ in range(repeats):
            out.write(block)
    return len(rows) * repeats


def write_quoted_field_file(path, field_bytes):
    """One row whose text is a single quoted field of about `field_bytes` bytes holding words,
    commas, doubled quotes and line breaks."""
    segment = 'Words, and "quoted" words\nover lines; ' * 1000
    written = csv_field(segment)[1:-1]
    repeats = field_bytes // len(written)
    with open(path, "w", encoding="utf-8", newline="") as out:
        out.write('0,,R,"' + written * repeats + '"\n')
    return len(segment) * repeats


# ---- Measuring ----


@dataclass
class Run:
    cpu_seconds: float  # user + system time of the parse: other work on the machine adds little
    wall_seconds: float
    fields: int
    units: int
    peak_rss_mb: float

    def mbps(self, size):
        return size / MB / self.cpu_seconds


def best_of(runs):
    """The fastest run, with the highest peak memory of all."""
    best = min(runs, key=lambda run: run.cpu_seconds)
    return Run(best.cpu_seconds, best.wall_seconds, best.fields, best.units,
               max(run.peak_rss_mb for run in runs))


def benchmark_once(executable, name, label, path):
    """One run of one Google Benchmark in a process of its own, so that its peak memory is its
    own."""
    command = [
        str(executable),
        f"--benchmark_filter=^{name}/{label}/",  # the name goes on with /iterations:1/...
        "--benchmark_format=json",
        f"{label}={path}",
    ]
    result = subprocess.run(command, capture_output=True, text=True, check=True)
    [run] = json.loads(result.stdout)["benchmarks"]
    if run.get("error_occurred") or run["time_unit"] != "ms":
        raise RuntimeError(f"{name}/{label} failed: {result.stdout}{result.stderr}")
    return Run(run["cpu_time"] / 1e3, run["real_time"] / 1e3, int(run["fields"]),
               int(run["field_units"]), run["peak_rss_MB"])


def python_csv_run(path):
    """Python's csv module counting fields and their characters; prints one Run as JSON. Runs
    in a process of its own."""
    cpu, wall = time.process_time(), time.perf_counter()
    fields = units = 0
    with open(path, newline="", encoding="utf-8") as text:
        for row in csv.reader(text):
            fields += len(row)
            units += sum(map(len, row))
    cpu, wall = time.process_time() - cpu, time.perf_counter() - wall
    print(json.dumps(asdict(Run(cpu, wall, fields, units, peak_resident_mb()))))


def peak_resident_mb():
    """The process's own peak resident memory (VmHWM): on Linux the getrusage peak of a child
    includes that of the parent that forked it."""
    with open("/proc/self/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) * 1024 / MB
    return 0.0


def python_csv_once(path):
    command = [sys.executable, __file__, "--python-csv", str(path)]
    result = subprocess.run(command, capture_output=True, text=True, check=True)
    return Run(**json.loads(result.stdout))


def best_of_interleaved(contenders, runs):
    """Runs every contender once per round, so that a busy spell of the machine hits them all
    alike, and keeps the best run of each."""
    done = {key: [] for key in contenders}
    for _ in range(runs):
        for key, run_once in contenders.items():
            done[key].append(run_once())
    return {key: best_of(runs_of_key) for key, runs_of_key in done.items()}


def build(build_dir):
    targets = ["csv_parse_bench", "libcsv_parse_bench"]
    steps = [
        ["cmake", "-S", str(REPO), "-B", str(build_dir), "-G", "Ninja",
         "-DCMAKE_BUILD_TYPE=Release", "-DLANTHOR_BENCH=ON"],
        ["ninja", "-C", str(build_dir), "-j2", *targets],
    ]
    for step in steps:
        result = subprocess.run(step, capture_output=True, text=True)
        if result.returncode != 0:
            sys.exit(f"build failed: {' '.join(step)}\n{result.stdout}{result.stderr}")
    return [build_dir / "bin" / target for target in targets]


# ---- Report ----


class Checks:
    def __init__(self):
        self.failures = []

    def counts(self, what, measure, fields, units):
        if (measure.fields, measure.units) != (fields, units):
            self.failures.append(
                f"{what}: counted {measure.fields} fields / {measure.units} units, "
                f"expected {fields} / {units}"
            )


def verdict(met):
    return "met" if met else "MISSED"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build-dir", type=Path, default=REPO / "build-bench")
    parser.add_argument("--runs", type=int, default=RUNS, help="runs of each reader (best kept)")
    parser.add_argument("--python-csv", type=Path, help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.python_csv:
        python_csv_run(args.python_csv)
        return 0

    began = time.perf_counter()
    load_before = os.getloadavg()[0]
    ours, libcsv = build(args.build_dir.resolve())
    checks = Checks()
    rng = random.Random(SEED)
    with tempfile.TemporaryDirectory(prefix="lanthor-csv-bench-") as folder:
        folder = Path(folder)
        text, tree = tree_file_text(TREE_NODES, rng)
        utf8_path, utf16_path = folder / "tree-utf8.csv", folder / "tree-utf16.csv"
        utf8_path.write_bytes(text.encode("utf-8"))
        utf16_path.write_bytes(b"\xff\xfe" + text.encode("utf-16-le"))
        del text
        sizes = {"utf8": utf8_path.stat().st_size, "utf16": utf16_path.stat().st_size}

        def ours_on(name, label, path):
            return lambda: benchmark_once(ours, name, label, path)

        tree_runs = best_of_interleaved({
            "delegate-utf8": ours_on("CountingDelegate", "tree-utf8", utf8_path),
            "array-utf8": ours_on("ArrayReader", "tree-utf8", utf8_path),
            "libcsv": lambda: benchmark_once(libcsv, "Libcsv", "tree-utf8", utf8_path),
            "python": lambda: python_csv_once(utf8_path),
            "delegate-utf16": ours_on("CountingDelegate", "tree-utf16", utf16_path),
            "array-utf16": ours_on("ArrayReader", "tree-utf16", utf16_path),
        }, args.runs)
        for key, run in tree_runs.items():
            if key == "libcsv":
                checks.counts(key, run, tree.fields, tree.utf8_bytes)
            elif key == "python":
                checks.counts(key, run, tree.fields, tree.units)
            else:
                # Ours reports one more record, one empty field, after the last line end.
                checks.counts(key, run, tree.fields + 1, tree.units)
        utf8_path.unlink()
        utf16_path.unlink()

        short_path = folder / "short-records.csv"
        short_rows = write_short_records_file(short_path, SHORT_RECORDS_BYTES, rng)
        short_size = short_path.stat().st_size
        streaming = benchmark_once(ours, "CountingDelegate", "short-records", short_path)
        if streaming.fields != 4 * short_rows + 1:
            checks.failures.append(f"short records: counted {streaming.fields} fields")
        short_path.unlink()

        quoted_files = {}
        for size in QUOTED_FIELD_SIZES:
            label = f"quoted-{size // 1_000_000}MB"
            path = folder / f"{label}.csv"
            quoted_files[label] = (path, write_quoted_field_file(path, size))
        quoted_runs = best_of_interleaved(
            {label: ours_on("CountingDelegate", label, path)
             for label, (path, _) in quoted_files.items()}, args.runs)
        quoted = []
        for label, (path, field_units) in quoted_files.items():
            checks.counts(label, quoted_runs[label], 5, 2 + field_units)
            quoted.append((path.stat().st_size, quoted_runs[label]))

    report(tree_runs, sizes, streaming, short_size, short_rows, quoted, args.runs)
    print(f"Total time {time.perf_counter() - began:.0f} s; load average (1 min) "
          f"{load_before:.1f} before, {os.getloadavg()[0]:.1f} after, on {os.cpu_count()} CPUs")
    for failure in checks.failures:
        print(f"COUNT MISMATCH: {failure}")
    return 1 if checks.failures else 0


def report(tree_runs, sizes, streaming, short_size, short_rows, quoted, runs):
    utf8_size, utf16_size = sizes["utf8"], sizes["utf16"]
    print(f"Tree file: {TREE_NODES:,} nodes, {utf8_size / MB:.1f} MB in UTF-8, "
          f"{utf16_size / MB:.1f} MB in UTF-16LE with FF FE; option value 2; best of {runs}; "
          "MB/s from CPU time")
    print(f"  {'reader':<48}{'MB/s':>8}{'CPU s':>8}{'wall s':>8}{'peak RSS MB':>13}")
    rows = [
        ("Lanthor, counting delegate, UTF-8", "delegate-utf8", utf8_size),
        ("Lanthor, arrayWithContentsOfCSVFile, UTF-8", "array-utf8", utf8_size),
        ("libcsv, counting callbacks, UTF-8", "libcsv", utf8_size),
        (f"Python {sys.version.split()[0]} csv module, counting, UTF-8", "python", utf8_size),
        ("Lanthor, counting delegate, UTF-16LE", "delegate-utf16", utf16_size),
        ("Lanthor, arrayWithContentsOfCSVFile, UTF-16LE", "array-utf16", utf16_size),
    ]
    for what, key, size in rows:
        run = tree_runs[key]
        print(f"  {what:<48}{run.mbps(size):>8.1f}{run.cpu_seconds:>8.3f}"
              f"{run.wall_seconds:>8.3f}{run.peak_rss_mb:>13.1f}")
    delegate = tree_runs["delegate-utf8"].mbps(utf8_size)
    libcsv, python = tree_runs["libcsv"].mbps(utf8_size), tree_runs["python"].mbps(utf8_size)
    utf16 = tree_runs["delegate-utf16"].mbps(utf16_size)
    print(f"  (libcsv cannot read UTF-16. UTF-16 throughput counts the UTF-16 file's own bytes: "
          f"{utf8_size / MB / tree_runs['delegate-utf16'].cpu_seconds:.1f} MB/s in UTF-8 terms)")
    print("Ratios, counting delegate:")
    print(f"  Lanthor / libcsv       {delegate / libcsv:7.2f}x      target >= "
          f"{TARGET_VS_LIBCSV}x      {verdict(delegate >= TARGET_VS_LIBCSV * libcsv)}")
    print(f"  Lanthor / Python csv   {delegate / python:7.2f}x      target >= "
          f"{TARGET_VS_PYTHON}x      {verdict(delegate >= TARGET_VS_PYTHON * python)}")
    print(f"  UTF-16LE               {utf16:7.1f} MB/s  target >= {TARGET_UTF16_MBPS:.0f} MB/s  "
          f"{verdict(utf16 >= TARGET_UTF16_MBPS)}")
    array = tree_runs["array-utf8"].mbps(utf8_size)
    print(f"  arrayWithContentsOfCSVFile (UTF-8): {array / libcsv:.2f}x libcsv, "
          f"{array / python:.2f}x Python csv")

    print("Memory, counting delegate:")
    print(f"  {short_size / MB:.0f} MB of short records ({short_rows:,} rows): peak RSS "
          f"{streaming.peak_rss_mb:.1f} MB, target < {TARGET_STREAMING_PEAK_MB:.0f} MB  "
          f"{verdict(streaming.peak_rss_mb < TARGET_STREAMING_PEAK_MB)}; "
          f"{streaming.mbps(short_size):.1f} MB/s")
    for size, run in quoted:
        print(f"  one quoted field, {size / MB:.0f} MB file: peak RSS {run.peak_rss_mb:.1f} MB "
              f"({run.peak_rss_mb * MB / size:.2f}x the file), {run.cpu_seconds:.3f} s, "
              f"{run.mbps(size):.1f} MB/s")
    (small_size, small), (large_size, large) = quoted
    growth = large_size / small_size
    print(f"  field {growth:.1f}x larger: time {large.cpu_seconds / small.cpu_seconds:.2f}x, "
          f"peak RSS {large.peak_rss_mb / small.peak_rss_mb:.2f}x (linear {growth:.1f}x, "
          f"quadratic {growth * growth:.1f}x)")


if __name__ == "__main__":
    sys.exit(main())
