#!/usr/bin/python3
# The reference frames, tests/reference/NNNNNN.png, named by the swap that showed them: 000001 the
# floor and the ledge alone, 000002 the start-up state, 000003 to 000101 steps 1 to 99 of one throw,
# 000102 to 000108 the scene turned by drags (tests/draw_frames.cpp).
USAGE = """usage: frames.py draw OUT DRAW_FRAMES FRAME_DUMP   draws them on a private X server into OUT
       frames.py compare OUT     compares each frame drawn into OUT with its reference
       frames.py check DIR       checks the frames in DIR against the design's geometry and lighting
       frames.py steps FRAME...  prints the step of the throw that each FRAME shows, 0 for none"""
import hashlib
import math
import os
import shutil
import subprocess
import sys

import numpy as np
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
REFERENCES = os.path.join(HERE, "reference")
FRAMES = 108

# A frame fails when one of three measures passes its limit. The limits lie between what Mesa's
# two other software rasterizers change (the references are llvmpipe's) and what the finest faults
# tried change, in the frame where each comes nearest (of 108):
#                       off (levels 3)  moved (edge 8)  drift
#   limit                     3              55          150
#   softpipe                  1              35           72   edge rule at the ledge's sides
#   zink (over lavapipe)      0               1           72
#   sphere of 49 stacks       8               2           32   fails 26 frames (49 slices: 11, 49)
#   floor 1/3 pixel sideways  2              84           21   fails 104 to 107 frames
#   ledge colour 0.01 off   221               0          320   (ball: 351 and 3950, floor 16494)
#   clear colour 0.99         0               0       664428
# No limit on off pixels alone does it: an edge moved sideways still matches its neighbours,
# whether softpipe moved it or a fault did; they differ in how far along the edge it moved. And
# the clear colour 3 levels off matches within the 3 levels that the neighbourhood forgives.
LEVELS, EDGE = 3, 8
LIMITS = {"off": 3, "moved": 55, "drift": 150}


# An image as rows of RGB pixels, 16-bit signed so that differences do not wrap.
def read(path):
    return np.asarray(Image.open(path).convert("RGB"), dtype=np.int16)


# How a frame differs from its reference, and the picture of it:
# - off: pixels of either image that match no pixel within one place of them in the other (their
#   3 x 3 neighbourhood) within LEVELS in every channel. An edge drawn one pixel over still
#   matches, as in VTK's image tests; a shape or a colour that changed does not.
# - moved: pixels that differ in place by more than EDGE in some channel.
# - drift: the largest, over the channels, of the sum of the signed differences of the other
#   pixels. Shading noise of a level or two cancels out in it; a colour a few levels off adds up.
# The picture shows the pixels off in red and the others moved in orange over a faded frame.
# (ImageMagick's compare and OpenImageIO's idiff compare pixels in the same place only.)
def measures(frame, reference):
    difference = frame - reference
    largest = np.abs(difference).max(axis=2)

    def matched(a, b):  # the pixels of a matched in b; only those that differ in place need looking around
        match = largest <= LEVELS
        rows, columns = np.nonzero(~match)
        padded = np.pad(b, ((1, 1), (1, 1), (0, 0)), mode="edge")  # the border repeats: no new pixels
        for dy, dx in np.ndindex(3, 3):
            match[rows, columns] |= np.abs(a[rows, columns] - padded[rows + dy, columns + dx]).max(axis=1) <= LEVELS
        return match

    match = matched(frame, reference) & matched(reference, frame)
    moved = largest > EDGE
    drift = int(np.abs(difference[~moved].sum(axis=0)).max())
    picture = (frame + 3 * 255) // 4
    picture[match & moved] = (255, 160, 0)
    picture[~match] = (255, 0, 0)
    return {"off": int((~match).sum()), "moved": int(moved.sum()), "drift": drift}, picture.astype(np.uint8)


# Each drawn frame against its reference; a failed one leaves NAME-actual.png, NAME-expected.png and
# NAME-diff.png in OUT/failed/.
def compare(out):
    failed = os.path.join(out, "failed")
    shutil.rmtree(failed, ignore_errors=True)
    os.makedirs(failed)
    faults = 0
    for name in (f"{number:06d}" for number in range(1, FRAMES + 1)):
        drawn, reference = os.path.join(out, name + ".ppm"), os.path.join(REFERENCES, name + ".png")
        if not os.path.exists(drawn):
            print(f"frames: frame {name} was not drawn")
            faults += 1
            continue
        frame, expected = read(drawn), read(reference)
        if frame.shape != expected.shape:
            print(f"frames: frame {name} is {frame.shape[1]} x {frame.shape[0]} pixels, not {SIDE} x {SIDE}")
            faults += 1
            continue
        found, picture = measures(frame, expected)
        over = [f"{m} {found[m]} (at most {LIMITS[m]})" for m in LIMITS if found[m] > LIMITS[m]]
        if over:
            print(f"frames: frame {name} differs from its reference: {', '.join(over)}")
            Image.fromarray(picture).save(os.path.join(failed, name + "-diff.png"))
            Image.fromarray(frame.astype(np.uint8)).save(os.path.join(failed, name + "-actual.png"))
            shutil.copy(reference, os.path.join(failed, name + "-expected.png"))
            faults += 1
    print(f"frames: {FRAMES - faults} of {FRAMES} frames match their references")
    return faults == 0


# ---- The guard on the references: the design's geometry and lighting.

SIDE, TILT = 500, math.radians(75)  # the window, pixels; the view's tilt about -x


# Where view (x, y, z) lands in the window, in pixels from the left and from the top: the
# orthographic box of +-1.5, turned 75 degrees about -x.
def on_screen(x, y, z):
    return (x / 1.5 + 1.0) * SIDE / 2, (1.0 - (y * math.cos(TILT) + z * math.sin(TILT)) / 1.5) * SIDE / 2


# (left, top, right, bottom) of the pixels in which a and b differ, within rows top to end.
def box(a, b, top=0, end=SIDE):
    rows, columns = np.nonzero((a[top:end] != b[top:end]).any(axis=2))
    if rows.size == 0:
        return (SIDE, SIDE, -1, -1)
    return (columns.min(), top + rows.min(), columns.max() + 1, top + rows.max() + 1)


# The floor's colour at view (x, y) by the fixed-function lighting equation: the light model's and the
# light's ambient (0.9 each) on the floor's ambient, and the diffuse and specular light of the light at
# (0, -1, 1), seen from +z. The viewer sees the floor's back side, whose normal is (0, 0, 1).
def lit_floor(x, y):
    ambient, diffuse, specular = np.array([0.15, 0.22, 1.0]), np.array([0.35, 0.31, 0.09]), np.array([0.8, 0.72, 0.21])
    to_light = np.array([-x, -1.0 - y, 2.0]) / math.hypot(x, 1.0 + y, 2.0)  # from the floor at z = -1
    half = to_light + (0, 0, 1)
    shine = (half[2] / np.linalg.norm(half)) ** 95
    return np.minimum(1.8 * ambient + 0.8 * diffuse * to_light[2] + specular * shine, 1.0) * 255


# The floor and the ledge, against a white window, where the projection puts their corners; the
# floor's colour where the lighting makes it; the ball in every state of the throw (start-up, then
# steps 1 to 99 of data/stored_throw.txt, which the motion test holds to the bit) where it is.
def check(directory):
    frames = [os.path.join(directory, f"{number:06d}.png") for number in range(1, 102)]
    if not all(os.path.exists(frame) for frame in frames):
        print(f"frames: {directory} lacks some of the frames 000001.png to 000101.png")
        return False
    plain, faults = read(frames[0]), []

    def near(what, found, expected, within):
        if abs(found - expected) > within:
            faults.append(f"{what}: {found:.1f}, not {expected:.1f} (within {within})")

    white = np.full_like(plain, 255)
    for name, (left, top, right, bottom), z, rows in (
            ("floor", (-0.98, 0.98, 0.98, -0.98), -1.0, (SIDE // 2, SIDE)),
            ("ledge", (-0.999, 0.145, -0.921, -0.245), 2 / 3, (0, SIDE // 2))):
        expected = on_screen(left, top, z) + on_screen(right, bottom, z)  # left, top, right, bottom, pixels
        for side, found, at in zip(("left", "top", "right", "bottom"), box(plain, white, *rows), expected):
            near(f"the {name}'s {side} edge", found, at, 1.5)
    for x in (-0.6, 0.0, 0.6):
        column, row = on_screen(x, 0.3, -1.0)
        for channel, expected in enumerate(lit_floor(x, 0.3)):
            near(f"the floor's channel {channel} at x {x}", plain[int(row), int(column), channel], expected, 4.0)
    # The bits of the ball's height and x after each step, as float32.
    bits = np.loadtxt(os.path.join(HERE, "data", "stored_throw.txt"), dtype=str, usecols=(0, 3))
    places = [(100.0, -0.99)] + np.vectorize(lambda word: int(word, 16))(bits).astype(np.uint32).view(np.float32).tolist()
    for state, (height, x) in enumerate(places):
        left, top, right, _ = box(read(frames[state + 1]), plain)
        centre_x, centre_y = on_screen(x, 0.0, 2 * height / 120 - 1)
        near(f"the ball's centre in state {state}", (left + right) / 2, centre_x, 1.0)
        near(f"the ball's top in state {state}", top, centre_y - 0.1 / 1.5 * SIDE / 2, 1.5)
    for fault in faults:
        print(f"frames: {directory}: {fault}")
    if not faults:
        print(f"frames: {directory} agrees with the design")
    return not faults


# The step of the throw (1 to 99) that each frame shows, to the byte, 0 for none.
def steps(*frames):
    def pixels(path):
        return hashlib.md5(np.asarray(Image.open(path).convert("RGB")).tobytes()).digest()

    step_of = {pixels(os.path.join(REFERENCES, f"{step + 2:06d}.png")): step for step in range(1, 100)}
    print("\n".join(str(step_of.get(pixels(frame), 0)) for frame in frames))
    return True


# Runs draw_frames with the frame dump preloaded, on a private Xvfb: every frame it shows is written.
def draw(out, draw_frames, frame_dump):
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    with open(os.path.join(out, "request"), "w") as request:
        request.write(f"{FRAMES}\n")
    command = ["env", f"FRAME_DUMP_DIR={out}", f"LD_PRELOAD={frame_dump}", draw_frames]  # for it alone
    return subprocess.run([os.path.join(HERE, "..", "tools", "with-xvfb"), *command]).returncode == 0


if __name__ == "__main__":
    verb, arguments = (sys.argv[1], sys.argv[2:]) if len(sys.argv) > 1 else ("", [])
    counts = {"draw": 3, "compare": 1, "check": 1, "steps": len(arguments) or -1}
    if counts.get(verb) != len(arguments):
        print(USAGE, file=sys.stderr)
        sys.exit(2)
    sys.exit(0 if globals()[verb](*arguments) else 1)
