#!/usr/bin/env python3
"""Writes reference.csv, the independent values that models_tests checks.

Every value is computed with mpmath (Debian: python3-mpmath) at 60 significant
digits from the very binary inputs the tests pass: each decimal input is first
rounded to the nearest real with a 64-bit mantissa, as strtold reads it into a
long double.  Nothing here calls the engine or Boost: the tails come from
series and continued fractions of the incomplete gamma and beta functions,
the hypergeometric sums from their terms, the integers from Python's own.

    python3 tests/models/make_reference.py > tests/models/reference.csv
    python3 tests/models/make_reference.py --only beta,gamma --merge tests/models/reference.csv
    python3 tests/models/make_reference.py --check

The functions to cover are those of probex-calc --list-functions (--calc
names the program; build/cli/probex-calc by default): a function of the table
without a reference formula and rows here, or a row whose distribution the
table lacks or whose parameters are not the table's count, stops the script
with its name (--check does only that).  --only writes just the rows of the
functions named, in minutes where the whole set takes the better part of an
hour; --merge puts them in place of those functions' rows in the file given,
and keeps every other row.

Columns: label, function, kind, the parameters, x (or p), expected.  The
parameters take three columns, the ones a distribution of fewer leaves
empty, or one each for a distribution of more.  An expected value of "null"
(or "null:<words of the note>") says that the engine must give none; an exact
integer longer than 60 digits is abridged as D<digit count>:<first 30
digits>:<last 30 digits>.
"""
import argparse
import math
import os
import re
import sys

import function_table

try:
    from mpmath import mp, mpf
except ImportError:
    sys.exit("make_reference.py: no mpmath (Debian: python3-mpmath; scripts/install-deps.sh)")

mp.dps = 60
MAXTERMS = 10**8


def ld(text):
    """The long double nearest to a decimal text (64-bit mantissa)."""
    with mp.workprec(64):
        return +mpf(text)


# ---- incomplete gamma and beta functions, regularized ----

def gamma_p_series(a, x):
    """P(a, x) = x^a e^-x / Gamma(a + 1) 1F1(1; a + 1; x), positive terms."""
    if x == 0:
        return mpf(0)
    prefix = mp.exp(a * mp.log(x) - x - mp.loggamma(a + 1))
    return prefix * mp.hyp1f1(1, a + 1, x, maxterms=MAXTERMS)


def gamma_q_fraction(a, x):
    """Q(a, x) by Legendre's continued fraction (modified Lentz), for x > a."""
    tiny = mpf(10) ** -300
    b, c, d = x + 1 - a, 1 / tiny, 1 / (x + 1 - a)
    h, i = d, 1
    while True:
        an, b = -i * (i - a), b + 2
        d, c = 1 / ((an * d + b) or tiny), (b + an / c) or tiny
        h *= d * c
        if abs(d * c - 1) < mpf(10) ** -(mp.dps - 5):
            break
        i += 1
    return mp.exp(a * mp.log(x) - x - mp.loggamma(a)) * h


def gamma_p(a, x):
    return gamma_p_series(a, x) if x <= a else 1 - gamma_q_fraction(a, x)


def gamma_q(a, x):
    return gamma_q_fraction(a, x) if x > a else 1 - gamma_p_series(a, x)


def beta_fraction(a, b, x):
    """The continued fraction of I_x(a, b) over x^a (1-x)^b / (a B(a,b)),
    1 / (1 + d1 / (1 + d2 / ...)) with d(2m+1) = -(a+m)(a+b+m) x / ((a+2m)(a+2m+1))
    and d(2m) = m (b-m) x / ((a+2m-1)(a+2m)), by the modified Lentz method."""
    tiny = mpf(10) ** -300
    guard = lambda v: v if abs(v) > tiny else tiny
    c, d = mpf(1), 1 / guard(1 - (a + b) * x / (a + 1))
    h, m = d, 1
    while True:
        for step in (m * (b - m) * x / ((a + 2 * m - 1) * (a + 2 * m)),
                     -(a + m) * (a + b + m) * x / ((a + 2 * m) * (a + 2 * m + 1))):
            d, c = 1 / guard(1 + step * d), guard(1 + step / c)
            h *= d * c
        if abs(d * c - 1) < mpf(10) ** -(mp.dps - 5):
            return h
        m += 1


def ibeta(a, b, x, mirror=True):
    """I_x(a, b); the series x^a (1-x)^b / (a B(a,b)) 2F1(a+b, 1; a+1; x) below the mean.

    Beyond the mean, or where the series would need about 1/(1-x) terms (x
    within 1e-5 of 1), it is one minus the mirrored integral, at 60 more digits
    to cover the cancellation.  For a + b above 10^5, where the series needs
    too many terms, the continued fraction replaces it (below the mean it
    converges in some sqrt(a + b) terms at most)."""
    if x == 0:
        return mpf(0)
    if mirror and (x > a / (a + b) or 1 - x < mpf("1e-5")):
        with mp.workdps(mp.dps + 60):
            result = 1 - ibeta(b, a, 1 - x, mirror=False)
        return +result
    prefix = mp.exp(a * mp.log(x) + b * mp.log1p(-x) - mp.log(a)
                    - (mp.loggamma(a) + mp.loggamma(b) - mp.loggamma(a + b)))
    if a + b > 10 ** 5:
        with mp.workdps(mp.dps + 10):
            return prefix * beta_fraction(a, b, x)
    return prefix * mp.hyp2f1(a + b, 1, a + 1, x, maxterms=MAXTERMS)


# ---- continuous distributions: (lower, upper, density) at x ----

def normal(m, v, x):
    z = (x - m) / mp.sqrt(v)
    return (mp.erfc(-z / mp.sqrt(2)) / 2, mp.erfc(z / mp.sqrt(2)) / 2,
            mp.exp(-z * z / 2) / mp.sqrt(2 * mp.pi * v))


def chisquare(k, x):
    a = k / 2
    density = mp.exp((a - 1) * mp.log(x / 2) - x / 2 - mp.loggamma(a)) / 2
    return gamma_p(a, x / 2), gamma_q(a, x / 2), density


def student(n, x):
    tail = ibeta(n / 2, mpf(1) / 2, n / (n + x * x)) / 2
    density = mp.exp(mp.loggamma((n + 1) / 2) - mp.loggamma(n / 2)
                     - (n + 1) / 2 * mp.log1p(x * x / n)) / mp.sqrt(n * mp.pi)
    return (tail, 1 - tail, density) if x < 0 else (1 - tail, tail, density)


def fisher(d1, d2, x):
    lower = ibeta(d1 / 2, d2 / 2, d1 * x / (d1 * x + d2))
    upper = ibeta(d2 / 2, d1 / 2, d2 / (d2 + d1 * x))
    log_density = (d1 / 2 * mp.log(d1 * x / (d1 * x + d2)) + d2 / 2 * mp.log(d2 / (d1 * x + d2))
                   - mp.log(x) - (mp.loggamma(d1 / 2) + mp.loggamma(d2 / 2) - mp.loggamma((d1 + d2) / 2)))
    return lower, upper, mp.exp(log_density)


CONTINUOUS = {"normal": normal, "chisquare": chisquare, "t": student, "f": fisher}


# ---- the simple continuous distributions, from their closed forms ----

def exponential(rate, x):
    if x < 0:
        return mpf(0), mpf(1), mpf(0)
    return -mp.expm1(-rate * x), mp.exp(-rate * x), rate * mp.exp(-rate * x)


def gamma(k, theta, x):
    z = x / theta
    density = mp.exp((k - 1) * mp.log(z) - z - mp.loggamma(k)) / theta
    return (mp.gammainc(k, 0, z, regularized=True), mp.gammainc(k, z, mp.inf, regularized=True),
            density)


def beta(a, b, x):
    log_density = (a - 1) * mp.log(x) + (b - 1) * mp.log1p(-x) - mp.log(mp.beta(a, b))
    return (mp.betainc(a, b, 0, x, regularized=True), mp.betainc(b, a, 0, 1 - x, regularized=True),
            mp.exp(log_density))


def uniform(a, b, x):
    return (x - a) / (b - a), (b - x) / (b - a), 1 / (b - a)


def lognormal(mu, sigma, x):
    z = (mp.log(x) - mu) / sigma
    return (mp.erfc(-z / mp.sqrt(2)) / 2, mp.erfc(z / mp.sqrt(2)) / 2,
            mp.exp(-z * z / 2) / (x * sigma * mp.sqrt(2 * mp.pi)))


def weibull(k, lam, x):
    t = (x / lam) ** k
    return -mp.expm1(-t), mp.exp(-t), k / lam * (x / lam) ** (k - 1) * mp.exp(-t)


def cauchy(loc, s, x):
    d = x - loc
    beyond = mp.atan(s / abs(d)) / mp.pi if d != 0 else mpf(1) / 2
    density = 1 / (mp.pi * s * (1 + (d / s) ** 2))
    return (beyond, 1 - beyond, density) if d < 0 else (1 - beyond, beyond, density)


def logistic(loc, s, x):
    z = (x - loc) / s
    return 1 / (1 + mp.exp(-z)), 1 / (1 + mp.exp(z)), 1 / (s * (mp.exp(z / 2) + mp.exp(-z / 2)) ** 2)


CONTINUOUS.update({"exponential": exponential, "gamma": gamma, "beta": beta, "uniform": uniform,
                   "lognormal": lognormal, "weibull": weibull, "cauchy": cauchy,
                   "logistic": logistic})
# ---- the noncentral distributions, as sums over their Poisson mixtures ----

def poisson_mixture(mu, term):
    """sum_j e^-mu mu^j / j! term(j) for terms in [0, 1] (each a tuple, summed
    componentwise), until past the mode the weight falls below 1e-70 of every sum."""
    sums, j = None, 0
    while True:
        w = mp.exp(-mu + (j * mp.log(mu) if j else 0) - mp.loggamma(j + 1))
        t = [w * v for v in term(j)]
        sums = t if sums is None else [s + v for s, v in zip(sums, t)]
        if j > mu and all(w < abs(s) * mpf(10) ** -70 for s in sums if s):
            return sums
        j += 1


def noncentralchisquare(k, lam, x):
    a, z = k / 2, x / 2
    return tuple(poisson_mixture(lam / 2, lambda j: (
        mp.gammainc(a + j, 0, z, regularized=True), mp.gammainc(a + j, z, mp.inf, regularized=True),
        mp.exp((a + j - 1) * mp.log(z) - z - mp.loggamma(a + j)) / 2)))


def noncentralf(d1, d2, lam, x):
    a, b = d1 / 2, d2 / 2
    z, y = d1 * x / (d1 * x + d2), d2 / (d1 * x + d2)
    slope = d1 * d2 / (d1 * x + d2) ** 2
    return tuple(poisson_mixture(lam / 2, lambda j: (
        mp.betainc(a + j, b, 0, z, regularized=True), mp.betainc(b, a + j, 0, y, regularized=True),
        mp.exp((a + j - 1) * mp.log(z) + (b - 1) * mp.log(y) - mp.log(mp.beta(a + j, b))) * slope)))


def nct_beyond(nu, delta, t):
    """P(T > t) and the density for t > 0: with y = nu / (nu + t^2),
    1/2 sum_j [p_j I_y(nu/2, j + 1/2) + q_j I_y(nu/2, j + 1)], p_j the Poisson
    weights of delta^2/2 and q_j = delta e^(-delta^2/2) (delta^2/2)^j / (sqrt 2 Gamma(j + 3/2));
    at 200 more digits, which cover the cancellation of a negative delta."""
    with mp.workdps(mp.dps + 200):
        y, h = nu / (nu + t * t), delta * delta / 2
        slope = 2 * nu * t / (nu + t * t) ** 2
        g = lambda a, b: mp.exp((a - 1) * mp.log(y) + (b - 1) * mp.log1p(-y) - mp.log(mp.beta(a, b)))
        upper, density, j = mpf(0), mpf(0), 0
        while True:
            p = mp.exp(-h + (j * mp.log(h) if j else 0) - mp.loggamma(j + 1))
            q = delta * mp.exp(-h + (j * mp.log(h) if j else 0) - mp.loggamma(j + mpf(3) / 2)) / mp.sqrt(2)
            upper += (p * mp.betainc(nu / 2, j + mpf(1) / 2, 0, y, regularized=True)
                      + q * mp.betainc(nu / 2, j + 1, 0, y, regularized=True)) / 2
            density += (p * g(nu / 2, j + mpf(1) / 2) + q * g(nu / 2, j + 1)) / 2 * slope
            if j > h and abs(p) + abs(q) < abs(upper) * mpf(10) ** -(mp.dps + 10):
                return +upper, +density
            j += 1


def log_normal_upper(y):
    """ln Phi-bar(y) for y >= 0: from erfc below 100, above by the asymptotic
    series phi(y) / y (1 - 1/y^2 + 3/y^4 - ...), whose 40th term is below 1e-80 there."""
    if y < 100:
        return mp.log(mp.erfc(y / mp.sqrt(2)) / 2)
    s, term = mpf(1), mpf(1)
    for k in range(1, 40):
        term = -term * (2 * k - 1) / (y * y)
        s += term
    return -y * y / 2 - mp.log(y) - mp.log(2 * mp.pi) / 2 + mp.log(s)


def log_peak_integral(L):
    """ln of the integral over the real line of e^L(u), L unimodal: its peak by
    golden section, then mp.quad over pieces of the peak's width, widening
    outward until L is 170 below its peak."""
    a, b, g = mpf(-3000), mpf(12), (mp.sqrt(5) - 1) / 2
    while b - a > mpf(10) ** -25:
        c, d = b - g * (b - a), a + g * (b - a)
        a, b = (a, d) if L(c) > L(d) else (c, b)
    u0 = (a + b) / 2
    L0, eps = L(u0), mpf(10) ** -10
    curvature = -(L(u0 + eps) - 2 * L0 + L(u0 - eps)) / eps ** 2
    width = 1 / mp.sqrt(curvature) if curvature > 0 else mpf(1)
    points = [u0]
    for sign in (1, -1):
        k = mpf(1) / 2
        while True:
            points.append(u0 + sign * k * width)
            if L(points[-1]) - L0 < -170:
                break
            k = k * 3 / 2 + mpf(1) / 2
    return L0 + mp.log(mp.quad(lambda u: mp.exp(L(u) - L0), sorted(points)))


class Values(tuple):
    """(lower, upper, density) with the density computed only when read."""
    def __new__(cls, lower, upper, density):
        self = super().__new__(cls, (lower, upper, None))
        self.density = density
        return self

    def __getitem__(self, i):
        return self.density() if i == 2 else super().__getitem__(i)

    def __iter__(self):
        return iter((self[0], self[1], self[2]))


def nct_opposite(nu, delta, t):
    """P(T < t) and the density for t < 0 < delta, the tail tiny where delta is
    large: with S = sqrt(V / nu), a = -t, P(T < t) = E[Phi-bar(a S + delta)] and
    the density E[S phi(a S + delta)], both integrals over u = ln s of positive
    terms (no cancellation), the density of S times s being
    2 (nu/2)^(nu/2) e^(nu u - nu e^(2u) / 2) / Gamma(nu/2)."""
    a = -t
    log_scale = lambda u: (mp.log(2) + nu / 2 * mp.log(nu / 2) - mp.loggamma(nu / 2)
                           + nu * u - nu * mp.exp(2 * u) / 2)
    tail = mp.exp(log_peak_integral(lambda u: log_normal_upper(a * mp.exp(u) + delta) + log_scale(u)))
    density = lambda: mp.exp(log_peak_integral(
        lambda u: -(a * mp.exp(u) + delta) ** 2 / 2 - mp.log(2 * mp.pi) / 2 + u + log_scale(u)))
    return tail, density


def noncentralt(nu, delta, t):
    if t * delta < 0:
        tail, density = nct_opposite(nu, abs(delta), -abs(t))
        with mp.workdps(mp.dps + 60):
            rest = +(1 - tail)
        return Values(tail, rest, density) if t < 0 else Values(rest, tail, density)
    if t > 0:
        upper, density = nct_beyond(nu, delta, t)
        with mp.workdps(mp.dps + 60):
            return +(1 - upper), upper, density
    lower, density = nct_beyond(nu, -delta, -t)
    with mp.workdps(mp.dps + 60):
        return lower, +(1 - lower), density


CONTINUOUS.update({"noncentralt": noncentralt, "noncentralchisquare": noncentralchisquare,
                   "noncentralf": noncentralf})


POSITIVE = ("exponential", "gamma", "lognormal", "weibull", "noncentralchisquare", "noncentralf")


def bisected_quantile(kind, params, p, upper):
    """x with P(X < x) = p (or P(X > x) = p): bisection (on ln x for a positive
    variable, on x itself otherwise) to 48 digits; for the slow sums of the
    noncentral distributions to 12, then the secant on ln P - ln p."""
    fn = CONTINUOUS[kind]
    digits = 12 if kind.startswith("noncentral") else 48
    side = 1 if upper else 0
    short = lambda x: (fn(*params, x)[side] < p) != upper  # x lies below the answer
    gap = lambda x: mp.log(fn(*params, x)[side]) - mp.log(p)
    if kind == "beta":
        lo, hi = mpf(0), mpf(1)
    elif kind == "uniform":
        lo, hi = params[0], params[1]
    elif kind in POSITIVE:
        lo, hi = mpf(1), mpf(1)
        while short(lo):
            lo, hi = lo * 1000, lo
        while not short(lo):
            lo = lo / mpf(10) ** 6
        while short(hi):
            hi = hi * 1000
        lo, hi = mp.log(lo), mp.log(hi)
        while hi - lo > mpf(10) ** -digits * abs(hi):
            mid = (lo + hi) / 2
            lo, hi = (mid, hi) if short(mp.exp(mid)) else (lo, mid)
        return mp.exp(secant(lambda u: gap(mp.exp(u)), lo, hi, digits))
    else:
        lo, hi = mpf(-1), mpf(1)
        while not short(lo):
            lo *= 1000
        while short(hi):
            hi *= 1000
    while hi - lo > mpf(10) ** -digits * max(abs(lo), abs(hi)):
        mid = (lo + hi) / 2
        lo, hi = (mid, hi) if short(mid) else (lo, mid)
    return secant(gap, lo, hi, digits)


def secant(f, lo, hi, digits):
    """The root of f in [lo, hi] by the secant from a bracket already narrow
    (a midpoint once the bracket is 48 digits narrow)."""
    if digits >= 48:
        return (lo + hi) / 2
    a, b, fa, fb = lo, hi, f(lo), f(hi)
    for _ in range(30):
        if fb == fa:
            break
        a, b, fa = b, b - fb * (b - a) / (fb - fa), fb
        fb = f(b)
        if abs(b - a) <= mpf(10) ** -50 * abs(b):
            break
    return b


def continuous_quantile(kind, params, p, upper):
    """x with P(X < x) = p (or P(X > x) = p), by bisection, then the secant."""
    if kind not in ("normal", "chisquare", "t", "f"):
        return bisected_quantile(kind, params, p, upper)
    fn = CONTINUOUS[kind]
    side = 1 if upper else 0
    lo, hi = (mpf(0), mpf(1)) if kind in ("chisquare", "f") else (mpf(-1), mpf(1))
    if kind == "normal":
        lo, hi = params[0] - 40 * mp.sqrt(params[1]), params[0] + 40 * mp.sqrt(params[1])
    increasing = lambda x: fn(*params, x)[side] - p if not upper else p - fn(*params, x)[side]
    while increasing(hi) < 0:
        lo, hi = hi, hi * 2
    while kind in ("t",) and increasing(lo) > 0:
        lo, hi = lo * 2, lo
    for _ in range(40):
        mid = (lo + hi) / 2
        lo, hi = (mid, hi) if increasing(mid) < 0 else (lo, mid)
    return mp.findroot(increasing, (lo, hi), solver="anderson", tol=mpf(10) ** -(mp.dps - 8))


# ---- discrete distributions: P(X = k), P(X <= k), P(X > k) for k in the support ----

def binomial_point(p, n, k):
    return mp.exp(mp.loggamma(n + 1) - mp.loggamma(k + 1) - mp.loggamma(n - k + 1)
                  + k * mp.log(p) + (n - k) * mp.log1p(-p))


def binomial(p, n, k):
    at_most = 1 if k >= n else ibeta(n - k, k + 1, 1 - p)
    above = 0 if k >= n else ibeta(k + 1, n - k, p)
    return binomial_point(p, n, k), at_most, above


def poisson(lam, k):
    point = mp.exp(k * mp.log(lam) - lam - mp.loggamma(k + 1))
    return point, gamma_q(k + 1, lam), gamma_p(k + 1, lam)


def hyper_point(B, R, n, k):
    lc = lambda a, b: mp.loggamma(a + 1) - mp.loggamma(b + 1) - mp.loggamma(a - b + 1)
    return mp.exp(lc(B, k) + lc(R, n - k) - lc(B + R, n))


def hyper_sum(B, R, n, k, step):
    """The sum of P(X = j) from j = k outward by step (+1 or -1) to the end of the support."""
    lowest, highest = max(0, n - R), min(n, B)
    term = hyper_point(B, R, n, k)
    total, j = term, k
    while (j > lowest) if step < 0 else (j < highest):
        if step > 0:
            term *= mpf(B - j) * (n - j) / ((j + 1) * (R - n + j + 1))
        else:
            term *= mpf(j) * (R - n + j) / ((n - j + 1) * (B - j + 1))
        total += term
        j += step
        if term < total * mpf(10) ** -(mp.dps + 5):
            break
    return total


def hypergeometric(B, R, n, k):
    B, R, n, k = int(B), int(R), int(n), int(k)
    mode = (n + 1) * (B + 1) // (B + R + 2)
    if k < mode:
        at_most = hyper_sum(B, R, n, k, -1)
        above = 1 - at_most
    else:
        above = hyper_sum(B, R, n, k + 1, +1) if k < min(n, B) else mpf(0)
        at_most = 1 - above
    return hyper_point(B, R, n, k), at_most, above


DISCRETE = {"binomial": binomial, "poisson": poisson, "hypergeometric": hypergeometric}


# ---- the new discrete distributions ----

def geometric(p, k):
    log_failure = mp.log1p(-p)
    return (p * mp.exp(k * log_failure), -mp.expm1((k + 1) * log_failure),
            mp.exp((k + 1) * log_failure))


def negativebinomial(r, p, k):
    point = mp.exp(mp.loggamma(r + k) - mp.loggamma(k + 1) - mp.loggamma(r)
                   + r * mp.log(p) + k * mp.log1p(-p))
    return (point, mp.betainc(r, k + 1, 0, p, regularized=True),
            mp.betainc(k + 1, r, 0, 1 - p, regularized=True))


def discreteuniform(a, b, k):
    n = b - a + 1
    return 1 / n, (k - a + 1) / n, (b - k) / n


DISCRETE.update({"geometric": geometric, "negativebinomial": negativebinomial,
                 "discreteuniform": discreteuniform})


def support(kind, params):
    if kind == "discreteuniform":
        return int(params[0]), int(params[1])
    if kind in ("geometric", "negativebinomial"):
        return 0, None
    if kind in ("binomial", "poisson"):
        return 0, (int(params[1]) if kind == "binomial" else None)
    if kind != "hypergeometric":
        raise KeyError(f"{kind}: no support in make_reference.py")
    B, R, n = (int(v) for v in params)
    return max(0, n - R), min(n, B)


def at_most(kind, params, k):
    lo, hi = support(kind, params)
    return mpf(0) if k < lo else mpf(1) if hi is not None and k >= hi else DISCRETE[kind](*params, k)[1]


def above(kind, params, k):
    lo, hi = support(kind, params)
    return mpf(1) if k < lo else mpf(0) if hi is not None and k >= hi else DISCRETE[kind](*params, k)[2]


def discrete_quantile(kind, params, p):
    """The smallest k with P(X <= k) >= p, by bisection on whole numbers."""
    lo, hi = support(kind, params)
    a, b = lo - 1, hi if hi is not None else max(16, int(params[0] * 4))
    while kind in ("geometric", "negativebinomial") and at_most(kind, params, b) < p:
        b *= 2
    while b - a > 1:
        mid = (a + b) // 2
        a, b = (a, mid) if at_most(kind, params, mid) >= p else (mid, b)
    return b


def new_moments(kind, q):
    if kind == "exponential":
        return 1 / q[0], 1 / q[0] ** 2
    if kind == "gamma":
        return q[0] * q[1], q[0] * q[1] ** 2
    if kind == "beta":
        a, b = q
        return a / (a + b), a * b / ((a + b) ** 2 * (a + b + 1))
    if kind == "uniform":
        return (q[0] + q[1]) / 2, (q[1] - q[0]) ** 2 / 12
    if kind == "lognormal":
        mu, s = q
        return mp.exp(mu + s * s / 2), mp.expm1(s * s) * mp.exp(2 * mu + s * s)
    if kind == "weibull":
        k, lam = q
        with mp.workdps(mp.dps + 40):
            return lam * mp.gamma(1 + 1 / k), lam ** 2 * (mp.gamma(1 + 2 / k) - mp.gamma(1 + 1 / k) ** 2)
    if kind == "logistic":
        return q[0], (mp.pi * q[1]) ** 2 / 3
    if kind == "geometric":
        return (1 - q[0]) / q[0], (1 - q[0]) / q[0] ** 2
    if kind == "negativebinomial":
        r, p = q
        return r * (1 - p) / p, r * (1 - p) / p ** 2
    if kind == "discreteuniform":
        n = q[1] - q[0] + 1
        return (q[0] + q[1]) / 2, (n * n - 1) / 12
    if kind == "noncentralt":
        nu, delta = q
        mean = delta * mp.sqrt(nu / 2) * mp.gamma((nu - 1) / 2) / mp.gamma(nu / 2)
        return mean, nu * (1 + delta ** 2) / (nu - 2) - mean ** 2
    if kind == "noncentralchisquare":
        return q[0] + q[1], 2 * (q[0] + 2 * q[1])
    if kind == "noncentralf":
        d1, d2, lam = q
        return (d2 * (d1 + lam) / (d1 * (d2 - 2)),
                2 * (d2 / d1) ** 2 * ((d1 + lam) ** 2 + (d1 + 2 * lam) * (d2 - 2)) / ((d2 - 2) ** 2 * (d2 - 4)))
    return None


def moments(kind, q):
    if new_moments(kind, q) is not None:
        return new_moments(kind, q)
    if kind in ("normal", "poisson"):
        return q[0], q[-1]
    if kind == "chisquare":
        return q[0], 2 * q[0]
    if kind == "t":
        return mpf(0), q[0] / (q[0] - 2)
    if kind == "f":
        d1, d2 = q
        return d2 / (d2 - 2), 2 * d2 ** 2 * (d1 + d2 - 2) / (d1 * (d2 - 2) ** 2 * (d2 - 4))
    if kind == "binomial":
        return q[1] * q[0], q[1] * q[0] * (1 - q[0])
    if kind != "hypergeometric":
        raise KeyError(f"{kind}: no mean and variance in make_reference.py")
    B, R, n = q
    return n * B / (B + R), n * B * R * (B + R - n) / ((B + R) ** 2 * (B + R - 1))


# ---- the functions of the table, each covered, and a part of the rows ----

# The counting functions of the table by the functions of their rows (kind "count").
COUNTING_KIND = "count"
COUNTING = {"factorial": ("factorial", "factorial_log10"),
            "binomialcoefficient": ("binomial", "binomial_log10")}
# The parameter columns every row has; a distribution of more takes more.
PADDED_PARAMETERS = 3
HEADER = "# label,function,kind,a,b,c,x,expected  (make_reference.py, mpmath at 60 digits)"


def coverage(table):
    """What the table has and this script lacks, each as a sentence naming it."""
    problems = []
    by_name = {f.name: f for f in table}
    for f in table:
        if f.distribution and f.name not in CONTINUOUS and f.name not in DISCRETE:
            problems.append(f"{f.name}: no reference formula (CONTINUOUS or DISCRETE)")
        if f.distribution and not any(case[0] == f.name for case in CASES):
            problems.append(f"{f.name}: no rows in CASES")
        if not f.distribution and f.name not in COUNTING:
            problems.append(f"{f.name}: no counting rows (COUNTING)")
    for kind, params, x, *_ in CASES + EDGES:
        known = by_name.get(kind)
        if not known or not known.distribution:
            problems.append(f"{kind} {' '.join(params)} {x}: no distribution {kind} in the table")
        elif len(params) != known.parameter_count:
            problems.append(f"{kind} {' '.join(params)} {x}: {len(params)} parameters, "
                            f"the table's {kind} takes {known.parameter_count}")
    problems += [f"{name}: in COUNTING, not in the table" for name in COUNTING if name not in by_name]
    return problems


def row_key(kind, function):
    """The function of the table that a row is of: its kind, or the counting
    function of its function."""
    if kind != COUNTING_KIND:
        return kind
    return next((name for name, functions in COUNTING.items() if function in functions), None)


def padded(params):
    return list(params) + [""] * (PADDED_PARAMETERS - len(params))


def merged(lines, names, new):
    """The lines with the rows of the functions named replaced by those of new
    (label: row): a row where the row of its label was, a row of a new label
    after the last row of its function (or at the end); the functions' other
    rows dropped, every other line kept as it is.  Also how many rows were
    replaced and dropped."""
    out, last, replaced, dropped = [], {}, 0, 0
    for line in lines:
        words = line.split(",")
        key = row_key(words[2], words[1]) if not line.startswith("#") and len(words) > 2 else None
        if key not in names:
            out.append([line])
        elif words[0] in new:
            out.append([",".join(new.pop(words[0]))])
            last[key], replaced = len(out) - 1, replaced + 1
        else:
            dropped += 1
    for row in new.values():
        key = row_key(row[2], row[1])
        if key not in last:
            out.append([])
            last[key] = len(out) - 1
        out[last[key]].append(",".join(row))
    return [line for group in out for line in group], replaced, dropped


def merge(path, names, new_rows):
    """Puts new_rows in place of the rows of the functions named in the file at path."""
    new = {}
    for row in new_rows:
        if row[0] in new:
            function_table.require([f"{row[0]}: two rows of this label"])
        new[row[0]] = row
    added = len(new)
    with open(path, encoding="utf-8") as f:
        lines, replaced, dropped = merged(f.read().splitlines(), names, new)
    with open(path + ".new", "w", encoding="utf-8") as f:
        f.writelines(line + "\n" for line in lines)
    os.replace(path + ".new", path)
    print(f"{path}: {replaced} rows replaced, {added - replaced} added, {dropped} dropped",
          file=sys.stderr)


# ---- the cases ----

def values(function, kind, params, x):
    """The expected value of one call, an mpf or None."""
    if function in ("mean", "variance"):
        return moments(kind, params)[function == "variance"]
    if kind in CONTINUOUS:
        if function in ("x_lower", "x_upper"):
            return continuous_quantile(kind, params, x, function == "x_upper")
        if function in ("central_low", "central_high"):
            return continuous_quantile(kind, params, (1 - x) / 2, function == "central_high")
        lower, upper, density = CONTINUOUS[kind](*params, x)
        if function == "two_tailed":
            return min(mpf(1), 2 * min(lower, upper))
        return {"lower": lower, "upper": upper, "density": density}[function]
    if function == "quantile":
        return mpf(discrete_quantile(kind, params, x))
    k = int(x)
    if function == "below":
        return at_most(kind, params, k - 1)
    if function == "at_most":
        return at_most(kind, params, k)
    if function == "at_least":
        return above(kind, params, k - 1)
    if function == "above":
        return above(kind, params, k)
    lo, hi = support(kind, params)
    return DISCRETE[kind](*params, k)[0] if lo <= k and (hi is None or k <= hi) else mpf(0)


def fmt(v):
    if v is None:
        return "null"
    if v != 0 and abs(v) < mpf("3.3621031431120935063e-4932"):
        return "null:below"
    return mp.nstr(v, 25, min_fixed=-5, max_fixed=25)


def abridged(digits):
    return digits if len(digits) <= 60 else f"D{len(digits)}:{digits[:30]}:{digits[-30:]}"


def counting_rows():
    rows = []
    for n in (0, 1, 5, 19, 20, 170, 1000, 3248, 3249, 100000, 2**31 - 1):
        value = math.factorial(n) if n <= 5000 else None
        digits = str(value) if value is not None else None
        exact = abridged(digits) if digits and len(digits) <= 10000 else "null:digits"
        log10 = mp.log10(value) if value is not None else mp.loggamma(n + 1) / mp.log(10)
        rows.append((f"factorial_{n}", "factorial", "count", str(n), "", "", "", exact))
        rows.append((f"factorial_{n}_log10", "factorial_log10", "count", str(n), "", "", "", fmt(log10)))
    for n, k in ((10, 3), (122, 61), (124, 62), (2000, 1000), (5000, 2500), (40000, 20000),
                 (2**31 - 1, 1), (2**31 - 1, 1000), (2**31 - 1, 2000), (2**31 - 1, 2**30), (7, 7)):
        small = min(k, n - k)
        log10 = (mp.loggamma(n + 1) - mp.loggamma(k + 1) - mp.loggamma(n - k + 1)) / mp.log(10)
        if log10 < 10001:
            value = math.comb(n, k)
            digits = str(value)
            exact, log10 = (abridged(digits) if len(digits) <= 10000 else "null:digits"), mp.log10(value)
        else:
            exact = "null:digits"
        rows.append((f"binomial_coefficient_{n}_{k}", "binomial", "count", str(n), str(k), "", "", exact))
        rows.append((f"binomial_coefficient_{n}_{k}_log10", "binomial_log10", "count", str(n), str(k), "",
                     "", fmt(log10 if small else mpf(0))))
    return rows


# (kind, parameters as texts, x or p as text, functions)
CASES = [
    # Worked examples.
    ("normal", ("100", "225"), "130", ("lower", "upper", "density", "two_tailed")),
    ("normal", ("100", "225"), "0.95", ("x_lower", "x_upper", "central_low", "central_high")),
    ("normal", ("0", "1"), "0.999999", ("x_lower", "x_upper")),
    ("normal", ("0", "1"), "0.000001", ("x_lower", "central_low", "central_high")),
    ("chisquare", ("10",), "18.307038", ("lower", "upper", "density", "two_tailed")),
    ("chisquare", ("10",), "0.95", ("x_lower", "x_upper", "central_low", "central_high")),
    ("chisquare", ("1",), "0.000001", ("x_lower", "x_upper")),
    # A density near 1e-4715: the logarithm of x / 2 times 547 as a pair.
    ("chisquare", ("1097.24593495",), "1e-6", ("density",)),
    ("t", ("10",), "2", ("lower", "upper", "density", "two_tailed")),
    ("t", ("10",), "0.975", ("x_lower", "x_upper", "central_low", "central_high")),
    ("t", ("1",), "0.000001", ("x_lower", "x_upper")),
    ("t", ("10",), "0.000001", ("central_low", "central_high")),
    ("f", ("5", "10"), "3.325835", ("lower", "upper", "density", "two_tailed")),
    ("f", ("5", "10"), "0.95", ("x_lower", "x_upper", "central_low", "central_high")),
    ("binomial", ("0.3", "10"), "3", ("below", "at_most", "point", "at_least", "above")),
    ("binomial", ("0.3", "10"), "0.5", ("quantile",)),
    ("binomial", ("0.3", "1000000"), "300000", ("at_most", "point", "above")),
    ("poisson", ("2.5",), "3", ("below", "at_most", "point", "at_least", "above")),
    ("poisson", ("2.5",), "0.5", ("quantile",)),
    ("hypergeometric", ("10", "15", "8"), "3", ("below", "at_most", "point", "at_least", "above")),
    ("hypergeometric", ("10", "15", "8"), "0.5", ("quantile",)),
    ("hypergeometric", ("1000000", "1000000", "1000000"), "500000", ("at_most", "point", "above")),
    # The normal far out: to x = 38 deviations, and to the bottom of the extended range.
    ("normal", ("0", "1"), "38", ("upper", "density", "two_tailed")),
    ("normal", ("0", "1"), "-38", ("lower",)),
    ("normal", ("0", "1"), "100", ("upper", "density")),
    ("normal", ("0", "1"), "150", ("upper", "density")),
    ("normal", ("3.7", "0.3"), "-70", ("lower", "density")),
    ("normal", ("0", "1"), "160", ("upper", "density")),
    # Chi-square far tails, both sides, and the largest degrees of freedom.
    ("chisquare", ("1",), "1000", ("upper", "density")),
    ("chisquare", ("3",), "20000", ("upper",)),
    ("chisquare", ("10",), "22000", ("upper", "density")),
    ("chisquare", ("10",), "0.001", ("lower",)),
    ("chisquare", ("100",), "1", ("lower", "density")),
    ("chisquare", ("2147483647",), "2147483647", ("lower", "upper", "density")),
    ("chisquare", ("1000000",), "1200000", ("lower", "upper", "density")),
    ("chisquare", ("1000000",), "900000", ("lower", "upper")),
    ("chisquare", ("1000000",), "2000000", ("upper",)),
    ("chisquare", ("1073741823",), "0.95", ("x_lower", "x_upper")),
    # t: 1 degree of freedom at 10^10 and beyond, heavy tails, huge degrees of freedom.
    ("t", ("1",), "10000000000", ("upper", "density", "two_tailed")),
    ("t", ("1",), "-10000000000", ("lower",)),
    ("t", ("1",), "1e300", ("upper",)),
    ("t", ("2",), "1e100", ("upper",)),
    ("t", ("5",), "1e50", ("upper", "density")),
    ("t", ("30",), "1000", ("upper",)),
    ("t", ("2147483646",), "12", ("upper", "lower")),
    ("t", ("1073741823",), "0.975", ("x_lower", "x_upper")),
    # F far out.
    ("f", ("1", "1"), "1e20", ("upper",)),
    ("f", ("10", "20"), "1000", ("upper", "density")),
    ("f", ("100", "100"), "100", ("upper",)),
    ("f", ("5", "10"), "1e-10", ("lower", "density")),
    ("f", ("10", "4"), "7.85217e-1100", ("density",)),
    ("f", ("1073741822", "1073000000"), "0.9999", ("lower", "upper", "density")),
    ("f", ("100000", "100000"), "0.99", ("lower", "upper", "density")),
    ("f", ("100000", "100000"), "1.2", ("lower", "upper")),
    ("f", ("3000", "1000000"), "0.9", ("lower", "density")),
    # Binomial and Poisson tails.
    ("binomial", ("0.5", "1000"), "0", ("point", "at_most")),
    ("binomial", ("0.5", "1000000000"), "498000000", ("at_most", "point")),
    ("binomial", ("0.5", "1000000000"), "500000000", ("at_most", "above", "point")),
    ("binomial", ("0.01", "10000"), "1000", ("at_least", "point")),
    ("binomial", ("0.5", "1000000000"), "0.999999", ("quantile",)),
    ("poisson", ("1",), "1000", ("at_least", "point")),
    ("poisson", ("1000",), "0", ("point", "at_most")),
    ("poisson", ("10000",), "0", ("point",)),
    ("poisson", ("11000",), "5", ("at_most",)),
    ("poisson", ("100000000",), "99800000", ("at_most", "point")),
    ("poisson", ("100000000",), "100000000", ("at_most", "above")),
    ("poisson", ("100000000",), "0.999999", ("quantile",)),
    # Hypergeometric tails, and an urn beyond 2^31 balls.
    ("hypergeometric", ("1000", "1000", "1000"), "100", ("at_most", "point")),
    ("hypergeometric", ("1000", "1000", "1000"), "900", ("at_least", "above")),
    ("hypergeometric", ("300000", "200000", "100000"), "58000", ("at_most", "point")),
    ("t", ("1",), "0.001", ("density",)),
    ("t", ("3",), "-1e-60", ("density",)),
    ("t", ("1000000000",), "0.5", ("density",)),
    ("t", ("2",), "-40", ("lower", "density")),
    ("f", ("1", "1"), "0.5", ("density",)),
    ("f", ("37", "2"), "0.0592135906512041287897", ("density",)),
    ("f", ("2", "60"), "7", ("upper", "density")),
    ("chisquare", ("2",), "7.5", ("upper", "density")),
    ("chisquare", ("3",), "0.001", ("lower", "density")),
    ("poisson", ("0.01",), "2", ("below", "point", "above")),
    ("poisson", ("250",), "240", ("below", "at_most", "point", "at_least", "above")),
    ("binomial", ("0.999", "200"), "199", ("below", "point", "above")),
    ("f", ("10", "31"), "3.21087194257984620549", ("lower", "upper")),
    ("f", ("10", "63"), "3.28548698567191976849", ("upper",)),
    ("f", ("73", "12"), "0.4", ("lower", "two_tailed")),
    ("f", ("1", "1"), "1e-30", ("lower", "upper")),
    ("t", ("5",), "1.3", ("lower", "upper")),
    ("t", ("79",), "-0.01", ("lower", "upper")),
    ("t", ("1",), "-1e-20", ("lower",)),
    ("hypergeometric", ("171", "200", "150"), "60", ("below", "at_most", "point", "at_least", "above")),
    ("hypergeometric", ("1000", "500", "700"), "420", ("below", "point", "above")),
    ("hypergeometric", ("1000", "500", "700"), "510", ("at_most", "point", "at_least")),
    ("hypergeometric", ("40", "1700", "300"), "25", ("point", "at_least", "above")),
    ("hypergeometric", ("2000000000", "2000000000", "1000000"), "490000", ("at_most", "point", "above")),
    ("hypergeometric", ("2000000000", "2000000000", "1000000"), "0.5", ("quantile",)),
    # Far tails near 1e-3000 and 1e-4172, where each term's mean m p must be exact.
    ("hypergeometric", ("65316", "726296", "635308"), "62428", ("point", "above")),
    ("hypergeometric", ("935964", "772724", "1100289"), "559684", ("point", "at_most")),
    # Moments.
    ("t", ("10",), "", ("variance",)),
    ("f", ("5", "10"), "", ("mean", "variance")),
    ("binomial", ("0.3", "10"), "", ("mean", "variance")),
    ("hypergeometric", ("10", "15", "8"), "", ("mean", "variance")),
    ("chisquare", ("10",), "", ("variance",)),
    # The simple continuous distributions: worked examples, quantiles down to
    # p = 1e-100, far tails to 1e-300 and 1e-2000, and moments.
    ("exponential", ("2",), "0.75", ("lower", "upper", "density", "two_tailed")),
    ("exponential", ("2",), "0.95", ("x_lower", "x_upper", "central_low", "central_high")),
    ("exponential", ("2",), "1e-100", ("x_lower", "x_upper")),
    ("exponential", ("2",), "1e-20", ("lower", "density")),
    ("exponential", ("2",), "345", ("upper", "density")),
    ("exponential", ("0.125",), "36841.361487904730944", ("upper",)),
    ("exponential", ("3.7",), "", ("mean", "variance")),
    ("gamma", ("2.5", "3"), "7", ("lower", "upper", "density", "two_tailed")),
    ("gamma", ("2.5", "3"), "0.95", ("x_lower", "x_upper", "central_low", "central_high")),
    ("gamma", ("2.5", "3"), "1e-100", ("x_lower", "x_upper")),
    ("gamma", ("2.5", "3"), "2000", ("upper", "density")),
    ("gamma", ("2.5", "3"), "13000", ("upper",)),
    ("gamma", ("0.5", "2"), "1e-30", ("lower", "density")),
    ("gamma", ("1000.5", "0.01"), "8", ("lower", "density")),
    ("gamma", ("250000", "2"), "501000", ("lower", "upper", "density")),
    ("gamma", ("2.5", "3"), "", ("mean", "variance")),
    ("beta", ("2", "3"), "0.3", ("lower", "upper", "density", "two_tailed")),
    ("beta", ("2", "3"), "0.95", ("x_lower", "x_upper", "central_low", "central_high")),
    ("beta", ("2", "3"), "1e-100", ("x_lower", "x_upper")),
    ("beta", ("0.5", "0.5"), "0.01", ("lower", "upper", "density")),
    ("beta", ("2", "3"), "1e-150", ("lower", "density")),
    ("beta", ("200", "300"), "0.45", ("lower", "upper", "density")),
    ("beta", ("50", "80"), "0.9", ("upper", "density")),
    ("beta", ("2", "1000"), "0.9", ("upper",)),
    ("beta", ("0.7", "3.5"), "0.999", ("upper", "density")),
    ("beta", ("2", "3"), "", ("mean", "variance")),
    ("uniform", ("-1", "3"), "0.5", ("lower", "upper", "density", "two_tailed")),
    ("uniform", ("-1", "3"), "0.95", ("x_lower", "x_upper", "central_low", "central_high")),
    ("uniform", ("-1", "3"), "1e-100", ("x_lower", "x_upper")),
    ("uniform", ("0", "1"), "1e-300", ("lower", "upper")),
    ("uniform", ("-1", "3"), "", ("mean", "variance")),
    ("lognormal", ("0.5", "0.75"), "2", ("lower", "upper", "density", "two_tailed")),
    ("lognormal", ("0.5", "0.75"), "0.95", ("x_lower", "x_upper", "central_low", "central_high")),
    ("lognormal", ("0.5", "0.75"), "1e-100", ("x_lower", "x_upper")),
    ("lognormal", ("0", "1"), "1e40", ("upper", "density")),
    ("lognormal", ("0", "1"), "1e-30", ("lower", "density")),
    ("lognormal", ("2", "0.25"), "1e10", ("upper",)),
    ("lognormal", ("0.5", "0.75"), "", ("mean", "variance")),
    ("weibull", ("1.5", "2"), "3", ("lower", "upper", "density", "two_tailed")),
    ("weibull", ("1.5", "2"), "0.95", ("x_lower", "x_upper", "central_low", "central_high")),
    ("weibull", ("1.5", "2"), "1e-100", ("x_lower", "x_upper")),
    ("weibull", ("2", "1"), "26", ("upper", "density")),
    ("weibull", ("2", "1"), "67", ("upper",)),
    ("weibull", ("0.5", "3"), "1e-40", ("lower", "density")),
    ("weibull", ("1.5", "2"), "", ("mean", "variance")),
    ("weibull", ("20", "3"), "", ("mean", "variance")),
    ("weibull", ("1000", "1"), "", ("variance",)),
    ("cauchy", ("1", "2"), "4", ("lower", "upper", "density", "two_tailed")),
    ("cauchy", ("1", "2"), "0.95", ("x_lower", "x_upper", "central_low", "central_high")),
    ("cauchy", ("1", "2"), "1e-100", ("x_lower", "x_upper")),
    ("cauchy", ("1", "2"), "0.999999", ("central_low", "central_high")),
    ("cauchy", ("1", "2"), "-1e300", ("lower", "density")),
    ("cauchy", ("1", "2"), "1e2000", ("upper", "density")),
    ("logistic", ("1", "2"), "4", ("lower", "upper", "density", "two_tailed")),
    ("logistic", ("1", "2"), "0.95", ("x_lower", "x_upper", "central_low", "central_high")),
    ("logistic", ("1", "2"), "1e-100", ("x_lower", "x_upper")),
    ("logistic", ("1", "2"), "0.3", ("x_lower",)),
    ("logistic", ("1", "2"), "1400", ("upper", "density")),
    ("logistic", ("1", "3"), "-13800", ("lower",)),
    ("logistic", ("1", "2"), "", ("mean", "variance")),
    # The new discrete distributions: worked examples, far tails, quantiles
    # (with exact boundaries: 1 - (3/4)^2 = 0.4375, 1/4 + 2/8 = 0.5, 2/4).
    ("geometric", ("0.2",), "3", ("below", "at_most", "point", "at_least", "above")),
    ("geometric", ("0.2",), "0.5", ("quantile",)),
    ("geometric", ("0.2",), "1e-100", ("quantile",)),
    ("geometric", ("0.2",), "0.999999", ("quantile",)),
    ("geometric", ("0.25",), "0.4375", ("quantile",)),
    ("geometric", ("0.2",), "3093", ("above", "point")),
    ("geometric", ("0.5",), "6643", ("above", "point")),
    ("geometric", ("0.000001",), "1000", ("at_most", "point")),
    ("geometric", ("0.2",), "", ("mean", "variance")),
    ("negativebinomial", ("3", "0.4"), "5", ("below", "at_most", "point", "at_least", "above")),
    ("negativebinomial", ("3", "0.4"), "0.5", ("quantile",)),
    ("negativebinomial", ("3", "0.4"), "1e-100", ("quantile",)),
    ("negativebinomial", ("3", "0.4"), "0.999999", ("quantile",)),
    ("negativebinomial", ("2", "0.5"), "0.5", ("quantile",)),
    ("negativebinomial", ("3", "0.4"), "1300", ("above", "point")),
    ("negativebinomial", ("50", "0.5"), "6500", ("above", "point")),
    ("negativebinomial", ("100", "0.3"), "233", ("at_most", "point", "above")),
    ("negativebinomial", ("2", "0.001"), "10", ("at_most", "point")),
    ("negativebinomial", ("60", "0.7"), "0", ("point", "at_most")),
    ("negativebinomial", ("100", "0.05"), "2500", ("at_most", "point", "above")),
    ("negativebinomial", ("3", "0.4"), "", ("mean", "variance")),
    ("discreteuniform", ("-3", "7"), "2", ("below", "at_most", "point", "at_least", "above")),
    ("discreteuniform", ("-3", "7"), "0.5", ("quantile",)),
    ("discreteuniform", ("-3", "7"), "1e-100", ("quantile",)),
    ("discreteuniform", ("1", "4"), "0.5", ("quantile",)),
    ("discreteuniform", ("0", "1000000000000000000"), "10", ("at_most", "point", "above")),
    ("discreteuniform", ("-3", "7"), "", ("mean", "variance")),
    # The noncentral distributions (held to kNoncentralTolerance).
    ("noncentralt", ("10", "1.5"), "2", ("lower", "upper", "density", "two_tailed")),
    ("noncentralt", ("10", "1.5"), "0.95", ("x_lower", "x_upper", "central_low", "central_high")),
    ("noncentralt", ("10", "1.5"), "1e-100", ("x_lower", "x_upper")),
    ("noncentralt", ("10", "1.5"), "-0.5", ("lower", "upper", "density")),
    ("noncentralt", ("10", "1.5"), "1e30", ("upper", "density")),
    ("noncentralt", ("5", "2"), "1e400", ("upper",)),
    ("noncentralt", ("3", "1"), "-50", ("lower", "density")),
    # The side opposite to delta, where the tail falls as Phi-bar(|delta|) and below.
    ("noncentralt", ("30", "20"), "-1", ("lower", "upper", "density", "two_tailed")),
    ("noncentralt", ("3", "-20"), "0.5", ("lower", "upper", "density")),
    ("noncentralt", ("10", "5"), "-1000", ("lower", "density")),
    ("noncentralt", ("0.5", "40"), "-1000", ("lower", "density")),
    ("noncentralt", ("1e4", "40"), "-10", ("lower", "density")),
    ("noncentralt", ("30", "135"), "-2", ("lower", "density")),
    ("noncentralt", ("30", "160"), "-1", ("lower",)),
    ("noncentralt", ("30", "20"), "1e-100", ("x_lower",)),
    ("noncentralt", ("3", "-5"), "1e-10", ("x_upper",)),
    # Between 0 and delta, the tail towards 0 and the density on delta's side.
    ("noncentralt", ("100", "40"), "20", ("lower", "density")),
    ("noncentralt", ("100", "-40"), "-22", ("upper", "density")),
    ("noncentralt", ("1e4", "20"), "15", ("lower", "density")),
    ("noncentralt", ("1e4", "20"), "60", ("density",)),
    # Small df: the density on delta's side, and the tail just below delta.
    ("noncentralt", ("7", "14"), "20", ("density",)),
    ("noncentralt", ("7", "14"), "13.99", ("lower", "density")),
    ("noncentralt", ("10", "1.5"), "", ("mean", "variance")),
    ("noncentralchisquare", ("4", "3"), "5", ("lower", "upper", "density", "two_tailed")),
    ("noncentralchisquare", ("4", "3"), "0.95", ("x_lower", "x_upper", "central_low", "central_high")),
    ("noncentralchisquare", ("4", "3"), "1e-100", ("x_lower", "x_upper")),
    ("noncentralchisquare", ("4", "3"), "1500", ("upper", "density")),
    ("noncentralchisquare", ("4", "3"), "9000", ("upper",)),
    ("noncentralchisquare", ("4", "3"), "1e-20", ("lower", "density")),
    ("noncentralchisquare", ("3", "200"), "150", ("lower", "upper", "density")),
    ("noncentralchisquare", ("4", "3"), "", ("mean", "variance")),
    ("noncentralf", ("4", "12", "3"), "2", ("lower", "upper", "density", "two_tailed")),
    ("noncentralf", ("4", "12", "3"), "0.95", ("x_lower", "x_upper", "central_low", "central_high")),
    ("noncentralf", ("4", "12", "3"), "1e-100", ("x_lower", "x_upper")),
    ("noncentralf", ("4", "12", "3"), "1e30", ("upper", "density")),
    ("noncentralf", ("4", "12", "3"), "1e-40", ("lower", "density")),
    ("noncentralf", ("10", "20", "5"), "1e100", ("upper",)),
    ("noncentralf", ("5", "10", "10"), "1e-100", ("x_upper",)),
    ("noncentralf", ("60", "80", "20"), "1.5", ("lower", "upper", "density")),
    ("noncentralf", ("4", "12", "3"), "", ("mean", "variance")),
    # Few degrees of freedom against many: F and t tails from the fractions,
    # typical and far out, and the F quantiles refined on them.
    ("f", ("20", "3627"), "1.6693", ("lower", "upper", "density")),
    ("f", ("20", "3627"), "9", ("upper", "density")),
    ("f", ("7646561", "30"), "0.98062", ("lower", "upper")),
    ("f", ("7646561", "30"), "0.2", ("lower", "density")),
    ("f", ("89482002", "48"), "0.91226845", ("lower", "upper")),
    ("f", ("16", "41336312"), "1.6", ("lower", "upper")),
    ("f", ("16", "41336312"), "40", ("upper", "density")),
    ("f", ("1", "50000000"), "200", ("upper",)),
    ("f", ("12285", "30"), "0.717117", ("x_lower", "x_upper")),
    ("f", ("4957", "34"), "0.3", ("x_lower",)),
    ("t", ("89884183",), "136.668", ("upper", "density")),
    ("t", ("89884183",), "-2.5", ("lower",)),
    ("t", ("411144000",), "94.088616", ("upper",)),
    # A binomial tail near the bottom of the range with n in the hundreds of millions.
    ("binomial", ("0.9", "419435296"), "378337267", ("at_most", "point", "above")),
    ("binomial", ("0.16", "92755446"), "15193948", ("above",)),
]


# Values fixed by the definitions alone, and what the engine cannot give:
# (kind, parameters, x or p, function, expected).
EDGES = [
    # A noncentrality too small to move any digit is the central distribution
    # (a denormal lambda made the Poisson sums run for ever).
    ("noncentralchisquare", ("1", "4e-4951"), "1", "lower",
     "0.6826894921370858971704650912640758449558259334532087819747889"),
    ("noncentralchisquare", ("1", "4e-4951"), "1", "upper",
     "0.3173105078629141028295349087359241550441740665467912180252111"),
    ("noncentralf", ("1", "1", "4e-4951"), "1", "lower", "0.5"),
    ("binomial", ("0", "10"), "0", "point", "1"),
    ("binomial", ("1", "10"), "9", "at_most", "0"),
    ("binomial", ("0.3", "10"), "-1", "at_most", "0"),
    ("binomial", ("0.3", "10"), "-1", "at_least", "1"),
    ("binomial", ("0.3", "10"), "11", "point", "0"),
    ("binomial", ("0.3", "10"), "10", "at_most", "1"),
    ("binomial", ("0.3", "10"), "2.5", "at_most", "0.3827827864"),
    ("poisson", ("2.5",), "-3", "above", "1"),
    ("hypergeometric", ("10", "15", "8"), "11", "at_most", "1"),
    ("hypergeometric", ("0", "0", "0"), "0", "point", "1"),
    ("hypergeometric", ("5", "5", "11"), "3", "point", "null:larger than the urn"),
    ("hypergeometric", ("5", "5", "11"), "0.5", "quantile", "null:larger than the urn"),
    ("chisquare", ("1",), "0", "density", "null:infinite"),
    ("chisquare", ("2",), "0", "density", "0.5"),
    ("chisquare", ("10",), "-1", "lower", "0"),
    ("f", ("2", "7"), "0", "density", "1"),
    ("t", ("10",), "0", "lower", "0.5"),
    ("normal", ("0", "1"), "0.5", "x_lower", "0"),
    ("normal", ("0", "0"), "1", "upper", "null:variance"),
    ("t", ("10",), "1", "x_lower", "null:strictly"),
    ("poisson", ("2.5",), "0", "quantile", "null:strictly"),
    ("poisson", ("2.5",), "3", "density", "null:discrete"),
    ("normal", ("0", "1"), "3", "point", "null:continuous"),
    ("binomial", ("1.5", "10"), "3", "point", "null:p must"),
    ("f", ("5", "4"), "", "variance", "null:infinite"),
    ("f", ("5", "2"), "", "mean", "null:infinite"),
    ("t", ("1",), "", "mean", "null:undefined"),
    ("t", ("1",), "", "variance", "null:undefined"),
    ("t", ("2",), "", "variance", "null:infinite"),
    ("exponential", ("0",), "1", "upper", "null:rate"),
    ("exponential", ("1",), "12000", "upper", "null:below"),
    ("exponential", ("2",), "-1", "density", "0"),
    ("exponential", ("1e4000",), "", "variance", "null:below"),
    ("gamma", ("0.5", "1"), "0", "density", "null:infinite at x = 0"),
    ("gamma", ("1", "4"), "0", "density", "0.25"),
    ("gamma", ("3", "1"), "0", "density", "0"),
    ("gamma", ("3", "-1"), "1", "lower", "null:scale"),
    ("beta", ("0.5", "2"), "0", "density", "null:infinite at x = 0"),
    ("beta", ("2", "0.5"), "1", "density", "null:infinite at x = 1"),
    ("beta", ("1", "3"), "0", "density", "3"),
    ("beta", ("2", "1"), "1", "density", "2"),
    ("beta", ("2", "3"), "1.5", "upper", "0"),
    ("uniform", ("3", "1"), "2", "lower", "null:above a"),
    ("uniform", ("-1", "3"), "5", "density", "0"),
    ("lognormal", ("0", "1"), "-2", "lower", "0"),
    ("weibull", ("0.5", "1"), "0", "density", "null:infinite at x = 0"),
    ("weibull", ("1", "2"), "0", "density", "0.5"),
    ("weibull", ("1.5", "2"), "3000", "upper", "null:below"),
    ("cauchy", ("1", "2"), "", "mean", "null:undefined for the Cauchy"),
    ("cauchy", ("1", "2"), "", "variance", "null:undefined for the Cauchy"),
    ("cauchy", ("1", "0"), "1", "lower", "null:scale"),
    ("logistic", ("1", "2"), "1", "lower", "0.5"),
    ("geometric", ("1",), "0", "point", "1"),
    ("geometric", ("1",), "0.5", "quantile", "0"),
    ("geometric", ("0",), "1", "point", "null:p must"),
    ("geometric", ("0.2",), "1.5", "density", "null:discrete"),
    ("negativebinomial", ("0", "0.5"), "1", "point", "null:r must"),
    ("negativebinomial", ("3", "0.4"), "-1", "at_least", "1"),
    ("discreteuniform", ("5", "4"), "4", "point", "null:at least a"),
    ("discreteuniform", ("0.5", "4"), "1", "point", "null:whole number"),
    ("discreteuniform", ("-3", "7"), "8", "at_most", "1"),
    ("discreteuniform", ("4", "4"), "4", "point", "1"),
    ("geometric", ("0.25",), "0.4375000000000000001", "quantile", "2"),
    ("negativebinomial", ("2", "0.5"), "0.5000000000000000001", "quantile", "2"),
    ("discreteuniform", ("1", "4"), "0.5000000000000000001", "quantile", "3"),
    ("noncentralt", ("1", "1"), "", "mean", "null:undefined"),
    ("noncentralt", ("2", "1"), "", "variance", "null:infinite"),
    ("noncentralt", ("2", "inf"), "1", "lower", "null:noncentrality"),
    ("noncentralchisquare", ("4", "-1"), "1", "lower", "null:noncentrality"),
    ("noncentralchisquare", ("1", "3"), "0", "density", "null:infinite at x = 0"),
    ("noncentralf", ("4", "2", "3"), "", "mean", "null:infinite"),
    ("noncentralf", ("4", "4", "3"), "", "variance", "null:infinite"),
    ("noncentralf", ("4", "12", "3"), "-1", "upper", "1"),
]
COUNTING_EDGES = [
    ("factorial_minus_1", "factorial", "-1", "", "null:whole number"),
    ("factorial_minus_1_log10", "factorial_log10", "-1", "", "null:whole number"),
    ("binomial_coefficient_5_6", "binomial", "5", "6", "null:from 0 to n"),
    ("binomial_coefficient_5_6_log10", "binomial_log10", "5", "6", "null:from 0 to n"),
]


# ---- the noncentral t at its extremes: |delta| to 1000, df from 1e-300, |x| to 1e2500 ----

def extremes_noncentral():
    """Rows for the noncentral t where the series above cannot go (delta^2 / 2
    Poisson terms: 5e5 at |delta| = 1000): each tail and the density as its
    own integral over u = ln S of e^L(u), L = ln g(a e^u) + ln(density of
    S times s), g = Phi-bar(. - c), Phi(. - c) or e^u phi(. - c), a = |x|,
    c = delta sign(x), at 30 digits: Gauss-Legendre over pieces half a width
    apart about the spread of S, Phi's step and each integrand's peak, no
    piece wider than 1/2 where the integrand counts, plus, left of a e^u =
    1e-40, g(0) times the incomplete gamma function.  Quantiles by the secant
    on ln P - ln p."""
    gauss = __import__("mpmath").calculus.quadrature.GaussLegendre(mp)

    def integral(L, centres, left):
        points = sorted({u0 + k * w / 2 for u0, w in centres for k in range(-16, 17)} |
                        {u0 + s * w * mpf(3) ** k / 2 ** k for u0, w in centres
                         for k in range(1, 24) for s in (1, -1)})
        points = [left] + [u for u in points if u > left]
        peak = max(L(u) for u in points)
        f = lambda u: mp.exp(L(u) - peak)
        nodes = gauss.calc_nodes(3, mp.prec + 20)
        piece = lambda a, b: (b - a) / 2 * mp.fsum(w * f((b + a) / 2 + (b - a) / 2 * x) for x, w in nodes)
        total = mpf(0)
        for a, b in zip(points, points[1:]):
            if L(a) - peak < -100 and L(b) - peak < -100:
                continue
            n = int(min(max(1, (b - a) * 2), 4000))
            total += mp.fsum(piece(a + (b - a) * j / n, a + (b - a) * (j + 1) / n) for j in range(n))
        u, step = points[-1], mpf(1) / 8
        while L(u) - peak > -110:
            total += piece(u, u + step)
            u, step = u + step, min(step * 3 / 2, mpf(1) / 2)
        return total * mp.exp(peak)

    def values(nu, delta, t):
        if t < 0:
            lower, upper, density = values(nu, -delta, -t)
            return upper, lower, density
        m, a, c = nu / 2, t, delta
        with mp.workdps(mp.dps + 30):
            constant = mp.log(2) + m * mp.log(m) - mp.loggamma(m) - m
        def scale(u):
            with mp.workdps(mp.dps + 30):
                return +(constant - m * (mp.expm1(2 * u) - 2 * u))
        beyond = lambda u: log_normal_upper_anywhere(a * mp.exp(u) - c) + scale(u)
        towards = lambda u: log_normal_upper_anywhere(c - a * mp.exp(u)) + scale(u)
        dens = lambda u: -(a * mp.exp(u) - c) ** 2 / 2 - mp.log(2 * mp.pi) / 2 + u + scale(u)
        left = mp.log(mpf(10) ** -40 / (1 + abs(c)) / a)
        centres = [(mpf(0), min(1 / mp.sqrt(4 * m), mpf(1))), (-mp.log(a), mpf(1))]
        if c > 0:
            centres.append((mp.log(c / a), min(1 / c, mpf(1))))
        for L in (beyond, towards, dens):
            lo, hi, g = left, mpf(400), (mp.sqrt(5) - 1) / 2
            while hi - lo > mpf(10) ** -12:
                x1, x2 = hi - g * (hi - lo), lo + g * (hi - lo)
                lo, hi = (lo, x2) if L(x1) > L(x2) else (x1, hi)
            u0, e = (lo + hi) / 2, mpf(10) ** -8
            curvature = -(L(u0 + e) - 2 * L(u0) + L(u0 - e)) / e ** 2
            centres.append((u0, 1 / mp.sqrt(curvature) if curvature > 0 else mpf(1)))
        below = mp.gammainc(m, 0, m * mp.exp(2 * left), regularized=True)
        mean_s = mp.exp(mp.loggamma(m + mpf(1) / 2) - mp.loggamma(m)) / mp.sqrt(m)
        return (integral(towards, centres, left) + mp.ncdf(-c) * below,
                integral(beyond, centres, left) + mp.ncdf(c) * below,
                integral(dens, centres, left) + mp.npdf(c) * mean_s *
                mp.gammainc(m + mpf(1) / 2, 0, m * mp.exp(2 * left), regularized=True))

    def quantile(nu, delta, p, upper, guess):
        side = 1 if upper else 0
        f = lambda x: mp.log(values(nu, delta, x)[side]) - mp.log(p)
        return mp.findroot(f, (guess, guess * (1 + mpf(10) ** -6)), solver="secant",
                           tol=mpf(10) ** -40)

    cases = [
        # Far noncentral: Phi's step in x S, 1/|delta| wide, within the spread of S.
        (("1", "1000"), "500", ("lower", "upper", "density")),
        (("30", "999.5"), "2998.5", ("lower", "upper")),
        (("1e9", "-1000"), "-990", ("upper", "density")),
        (("1", "200"), "1e6", ("lower",)),
        (("2931.08139936", "0.456942465771"), "5.99606", ("upper",)),
        # Tiny df: S near 0 or 1 / sqrt(df), a plateau of 1 / df in ln S.
        (("1e-10", "-1"), "2", ("lower", "upper", "density")),
        (("1e-300", "-37"), "-1e-10", ("upper",)),
        # |x| near the end of the extended range.
        (("1", "-1"), "1e2500", ("upper", "density")),
        (("1", "-1000"), "-1e4900", ("lower",)),
    ]
    quantiles = [(("1e9", "-1000"), "1e-100", "x_lower", mpf(-1021)),
                 (("1", "1000"), "0.3", "x_upper", mpf(2595)),
                 (("30", "40"), "1e-15", "x_lower", mpf(18))]
    rows = []
    with mp.workdps(30):
        for params, x, functions in cases:
            v = values(ld(params[0]), ld(params[1]), ld(x))
            for function in functions:
                value = v[("lower", "upper", "density").index(function)]
                rows.append((label("noncentralt", *params, x, function), function, "noncentralt",
                              *params, "", x, fmt(value)))
        for params, p, function, guess in quantiles:
            upper = function == "x_upper"
            x = quantile(ld(params[0]), ld(params[1]), ld(p), upper, guess)
            rows.append((label("noncentralt", *params, p, function), function, "noncentralt",
                          *params, "", p, fmt(x)))
    return rows


def log_normal_upper_anywhere(y):
    """ln Phi-bar(y) for every real y."""
    return log_normal_upper(y) if y >= 0 else mp.log(mp.ncdf(-y))


def label(*parts):
    text = "_".join(p for p in parts if p)
    return re.sub(r"[^A-Za-z0-9_]", "", text.replace(".", "p").replace("-", "m"))


# ---- the discrete distributions at their extremes ----

def negativebinomial_real(r, p, k):
    """Point, P(X <= k), P(X > k) for real r; small k by sums at 400 more digits."""
    point = lambda j: mp.exp(mp.loggamma(r + j) - mp.loggamma(j + 1) - mp.loggamma(r)
                             + r * mp.log(p) + j * mp.log1p(-p))
    if k > 200:
        return point(k), ibeta(r, mpf(k + 1), p), ibeta(mpf(k + 1), r, 1 - p)
    with mp.workdps(mp.dps + 400):
        below = mp.fsum(point(j) for j in range(k + 1))
        return point(k), +below, +(1 - below)


def gamma_tail_by_quadrature(a, x, upper):
    """Q(a, x) (upper) or P(a, x), large a: Gauss-Legendre on the decaying side."""
    density = lambda t: mp.exp((a - 1) * mp.log(t) - t - mp.loggamma(a))
    h = 1 / (abs(1 - (a - 1) / x) + 1 / mp.sqrt(a)) / 4
    points = sorted({max(x + (j if upper else -j) * h, mpf(0)) for j in range(801)})
    return mp.quad(density, points, method="gauss-legendre")


def smallest(reaches):
    a, b = -1, 1
    while not reaches(b):
        a, b = b, 2 * b
    while b - a > 1:
        a, b = (a, (a + b) // 2) if reaches((a + b) // 2) else ((a + b) // 2, b)
    return b


def extremes_discrete():
    """Quantiles near 1; exact boundaries (q dyadic, on Fractions) and just above;
    medians a symmetry fixes; the negative binomial with real r; huge lambda."""
    from fractions import Fraction
    rows = []

    def row(kind, params, x, function, expected):
        rows.append([label(kind, *params, x, function), function, kind, *params, *[""] * (3 - len(params)), x, expected])

    near = "0.999999999999999"
    for kind, params, x in (("negativebinomial", ("40", "0.01"), near), ("geometric", ("0.01",), near),
                            ("negativebinomial", ("1000000", "0.999999"), near),
                            ("poisson", ("1000000",), near), ("binomial", ("0.5", "1682"), "0.9999999999999"),
                            ("hypergeometric", ("1000000", "2000000", "1500000"), "0.999999999999")):
        q = [ld(v) for v in params]
        beyond = ((lambda k: negativebinomial_real(*q, k)[2]) if kind == "negativebinomial"
                  else (lambda k: above(kind, q, k)))
        row(kind, params, x, "quantile", fmt(mpf(smallest(lambda k: beyond(k) <= 1 - ld(x)))))
    binomial_half = lambda n, k: Fraction(sum(math.comb(n, i) for i in range(k + 1)), 2 ** n)
    urn = lambda B, R, n: lambda k: Fraction(sum(math.comb(B, i) * math.comb(R, n - i)
                                                 for i in range(k + 1)), math.comb(B + R, n))
    for kind, params, at_most_k, k in (
            ("binomial", ("0.5", "60"), lambda j: binomial_half(60, j), 25),
            ("binomial", ("0.5", "60"), lambda j: binomial_half(60, j), 40),
            ("negativebinomial", ("20", "0.5"), lambda j: 1 - binomial_half(20 + j, 19), 30),
            ("hypergeometric", ("1", "255", "64"), urn(1, 255, 64), 0),
            ("hypergeometric", ("1", "255", "192"), urn(1, 255, 192), 0),
            ("hypergeometric", ("100", "100", "99"), urn(100, 100, 99), 49)):
        q = mpf(at_most_k(k).numerator) / at_most_k(k).denominator
        for text in (mp.nstr(q, 80), mp.nstr(q + mpf("1e-19"), 30)):
            man, exp = ld(text).man_exp
            typed = Fraction(int(man)) * Fraction(2) ** int(exp)
            row(kind, params, text, "quantile", fmt(mpf(smallest(lambda j: at_most_k(j) >= typed))))
    # X and n - X alike (binomial p = 1/2, urn B = R), X and B - X alike (urn
    # N = 2n), r - 1 failures as r successes in 2r - 1 trials of p = 1/2.
    for kind, params, median in (("binomial", ("0.5", "1000001"), 500000),
                                 ("hypergeometric", ("2147483647",) * 3, 1073741823),
                                 ("hypergeometric", ("1000001", "2999999", "2000000"), 500000),
                                 ("negativebinomial", ("100000", "0.5"), 99999)):
        row(kind, params, "0.5", "quantile", fmt(mpf(median)))
    for p, x in (("0.000000000001", "0.5"), ("1e-20", "1e-100")):
        row("geometric", (p,), x, "quantile", fmt(values("quantile", "geometric", [ld(p)], ld(x))))
    for params, k, functions in ((("2.5", "0.5"), 1, ("point", "at_most", "above")),
                                 (("0.0000011", "0.0007"), 1, ("point", "above")),
                                 (("0.35", "0.3"), 7, ("point", "at_most", "above")),
                                 (("1234.5", "0.001"), 1000000, ("point", "at_most", "above")),
                                 (("0.5", "0.999999"), 0, ("point", "above"))):
        got = dict(zip(("point", "at_most", "above"), negativebinomial_real(*map(ld, params), k)))
        for function in functions:
            row("negativebinomial", params, str(k), function, fmt(got[function]))
    r, p = ld("2.5"), ld("0.3")
    row("negativebinomial", ("2.5", "0.3"), "", "mean", fmt(r * (1 - p) / p))
    row("negativebinomial", ("2.5", "0.3"), "", "variance", fmt(r * (1 - p) / p ** 2))
    row("negativebinomial", ("2.5", "0.3"), "0.5", "quantile",
        fmt(mpf(smallest(lambda k: negativebinomial_real(r, p, k)[1] >= 0.5))))
    for lam, k in (("1000000000000", 1000000000000), ("1000000000000", 999990000000),
                   ("1e15", 1000000100000000)):
        upper = ld(lam) >= k + 1  # there Q(k + 1, lambda) = P(X <= k) is the smaller tail
        small = gamma_tail_by_quadrature(mpf(k + 1), ld(lam), upper)
        row("poisson", (lam,), str(k), "at_most", fmt(small if upper else 1 - small))
        row("poisson", (lam,), str(k), "above", fmt(1 - small if upper else small))
    beyond = lambda k: k > 1e15 + 4e7 and gamma_tail_by_quadrature(mpf(k + 1), mpf(1e15), False) <= 1 - ld(
        "0.999999")
    row("poisson", ("1e15",), "0.999999", "quantile", fmt(mpf(smallest(beyond))))
    row("geometric", ("1e-300",), "0.5", "quantile", "null:beyond")
    row("poisson", ("1e300",), "0.5", "quantile", "null:beyond")
    return rows

def rows(names):
    """The rows of the functions named, in the order of the file, each a list of texts."""
    for kind, params, x, functions in CASES:
        if kind not in names:
            continue
        q = [ld(v) for v in params]
        arg = ld(x) if x else mpf(0)
        for function in functions:
            v = values(function, kind, q, arg)
            yield [label(kind, *params, x, function), function, kind, *padded(params), x, fmt(v)]
    for kind, params, x, function, expected in EDGES:
        if kind in names:
            yield [label(kind, *params, x, function), function, kind, *padded(params), x, expected]
    if names & COUNTING.keys():
        yield from (list(row) for row in counting_rows() if row_key(row[2], row[1]) in names)
    for name, function, n, k, expected in COUNTING_EDGES:
        if row_key(COUNTING_KIND, function) in names:
            yield [name, function, COUNTING_KIND, n, k, "", "", expected]
    for row in [*extremes_discrete(), *extremes_noncentral()]:
        if row[2] in names:
            yield row


def main():
    if hasattr(sys, "set_int_max_str_digits"):
        sys.set_int_max_str_digits(0)
    parser = argparse.ArgumentParser(description="Writes the rows of reference.csv.")
    parser.add_argument("--calc", default=function_table.DEFAULT_CALC,
                        help="the probex-calc whose functions to cover")
    parser.add_argument("--only", default="", metavar="NAME[,NAME]",
                        help="just the rows of these functions")
    parser.add_argument("--merge", metavar="CSV",
                        help="put the rows in place of those functions' rows in this file")
    parser.add_argument("--check", action="store_true",
                        help="only check that every function of the table is covered")
    args = parser.parse_args()
    table = function_table.functions(args.calc)
    function_table.require(coverage(table))
    if args.check:
        return
    names = {f.name for f in function_table.chosen(table, args.only)}
    if args.merge:
        return merge(args.merge, names, rows(names))
    if not args.only:
        print(HEADER)
    for row in rows(names):
        print(",".join(row), flush=True)


if __name__ == "__main__":
    main()
