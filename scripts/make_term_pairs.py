#!/usr/bin/python3
"""Writes tests/term/Termpaare.txt: pairs of equal terms in the notation a
pupil types, and for each pair the pupil's side with one coefficient changed.
The term engine's test judges every pair right and every changed one wrong.

A computer-algebra system decides what is equal: every pupil term is built
together with its symbolic value, read back from its text by the CAS's own
parser as a second opinion, and the other side of the pair is the CAS's
expanded or factored form of it. Run from anywhere with Debian's python3 and
python3-sympy (scripts/setup --tools); the output is committed, so the tests
need no Python.

Line format (UTF-8, tab-separated): pupil term, other term, changed pupil term.
"""
import os
import random
import re

import sympy
from sympy.parsing.sympy_parser import (convert_xor, factorial_notation, implicit_multiplication_application,
                                        parse_expr, standard_transformations)

COUNT = 320
VARS = "xyab"
SYM = {v: sympy.Symbol(v) for v in VARS}
FUNCS = {"sin": sympy.sin, "cos": sympy.cos}
rnd = random.Random(18)


def group(depth=0):
    """A bracket group of a linear term such as (2x-3) or (a+b): text and value."""
    v1, v2 = rnd.sample(VARS, 2)
    c1 = rnd.choice([1, 1, 2, 3])
    text = (str(c1) if c1 > 1 else "") + v1
    value = c1 * SYM[v1]
    kind = rnd.randrange(3)
    if kind == 0 or depth > 0:
        k = rnd.randint(1, 5)
        sign = rnd.choice("+-")
        text += sign + str(k)
        value += k if sign == "+" else -k
    else:
        c2 = rnd.choice([1, 2])
        sign = rnd.choice("+-")
        text += sign + (str(c2) if c2 > 1 else "") + v2
        value += (c2 if sign == "+" else -c2) * SYM[v2]
        if kind == 2:
            k = rnd.randint(1, 4)
            text += "+" + str(k)
            value += k
    if depth == 0 and rnd.random() < 0.15:
        # a group inside the group
        inner_t, inner_v = group(depth + 1)
        text = "(" + text + ")" if rnd.random() < 0.5 else text
        text += "+" + inner_t
        value += inner_v
    return "(" + text + ")", value


def coefficient():
    """A leading factor written as a pupil would: nothing, 2, 3*, x, 2a*."""
    c = rnd.choice([1, 2, 3, 4])
    v = rnd.choice(["", "", rnd.choice(VARS)])
    text = (str(c) if c > 1 else "") + v
    value = c * (SYM[v] if v else 1)
    if text and rnd.random() < 0.4:
        text += "*"
    return text, value


def exponent():
    """A whole exponent, sometimes as a bracket group or through ², ³."""
    n = rnd.choice([2, 2, 3, 3, 4])
    r = rnd.random()
    if n in (2, 3) and r < 0.25:
        return "²" if n == 2 else "³", n
    if r < 0.4:
        return "^(" + str(n - 1) + "+1)", n
    if r < 0.5:
        return "^(" + str(n) + ")", n
    return "^" + str(n), n


def power_piece():
    """A power of a bracket group, with a factor in front or behind."""
    g_t, g_v = group()
    e_t, n = exponent()
    c_t, c_v = coefficient()
    r = rnd.random()
    if r < 0.1:
        # a group with a power inside, raised again: (2(x+1)^2)^2, (y^2)^3
        if rnd.random() < 0.5:
            v = rnd.choice(VARS)
            return "(" + v + "^2)^" + str(n), SYM[v] ** (2 * n)
        k = rnd.choice([2, 3])
        return "(" + str(k) + g_t + "^2)^2", (k * g_v ** 2) ** 2
    if r < 0.2:
        f = rnd.choice(list(FUNCS))
        v = rnd.choice(VARS)
        k = rnd.choice([1, 2, 3])
        inner = (str(k) if k > 1 else "") + f + "(" + v + ")"
        return c_t + "(" + inner + ")^2", c_v * (k * FUNCS[f](SYM[v])) ** 2
    if r < 0.6 or not c_t:
        return c_t + g_t + e_t, c_v * g_v ** n
    # the factor behind the power
    c_t = c_t.rstrip("*")
    return g_t + e_t + "*" + c_t, c_v * g_v ** n


def factorial_piece():
    """A factorial of a bracketed number, times a variable or a number."""
    k1 = rnd.randint(0, 3)
    k2 = rnd.randint(0, 5 - k1)
    m = k1 + k2
    inner = str(m) if rnd.random() < 0.3 else str(k1) + "+" + str(k2)
    fact_t, fact_v = "(" + inner + ")!", sympy.factorial(m)
    r = rnd.random()
    v = rnd.choice(VARS)
    if r < 0.35:
        return v + "*" + fact_t, SYM[v] * fact_v
    if r < 0.7:
        return fact_t + v, fact_v * SYM[v]
    k = rnd.randint(2, 4)
    return str(k) + "*" + fact_t, k * fact_v


def exp_group_piece():
    """A number raised to a bracket group: 2^(x+1)."""
    b = rnd.choice([2, 3])
    v = rnd.choice(VARS)
    k = rnd.randint(1, 2)
    return str(b) + "^(" + v + "+" + str(k) + ")", sympy.Integer(b) ** (SYM[v] + k)


def monomial():
    c = rnd.randint(1, 6)
    v = rnd.choice(VARS)
    if rnd.random() < 0.3:
        return str(c), sympy.Integer(c)
    return (str(c) if c > 1 else "") + v, c * SYM[v]


def pupil_term():
    """One to three pieces, joined with sums, at the start, middle or end."""
    makers = [power_piece] * 6 + [factorial_piece] * 2 + [exp_group_piece]
    pieces = [rnd.choice(makers)() for _ in range(rnd.choice([1, 1, 2, 2, 3]))]
    if rnd.random() < 0.6:
        pieces.insert(rnd.randint(0, len(pieces)), monomial())
    text, value = "", sympy.Integer(0)
    for i, (t, v) in enumerate(pieces):
        if rnd.random() < 0.12:
            t = "(" + t + ")"  # redundant brackets
        if i == 0:
            text, value = t, v
        elif rnd.random() < 0.75:
            text, value = text + "+" + t, value + v
        else:
            text, value = text + "-" + ("(" + t + ")" if "+" in t or "-" in t else t), value - v
    return text, value


def engine_text(expr, shuffle):
    """The CAS's form of expr written for the term engine: "^" for powers, a
    function raised to a power in brackets (sin(x)^2 is sin(x^2) there)."""
    if shuffle and isinstance(expr, sympy.Add):
        parts = [engine_text(a, False) for a in expr.args]
        rnd.shuffle(parts)
        out = parts[0]
        for p in parts[1:]:
            out += p if p.startswith("-") else "+" + p
        return out
    s = str(expr).replace(" ", "")
    s = re.sub(r"((?:sin|cos)\([a-z]\))\*\*", r"(\1)**", s)
    s = s.replace("**", "^")
    # implicit products where a pupil would write them, never before a digit
    if rnd.random() < 0.5:
        s = re.sub(r"(?<=[0-9xyab)])\*(?=[xyab](?![a-z(]))", "", s)
    return s


def cas_read(text):
    """The CAS's own reading of an engine text, as a second opinion."""
    t = text.replace("²", "^2").replace("³", "^3")
    t = re.sub(r"(sin|cos)", r" \1", t)
    trans = standard_transformations + (implicit_multiplication_application, convert_xor, factorial_notation)
    return parse_expr(t, local_dict=dict(SYM, **FUNCS), transformations=trans)


def changed(text, value):
    """The text with one coefficient changed (never an exponent), and whether the
    CAS finds it different from value."""
    spots = [m for m in re.finditer(r"(?<![\^0-9.(])[0-9]+(?![0-9]*\))", text)]
    spots += [m for m in re.finditer(r"(?<=[(+*-])[0-9]+(?=[a-z(])", text)]
    spots = [m for m in spots if not text[:m.start()].endswith("^")]
    rnd.shuffle(spots)
    for m in spots:
        n = int(m.group())
        for d in (1, 2, -1):
            if n + d < 1:
                continue
            t = text[:m.start()] + str(n + d) + text[m.end():]
            if sympy.expand(cas_read(t) - value) != 0:
                return t
    # no number to change: a factor 2 in front of the first variable
    m = re.search(r"[xyab]", text)
    t = text[:m.start()] + "2" + text[m.start():]
    assert sympy.expand(cas_read(t) - value) != 0
    return t


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "term", "Termpaare.txt")
    lines, seen = [], set()
    while len(lines) < COUNT:
        text, value = pupil_term()
        if text in seen:
            continue
        seen.add(text)
        assert sympy.simplify(cas_read(text) - value) == 0, text
        r = rnd.random()
        if r < 0.5:
            other = engine_text(sympy.expand(value), shuffle=True)
        elif r < 0.8:
            other = engine_text(sympy.factor(value), shuffle=False)
        else:
            other = engine_text(sympy.expand(value), shuffle=False)
        assert sympy.simplify(cas_read(other) - value) == 0, (text, other)
        lines.append(text + "\t" + other + "\t" + changed(text, value))
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
