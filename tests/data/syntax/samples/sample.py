#!/usr/bin/env python3
# sample.py - summarises a CSV file.
"""Module docstring spanning
several lines, with "quotes" and 'apostrophes' and an escaped \""" inside.
"""

import csv
import sys
from dataclasses import dataclass, field


@dataclass
class Summary:
    """Totals per column."""
    rows: int = 0
    totals: dict[str, float] = field(default_factory=dict)
    note: str = 'it\'s "fine"'

    def add(self, row: dict[str, str]) -> None:
        self.rows += 1
        for key, value in row.items():
            try:
                self.totals[key] = self.totals.get(key, 0.0) + float(value)
            except ValueError:
                continue  # not a number


def describe(summary: Summary) -> str:
    lines = [f"rows: {summary.rows}"]
    for key, total in sorted(summary.totals.items()):
        lines.append(f"{key!r:>10} = {total:.2f}")
    return "\n".join(lines)


PATTERN = r"\d+\.\d*"
RAW_BYTES = b'\x00\xff'
HEX, OCT, BIN = 0xFF, 0o755, 0b1010
BIG = 1_000_000
FLOATS = (1.5, 2e10, 3.25E-3, 4j)
QUERY = '''SELECT *
FROM items -- not a Python comment
WHERE name = 'x' '''
CONTINUED = "first line \
second line"


async def main(argv: list[str]) -> int:
    if len(argv) < 2:
        print("usage: sample.py FILE", file=sys.stderr)
        return 1
    summary = Summary()
    with open(argv[1], newline='') as handle:
        for row in csv.DictReader(handle):
            summary.add(row)
    print(describe(summary))
    match summary.rows:
        case 0:
            return 2
        case _:
            return 0


if __name__ == "__main__":
    import asyncio
    sys.exit(asyncio.run(main(sys.argv)))
