"""Drives the real vlak as a blind player would: real X key events through xdotool, and the
screen read through the accessibility bus, as a screen reader reads it."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77


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


class Vlak:
    """The program copied into a fresh folder of its own, started there."""

    def __init__(self, rundir, env=None):
        self.folder = tempfile.mkdtemp(prefix="vlak-e2e-")
        for name in os.listdir(rundir):
            src = os.path.join(rundir, name)
            if os.path.isfile(src) and not name.endswith(".ini") and name != "ram.dat":
                shutil.copy2(src, self.folder)
        environment = dict(os.environ)
        environment.update({"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "QT_QPA_PLATFORM": "xcb"})
        environment.pop("QT_ACCESSIBILITY", None)
        if env:
            environment.update(env)
        self.started = time.monotonic()
        self.process = subprocess.Popen([os.path.join(self.folder, "vlak")], cwd=self.folder,
                                        env=environment)
        self.window = wait_for("the main window", self._findwindow)

    def _findwindow(self):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^vlak - "],
                             capture_output=True, text=True).stdout.split()
        return out[0] if out else None

    def path(self, name):
        return os.path.join(self.folder, name)

    def keys(self, *keys):
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window], check=True)
        subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)

    def screen(self):
        """The text of the screen as the accessibility bus gives it."""
        import pyatspi

        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None or app.name != "vlak":
                continue
            found = pyatspi.findDescendant(
                app, lambda o: o is not None and o.getRole() == pyatspi.ROLE_TEXT
                and o.name == "Screen")
            if found:
                text = found.queryText()
                return text.getText(0, text.characterCount)
        return None

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
        d.flush()
        d.close()

    def wait_exit(self, timeout=10):
        return self.process.wait(timeout=timeout)

    def cleanup(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)
