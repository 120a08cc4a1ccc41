"""The calculator's functions as probex-calc --list-functions prints them, for
the scripts beside this one, which must each cover every function.

probex-calc prints one line per function of its table, in the table's order:
the command name, the caption, the fields (", "-separated, a distribution's
x-value last) and the modes, separated by TAB characters.  A distribution is
a function with an inverse; the others are the counting functions.  A script
that meets a function it has nothing for says so and exits non-zero
(require), rather than leave the function out.
"""
import os
import subprocess
import sys
from dataclasses import dataclass

# The calculator of the default build folder, from this file's folder.
DEFAULT_CALC = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                             "..", "..", "build", "cli", "probex-calc"))
COLUMNS = 4


@dataclass(frozen=True)
class Function:
    name: str
    caption: str
    fields: tuple
    modes: tuple

    @property
    def distribution(self):
        return "inverse" in self.modes

    @property
    def parameter_count(self):
        """The fields before a distribution's x-value; all of a counting function's."""
        return len(self.fields) - (1 if self.distribution else 0)


def functions(calc):
    """Every function of the table, or the script exits with the reason."""
    try:
        out = subprocess.run([calc, "--list-functions"], capture_output=True, text=True,
                             check=True).stdout
    except (OSError, subprocess.CalledProcessError) as e:
        sys.exit(f"{calc} --list-functions: {e} (build probex-calc, or pass its path)")
    table = []
    for line in out.splitlines():
        words = line.split("\t")
        if len(words) != COLUMNS:
            sys.exit(f"{calc} --list-functions: {len(words)} columns, not {COLUMNS}: {line!r}")
        name, caption, fields, modes = words
        table.append(Function(name, caption, tuple(fields.split(", ")), tuple(modes.split())))
    if not table:
        sys.exit(f"{calc} --list-functions: no functions")
    return table


def chosen(table, only):
    """The functions named by --only (comma-separated), all when it is empty;
    the script exits on a name the table lacks."""
    if not only:
        return table
    by_name = {f.name: f for f in table}
    unknown = [name for name in only.split(",") if name not in by_name]
    require([f"{name}: not one of {', '.join(by_name)}" for name in unknown])
    return [by_name[name] for name in only.split(",")]


def require(problems):
    """Exits non-zero, naming each problem, when there are any."""
    for problem in problems:
        print(f"{os.path.basename(sys.argv[0])}: {problem}", file=sys.stderr)
    if problems:
        sys.exit(1)
