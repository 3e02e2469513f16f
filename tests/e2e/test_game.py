"""A whole train game on the real vlak, played by keyboard and read through the accessibility
bus, reaches its grade and the ready message."""

import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from trainplayer import TrainPlayer  # noqa: E402
from vlakdriver import Vlak, need_session, wait_for  # noqa: E402


def main(rundir):
    need_session()
    # The voice is left out here, so the game runs at the pace of its sounds; speech has tests
    # of its own.
    ini = "[voice]\nvoiceallowed=0\n"
    vlak = Vlak(rundir, before_start=lambda d: open(os.path.join(d, "vlak.ini"), "w").write(ini))
    try:
        wait_for("the screen on the accessibility bus", vlak.screen)
        player = TrainPlayer(vlak, wrong_runs={0})
        rows = player.play()
        assert len(player.answered) == 6, player.answered
        assert "Prosím přepiš" in rows, "letters typed at a question are refused"
        assert "Ňie." in " ".join(rows), "the wrong answer is told"
        assert sum(r == "správna odpoveď." for r in rows) == 5, "five correct runs"
        verdict = next(i for i, r in enumerate(rows) if r.startswith("Výborňe!"))
        assert rows[verdict + 1] == ";Na peť jázd bez ňehody si prehliadol:", rows[verdict + 1]
        miss = {"semafor.": "jeden semafor.", "závory.": "jedny závory.", "tunel.": "jeden tunel.",
                "most.": "jeden most.", "stations": "jednu stanicu.",
                "passengers": "jedenkrát cestujúcich."}
        from trainplayer import QUESTIONS
        assert rows[verdict + 2] == miss[QUESTIONS[player.answered[0][0]]], rows[verdict + 2]
        assert rows[-1] == "hotovo"
        vlak.close_window()
        assert vlak.wait_exit() == 0
        print("1 passed, 0 failed")
    finally:
        vlak.cleanup()


if __name__ == "__main__":
    main(sys.argv[1])
