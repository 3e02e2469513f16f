"""Speech latencies of the real vlak at the audio server's sink, for the embedded engine and for
speech-dispatcher: key-to-silence (a key held down during a long print until the recording goes
quiet) and print-to-first-audio (Ctrl+S, whose run prints the greeting first, until the first
audible sample: an upper bound that includes the run's start and the voice's preparation). Run inside tests/e2e/session:
  tests/e2e/session /usr/bin/python3 bench/bench_speech_sink.py RUNDIR [ROUNDS]"""

import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import speechsink as s  # noqa: E402
from vlakdriver import need_session  # noqa: E402


def round_once(rundir, sapi5):
    rec = s.Recorder()
    vlak = s.start(rundir, sapi5)
    try:
        typed = time.monotonic()
        s.to_the_long_print(vlak, rec)
        samples = rec.samples()
        first = s.first_loud(samples, rec.indexat(typed))
        onset = rec.timeof(first) - typed if first is not None else None
        subprocess.run(["xdotool", "windowfocus", "--sync", vlak.window], check=True)
        pressed = time.monotonic()
        subprocess.run(["xdotool", "keydown", "x"], check=True)
        time.sleep(0.8)
        samples = rec.samples()
        end = s.last_loud_before_quiet(samples, rec.indexat(pressed), quiet_ms=300)
        silence = rec.timeof(end) - pressed if end is not None else None
        subprocess.run(["xdotool", "keyup", "x"], check=True)
        vlak.close_window()
        vlak.wait_exit()
        return silence, onset
    finally:
        rec.stop()
        vlak.cleanup()


def report(name, values):
    values = [v * 1000 for v in values if v is not None]
    if not values:
        print(f"{name:48s} no measurement")
        return
    print(f"{name:48s} median {statistics.median(values):7.1f} ms  min {min(values):7.1f}  "
          f"max {max(values):7.1f}  (n={len(values)})")


def series(rundir, rounds, sapi5, label):
    results = [round_once(rundir, sapi5) for _ in range(rounds)]
    report(f"{label}: key to silence", [r[0] for r in results])
    report(f"{label}: print to first audio", [r[1] for r in results])


def main(rundir, rounds):
    need_session()
    s.need_audio()
    subprocess.run(["xset", "r", "off"], check=True)
    try:
        series(rundir, rounds, False, "embedded engine")
        with tempfile.TemporaryDirectory() as folder:
            daemon = s.start_speechd(folder)
            try:
                series(rundir, rounds, True, "speech-dispatcher")
            finally:
                s.stop_speechd(daemon)
    finally:
        subprocess.run(["xset", "r", "on"])


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 7)
