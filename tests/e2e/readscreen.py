"""Reads vlak's screen through the accessibility bus, as a screen reader does.

  readscreen.py --locate     finds the screen and prints where it lives: "BUSNAME PATH"
  readscreen.py BUSNAME PATH prints the screen's text with one call to that object

A screen reader finds an object once and then reads it when it changes; walking the whole tree
for every read would make the program serve dozens of requests each time. Exits 1 when the
screen is not found or does not answer."""

import sys


def locate():
    import pyatspi

    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or app.name != "vlak":
            continue
        found = pyatspi.findDescendant(
            app, lambda o: o is not None and o.getRole() == pyatspi.ROLE_TEXT and o.name == "Screen")
        if found:
            sys.stdout.write(f"{found.app.bus_name} {found.path}\n")
            return 0
    return 1


def read(busname, path):
    from gi.repository import Gio, GLib

    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                None, GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 5000,
                                None).unpack()[0]
    bus = Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
        | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    text = bus.call_sync(busname, path, "org.a11y.atspi.Text", "GetText",
                         GLib.Variant("(ii)", (0, -1)), GLib.VariantType("(s)"),
                         Gio.DBusCallFlags.NONE, 5000, None).unpack()[0]
    sys.stdout.write(text)
    return 0


def main(args):
    if args == ["--locate"]:
        return locate()
    if len(args) == 2:
        try:
            return read(*args)
        except Exception as e:  # a program that has ended, or an object that has gone
            sys.stderr.write(f"readscreen: {e}\n")
            return 1
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
