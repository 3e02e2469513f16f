"""CPU used by the real vlak: during a whole train game played end to end, and during 10 seconds
of the opening's key wait with the device sounds on and off. Run inside tests/e2e/session:

    tests/e2e/session /usr/bin/python3 bench/bench_game.py build/run [--no-game]

The sound figures depend on the output latency OpenAL is asked for; to compare another period,
point ALSOFT_CONF at a configuration of your own (it then replaces ours).
"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from trainplayer import TrainPlayer  # noqa: E402
from vlakdriver import Vlak, wait_for  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def stat_seconds(text):
    """User and system CPU seconds from the text of a /proc stat file."""
    fields = text.rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        return stat_seconds(f.read())


def thread_seconds(pid):
    """CPU seconds of each live thread, by thread id and name."""
    out = {}
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/stat") as f:
                text = f.read()
        except OSError:
            continue  # ended meanwhile
        out[(tid, text[text.index("(") + 1: text.rindex(")")])] = stat_seconds(text)
    return out


def breakdown(pid, before, after, total, wall):
    """Splits the process's CPU into the UI thread, the accessibility bridge (the screen reader's
    requests), and the rest: the audio server's client thread and the mixer, whose threads come
    and go as the device pauses and wakes."""
    ui = access = 0.0
    for key, seconds in after.items():
        spent = seconds - before.get(key, 0.0)
        if key[0] == str(pid):
            ui += spent
        elif key[1] == "QDBusConnection":
            access += spent
    rest = total - ui - access
    print(f"  UI thread {100 * ui / wall:.2f} %, accessibility bridge {100 * access / wall:.2f} %, "
          f"sound and the rest {100 * rest / wall:.2f} %")


def whole_game(rundir):
    ini = "[voice]\nvoiceallowed=0\n"
    vlak = Vlak(rundir, before_start=lambda d: open(os.path.join(d, "vlak.ini"), "w").write(ini))
    try:
        wait_for("the screen", vlak.screen)
        pid = vlak.process.pid
        threads0 = thread_seconds(pid)
        cpu0, wall0 = cpu_seconds(pid), time.monotonic()
        TrainPlayer(vlak, log=lambda *_: None).play()
        cpu, wall = cpu_seconds(pid) - cpu0, time.monotonic() - wall0
        print(f"whole game: {cpu:.2f} CPU s in {wall:.1f} s = {100 * cpu / wall:.2f} % of a core")
        breakdown(pid, threads0, thread_seconds(pid), cpu, wall)
    finally:
        vlak.cleanup()


def keywait(rundir, sounds):
    ini = f"[voice]\nvoiceallowed=0\n[sounds]\nzumirasounds={1 if sounds else 0}\n"
    vlak = Vlak(rundir, before_start=lambda d: open(os.path.join(d, "vlak.ini"), "w").write(ini))
    try:
        wait_for("the screen", vlak.screen)
        vlak.keys("ctrl+s")
        wait_for("the opening's wait", lambda: "medzerník." in (vlak.screen() or ""), timeout=30)
        pid = vlak.process.pid
        threads0 = thread_seconds(pid)
        cpu0, wall0 = cpu_seconds(pid), time.monotonic()
        time.sleep(10)
        cpu, wall = cpu_seconds(pid) - cpu0, time.monotonic() - wall0
        state = "on" if sounds else "off"
        print(f"key wait, sounds {state}: {cpu:.2f} CPU s in {wall:.1f} s = "
              f"{100 * cpu / wall:.2f} % of a core")
        breakdown(pid, threads0, thread_seconds(pid), cpu, wall)
    finally:
        vlak.cleanup()


if __name__ == "__main__":
    keywait(sys.argv[1], True)
    keywait(sys.argv[1], False)
    if "--no-game" not in sys.argv:
        whole_game(sys.argv[1])
