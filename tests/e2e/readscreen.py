"""Prints the text of vlak's screen as the accessibility bus gives it; exits 1 when not found."""

import sys

import pyatspi


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or app.name != "vlak":
            continue
        found = pyatspi.findDescendant(
            app, lambda o: o is not None and o.getRole() == pyatspi.ROLE_TEXT and o.name == "Screen")
        if found:
            text = found.queryText()
            sys.stdout.write(text.getText(0, text.characterCount))
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
