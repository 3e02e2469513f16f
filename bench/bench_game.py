"""CPU used by the real vlak: during a whole train game played end to end, and during 10 seconds
of the opening's key wait with the device sounds on and off. Run inside tests/e2e/session:

    tests/e2e/session /usr/bin/python3 bench/bench_game.py build/run
"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from trainplayer import TrainPlayer  # noqa: E402
from vlakdriver import Vlak, wait_for  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime + stime


def whole_game(rundir):
    ini = "[voice]\nvoiceallowed=0\n"
    vlak = Vlak(rundir, before_start=lambda d: open(os.path.join(d, "vlak.ini"), "w").write(ini))
    try:
        wait_for("the screen", vlak.screen)
        cpu0, wall0 = cpu_seconds(vlak.process.pid), time.monotonic()
        TrainPlayer(vlak, log=lambda *_: None).play()
        cpu, wall = cpu_seconds(vlak.process.pid) - cpu0, time.monotonic() - wall0
        print(f"whole game: {cpu:.2f} CPU s in {wall:.1f} s = {100 * cpu / wall:.2f} % of a core")
    finally:
        vlak.cleanup()


def keywait(rundir, sounds):
    ini = f"[voice]\nvoiceallowed=0\n[sounds]\nzumirasounds={1 if sounds else 0}\n"
    vlak = Vlak(rundir, before_start=lambda d: open(os.path.join(d, "vlak.ini"), "w").write(ini))
    try:
        wait_for("the screen", vlak.screen)
        vlak.keys("ctrl+s")
        wait_for("the opening's wait", lambda: "medzerník." in (vlak.screen() or ""), timeout=30)
        cpu0, wall0 = cpu_seconds(vlak.process.pid), time.monotonic()
        time.sleep(10)
        cpu, wall = cpu_seconds(vlak.process.pid) - cpu0, time.monotonic() - wall0
        state = "on" if sounds else "off"
        print(f"key wait, sounds {state}: {cpu:.2f} CPU s in {wall:.1f} s = "
              f"{100 * cpu / wall:.2f} % of a core")
    finally:
        vlak.cleanup()


if __name__ == "__main__":
    keywait(sys.argv[1], True)
    keywait(sys.argv[1], False)
    whole_game(sys.argv[1])
