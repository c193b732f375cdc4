#!/usr/bin/python3
# The web build's page end to end, in Chromium (tools/chromium.py), as a user sees it: on the X server
# in DISPLAY (CTest starts one for each test with tools/with-xvfb), so that Mesa's llvmpipe draws
# WebGL, as it drew the reference frames. Each test fails on an error on the page's console or a
# request the web server refused.
# Frames: the page's requests for an animation frame are queued by a script it gets before its own,
# and each tick runs them once, as the browser does at a frame; a screenshot of the canvas then shows
# that frame. So every frame is seen, in order, as the frame dump shows the desktop program's, and
# each must match, within the frame comparison's limits (tests/frames.py), the reference of its step.
# Usage: web.py PAGE_DIR TEST    TEST: window, drag_left, drag_middle, drag_touch, right_button, no_webgl
import base64
import io
import os
import sys

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools"))
import chromium  # noqa: E402
import frames  # noqa: E402

TITLE = "Bouncing ball 1   -by: VOLM-"
# The script the page gets before its own: the animation frames, and which of the browser's own
# actions the page kept from it ("contextmenu 2": the right button's menu, "pointerdown 1": the middle
# button's scrolling).
PAGE_SCRIPT = """
window.waiting = [];
window.requestAnimationFrame = callback => window.waiting.push(callback);
window.tick = () => window.waiting.splice(0).forEach(callback => callback(performance.now()));
window.prevented = [];
['contextmenu', 'pointerdown'].forEach(type => addEventListener(type, e => {
    if (e.defaultPrevented) prevented.push(`${type} ${e.button}`);
}));
"""
THROW = np.stack([frames.read(os.path.join(frames.REFERENCES, f"{step + 2:06d}.png")) for step in range(1, 100)])


class Failed(Exception):
    pass


# The canvas's place and size in the page, in CSS pixels: x, y, width, height.
def canvas(page):
    return page.evaluate("(({x, y, width, height}) => ({x, y, width, height}))(canvas.getBoundingClientRect())")


# Runs one animation frame and gives the canvas then: rows of RGB pixels.
def next_frame(page):
    page.evaluate("tick()")
    shot = page.call("Page.captureScreenshot", clip=dict(canvas(page), scale=1))["data"]
    frame = frames.read(io.BytesIO(base64.b64decode(shot)))
    if frame.shape != THROW.shape[1:]:
        raise Failed(f"the canvas shows {frame.shape[1]} x {frame.shape[0]} pixels, not 500 x 500")
    return frame


def within(found):
    return all(found[m] <= frames.LIMITS[m] for m in frames.LIMITS)


# Runs one animation frame and gives the step of the reference throw that the canvas then shows: that
# of the nearest reference if it is within the limits, 0 if the frame matches none (a turned scene).
# The measures against that reference are kept in measured.
measured = []


def next_step(page):
    frame = next_frame(page)
    nearest = int(np.abs(THROW[:, ::4, ::4] - frame[::4, ::4]).sum(axis=(1, 2, 3)).argmin())
    found, _ = frames.measures(frame, THROW[nearest])
    measured.append(found)
    return nearest + 1 if within(found) else 0


# The next COUNT frames are steps of the reference throw, one after the other.
def expect_throw(page, count):
    shown = [next_step(page) for _ in range(count)]
    for shown_step, found in zip(shown, measured[-count:]):
        print(f"step {shown_step}: " + ", ".join(f"{m} {found[m]}" for m in frames.LIMITS))
    if 0 in shown:
        raise Failed("a frame is none of the reference throw's")
    for previous, current in zip(shown, shown[1:]):
        if current != previous % 99 + 1:
            raise Failed(f"step {current} shown after step {previous}")
    return shown


def pointer(page, kind, x, y, button="none", buttons=0):
    box = canvas(page)
    page.call("Input.dispatchMouseEvent", type=kind, x=box["x"] + x, y=box["y"] + y, button=button, buttons=buttons,
              clickCount=0 if kind == "mouseMoved" else 1)


def status(page):
    return chromium.wait_for("word of the end on the page",
                             lambda: page.evaluate("document.getElementById('status').textContent"))


# Its exact title, as the page's title and heading, and its 500 x 500 canvas; then the start-up
# state, drawn before any step as the window's first frame, and the throw's steps from the first.
def window(page):
    found = page.evaluate("['title', 'h1'].map(tag => document.querySelector(tag).textContent)"
                          " .concat([canvas.width, canvas.height])")
    if found != [TITLE, TITLE, 500, 500]:
        raise Failed(f"title, heading and canvas: {found}, not {[TITLE, TITLE, 500, 500]}")
    start, _ = frames.measures(next_frame(page), frames.read(os.path.join(frames.REFERENCES, "000002.png")))
    print("start-up state: " + ", ".join(f"{m} {start[m]}" for m in frames.LIMITS))
    if not within(start):
        raise Failed("the first frame is not the start-up state")
    if expect_throw(page, 30)[0] != 1:
        raise Failed("the frame after the start-up state is not the throw's first step")


# Moving without a button, or pressing and releasing one without moving, does not turn the scene;
# dragging with the left or the middle button or one finger does, and the turn stays. The middle
# button does not scroll the page.
def drag(page, button, buttons, touch=False):
    box = canvas(page)

    def press(kind, x, y):  # kind: Start, Move or End, of a touch or of the button
        if touch:
            points = [{"x": box["x"] + x, "y": box["y"] + y}] if kind != "End" else []
            page.call("Input.dispatchTouchEvent", type="touch" + kind, touchPoints=points)
        else:
            kinds = {"Start": "mousePressed", "Move": "mouseMoved", "End": "mouseReleased"}
            pointer(page, kinds[kind], x, y, button, 0 if kind == "End" else buttons)

    pointer(page, "mouseMoved", 100, 100)
    pointer(page, "mouseMoved", 300, 200)
    press("Start", 300, 200)
    press("End", 300, 200)
    chromium.wait_for("frame of the throw", lambda: next_step(page))
    expect_throw(page, 5)
    for kind, x, y in (("Start", 300, 200), ("Move", 310, 215), ("Move", 330, 260), ("End", 330, 260)):
        press(kind, x, y)
        next_step(page)
    if next_step(page) or next_step(page):
        raise Failed("the scene has not turned, or it turned back")
    if button == "middle" and "pointerdown 1" not in page.evaluate("prevented"):
        raise Failed("the middle button scrolls the page")


def drag_left(page):
    drag(page, "left", 1)


def drag_middle(page):
    drag(page, "middle", 4)


def drag_touch(page):
    drag(page, "none", 0, touch=True)


# The press of the right button ends the program with status 0, alone and in the middle of a drag
# with the left button: the page says so, the last frame stays, and no menu opens.
def right_button(page):
    for held in ([], [("mousePressed", 200, 200, "left", 1), ("mouseMoved", 260, 240, "left", 1)]):
        page.load()
        next_frame(page)
        for event in held:
            pointer(page, *event)
        pointer(page, "mousePressed", 260, 240, "right", 2 + (1 if held else 0))
        if status(page) != "The program ended with status 0.":
            raise Failed(f"the page says {status(page)!r} with {held or 'no button'} held")
        if "contextmenu 2" not in page.evaluate("prevented"):
            raise Failed("the right button opens the browser's menu")
        last = next_frame(page)
        if not np.array_equal(next_frame(page), last) or page.evaluate("waiting.length"):
            raise Failed("the program goes on after its end")


# Without WebGL the page says so, and the program ends with status 1.
def no_webgl(page):
    said = "bouncing-ball: this browser gives the page no WebGL, which the program draws with"
    if status(page) != said + " The program ended with status 1.":
        raise Failed(f"the page says {status(page)!r}")
    page.events = [event for event in page.events if said not in str(event)]  # the one error expected


def errors(page):
    found = [event["params"]["entry"]["text"] for event in page.events if event["method"] == "Log.entryAdded"
             and event["params"]["entry"]["level"] == "error"]
    found += [str(event["params"]) for event in page.events if event["method"] == "Runtime.exceptionThrown"
              or event["method"] == "Runtime.consoleAPICalled" and event["params"]["type"] == "error"]
    return found + [line for line in page.log("server.log").splitlines() if '" 4' in line or '" 5' in line]


if __name__ == "__main__":
    tests = {"window": window, "drag_left": drag_left, "drag_middle": drag_middle, "drag_touch": drag_touch,
             "right_button": right_button, "no_webgl": no_webgl}
    if len(sys.argv) != 3 or sys.argv[2] not in tests:
        sys.exit(f"usage: web.py PAGE_DIR {'|'.join(tests)}")
    page = None
    try:
        page = chromium.Page(sys.argv[1], ["--disable-webgl"] if sys.argv[2] == "no_webgl" else [], PAGE_SCRIPT)
        page.load()
        if sys.argv[2] != "no_webgl":
            renderer = page.renderer()
            print(f"WebGL drawn by {renderer}")
            if os.environ.get("DISPLAY") and "llvmpipe" not in renderer:
                raise Failed("WebGL is not drawn by llvmpipe, the references' renderer")
        tests[sys.argv[2]](page)
        if errors(page):
            raise Failed(f"errors on the page: {errors(page)}")
    except (Failed, RuntimeError) as failure:
        sys.exit(f"web.py: {sys.argv[2]}: {failure}")
    finally:
        if page:
            page.close()
    print(f"passed: {sys.argv[2]}")
