"""The real vlak speaks: Ctrl+S starts the game, whose opening is printed and heard at the sink,
and a key pressed during a long print silences it at once. Once with the embedded engine and
once through a speech-dispatcher started here. Usage: test_speech.py RUNDIR"""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
import speechsink as s  # noqa: E402
from vlakdriver import need_session  # noqa: E402


def speaks_and_a_key_silences(rundir, sapi5, within):
    rec = s.Recorder()
    vlak = s.start(rundir, sapi5)
    try:
        s.to_the_long_print(vlak, rec)
        # Held down, the key stops the speech but types nothing yet: the game then waits
        # for a key in silence.
        subprocess.run(["xdotool", "windowfocus", "--sync", vlak.window], check=True)
        pressed = time.monotonic()
        subprocess.run(["xdotool", "keydown", "x"], check=True)
        time.sleep(1.0)
        samples = rec.samples()
        end = s.last_loud_before_quiet(samples, rec.indexat(pressed), quiet_ms=300)
        assert end is not None, "the speech goes on after the key"
        delay = rec.timeof(end) - pressed
        assert delay < within, f"the speech stopped {delay * 1000:.0f} ms after the key"
        subprocess.run(["xdotool", "keyup", "x"], check=True)
        vlak.close_window()
        assert vlak.wait_exit() == 0
        return delay
    finally:
        rec.stop()
        vlak.cleanup()


def main(rundir):
    need_session()
    s.need_audio()
    subprocess.run(["xset", "r", "off"], check=True)  # a held key must not repeat
    try:
        delay = speaks_and_a_key_silences(rundir, sapi5=False, within=0.15)
        print(f"embedded engine: silent {delay * 1000:.1f} ms after the key")
        with tempfile.TemporaryDirectory() as folder:
            # The daemon's cancel and its own audio buffer take longer than our engine's stop.
            daemon = s.start_speechd(folder)
            try:
                delay = speaks_and_a_key_silences(rundir, sapi5=True, within=0.5)
                print(f"speech-dispatcher: silent {delay * 1000:.1f} ms after the key")
            finally:
                s.stop_speechd(daemon)
    finally:
        subprocess.run(["xset", "r", "on"])
    print("2 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
