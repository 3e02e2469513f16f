"""Follows vlak's 24-row screen through the accessibility bus and keeps every row ever shown, in
order, across scrolling: rows above the cursor only ever move up, so each new reading lines up
with the previous one shifted by the number of rows that scrolled away."""


def _fits(previous, current, shift):
    last = max((i for i, r in enumerate(previous) if r.strip()), default=-1)
    for i in range(len(previous) - shift):
        old, new = previous[i + shift], current[i]
        if i + shift > last:
            continue  # rows below the last written one may have been filled meanwhile
        if i + shift == last:
            if not new.rstrip().startswith(old.rstrip()):
                return False  # the row being written can only grow
        elif old != new:
            return False
    return True


class ScreenFollower:
    def __init__(self):
        self.rows = []  # every row seen; the last 24 are the screen as last read
        self.screen = None

    def update(self, text):
        current = text.split("\n")
        if len(current) != 24:
            raise AssertionError(f"the screen has {len(current)} rows")
        if self.screen is None:
            self.rows = list(current)
        else:
            shift = next(s for s in range(25) if _fits(self.screen, current, s))
            self.rows.extend([""] * shift)
            self.rows[-24:] = current
        self.screen = current
        return self

    def written(self):
        """The rows written so far, trailing empty rows left out, blanks stripped."""
        rows = [r.rstrip() for r in self.rows]
        while rows and not rows[-1]:
            rows.pop()
        return rows
