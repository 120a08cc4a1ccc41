#!/usr/bin/env python3
"""A random sweep of probex-calc --json against mpmath, for the exact decimals typed.

Unlike reference.csv, whose inputs are the long doubles the engine's tests
pass, this takes every field as the decimal its text names (the value a user
asked for) and compares the JSON's tails, densities and quantiles with the
values of make_reference.py at 60 digits.  It is a developer's tool, not a
test: the cases are random (a seed makes them repeatable) and it prints the
worst relative errors per distribution and every case above the tolerance.

    python3 tests/models/sweep.py build/cli/probex-calc [--seed N] [--cases N]
                                    [--only NAME,...] [--check]

It sweeps the distributions of that probex-calc's table (--list-functions),
each through its maker here; a distribution without a maker, or whose maker
gives other than the table's count of parameters, stops it with its name
(--check does only that).
"""
import argparse
import json
import math
import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import function_table  # noqa: E402
import make_reference as ref  # noqa: E402
from mpmath import mp, mpf  # noqa: E402

TOLERANCE = {"noncentralt": 1e-13, "noncentralchisquare": 1e-13, "noncentralf": 1e-13}
SMALLEST = mpf("1e-4900")


def decimal(value, digits=12):
    """A short decimal text near value, as a user would type it."""
    return f"{value:.{digits}g}"


def log_uniform(rng, lo, hi):
    return math.exp(rng.uniform(math.log(lo), math.log(hi)))


def spread(rng):
    """A standard score: mostly central, sometimes far in a tail."""
    return rng.choice([rng.uniform(-3, 3), rng.uniform(-12, 12), rng.uniform(-60, 60)])


# Each maker returns the parameter texts and an x text (or None to skip).
def make_normal(rng):
    m, v = rng.uniform(-100, 100), log_uniform(rng, 1e-3, 1e4)
    return [decimal(m), decimal(v)], decimal(m + spread(rng) * math.sqrt(v), 8)


def make_chisquare(rng):
    k = rng.choice([rng.randint(1, 50), log_uniform(rng, 0.5, 1e6)])
    return [decimal(k)], decimal(max(1e-6, k + spread(rng) * math.sqrt(2 * k)))


def make_t(rng):
    n = rng.choice([rng.randint(1, 40), log_uniform(rng, 0.5, 1e8)])
    return [decimal(n)], decimal(spread(rng))


def make_f(rng):
    d1, d2 = (rng.choice([rng.randint(1, 30), log_uniform(rng, 0.5, 1e7)]) for _ in range(2))
    return [decimal(d1), decimal(d2)], decimal(log_uniform(rng, 1e-3, 50))


def make_exponential(rng):
    rate = log_uniform(rng, 1e-3, 1e3)
    return [decimal(rate)], decimal(log_uniform(rng, 1e-4, 200) / rate)


def make_gamma(rng):
    k, theta = log_uniform(rng, 0.05, 1e4), log_uniform(rng, 1e-2, 1e2)
    return [decimal(k), decimal(theta)], decimal(max(1e-9, k + spread(rng) * math.sqrt(k)) * theta)


def make_beta(rng):
    a, b = log_uniform(rng, 0.05, 1e4), log_uniform(rng, 0.05, 1e4)
    return [decimal(a), decimal(b)], decimal(rng.uniform(1e-6, 1 - 1e-6))


def make_uniform(rng):
    a = rng.uniform(-10, 10)
    b = a + log_uniform(rng, 1e-2, 1e2)
    return [decimal(a), decimal(b)], decimal(rng.uniform(a, b))


def make_lognormal(rng):
    mu, sigma = rng.uniform(-5, 5), log_uniform(rng, 0.05, 5)
    return [decimal(mu), decimal(sigma)], decimal(math.exp(mu + spread(rng) * sigma))


def make_weibull(rng):
    k, lam = log_uniform(rng, 0.1, 20), log_uniform(rng, 1e-2, 1e2)
    return [decimal(k), decimal(lam)], decimal(lam * log_uniform(rng, 1e-3, 3))


def make_location_scale(rng):
    loc, s = rng.uniform(-100, 100), log_uniform(rng, 1e-2, 1e2)
    return [decimal(loc), decimal(s)], decimal(loc + spread(rng) * 20 * s, 8)


def make_noncentralt(rng):
    n, delta = log_uniform(rng, 1, 1e4), rng.uniform(-20, 20)
    return [decimal(n), decimal(delta)], decimal(delta + spread(rng) / 2, 6)


def make_noncentralchisquare(rng):
    k, lam = log_uniform(rng, 1, 200), log_uniform(rng, 0.1, 200)
    mean = k + lam
    return [decimal(k), decimal(lam)], decimal(max(1e-3, mean + spread(rng) / 2 * math.sqrt(2 * (k + 2 * lam))))


def make_noncentralf(rng):
    d1, d2, lam = log_uniform(rng, 1, 100), log_uniform(rng, 1, 200), log_uniform(rng, 0.1, 100)
    return [decimal(d1), decimal(d2), decimal(lam)], decimal(log_uniform(rng, 1e-2, 20))


def make_binomial(rng):
    n = rng.choice([rng.randint(1, 100), int(log_uniform(rng, 1, 1e9))])
    p = rng.choice([rng.uniform(0.01, 0.99), log_uniform(rng, 1e-12, 0.5), 1 - log_uniform(rng, 1e-15, 0.5)])
    mean, sd = n * p, math.sqrt(n * p * (1 - p)) + 1
    return [decimal(p, 15), str(n)], str(min(n, max(0, int(mean + spread(rng) * sd))))


def make_poisson(rng):
    lam = log_uniform(rng, 1e-3, 1e7)
    return [decimal(lam)], str(max(0, int(lam + spread(rng) * math.sqrt(lam))))


def make_hypergeometric(rng):
    B, R = (rng.choice([rng.randint(0, 60), int(log_uniform(rng, 1, 1e6))]) for _ in range(2))
    n = rng.randint(0, B + R)
    lo, hi = max(0, n - R), min(n, B)
    return [str(B), str(R), str(n)], str(rng.randint(lo, hi))


def make_geometric(rng):
    p = rng.choice([rng.uniform(0.01, 0.99), log_uniform(rng, 1e-9, 0.5), 1 - log_uniform(rng, 1e-15, 0.5)])
    return [decimal(p, 15)], str(int(log_uniform(rng, 1, 50) / p))


def make_negativebinomial(rng):
    r = rng.randint(1, 1000)
    p = rng.choice([rng.uniform(0.01, 0.99), log_uniform(rng, 1e-6, 0.5), 1 - log_uniform(rng, 1e-15, 0.5)])
    mean = r * (1 - p) / p
    return [str(r), decimal(p, 15)], str(max(0, int(mean + spread(rng) * math.sqrt(mean / p))))


def make_discreteuniform(rng):
    a = rng.randint(-1000, 1000)
    b = a + rng.randint(0, 10 ** rng.randint(0, 9))
    return [str(a), str(b)], str(rng.randint(a - 2, b + 2))


MAKERS = {
    "normal": make_normal, "chisquare": make_chisquare, "t": make_t, "f": make_f,
    "exponential": make_exponential, "gamma": make_gamma, "beta": make_beta,
    "uniform": make_uniform, "lognormal": make_lognormal, "weibull": make_weibull,
    "cauchy": make_location_scale, "logistic": make_location_scale,
    "noncentralt": make_noncentralt, "noncentralchisquare": make_noncentralchisquare,
    "noncentralf": make_noncentralf, "binomial": make_binomial, "poisson": make_poisson,
    "hypergeometric": make_hypergeometric, "geometric": make_geometric,
    "negativebinomial": make_negativebinomial, "discreteuniform": make_discreteuniform,
}
SLOW = {"noncentralt", "noncentralchisquare", "noncentralf"}


def coverage(distributions):
    """What the table's distributions lack here, each as a sentence naming it:
    a maker, a formula in make_reference.py, a maker's count of parameters."""
    problems = []
    for f in distributions:
        if f.name not in ref.CONTINUOUS and f.name not in ref.DISCRETE:
            problems.append(f"{f.name}: no formula in make_reference.py")
        if f.name not in MAKERS:
            problems.append(f"{f.name}: no maker (MAKERS)")
            continue
        params, _ = MAKERS[f.name](random.Random(0))
        if len(params) != f.parameter_count:
            problems.append(f"{f.name}: its maker gives {len(params)} parameters, "
                            f"the table's takes {f.parameter_count}")
    return problems


def run_batch(calc, lines):
    out = subprocess.run([calc, "--json", "--batch"], input="".join(lines), text=True,
                         capture_output=True, check=False).stdout
    # Numbers stay texts: a float would lose everything below 1e-308.
    return [json.loads(line, parse_float=str, parse_int=str) for line in out.splitlines()]


def expected_forward(name, params, x):
    if name in ref.CONTINUOUS:
        lower, upper, density = ref.CONTINUOUS[name](*params, x)
        return {"lower": lower, "upper": upper, "density": density}
    k = int(x)
    return {"point": ref.values("point", name, params, x), "at_most": ref.at_most(name, params, k),
            "above": ref.above(name, params, k)}


def relative(got, want):
    if want == 0:
        return 0.0 if got is not None and mpf(got) == 0 else math.inf
    if abs(want) < SMALLEST:
        return 0.0
    if got is None:
        return math.inf
    return float(abs(mpf(got) - want) / abs(want))


class Tally:
    """The worst relative error so far; prints each case above the tolerance."""

    def __init__(self, tolerance):
        self.tolerance, self.checked, self.worst, self.failures = tolerance, 0, 0.0, 0

    def check(self, what, got, want):
        error = relative(got, want)
        self.checked += 1
        self.worst = max(self.worst, error)
        if error > self.tolerance:
            self.failures += 1
            print(f"  {what}: got {got!r} want {mp.nstr(want, 20)} rel {error:.2e}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("calc")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--cases", type=int, default=40)
    parser.add_argument("--only", default="")
    parser.add_argument("--inverse", action="store_true", help="continuous quantiles too")
    parser.add_argument("--check", action="store_true",
                        help="only check that every distribution of the table has its maker")
    args = parser.parse_args()
    distributions = [f for f in function_table.functions(args.calc) if f.distribution]
    function_table.require(coverage(distributions))
    if args.check:
        return
    mp.dps = 60
    failures = 0
    for name in (f.name for f in function_table.chosen(distributions, args.only)):
        rng = random.Random(f"{args.seed}-{name}")
        count = max(4, args.cases // 8) if name in SLOW else args.cases
        cases = [MAKERS[name](rng) for _ in range(count)]
        answers = run_batch(args.calc, ["\t".join([name, *p, x]) + "\n" for p, x in cases])
        tally = Tally(TOLERANCE.get(name, 1e-15))
        for (ptexts, xtext), answer in zip(cases, answers):
            if answer.get("status") != "ok":
                continue
            params, x = [mpf(t) for t in ptexts], mpf(xtext)
            try:
                want = expected_forward(name, params, x)
            except (ZeroDivisionError, ValueError, OverflowError):
                continue
            for key, value in want.items():
                tally.check(f"{name} {' '.join(ptexts)} {xtext} {key}", answer.get(key), value)
        print(f"{name:20s} {tally.checked:5d} values, worst {tally.worst:.2e}", flush=True)
        failures += tally.failures
        if args.inverse and name in ref.CONTINUOUS:
            failures += sweep_inverse(args.calc, name, cases, rng)
    sys.exit(1 if failures else 0)


def sweep_inverse(calc, name, cases, rng):
    """x_lower and x_upper at decimal percentiles, among them the far ones."""
    picks = [(p, rng.choice(["0.5", "0.95", "0.999999", "1e-10", "1e-100", "0.123456"]))
             for p, _ in cases[: max(3, len(cases) // 4)]]
    answers = run_batch(calc, ["\t".join(["--inverse", name, *p, q]) + "\n" for p, q in picks])
    tally = Tally(TOLERANCE.get(name, 1e-15))
    for (ptexts, qtext), answer in zip(picks, answers):
        if answer.get("status") != "ok":
            continue
        params, q = [mpf(t) for t in ptexts], mpf(qtext)
        for key, upper in (("x_lower", False), ("x_upper", True)):
            try:
                want = ref.continuous_quantile(name, params, q, upper)
            except (ZeroDivisionError, ValueError, OverflowError):
                continue
            tally.check(f"inverse {name} {' '.join(ptexts)} {qtext} {key}", answer.get(key), want)
    print(f"{'':20s} inverse worst {tally.worst:.2e}", flush=True)
    return tally.failures


if __name__ == "__main__":
    main()
