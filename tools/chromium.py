# A page of the web build in Debian's Chromium, headless, driven through its DevTools protocol
# (Debian's python3-websocket), and served on 127.0.0.1 by Python's http.server. With an X server
# (DISPLAY), WebGL is drawn by Mesa's llvmpipe, the renderer of the reference frames, through ANGLE's
# OpenGL back end; without one, by Chromium's own SwiftShader. Used by the web tests (tests/web.py)
# and the web benchmark (bench/web.py). Whatever fails is raised as a RuntimeError that says what.
import json
import os
import re
import shutil
import subprocess
import tempfile
import time
import urllib.request

import websocket

WAIT = 30  # seconds: the longest wait for one event (a server, a page, an answer)


# Polls check() until it gives something true, and gives that; fails after WAIT seconds.
def wait_for(what, check):
    deadline = time.monotonic() + WAIT
    while not (result := check()):
        if time.monotonic() > deadline:
            raise RuntimeError(f"no {what} within {WAIT} s")
        time.sleep(0.05)
    return result


class Page:
    # Serves DIRECTORY, starts Chromium with FLAGS and opens a tab on about:blank; SCRIPT runs in
    # every page before the page's own scripts. What has started is stopped again when one fails.
    def __init__(self, directory, flags=(), script=""):
        self.temp = tempfile.mkdtemp(prefix="bouncing-ball-web-")
        self.processes, self.events, self.last_id, self.socket = [], [], 0, None
        try:
            self.open(directory, flags, script)
        except BaseException:
            self.close()
            raise

    def open(self, directory, flags, script):
        self.start(["/usr/bin/python3", "-u", "-m", "http.server", "--bind", "127.0.0.1", "0", "--directory", directory],
                   "server.log")
        port = wait_for("port of the web server", lambda: re.findall(r" port (\d+) ", self.log("server.log")))[0]
        self.url = f"http://127.0.0.1:{port}/"
        gl = ["--ozone-platform=x11", "--use-gl=angle", "--use-angle=gl", "--ignore-gpu-blocklist"]
        profile = os.path.join(self.temp, "profile")
        # A window that holds the whole canvas: a screenshot of what reaches out of it is not its pixels.
        chromium = self.start(["chromium", "--headless=new", *(gl if os.environ.get("DISPLAY") else []),
                               "--enable-unsafe-swiftshader", "--no-sandbox", "--no-first-run",
                               "--disable-background-networking", "--disable-component-update", "--disable-sync",
                               "--disable-quic", "--force-color-profile=srgb", "--window-size=800,800",
                               f"--user-data-dir={profile}", "--remote-debugging-port=0", *flags, "about:blank"],
                              "chromium.log")
        active = os.path.join(profile, "DevToolsActivePort")

        def devtools():
            if chromium.poll() is not None:
                said = self.log("chromium.log")[-2000:]
                raise RuntimeError(f"Chromium ended with status {chromium.returncode}: {said}")
            return os.path.exists(active) and open(active).readline().strip()

        port = wait_for("port of Chromium's DevTools", devtools)

        def tab():
            with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list", timeout=WAIT) as targets:
                return next((target for target in json.load(targets) if target["type"] == "page"), None)

        self.socket = websocket.create_connection(wait_for("tab in Chromium", tab)["webSocketDebuggerUrl"],
                                                  timeout=WAIT, suppress_origin=True)
        for domain in ("Page", "Runtime", "Log"):
            self.call(f"{domain}.enable")
        self.call("Page.addScriptToEvaluateOnNewDocument", source=script)

    # Starts a process with its output in LOG (in the temporary directory, as are its home and caches).
    def start(self, command, log):
        home = {"HOME": self.temp, "XDG_CACHE_HOME": self.temp, "XDG_CONFIG_HOME": self.temp}
        with open(os.path.join(self.temp, log), "a") as output:
            self.processes.append(subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=output, stderr=output,
                                                   env=dict(os.environ, **home)))
        return self.processes[-1]

    # What a process wrote into LOG: the web server, a line for each request, with its status.
    def log(self, log):
        with open(os.path.join(self.temp, log)) as text:
            return text.read()

    # Sends a command and gives its result; the events that come meanwhile are kept in events.
    def call(self, method, **params):
        self.last_id += 1
        try:
            self.socket.send(json.dumps({"id": self.last_id, "method": method, "params": params}))
            while (message := json.loads(self.socket.recv())).get("id") != self.last_id:
                self.events.append(message)
        except (websocket.WebSocketException, OSError) as error:
            raise RuntimeError(f"{method}: no answer from Chromium: {error!r}") from None
        if "error" in message:
            raise RuntimeError(f"{method}: {message['error']['message']}")
        return message["result"]

    # The value of a JavaScript expression in the page; a promise is waited for.
    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, awaitPromise=True, returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']['text']}")
        return result["result"].get("value")

    # Opens the page of the web server and waits until the program has started.
    def load(self):
        self.call("Page.navigate", url=self.url)
        wait_for("start of the program", lambda: self.evaluate("typeof Module == 'object' && Module.calledRun"))

    # The name of what draws WebGL.
    def renderer(self):
        return self.evaluate("(gl => gl.getParameter(gl.getExtension('WEBGL_debug_renderer_info')"
                             ".UNMASKED_RENDERER_WEBGL))(document.createElement('canvas').getContext('webgl'))")

    # Stops Chromium and the server and removes the temporary directory: once Chromium's children are
    # gone too, who write into its profile a moment after it ends (for at most WAIT seconds).
    def close(self):
        if self.socket:
            self.socket.close()
        for process in reversed(self.processes):
            process.terminate()
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        deadline = time.monotonic() + WAIT
        while os.path.exists(self.temp) and time.monotonic() < deadline:
            shutil.rmtree(self.temp, ignore_errors=True)
            time.sleep(0.2)
