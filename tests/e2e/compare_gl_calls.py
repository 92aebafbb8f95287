#!/usr/bin/env python3
"""Compares the OpenGL calls of two runs of the saver, as `apitrace dump` prints them: the scene's
creation and its teardown call for call with every argument, and each frame call for call by name
(the arguments of a frame follow the clock). The window system's own calls (glX..., egl..., and
the calls apitrace marks as fake) are left out, since each platform makes its own; its swap,
glXSwapBuffers or eglSwapBuffers, ends a frame.

    compare_gl_calls.py windows.dump native.dump
"""
import sys

MIN_FRAMES = 10


def calls(path):
    with open(path, errors="replace") as dump:
        for line in dump:
            line = line.rstrip("\n")
            if line.startswith(("glXSwapBuffers", "eglSwapBuffers")):
                yield "swap"
            elif line.startswith("gl") and not line.startswith("glX") and "// fake" not in line:
                yield line


def split_run(path):
    """(creation, frames, teardown): the calls before the first frame, each frame, and after."""
    creation, frames, current = [], [], None  # current: the frame being read; None before the first
    for call in calls(path):
        if current is None:
            if not call.startswith("glCallList(list = 12)"):
                creation.append(call)
                continue
            current = []
        if call == "swap":
            frames.append(current)
            current = []
        else:
            current.append(call)
    return creation, frames, current or []


def name(call):
    return call.split("(", 1)[0]


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return "call %d: %s  <>  %s" % (i, x, y)
    return "lengths %d and %d" % (len(a), len(b)) if len(a) != len(b) else None


def main():
    windows, native = split_run(sys.argv[1]), split_run(sys.argv[2])
    problems = []
    difference = first_difference(windows[0], native[0])
    if difference:
        problems.append("creation differs at " + difference)
    count = min(len(windows[1]), len(native[1]))
    if count < MIN_FRAMES:
        problems.append("only %d frames to compare" % count)
    for i in range(count):
        difference = first_difference([name(c) for c in windows[1][i]], [name(c) for c in native[1][i]])
        if difference:
            problems.append("frame %d differs at %s" % (i, difference))
            break
    difference = first_difference(windows[2], native[2])
    if difference:
        problems.append("teardown differs at " + difference)
    if problems:
        print("\n".join(problems))
        return 1
    print("same calls: %d creation calls, %d frames of %d calls, %d teardown calls"
          % (len(native[0]), count, len(native[1][0]), len(native[2])))
    return 0


if __name__ == "__main__":
    sys.exit(main())
