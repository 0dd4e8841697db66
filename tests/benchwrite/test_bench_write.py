#!/usr/bin/env python3
"""scripts/bench-write against kept results: results/ is a run's raw output
(the Wine programs' files with their CR LF), expected.md the page the shell
writer made from it, without the CRs it let through.

    test_bench_write.py PATH/TO/scripts/bench-write
"""
import importlib.machinery
import importlib.util
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
RESULTS = HERE / "results"
SIZES = [1000, 5000, 20000]
SCRIPT = Path(sys.argv.pop(1) if len(sys.argv) > 1 else HERE.parent.parent / "scripts/bench-write")


def load_writer():
    loader = importlib.machinery.SourceFileLoader("bench_write", str(SCRIPT))
    found = importlib.util.spec_from_loader("bench_write", loader)
    module = importlib.util.module_from_spec(found)
    loader.exec_module(module)
    return module


bw = load_writer()
HOST = bw.Host(
    date="2026-12-08 22:42 UTC", cpu="AMD EPYC", cores=2, memory="23.5 GB",
    system="Debian GNU/Linux 12 (bookworm)", wine="wine-8.0 (Debian 8.0~repack-4)",
    native_compiler="g++ (Debian 12.2.0-14+deb12u1) 12.2.0",
    compilers={"win64": "x86_64-w64-mingw32-g++-posix (GCC) 12-posix",
               "win32": "i686-w64-mingw32-g++-posix (GCC) 12-posix"})


def edit(path, old, new):
    """Replaces the one line holding OLD (deletes it when NEW is None)."""
    lines = path.read_bytes().split(b"\n")
    hits = [i for i, line in enumerate(lines) if old.encode() in line]
    assert len(hits) == 1, f"{path.name}: {len(hits)} lines hold {old!r}"
    if new is None:
        del lines[hits[0]]
    else:
        lines[hits[0]] = lines[hits[0]].replace(old.encode(), new.encode())
    path.write_bytes(b"\n".join(lines))


class Scratch(unittest.TestCase):
    """Each test gets its own copy of the results to spoil."""

    maxDiff = None

    def setUp(self):
        self.dir = Path(tempfile.mkdtemp(prefix="bench-write-"))
        self.addCleanup(shutil.rmtree, self.dir)
        self.out = self.dir / "results"
        shutil.copytree(RESULTS, self.out)

    def page(self, out=None):
        return bw.page(bw.Run(out or self.out, SIZES), HOST)

    def two_modules(self):
        """win64 and win32 folders, the Windows files copied into both."""
        windows = [p for p in self.out.iterdir()
                   if p.name.startswith(("latency", "profile", "clock", "wine"))]
        for key in ("win64", "win32"):
            (self.out / key).mkdir()
            for path in windows:
                shutil.copy(path, self.out / key / path.name)
        for path in windows:
            path.unlink()


class PageTest(Scratch):
    def test_page_is_the_shell_writers_without_stray_crs(self):
        self.assertEqual(self.page(), (HERE / "expected.md").read_text(encoding="utf-8"))

    def test_plot_reads_every_measured_size_and_the_guides_pass_the_smallest(self):
        script, data = bw.plot_script(bw.Run(self.out, SIZES), Path("r"))
        self.assertEqual(data, {
            Path("r/plot-win64.dat"): "1000 1364.77\n5000 6226.79\n20000 26773.34\n",
            Path("r/plot-native.dat"): "1000 11.09\n5000 55.95\n20000 223.54\n"})
        self.assertIn('1.36477 * x with lines dt 3 lc rgb "gray40" title "linear', script)
        self.assertIn('0.01109 * x with lines dt 3 lc rgb "gray40" notitle\n', script)
        self.assertIn('"r/plot-win64.dat" using 1:2 with linespoints lw 2 pt 7 title "Wine, real registry"',
                      script)

    def test_a_failed_size_is_a_row_of_its_own_and_the_steps_skip_it(self):
        (self.out / "wine-5000.txt").unlink()
        page = self.page()
        self.assertIn("| 5000 | failed: see wine-5000.err | | | | | | |\n", page)
        self.assertIn("| 1000 | 20000 | 20.00 | 20.34 | 1.02 |\n", page)
        self.assertNotIn("| wine | 5000 |", page)
        self.assertIn("| native | 5000 | 158.88 |", page)

    def test_a_missing_heaptrack_figure_reads_as_a_dash(self):
        edit(self.out / "kelreport-0.txt", "peak heap memory consumption", None)
        self.assertIn("| 0 | 0.58 | - | 48 | - | 16 | 1117 |\n", self.page())

    def test_the_service_table_runs_from_the_dearest(self):
        page = self.page()
        order = [page.index(f"| `{name}` |") for name in ("getSpecialFolderPath", "regOpenKey", "getVersion")]
        self.assertEqual(order, sorted(order))


class TwoModulesTest(Scratch):
    def test_the_page_sets_the_32_bit_figures_beside_the_64_bit_ones(self):
        self.two_modules()
        edit(self.out / "win32/latency-display.txt", "name=detail median_ms=22.487",
             "name=detail median_ms=44.974")
        edit(self.out / "win32/latency.txt", "name=detail median=1.89", "name=detail median=12.50")
        (self.out / "win32/wine-20000.txt").unlink()
        page = self.page()
        self.assertIn("## 5. The 32-bit module against the 64-bit\n", page)
        self.assertIn("| | 64-bit | 32-bit | 32-bit / 64-bit |\n", page)
        self.assertIn("| `GetDetailInfo` median ms, with a display | 22.487 | 44.974 | 2.00 |\n", page)
        self.assertIn("| detailed report at size 5000, median ms | 6226.79 | 6226.79 | 1.00 |\n", page)
        self.assertNotIn("size 20000, median ms", page)
        self.assertIn("for the 32-bit module: **met\nwith a display, met without**", page)
        self.assertIn("(GCC) 12-posix (64-bit) and i686-w64-mingw32-g++-posix (GCC) 12-posix (32-bit)", page)
        # Sections 1 to 4 stay the 64-bit module's.
        self.assertIn("| 20000 | 26773.34 | 668.07 |", page)
        self.assertIn("detailed **1.89**", page)

    def test_one_module_in_its_folder_reads_as_today(self):
        self.two_modules()
        shutil.rmtree(self.out / "win32")
        self.assertEqual(self.page(), (HERE / "expected.md").read_text(encoding="utf-8"))

    def test_a_module_the_machine_cannot_run_is_named_with_the_reason(self):
        self.two_modules()
        shutil.rmtree(self.out / "win32")
        (self.out / "not-run.txt").write_text("the 32-bit module, because it cannot run here.\n")
        page = self.page()
        self.assertIn("\n**Not measured here:** the 32-bit module, because it cannot run here.\n", page)
        self.assertNotIn("## 5.", page)

    def test_both_modules_plot_a_wine_line(self):
        self.two_modules()
        script, data = bw.plot_script(bw.Run(self.out, SIZES), Path("r"))
        self.assertEqual(sorted(p.name for p in data), ["plot-native.dat", "plot-win32.dat", "plot-win64.dat"])
        self.assertIn('pt 9 title "Wine, 32-bit module, real registry"', script)


# file, line to spoil, what it becomes (None: gone), the error expected.
SPOILED = [
    ("latency.txt", "name=detail median_ms=22.432", "name=detail median_ms=abc",
     "latency.txt: `control name=detail` median_ms is 'abc', not a number"),
    ("latency-display.txt", "ratio name=detail", None, "latency-display.txt: no `ratio name=detail` line"),
    ("latency.txt", "Win32_Printer section=Printers report=detail answered=1 objects=0",
     "Win32_Printer section=Printers report=detail answered=1",
     "latency.txt: `wmi-class name=Win32_Printer` has no objects"),
    ("profile.txt", "name=regOpenKey calls=63.0 ms=4.792", "name=regOpenKey calls=63.0 ms=",
     "profile.txt: `service name=regOpenKey` ms is '', not a number"),
    ("clock.txt", "samples_max=11", "samples_max=-nan", "clock.txt: `clock` samples_max is '-nan', not a number"),
    ("wine-1000.txt", "report size=1000", None, "wine-1000.txt: no `report size=1000` line"),
    ("wine-5000.wall", "wall seconds=57", "wall", "wine-5000.wall: `wall` has no seconds"),
    ("native.txt", "fill size=20000 name=programs", None, "native.txt: no `fill size=20000 name=programs` line"),
    ("kelreport-5000.txt", "kelreport ms=345", "kelreport ms=3.4.5",
     "kelreport-5000.txt: `kelreport` ms is '3.4.5', not a number"),
]
MISSING = ["clock.txt", "profile.txt", "wine-0.txt", "native.txt", "kelreport-20000.txt"]


class ErrorTest(Scratch):
    def assertRefused(self, message):
        with self.assertRaises(bw.FigureError) as refused:
            self.page()
        self.assertEqual(str(refused.exception), f"{self.out}/{message}")

    def test_a_spoiled_figure_is_named(self):
        for name, line, spoiled, message in SPOILED:
            with self.subTest(name=name, line=line):
                shutil.copy(RESULTS / name, self.out / name)
                edit(self.out / name, line, spoiled)
                self.assertRefused(message)
                shutil.copy(RESULTS / name, self.out / name)

    def test_a_missing_or_empty_file_is_named(self):
        for name in MISSING:
            with self.subTest(name=name):
                (self.out / name).unlink()
                self.assertRefused(f"{name} is missing or empty")
                (self.out / name).write_text("\n")
                self.assertRefused(f"{name} is missing or empty")
                shutil.copy(RESULTS / name, self.out / name)

    def test_the_second_modules_figures_are_checked_too(self):
        self.two_modules()
        edit(self.out / "win32/clock.txt", "clock_ms=0.726", "clock_ms=x")
        self.assertRefused("win32/clock.txt: `clock` clock_ms is 'x', not a number")


class CommandTest(Scratch):
    """The script as scripts/bench runs it, in a tree of its own."""

    def run_writer(self, *args):
        tree = Path(tempfile.mkdtemp(dir=self.dir))
        (tree / "scripts").mkdir()
        (tree / "docs").mkdir()
        (tree / "docs/benchmarks.md").write_text("kept\n")
        shutil.copy(SCRIPT, tree / "scripts/bench-write")
        env = dict(os.environ, PATH=str(self.dir / "no-gnuplot"))
        done = subprocess.run([sys.executable, str(tree / "scripts/bench-write"), *args],
                              capture_output=True, text=True, env=env)
        return done, (tree / "docs/benchmarks.md").read_text(encoding="utf-8")

    def test_a_missing_figure_fails_with_its_name_and_keeps_the_page(self):
        edit(self.out / "latency.txt", "name=first-detail", None)
        done, page = self.run_writer(str(self.out), "1000 5000 20000")
        self.assertEqual(done.returncode, 1)
        self.assertEqual(done.stderr, f"bench-write: {self.out}/latency.txt: no `control name=first-detail` "
                                      "line; docs/benchmarks.md left as it was\n")
        self.assertEqual(page, "kept\n")

    def test_a_good_run_writes_the_page(self):
        done, page = self.run_writer(str(self.out), "1000 5000 20000")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertIn("no gnuplot", done.stderr)
        self.assertIn("| 20000 | 223.54 | 5.57 | 1612 | 154.12M | 18299 | 556682 |\n", page)

    def test_bad_arguments_are_refused_with_the_usage(self):
        for args in [(), (str(self.out),), (str(self.out), "1000 x")]:
            with self.subTest(args=args):
                done, page = self.run_writer(*args)
                self.assertEqual(done.returncode, 64)
                self.assertTrue(done.stderr.startswith(("usage: bench-write", "bench-write: SIZES")), done.stderr)
                self.assertEqual(page, "kept\n")


if __name__ == "__main__":
    unittest.main()
