"""Start-up time of the real vlak, from launch until its main window is mapped on the X display,
and its resident memory once idle. Run inside tests/e2e/session:

    tests/e2e/session /usr/bin/python3 bench/bench_startup.py build/run
"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, display


def mapped_window(d, pid_hint):
    root = d.screen().root
    name_atom = d.intern_atom("_NET_WM_NAME")
    for w in root.query_tree().children:
        try:
            if w.get_attributes().map_state != X.IsViewable:
                continue
            name = w.get_full_property(name_atom, 0)
            title = name.value.decode() if name else (w.get_wm_name() or "")
            if title.startswith("vlak - "):
                return w
        except Exception:
            continue
    return None


def one_start(rundir):
    folder = tempfile.mkdtemp(prefix="vlak-bench-")
    for name in os.listdir(rundir):
        src = os.path.join(rundir, name)
        if os.path.isfile(src) and not name.endswith(".ini") and name != "ram.dat":
            shutil.copy2(src, folder)
    d = display.Display()
    start = time.monotonic()
    proc = subprocess.Popen([os.path.join(folder, "vlak")], cwd=folder,
                            env=dict(os.environ, QT_QPA_PLATFORM="xcb"))
    while mapped_window(d, proc.pid) is None:
        if time.monotonic() - start > 20:
            raise RuntimeError("no window")
        time.sleep(0.002)
    shown = time.monotonic() - start
    time.sleep(2.0)
    with open(f"/proc/{proc.pid}/status") as f:
        rss = next(int(line.split()[1]) for line in f if line.startswith("VmRSS:"))
    proc.terminate()
    proc.wait()
    d.close()
    shutil.rmtree(folder, ignore_errors=True)
    return shown, rss


def main(rundir, runs=10):
    results = [one_start(rundir) for _ in range(runs)]
    times = sorted(r[0] * 1000 for r in results)
    rss = [r[1] / 1024 for r in results]
    print(f"start-up to window shown: median {statistics.median(times):.0f} ms, "
          f"min {times[0]:.0f} ms, max {times[-1]:.0f} ms ({runs} starts)")
    print(f"resident memory when idle: median {statistics.median(rss):.1f} MiB")


if __name__ == "__main__":
    main(sys.argv[1])
