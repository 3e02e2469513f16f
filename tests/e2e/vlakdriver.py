"""Drives the real vlak as a blind player would: real X key events through xdotool, and the
screen read through the accessibility bus, as a screen reader reads it."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
READER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "readscreen.py")


def need_session():
    if not os.environ.get("DISPLAY") or not shutil.which("xdotool"):
        print("no X display or xdotool: run inside tests/e2e/session")
        sys.exit(SKIP)


def wait_for(what, check, timeout=15.0, step=0.05):
    end = time.monotonic() + timeout
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(step)


def find_window(title_pattern):
    """The id of a visible window whose title matches the pattern, or None."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title_pattern],
                         capture_output=True, text=True).stdout.split()
    return out[0] if out else None


class Vlak:
    """The program copied into a fresh folder of its own, started there."""

    def __init__(self, rundir, env=None, before_start=None, main_window=True):
        self.folder = tempfile.mkdtemp(prefix="vlak-e2e-")
        for name in os.listdir(rundir):
            src = os.path.join(rundir, name)
            if os.path.isfile(src) and not name.endswith(".ini") and name != "ram.dat":
                shutil.copy2(src, self.folder)
        if before_start:
            before_start(self.folder)
        environment = dict(os.environ)
        environment.update({"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "QT_QPA_PLATFORM": "xcb"})
        environment.pop("QT_ACCESSIBILITY", None)
        if env:
            environment.update(env)
        self.started = time.monotonic()
        self.process = subprocess.Popen([os.path.join(self.folder, "vlak")], cwd=self.folder,
                                        env=environment)
        # A start that fails shows a message box instead of the main window.
        self.window = wait_for("the main window", self._findwindow) if main_window else None

    def _findwindow(self):
        return find_window("^vlak - ")

    def path(self, name):
        return os.path.join(self.folder, name)

    def keys(self, *keys, window=None):
        """Types keys into the main window, or into another window (a dialog) of the program."""
        subprocess.run(["xdotool", "windowfocus", "--sync", window or self.window], check=True)
        subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)

    def screen(self):
        """The text of the screen as the accessibility bus gives it, read by a process of its
        own as a screen reader would (a client that stops serving the bus while it waits for
        the program would hold the program up). The screen is found once; later reads ask it
        directly."""
        if not getattr(self, "screenref", None):
            out = subprocess.run(["/usr/bin/python3", READER, "--locate"], capture_output=True,
                                 timeout=30)
            if out.returncode != 0:
                return None
            self.screenref = out.stdout.decode().split()
        out = subprocess.run(["/usr/bin/python3", READER, *self.screenref], capture_output=True,
                             timeout=30)
        if out.returncode != 0:
            self.screenref = None
            return None
        return out.stdout.decode("utf-8")

    def close_window(self):
        """Asks the window to close, as a window manager's close button does."""
        from Xlib import X, display, protocol

        d = display.Display()
        window = d.create_resource_object("window", int(self.window))
        protocols = d.intern_atom("WM_PROTOCOLS")
        delete = d.intern_atom("WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(window=window, client_type=protocols,
                                             data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        window.send_event(event, event_mask=X.NoEventMask)
        # A round trip, not just a flush: the server may drop a connection that closes with
        # requests still unread, and the close request with it.
        d.sync()
        d.close()

    def wait_exit(self, timeout=10):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            if shutil.which("gdb"):
                subprocess.run(["gdb", "-p", str(self.process.pid), "-batch", "-ex",
                                "thread apply all bt 12"], stdin=subprocess.DEVNULL)
            raise

    def cleanup(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)
