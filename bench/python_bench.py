#!/usr/bin/python3
"""Timings of the Python module (not a test): Capture.codes of 8192 codes, statistics of 8
channels, and an acquisition through Python against its wire time.

    PYTHONPATH=build/release/python bench/python_bench.py [path of qm416x-boardsim]

Without the simulator's path only the first two are measured."""
import subprocess
import sys
import timeit

import qm416x

LINE_BYTES_PER_S = 3840  # 38400 baud, 10 bits a byte


def best_ms(call, number):
    return min(timeit.repeat(call, number=number, repeat=5)) / number * 1e3


def capture_of_8_channels():
    # 8 channels x 1024 codes, as the largest acquisition of the simulated board.
    with qm416x.Board("sim") as board:
        return board.acquire(range(8), samples=1024, width=24)


def main():
    capture = capture_of_8_channels()
    # One channel of 8192 codes: 32768 bytes of 4-byte records, as much as the board holds.
    with qm416x.Board("sim") as board:
        long = board.acquire([0], samples=8192, width=24)
    n = len(long.codes(0))
    print(f"Capture.codes of {n} codes: {best_ms(lambda: long.codes(0), 1000):.4f} ms")
    print("Capture.statistics of 8 channels: "
          f"{best_ms(lambda: [capture.statistics(c) for c in range(8)], 100):.4f} ms")
    if len(sys.argv) < 2:
        return
    sim = subprocess.Popen([sys.argv[1]], stdout=subprocess.PIPE, text=True)  # paced: the real line rate
    try:
        with qm416x.Board(sim.stdout.readline().strip()) as board:
            board.acquire(range(8), samples=1024, width=24)  # the set-up is made once
            runs = 3
            wall = min(timeit.repeat(lambda: board.acquire(range(8), samples=1024, width=24), number=1,
                                     repeat=runs))
    finally:
        sim.kill()
    # Request, 8-byte answer, 32768 bytes of records, 2 closing bytes, the "S 80" exchange.
    wire = 32811 / LINE_BYTES_PER_S
    print(f"acquisition of 8 x 1024 24-bit samples: {wall:.3f} s, wire {wire:.3f} s, "
          f"wall / wire {wall / wire:.4f}")


if __name__ == "__main__":
    main()
