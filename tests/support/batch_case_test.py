#!/usr/bin/python3 -S
"""batch-case against a stand-in test program: what each case reports from the
single run, and when a case falls back to running alone."""
import fcntl
import os
import subprocess
import sys
import tempfile
import textwrap
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
BATCH_CASE = os.path.join(HERE, "batch-case")

# Writes the given results file when run as a whole (or crashes first when
# told), and prints "alone <filter>" when run for one case. Each run notes
# whether it found the lock file held by someone else.
PROGRAM = textwrap.dedent('''\
    import fcntl, os, sys
    args = sys.argv[1:]
    log = open(sys.argv[0] + ".log", "a")
    lock = sys.argv[0] + ".lock"
    held = False
    if os.path.exists(lock):
        with open(lock) as f:
            try:
                fcntl.flock(f, fcntl.LOCK_EX | fcntl.LOCK_NB)
            except BlockingIOError:
                held = True
    log.write(("[held] " if held else "") + " ".join(args) + "\\n")
    if "--gtest_list_tests" in args:
        print("Suite.\\n  Passes\\n  Fails\\n  Skips\\n  Missing")
        sys.exit(0)
    for arg in args:
        if arg.startswith("--gtest_filter=") and not arg.startswith("--gtest_filter=-"):
            print("alone " + arg)
            sys.exit(3)
    if CRASH:
        sys.exit(-11)
    output = [a for a in args if a.startswith("--gtest_output=xml:")][0][len("--gtest_output=xml:"):]
    open(output, "w").write(RESULTS)
    sys.exit(1)
''')

RESULTS = textwrap.dedent('''\
    <?xml version="1.0" encoding="UTF-8"?>
    <testsuites>
      <testsuite name="Suite">
        <testcase name="Passes" status="run" result="completed" classname="Suite" />
        <testcase name="Fails" status="run" result="completed" classname="Suite">
          <failure message="boom" type=""><![CDATA[Test.cpp:12
    Expected equality of these values: 1 and 2]]></failure>
        </testcase>
        <testcase name="Skips" status="run" result="skipped" classname="Suite">
          <skipped message="no display" />
        </testcase>
      </testsuite>
    </testsuites>
''')


class BatchCase(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.results = os.path.join(self.folder.name, "results.xml")
        self.program = os.path.join(self.folder.name, "program.py")

    def tearDown(self):
        self.folder.cleanup()

    def write_program(self, crash=False):
        with open(self.program, "w") as f:
            f.write(f"CRASH = {crash}\nRESULTS = {RESULTS!r}\n" + PROGRAM)

    def run_wrapper(self, *args, alone=None, lock=False):
        command = [sys.executable, BATCH_CASE, self.results]
        if alone:
            command += ["--alone", alone]
        if lock:
            command += ["--lock", self.program + ".lock"]
        command += [sys.executable, self.program, *args]
        return subprocess.run(command, capture_output=True, text=True, timeout=60)

    def runs(self):
        with open(self.program + ".log") as f:
            return f.read().splitlines()

    def test_cases_report_the_single_runs_outcome(self):
        self.write_program()
        self.assertEqual(self.run_wrapper().returncode, 0, "a failing case does not fail the batch")
        cases = [
            ("Suite.Passes", 0, "[       OK ] Suite.Passes"),
            ("Suite.Fails", 1, "Expected equality of these values: 1 and 2"),
            ("Suite.Skips", 0, "[  SKIPPED ] Suite.Skips"),
        ]
        for name, status, words in cases:
            with self.subTest(name):
                done = self.run_wrapper(f"--gtest_filter={name}")
                self.assertEqual(done.returncode, status)
                self.assertIn(words, done.stdout)
        self.assertEqual(len(self.runs()), 1, "only the batch ran the program")

    def test_a_case_the_run_did_not_finish_runs_alone(self):
        self.write_program()
        self.run_wrapper()
        done = self.run_wrapper("--gtest_filter=Suite.Missing")
        self.assertEqual(done.returncode, 3)
        self.assertIn("alone --gtest_filter=Suite.Missing", done.stdout)

    def test_after_a_crash_every_case_runs_alone(self):
        self.write_program(crash=True)
        batch = self.run_wrapper()
        self.assertEqual(batch.returncode, 0)
        self.assertIn("each case runs alone", batch.stdout)
        self.assertEqual(self.run_wrapper("--gtest_filter=Suite.Passes").returncode, 3)

    def test_a_new_batch_forgets_the_last_runs_results(self):
        self.write_program()
        self.run_wrapper()
        self.write_program(crash=True)
        self.run_wrapper()
        self.assertEqual(self.run_wrapper("--gtest_filter=Suite.Passes").returncode, 3)

    def test_cases_that_own_their_process_stay_out_of_the_batch(self):
        self.write_program()
        self.run_wrapper(alone="Suite.Fails")
        self.assertIn("--gtest_filter=-Suite.Fails", self.runs()[0])
        done = self.run_wrapper("--gtest_filter=Suite.Passes", alone="Suite.Fails")
        self.assertEqual(done.returncode, 0)

    def test_every_run_holds_the_lock_and_reading_an_outcome_takes_none(self):
        self.write_program()
        self.assertEqual(self.run_wrapper(lock=True).returncode, 0)
        self.assertEqual(self.run_wrapper("--gtest_filter=Suite.Missing", lock=True).returncode, 3)
        self.assertEqual([run.startswith("[held] ") for run in self.runs()], [True, True])
        # While another program holds the lock, an outcome is still read at once.
        with open(self.program + ".lock", "a") as other:
            fcntl.flock(other, fcntl.LOCK_EX)
            done = self.run_wrapper("--gtest_filter=Suite.Passes", lock=True)
        self.assertEqual(done.returncode, 0)
        self.assertEqual(len(self.runs()), 2)

    def test_listing_passes_through(self):
        self.write_program()
        done = self.run_wrapper("--gtest_list_tests")
        self.assertIn("Passes", done.stdout)


if __name__ == "__main__":
    unittest.main()
