"""The module's board side against qm416x-cli and qm416x-boardsim on a pseudo-terminal."""
import json
import os
import signal
import subprocess
import tempfile
import threading
import time
import unittest

import qm416x

CLI = os.environ["QM_CLI"]
BOARDSIM = os.environ["QM_BOARDSIM"]


def cli(*args):
    return subprocess.run([CLI, *args], capture_output=True, text=True)


class BoardSim:
    """qm416x-boardsim on a pseudo-terminal; path is the port to open."""

    def __init__(self, *options):
        self.process = subprocess.Popen([BOARDSIM, *options], stdout=subprocess.PIPE, text=True)
        self.path = self.process.stdout.readline().strip()

    def kill(self):
        self.process.kill()
        self.process.wait()


class SimTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.board = qm416x.Board("sim")

    def tearDown(self):
        self.board.close()
        self.dir.cleanup()

    def test_registers(self):
        for address, value in [(0x30, 0x91), (0x2B, 0x05), (0x01, 0x00)]:
            self.board.write_register(address, value)
            self.assertEqual(self.board.read_register(address), value)
        self.assertEqual(len(self.board.read_all()), 8 + 6 * 8)
        with self.assertRaises(ValueError):
            self.board.write_register(0x30, 0x100)

    def test_codes_and_statistics_equal_cli(self):
        path = os.path.join(self.dir.name, "cli.dat")
        self.assertEqual(cli("acquire", "--port", "sim", "--channels", "0,3", "--samples", "64", "--width", "24",
                             "--no-history", "-o", path).returncode, 0)
        mine = self.board.acquire([0, 3], samples=64, width=24)
        theirs = qm416x.read_data_file(path)
        self.assertEqual(mine.channels, [0, 3])
        for ch in (0, 3):
            self.assertEqual(mine.codes(ch).tolist(), theirs.codes(ch).tolist())
            self.assertEqual(mine.statistics(ch), theirs.statistics(ch))
        self.assertEqual(len(self.board.acquire(1, samples=16, captures=2).codes(1)), 16)

    def test_channel_setup(self):
        ch = self.board.channel(2)
        ch.range, ch.chop, ch.filter_word, ch.enabled = "±1.25 V", False, 40, True
        self.assertEqual((ch.range, ch.chop, ch.filter_word, ch.enabled), ("±1.25 V", False, 40, True))
        self.assertEqual(self.board.read_register(0x32), 40)
        ch.conversion_time_us = 2000
        self.assertEqual(self.board.read_register(0x32), self.board.channel(2).filter_word)
        with self.assertRaises(ValueError) as e:
            ch.range = "±3 V"
        self.assertIn("not '±3 V'", str(e.exception))

    def test_sweep_equals_cli(self):
        out = cli("sweep", "--port", "sim", "--channel", "1", "--fw", "17,40", "--samples", "64", "--format", "json")
        rows = self.board.sweep(1, filter_words=[17, 40], samples=64)
        self.assertEqual(rows, json.loads(out.stdout)["rows"])
        table = self.board.sweep(1, filter_words=[17], chop="both", samples=64, as_array=True)
        self.assertEqual(table["chop"].tolist(), [True, False])

    def test_settings_file(self):
        path = os.path.join(self.dir.name, "a.adc")
        self.board.write_register(0x30, 0x92)
        self.board.save_settings(path)
        with qm416x.Board("sim") as other:
            other.load_settings(path)
            self.assertEqual(other.read_register(0x30), 0x92)
        with self.assertRaises(qm416x.FileError):
            self.board.load_settings(os.path.join(self.dir.name, "missing.adc"))


class PortTest(unittest.TestCase):
    def test_missing_port(self):
        told = cli("regs", "--port", "/dev/qm416x-none", "read-all").stderr.strip()
        with self.assertRaises(qm416x.BoardError) as e:
            qm416x.Board("/dev/qm416x-none")
        self.assertEqual("qm416x-cli: " + str(e.exception), told)

    def test_pty_board(self):
        sim = BoardSim("--fast")
        try:
            with qm416x.Board(sim.path) as board:
                board.write_register(0x31, 0x33)
                self.assertEqual(board.read_register(0x31), 0x33)
                self.assertEqual(len(board.acquire([0, 1], samples=32).codes(1)), 32)
                for stop in (lambda: sim.process.send_signal(signal.SIGSTOP), sim.kill):  # silent, then gone
                    stop()
                    start = time.monotonic()
                    with self.assertRaises(qm416x.BoardError):
                        board.acquire([0], samples=32)
                    self.assertLess(time.monotonic() - start, 5)
        finally:
            sim.kill()

    def test_ctrl_c_cancels_acquisition(self):
        sim = BoardSim("--paced")
        try:
            with qm416x.Board(sim.path) as board:
                threading.Timer(0.5, os.kill, (os.getpid(), signal.SIGINT)).start()
                start = time.monotonic()
                with self.assertRaises(KeyboardInterrupt):
                    board.acquire([0, 1, 2, 3], samples=2000)
                self.assertLess(time.monotonic() - start, 3)
                board.write_register(0x31, 0x44)
                self.assertEqual(board.read_register(0x31), 0x44)
        finally:
            sim.kill()


if __name__ == "__main__":
    unittest.main()
