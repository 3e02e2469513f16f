"""Prints the name of every accessible object of vlak's windows, one per line, as a screen reader
finds them (window titles, labels, buttons); exits 1 when vlak is not on the accessibility bus."""

import sys

import pyatspi


def names(node, depth=0):
    if node is None or depth > 30:
        return
    if node.name:
        yield node.name
    for child in node:
        yield from names(child, depth + 1)


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "vlak":
            for name in names(app):
                sys.stdout.write(name.replace("\n", " ") + "\n")
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
