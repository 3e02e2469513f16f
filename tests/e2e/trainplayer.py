"""Plays the train game on the real vlak as a blind player would: a space at the opening and at
every wait, and at each question the number worked out from what the program said during the
journey, typed into the input dialog and confirmed with Enter."""

import re
import subprocess
import time

from screenfollower import ScreenFollower

QUESTIONS = {
    "Kolko bolo na trati semaforov?": "semafor.",
    "kolko bolo na trati závor?": "závory.",
    "cez kolko tunelov šiel vlak?": "tunel.",
    "Po kolkých mostoch viedli kolajnice?": "most.",
    "Na kolkých staniciach vlak zastavil?": "stations",
    "Kolko cestujúcich sa priviezlo do koňečnej stanice?": "passengers",
}
WAITS = ("medzerník.", "cestujúcich.")
DEPARTURE = re.compile(r"^Vlak odchádza\. Je v ňom\s+(\d+)\s+cestujúcich\.$")
STATION = re.compile(r"^Nastúpilo\s+(\d+)\s+osuob a vystúpilo\s+(\d+)\s+cestujúcich\.$")


def truth(rows, question):
    """The true answer from the rows of the run now ending (from its departure on)."""
    start = max(i for i, r in enumerate(rows) if DEPARTURE.match(r))
    passengers = int(DEPARTURE.match(rows[start]).group(1))
    counts = {"semafor.": 0, "závory.": 0, "tunel.": 0, "most.": 0}
    stations = 0
    for row in rows[start + 1:]:
        if row == "Stanica.":
            stations += 1
        elif m := STATION.match(row):
            passengers += int(m.group(1)) - int(m.group(2))
        elif row in counts:
            counts[row] += 1
    kind = QUESTIONS[question]
    if kind == "stations":
        return stations + 1  # the terminal is a stop too
    if kind == "passengers":
        return passengers
    return counts[kind]


class TrainPlayer:
    def __init__(self, vlak, wrong_runs=(), log=print):
        self.vlak = vlak
        self.follow = ScreenFollower()
        self.wrong_runs = set(wrong_runs)
        self.log = log
        self.answered = []  # (question, truth, typed)

    def _read(self):
        text = self.vlak.screen()
        if text is not None:
            self.follow.update(text)
        return self.follow.written()

    def _dialog(self):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Vlož data$"],
                             capture_output=True, text=True).stdout.split()
        return out[0] if out else None

    def _type_into_dialog(self, dialog, text):
        subprocess.run(["xdotool", "windowfocus", "--sync", dialog], check=True)
        if text:
            subprocess.run(["xdotool", "type", "--delay", "30", text], check=True)
        subprocess.run(["xdotool", "key", "Return"], check=True)
        end = time.monotonic() + 10
        while self._dialog() == dialog and time.monotonic() < end:
            time.sleep(0.05)

    def play(self, timeout=900):
        """Plays until the program prints its ready message; returns the written rows."""
        handled = 0  # rows up to here have had their wait answered
        end = time.monotonic() + timeout
        self.vlak.keys("ctrl+s")
        while time.monotonic() < end:
            rows = self._read()
            if rows and rows[-1] == "hotovo":
                return rows
            dialog = self._dialog()
            if dialog:
                rows = self._read()
                question = rows[-1]
                if question == "Prosím přepiš":
                    question = next(r for r in reversed(rows) if r in QUESTIONS)
                assert question in QUESTIONS, f"the input dialog opened after {question!r}"
                run = len(self.answered)
                right = truth(rows, question)
                if run in self.wrong_runs and rows[-1] != "Prosím přepiš":
                    self._type_into_dialog(dialog, "abc")  # not a number: asked again
                    continue
                typed = 1000 if run in self.wrong_runs else right
                self.log(f"run {run + 1}: {question} -> {typed} (true {right})")
                self.answered.append((question, right, typed))
                self._type_into_dialog(dialog, str(typed))
                handled = len(self._read())
                continue
            if len(rows) > handled and rows[-1].endswith(WAITS):
                handled = len(rows)
                self.vlak.keys("space")
                continue
            time.sleep(0.1)
        raise AssertionError("the game did not end in time; last rows:\n" +
                             "\n".join(self.follow.written()[-10:]))
