# A page of the web build in Debian's Chromium, headless, driven through its DevTools protocol
# (Debian's python3-websocket), and served on 127.0.0.1 by Python's http.server. With an X server
# (DISPLAY), WebGL is drawn by Mesa's llvmpipe, the renderer of the reference frames, through ANGLE's
# OpenGL back end; without one, by Chromium's own SwiftShader. Used by the web tests (tests/web.py)
# and the web benchmark (bench/web.py).
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
        self.processes, self.events, self.last_id = [], [], 0
        self.server_log = open(os.path.join(self.temp, "server.log"), "w+")
        try:
            self.open(directory, flags, script)
        except BaseException:
            self.close()
            raise

    def open(self, directory, flags, script):
        self.start(["/usr/bin/python3", "-u", "-m", "http.server", "--bind", "127.0.0.1", "0", "--directory", directory],
                   stderr=self.server_log, stdout=self.server_log)
        port = wait_for("port of the web server", lambda: re.findall(r" port (\d+) ", self.log()))[0]
        self.url = f"http://127.0.0.1:{port}/"
        gl = ["--ozone-platform=x11", "--use-gl=angle", "--use-angle=gl", "--ignore-gpu-blocklist"]
        profile = os.path.join(self.temp, "profile")
        # A window that holds the whole canvas: a screenshot of what reaches out of it is not its pixels.
        chromium = self.start(["chromium", "--headless=new", *(gl if os.environ.get("DISPLAY") else []),
                               "--enable-unsafe-swiftshader", "--no-sandbox", "--no-first-run",
                               "--disable-background-networking", "--disable-component-update", "--disable-sync",
                               "--disable-quic", "--force-color-profile=srgb", "--window-size=800,800",
                               f"--user-data-dir={profile}", "--remote-debugging-port=0", *flags, "about:blank"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        active = os.path.join(profile, "DevToolsActivePort")
        port = wait_for("port of Chromium's DevTools", lambda: chromium.poll() is None and os.path.exists(active)
                        and open(active).readline().strip())
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list", timeout=WAIT) as targets:
            tab = next(target for target in json.load(targets) if target["type"] == "page")
        self.socket = websocket.create_connection(tab["webSocketDebuggerUrl"], timeout=WAIT, suppress_origin=True)
        for domain in ("Page", "Runtime", "Log"):
            self.call(f"{domain}.enable")
        self.call("Page.addScriptToEvaluateOnNewDocument", source=script)

    def start(self, command, **streams):
        self.processes.append(subprocess.Popen(command, stdin=subprocess.DEVNULL, **streams))
        return self.processes[-1]

    # What the web server wrote: a line for each request, with its status.
    def log(self):
        self.server_log.seek(0)
        return self.server_log.read()

    # Sends a command and gives its result; the events that come meanwhile are kept in events.
    def call(self, method, **params):
        self.last_id += 1
        self.socket.send(json.dumps({"id": self.last_id, "method": method, "params": params}))
        while (message := json.loads(self.socket.recv())).get("id") != self.last_id:
            self.events.append(message)
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

    def close(self):
        if hasattr(self, "socket"):
            self.socket.close()
        for process in reversed(self.processes):
            process.terminate()
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self.server_log.close()
        wait_for(f"removal of {self.temp}", self.remove)

    # Chromium's children end a moment after it, writing into its profile as they go.
    def remove(self):
        shutil.rmtree(self.temp, ignore_errors=True)
        time.sleep(0.2)
        return not os.path.exists(self.temp)
