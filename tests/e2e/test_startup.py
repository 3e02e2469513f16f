"""The real vlak starts under X, Ctrl+S runs the program and prints the ready message that a
screen reader can read, and closing the window writes the memory image."""

import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from vlakdriver import Vlak, need_session, wait_for  # noqa: E402


def main(rundir):
    need_session()
    vlak = Vlak(rundir)
    try:
        rows = wait_for("the screen on the accessibility bus", vlak.screen).split("\n")
        assert rows == [""] * 24, rows
        assert os.path.exists(vlak.path("vlak.ini")), "the first start creates the settings"

        vlak.keys("ctrl+s")
        rows = wait_for("the ready message", lambda: (vlak.screen() or "").startswith("hotovo")
                        and vlak.screen()).split("\n")
        assert len(rows) == 24, len(rows)
        assert rows[0] == "hotovo".ljust(80), repr(rows[0])
        assert rows[1] == "", repr(rows[1])

        vlak.keys("ctrl+s")
        wait_for("the second ready message", lambda: (vlak.screen() or "").split("\n")[1].startswith("hotovo"))

        vlak.close_window()
        assert vlak.wait_exit() == 0
        with open(vlak.path("ram.dat"), "rb") as f:
            assert f.read() == bytes(65536)
        print("1 passed, 0 failed")
    finally:
        vlak.cleanup()


if __name__ == "__main__":
    main(sys.argv[1])
