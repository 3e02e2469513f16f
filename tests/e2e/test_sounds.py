"""The real vlak's sounds: the sounds dialog's test tone recorded from the audio server and
measured, and a start without a usable sounds.dat, which tells the user and ends.
Usage: test_sounds.py RUNDIR WAVANALYSE"""

import os
import signal
import subprocess
import sys
import tempfile
import time
import wave

sys.path.insert(0, os.path.dirname(__file__))
from vlakdriver import SKIP, Vlak, find_window, need_session, wait_for  # noqa: E402

READER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "readtexts.py")
RATE = 48000
# Note 1000 plays at 64,000 samples per second through the octave-1 wave of the recipe, which
# holds 32 cycles in 3914 samples: 64000 * 32 / 3914 Hz.
TEST_TONE_HZ = 64000 * 32 / 3914
TEST_TONE_MS = 100


def texts():
    """Everything a screen reader can read in vlak's windows, or None before it is there."""
    out = subprocess.run(["/usr/bin/python3", READER], capture_output=True, timeout=30)
    return out.stdout.decode("utf-8").splitlines() if out.returncode == 0 else None


class Recording:
    """The default sink's monitor, recorded by parec from the moment it delivers sound."""

    def __init__(self, folder):
        self.raw = os.path.join(folder, "recording.raw")
        self.out = open(self.raw, "wb")
        self.process = subprocess.Popen(
            ["parec", "-d", "@DEFAULT_MONITOR@", f"--rate={RATE}", "--channels=1",
             "--format=s16le", "--latency-msec=5", "--raw"], stdout=self.out)
        wait_for("the recorder", lambda: os.path.getsize(self.raw) >= RATE // 10, timeout=5)

    def stop(self, wavpath):
        self.process.send_signal(signal.SIGINT)
        self.process.wait(timeout=5)
        self.out.close()
        with open(self.raw, "rb") as f:
            frames = f.read()
        with wave.open(wavpath, "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(RATE)
            w.writeframes(frames[: len(frames) // 2 * 2])


def analyse(wavanalyse, wavpath):
    out = subprocess.run([wavanalyse, wavpath], capture_output=True, text=True, check=True).stdout
    return {k: float(v) for k, v in (item.split("=") for item in out.split())}


def test_tone_of_the_sounds_dialog(rundir, wavanalyse):
    vlak = Vlak(rundir, env={"ALSOFT_DRIVERS": "pulse"})
    work = tempfile.mkdtemp(prefix="vlak-rec-")
    try:
        vlak.keys("ctrl+d")
        dialog = wait_for("the sounds dialog", lambda: find_window("^Nastavení zvuků$"))
        # The voice box has the focus; the track bar is two Tabs on, at full volume.
        vlak.keys("Tab", "Tab", window=dialog)
        time.sleep(0.3)
        recording = Recording(work)
        time.sleep(0.1)
        vlak.keys("Left", window=dialog)
        time.sleep(0.6)
        wavpath = os.path.join(work, "tone.wav")
        recording.stop(wavpath)
        tone = analyse(wavanalyse, wavpath)
        print("test tone:", tone)
        assert tone["found"] == 1, "no test tone recorded"
        assert abs(tone["frequency_hz"] - TEST_TONE_HZ) < 2, tone
        assert abs(tone["length_ms"] - TEST_TONE_MS) <= 8, tone

        vlak.keys("Return", window=dialog)
        wait_for("the dialog to close", lambda: not find_window("^Nastavení zvuků$"))
        with open(vlak.path("vlak.ini")) as f:
            assert "sndvolume=-100" in f.read(), "OK stores the volume of position 99"
        vlak.close_window()
        assert vlak.wait_exit() == 0
    finally:
        vlak.cleanup()
        subprocess.run(["rm", "-rf", work])


def unusable_sound_file(rundir, name, prepare, expected):
    """The program tells the fault in a message box before its window appears, and ends with
    a failure when the box is closed."""
    vlak = Vlak(rundir, before_start=prepare, main_window=False)
    try:
        box = wait_for(f"the message box ({name})", lambda: find_window("^vlak$"))
        shown = wait_for(f"the message on the accessibility bus ({name})",
                         lambda: (t := texts()) and any(expected(x) for x in t) and t)
        assert not find_window("^vlak - "), "the main window never appears"
        vlak.keys("Return", window=box)
        code = vlak.wait_exit()
        assert code != 0, (name, code)
        print(f"{name}: exit {code}, told: {[x for x in shown if expected(x)]}")
    finally:
        vlak.cleanup()


def test_unusable_sound_files(rundir):
    def remove(folder):
        os.remove(os.path.join(folder, "sounds.dat"))

    def garbage(folder):
        with open(os.path.join(folder, "sounds.dat"), "wb") as f:
            f.write(b"this is no sound file at all")

    def truncate(folder):
        path = os.path.join(folder, "sounds.dat")
        with open(path, "r+b") as f:
            f.truncate(os.path.getsize(path) // 2)

    cases = [
        ("missing", remove, lambda t: t == "Nelze nalézt soubor sounds.dat"),
        ("corrupt", garbage, lambda t: "sounds.dat" in t and t != "Nelze nalézt soubor sounds.dat"),
        ("truncated", truncate, lambda t: "sounds.dat" in t and "Nelze" not in t),
    ]
    for name, prepare, expected in cases:
        unusable_sound_file(rundir, name, prepare, expected)


def main(rundir, wavanalyse):
    need_session()
    if subprocess.run(["pactl", "info"], capture_output=True).returncode != 0:
        print("no PulseAudio server: run inside tests/e2e/session")
        sys.exit(SKIP)
    test_tone_of_the_sounds_dialog(rundir, wavanalyse)
    test_unusable_sound_files(rundir)
    print("2 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
