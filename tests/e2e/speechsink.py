"""Speech of the real vlak at the audio server: the default sink's monitor recorded by parec
with the arrival time of every piece, so that a sample can be placed on the monotonic clock,
and the program driven to its first key wait with product sounds off (only speech reaches the
sink)."""

import os
import shutil
import signal
import subprocess
import threading
import time

from vlakdriver import SKIP, Vlak, wait_for

RATE = 48000
WINDOW = RATE // 200  # 5 ms
LOUD = 600            # RMS of speech is in the thousands; the idle sink is 0


class Recorder:
    def __init__(self):
        self.data = bytearray()
        self.arrivals = []  # (bytes received so far, monotonic time of arrival)
        self.lock = threading.Lock()
        self.process = subprocess.Popen(
            ["parec", "-d", "@DEFAULT_MONITOR@", f"--rate={RATE}", "--channels=1",
             "--format=s16le", "--latency-msec=2", "--raw"], stdout=subprocess.PIPE, bufsize=0)
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()
        wait_for("the recorder", lambda: len(self.data) >= RATE // 10, timeout=5)

    def _read(self):
        while True:
            chunk = self.process.stdout.read(1024)
            if not chunk:
                return
            now = time.monotonic()
            with self.lock:
                self.data += chunk
                self.arrivals.append((len(self.data), now))

    def stop(self):
        self.process.send_signal(signal.SIGINT)
        self.process.wait(timeout=5)

    def samples(self):
        with self.lock:
            raw = bytes(self.data[: len(self.data) // 2 * 2])
        return memoryview(raw).cast("h")

    def timeof(self, index):
        """Monotonic time at which sample index was played: the earliest bound the arrivals
        give (a sample arrives no sooner than it is played)."""
        with self.lock:
            arrivals = list(self.arrivals)
        best = None
        for size, at in arrivals:
            if size // 2 > index:
                t = at - (size // 2 - 1 - index) / RATE
                best = t if best is None else min(best, t)
        return best

    def indexat(self, when):
        with self.lock:
            arrivals = list(self.arrivals)
        for size, at in arrivals:
            if at >= when:
                return max(0, size // 2 - int((at - when) * RATE))
        return len(self.data) // 2


def rms(samples, start, end):
    start, end = max(0, start), min(len(samples), end)
    if end <= start:
        return 0.0
    total = 0
    for i in range(start, end):
        total += samples[i] * samples[i]
    return (total / (end - start)) ** 0.5


def loudness(samples, start, end):
    """RMS of each 5 ms window from start to end."""
    return [rms(samples, i, i + WINDOW) for i in range(start, end, WINDOW)]


def last_loud_before_quiet(samples, start, quiet_ms=300):
    """Index of the end of the last loud window after start that is followed by quiet_ms of
    quiet; None when the sound never stops for that long."""
    need = quiet_ms * RATE // 1000 // WINDOW
    levels = loudness(samples, start, len(samples))
    last = start
    run = 0
    for n, level in enumerate(levels):
        if level >= LOUD:
            last = start + (n + 1) * WINDOW
            run = 0
        else:
            run += 1
            if run >= need:
                return last
    return None


def first_audible(samples, start, level=64):
    """Index of the first sample from start on whose magnitude reaches level (about -54 dBFS);
    the idle sink records exact zeros."""
    for i in range(start, len(samples)):
        if abs(samples[i]) >= level:
            return i
    return None


def need_audio():
    if not shutil.which("parec") or subprocess.run(["pactl", "info"], capture_output=True).returncode:
        print("no PulseAudio server: run inside tests/e2e/session")
        raise SystemExit(SKIP)


def ini(sapi5):
    """Voice allowed, product sounds off (only speech reaches the sink), the chosen engine."""
    return ("[voice]\nvoiceallowed=1\nSAPI5=%d\n[sounds]\nzumirasounds=0\n" % (1 if sapi5 else 0))


def start(rundir, sapi5, env=None):
    text = ini(sapi5)

    def write(folder):
        with open(os.path.join(folder, "vlak.ini"), "w") as f:
            f.write(text)

    environment = {"ALSOFT_DRIVERS": "pulse"}
    environment.update(env or {})
    return Vlak(rundir, env=environment, before_start=write)


def to_the_long_print(vlak, rec):
    """Ctrl+S; returns while the offer of the rules is on the screen and being spoken."""
    started = rec.indexat(time.monotonic())
    vlak.keys("ctrl+s")
    wait_for("the offer of the rules",
             lambda: (t := vlak.screen()) is not None and "Hra, vlak;" in t, timeout=30)
    samples = rec.samples()
    assert max(loudness(samples, started, len(samples))) >= 4 * LOUD, "the opening is heard"

    wait_until_speaking(rec, window_ms=20, step=0.005)


def xtest_key(keysym_name, down):
    """Sends a key's press or release through XTEST from this process and returns the monotonic
    time just before it was sent; the server has taken it when this returns. (A program such as
    xdotool would add its own start-up to a measured delay.)"""
    from Xlib import X, XK, display
    from Xlib.ext import xtest

    d = display.Display()
    code = d.keysym_to_keycode(XK.string_to_keysym(keysym_name))
    sent = time.monotonic()
    xtest.fake_input(d, X.KeyPress if down else X.KeyRelease, code)
    d.sync()
    d.close()
    return sent


def speechd_socket():
    return os.path.join(os.environ["XDG_RUNTIME_DIR"], "speech-dispatcher", "speechd.sock")


def wait_until_speaking(rec, window_ms=10, step=0.001):
    """Returns as soon as the newest window_ms of the recording hold a loud moment: a key
    pressed then lands in a word, not in a pause between words, which would make it look
    silenced at once."""
    span = RATE * window_ms // 1000

    def speaking_now():
        samples = rec.samples()
        return max(loudness(samples, len(samples) - span, len(samples))) >= LOUD

    wait_for("a loud moment of the speech", speaking_now, timeout=5, step=step)


def start_speechd(folder):
    """The session's speech-dispatcher when it runs one; otherwise a daemon of our own on the
    session's audio server, whose process is returned."""
    if os.path.exists(speechd_socket()):
        return None
    logs = os.path.join(folder, "spd-logs")
    os.makedirs(logs, exist_ok=True)
    process = subprocess.Popen(["speech-dispatcher", "-s", "-t", "0", "-L", logs,
                                "-P", os.path.join(folder, "spd.pid")],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for("speech-dispatcher's socket", lambda: os.path.exists(speechd_socket()), timeout=10)
    return process


def stop_speechd(process):
    if process is None:
        return
    process.terminate()
    try:
        process.wait(timeout=3)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
