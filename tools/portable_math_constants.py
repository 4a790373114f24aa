#!/usr/bin/env python3
"""Prints the constants of imaging/portable_math.cpp from their exact values.

Each double is the nearest double to the exact value; a double-double pair is that double
and the nearest double to what it leaves over. Needs mpmath (pip install mpmath).
"""
from mpmath import mp, mpf, pi, log, factorial, floor

mp.prec = 2000


def pair(value):
    hi = float(value)
    return hi, float(value - mpf(hi))


def show(values):
    return "{" + ", ".join(v.hex() for v in values) + "}"


print("half pi:", show(pair(pi / 2)))
print("quarter pi:", float(pi / 4).hex())

print("2/pi, 64 bits a word:")
rest = mpf(2) / pi
for _ in range(20):
    rest *= mpf(2) ** 64
    word = int(floor(rest))
    rest -= word
    print("  0x%016x" % word)

ln2 = log(2)
scale = mpf(2) ** 42  # ln 2 lies in [1/2, 1): 42 significant bits
first = floor(ln2 * scale + mpf(1) / 2) / scale
second = float(ln2 - first)
third = float(ln2 - first - mpf(second))
print("ln 2 in three pieces:", show((float(first), second, third)))
print("1 / ln 2:", float(1 / ln2).hex())

print("(-1)^k / (2k + 1)!, k = 1..10:")
for k in range(1, 11):
    print("  ", show(pair((-1) ** k / factorial(2 * k + 1))))
print("(-1)^k / (2k)!, k = 1..10:")
for k in range(1, 11):
    print("  ", show(pair((-1) ** k / factorial(2 * k))))
print("1 / n!, n = 0..16:")
for n in range(17):
    print("  ", show(pair(1 / factorial(n))))
