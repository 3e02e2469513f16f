"""The real vlak under X: the screen a screen reader reads, Ctrl+S starting the program, and the
memory image written when the window is closed, idle or in the middle of a run."""

import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from vlakdriver import Vlak, need_session, wait_for  # noqa: E402


def screen_rows(vlak):
    text = vlak.screen()
    return text.split("\n") if text is not None else None


def idle_start_and_close(rundir):
    vlak = Vlak(rundir)
    try:
        rows = wait_for("the screen on the accessibility bus", lambda: screen_rows(vlak))
        assert rows == [""] * 24, rows
        assert os.path.exists(vlak.path("vlak.ini")), "the first start creates the settings"
        vlak.close_window()
        assert vlak.wait_exit() == 0
        with open(vlak.path("ram.dat"), "rb") as f:
            assert f.read() == bytes(65536), "a fresh memory image is all zeros"
    finally:
        vlak.cleanup()


def close_during_a_run(rundir):
    image = bytes(range(256)) * 256
    vlak = Vlak(rundir, before_start=lambda folder: open(os.path.join(folder, "ram.dat"), "wb").write(image))
    try:
        wait_for("the screen on the accessibility bus", lambda: screen_rows(vlak))
        vlak.keys("ctrl+s")
        rows = wait_for("the game's opening",
                        lambda: (r := screen_rows(vlak)) and any(x.startswith("Hra, vlak;") for x in r) and r)
        assert len(rows) == 24, len(rows)
        assert rows[0].startswith("Dobr"), rows[0]
        assert all(len(r) in (0, 80) for r in rows), [len(r) for r in rows]
        vlak.close_window()
        assert vlak.wait_exit() == 0, "closing the window ends the run and the program"
        with open(vlak.path("ram.dat"), "rb") as f:
            assert f.read() == image, "the memory image read at start is written back"
    finally:
        vlak.cleanup()


def main(rundir):
    need_session()
    idle_start_and_close(rundir)
    close_during_a_run(rundir)
    print("2 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
