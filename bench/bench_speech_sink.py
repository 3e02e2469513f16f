"""Speech latencies of the real vlak at the audio server's sink, for the embedded engine and for
speech-dispatcher: key-to-silence (a key held down during a long print until the recording goes
quiet) and print-to-first-audio: then a space ends the game's key wait at its release, and the
game's next step prints a sentence at once (product sounds are off, so its whistle takes no
time); the first audible sample after the release bounds the print's latency from above by the
key's delivery.
Ctrl+S to first audio is printed too: it adds the run's start and the voice's preparation.
Last, the daemon's own cancel-to-silence floor, measured with a bare client of its protocol.
Run inside tests/e2e/session:
  tests/e2e/session /usr/bin/python3 bench/bench_speech_sink.py RUNDIR [ROUNDS]"""

import os
import socket
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
        first = s.first_audible(samples, rec.indexat(typed))
        onset = rec.timeof(first) - typed if first is not None else None
        subprocess.run(["xdotool", "windowfocus", "--sync", vlak.window], check=True)
        s.wait_until_speaking(rec)
        pressed = s.xtest_key("x", True)
        time.sleep(0.8)
        samples = rec.samples()
        end = s.last_loud_before_quiet(samples, rec.indexat(pressed), quiet_ms=300)
        silence = rec.timeof(end) - pressed if end is not None else None
        s.xtest_key("x", False)
        time.sleep(0.3)
        s.xtest_key("space", True)
        time.sleep(0.05)
        released = s.xtest_key("space", False)
        time.sleep(0.8)
        samples = rec.samples()
        first = s.first_audible(samples, rec.indexat(released))
        printed = rec.timeof(first) - released if first is not None else None
        vlak.close_window()
        vlak.wait_exit()
        return silence, printed, onset
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
    report(f"{label}: Ctrl+S to first audio", [r[2] for r in results])


def ssip(sock, command):
    sock.sendall(command.encode("utf-8") + b"\r\n")
    reply = b""
    while True:
        reply += sock.recv(4096)
        lines = reply.split(b"\r\n")
        # The last line of a reply has a space after its code; earlier ones a dash.
        if any(len(l) > 3 and l[3:4] == b" " for l in lines):
            return reply


def daemon_alone(rounds):
    """The daemon's own floor: a bare SSIP client speaks a long sentence and cancels it; the
    time from the cancel to silence at the sink is what no client of the daemon can beat."""
    path = s.speechd_socket()
    rec = s.Recorder()
    delays = []
    try:
        with socket.socket(socket.AF_UNIX) as sock:
            sock.connect(path)
            ssip(sock, "SET SELF CLIENT_NAME bench:floor:main")
            for _ in range(rounds):
                ssip(sock, "SPEAK")
                ssip(sock, "This is a long sentence that goes on for a good while, so that it "
                           "is cut off well before its end.\r\n.")
                time.sleep(0.5)
                s.wait_until_speaking(rec)
                cancelled = time.monotonic()
                ssip(sock, "CANCEL SELF")
                time.sleep(0.8)
                samples = rec.samples()
                end = s.last_loud_before_quiet(samples, rec.indexat(cancelled), quiet_ms=300)
                delays.append(rec.timeof(end) - cancelled if end is not None else None)
    finally:
        rec.stop()
    report("speech-dispatcher alone: cancel to silence", delays)


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
                daemon_alone(rounds)
            finally:
                s.stop_speechd(daemon)
    finally:
        subprocess.run(["xset", "r", "on"])


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 7)
