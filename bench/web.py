#!/usr/bin/python3
# The web page's frame in Chromium (tools/chromium.py), WebGL on Mesa's llvmpipe (run it on an X
# server: scripts/bench web does), with the frame rate unlimited (no vertical sync, no limit):
# - frame: the median time from one animation frame to the next, the whole of a frame: the program's
#   callbacks, WebGL in the GPU process, compositing;
# - callbacks: the mean time inside the page's animation frame callback, the program's idle and
#   display callbacks through the layer (timed by a wrapper of requestAnimationFrame that the page gets
#   before its own scripts; nothing in the page or the program).
# Usage: web.py PAGE_DIR [FRAMES]     (FRAMES measured, default 2000)
import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import chromium  # noqa: E402

# The page's own requests for a frame are timed; the benchmark's go around the timer.
TIMER = """
window.untimedRequestAnimationFrame = window.requestAnimationFrame.bind(window);
window.callbackTimes = [];
window.requestAnimationFrame = callback => untimedRequestAnimationFrame(time => {
    const start = performance.now();
    callback(time);
    window.callbackTimes.push(performance.now() - start);
});
"""
FRAMES = """new Promise(resolve => {
    const times = [];
    (function tick(time) {
        times.push(time);
        if (times.length > %d) resolve(times.slice(1).map((t, i) => t - times[i]));
        else untimedRequestAnimationFrame(tick);
    })(performance.now());
})"""

if len(sys.argv) not in (2, 3) or not os.path.isfile(os.path.join(sys.argv[1], "index.html")):
    sys.exit("usage: web.py PAGE_DIR [FRAMES]   (PAGE_DIR: the web preset's build/web/page)")
page = chromium.Page(sys.argv[1], ["--disable-gpu-vsync", "--disable-frame-rate-limit"], TIMER)
try:
    page.load()
    renderer = page.renderer()
    page.evaluate(FRAMES % 300)  # past the first frames, which compile the shaders
    page.evaluate("callbackTimes = []")
    intervals = page.evaluate(FRAMES % int(sys.argv[2] if len(sys.argv) == 3 else 2000))
    callbacks = page.evaluate("callbackTimes")
finally:
    page.close()
print(f"renderer                      {renderer}")
print(f"page frame, unlimited rate    {statistics.median(intervals):8.3f} ms  (median of {len(intervals)})")
print(f"program's callbacks in it     {statistics.mean(callbacks):8.3f} ms  (mean: idle and display through the layer)")
