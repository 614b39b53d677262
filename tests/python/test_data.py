"""The module's data-file side against what qm416x-cli writes and prints."""
import json
import os
import subprocess
import tempfile
import unittest

import qm416x

CLI = os.environ["QM_CLI"]


class DataFileTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.path = os.path.join(self.dir.name, "a.dat")
        subprocess.run([CLI, "acquire", "--port", "sim", "--channels", "0,3", "--samples", "64", "--no-history", "-o",
                        self.path],
                       check=True, capture_output=True)

    def tearDown(self):
        self.dir.cleanup()

    def test_statistics_equal_cli(self):
        out = subprocess.run([CLI, "stats", self.path, "--format", "json"], check=True, capture_output=True,
                             text=True).stdout
        rows = [json.loads(line) for line in out.splitlines()]
        capture = qm416x.read_data_file(self.path)
        self.assertEqual(capture.channels, [0, 3])
        self.assertEqual([capture.statistics(r["channel"]) for r in rows], rows)
        self.assertEqual(len(capture.codes(3)), 64)
        copy = os.path.join(self.dir.name, "b.dat")
        capture.save(copy)
        with open(self.path, "rb") as a, open(copy, "rb") as b:
            self.assertEqual(a.read(), b.read())

    def test_allan_equals_cli(self):
        out = subprocess.run([CLI, "allan", self.path, "--channel", "3", "--format", "json"], check=True,
                             capture_output=True, text=True).stdout
        curve = qm416x.read_data_file(self.path).allan(3)
        points = [dict(zip(("tau_s", "adev_code", "adev_v", "count"), p))
                  for p in zip(*(curve[k].tolist() for k in ("tau_s", "adev_code", "adev_v", "count")))]
        self.assertEqual(points, json.loads(out)["points"])
        self.assertEqual(points[curve["minimum"]], json.loads(out)["minimum"])

    def test_damaged_file(self):
        with open(self.path, "rb") as f:
            lines = f.read().split(b"\r\n")
        with open(self.path, "wb") as f:
            f.write(b"\r\n".join(lines[:3]))
        with self.assertRaises(qm416x.FileError) as e:
            qm416x.read_data_file(self.path)
        self.assertEqual(str(e.exception), self.path + ": error 62 : Input past end of file")


if __name__ == "__main__":
    unittest.main()
