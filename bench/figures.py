"""Prints one table of Horlox's figures on this machine, one column per build.

Run through bench/run, which builds the Release binaries and starts this on a
virtual X display: figures.py LABEL=BUILD_FOLDER... With several builds every
figure is measured for each in turn, run after run, so that the machine's
other work weighs on all alike. Every figure is measured here; nothing is
copied in.
"""
import json
import math
import os
import re
import resource
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time

BUILDS = [argument.split("=", 1) for argument in sys.argv[1:]]
IDLE_SECONDS = 20
IDLE_RUNS = 3
RUNS = 5
BENCHMARK_RUNS = 3
COPIES = 300  # extra watches for the figures with many installed
BOMBS = 5  # archives beside the shipped watches that unpack to much more than they hold
BOMB_BYTES = 250 * 1000 * 1000

# A Monado build (scripts/monado) for the figures on OpenXR, from bench/run.
MONADO = os.environ.get("HORLOX_MONADO_DIR", "")

CONTROLLER_ON = "1 controller 1 on left\n"
DASHBOARD_OPEN = CONTROLLER_ON + "1 dashboard open\n"


BOMBS_NOTE = {3 + BOMBS: " (%d of them 7z archives of 250 MB unpacked)" % BOMBS}


def median(values):
    return sorted(values)[len(values) // 2]


def micro_benchmarks(build):
    with tempfile.NamedTemporaryFile(suffix=".json") as figures:
        subprocess.run([os.path.join(build, "bench", "horlox_bench"),
                        "--benchmark_out=" + figures.name, "--benchmark_out_format=json"],
                       check=True, stdout=subprocess.DEVNULL)
        results = json.load(figures)["benchmarks"]
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0}
    return {result["name"]: result["real_time"] * scale[result["time_unit"]] for result in results}


def many_watches(build, folder):
    """The shipped watches and COPIES more of Classic, each with a name of its
    own, sharing Classic's images and fonts."""
    shipped = os.path.abspath(os.path.join(build, "run", "watches"))
    os.mkdir(folder)
    for name in os.listdir(shipped):
        os.symlink(os.path.join(shipped, name), os.path.join(folder, name))
    classic = os.path.join(shipped, "Classic")
    with open(os.path.join(classic, "config")) as file:
        config = file.read()
    for copy in range(COPIES):
        package = os.path.join(folder, "Classic %03d" % copy)
        os.mkdir(package)
        for name in os.listdir(classic):
            if name != "config":
                os.symlink(os.path.join(classic, name), os.path.join(package, name))
        with open(os.path.join(package, "config"), "w") as file:
            file.write(re.sub(r"(?m)^name=Classic$", "name=Classic %03d" % copy, config))


def bomb_archives(build, folder):
    """The shipped watches and BOMBS archives of a few KB each whose config
    names a watch and whose other entry unpacks to 250 MB that no layer asks
    for: a start must read only their configs."""
    shipped = os.path.abspath(os.path.join(build, "run", "watches"))
    os.mkdir(folder)
    for name in os.listdir(shipped):
        os.symlink(os.path.join(shipped, name), os.path.join(folder, name))
    for number in range(BOMBS):
        os.symlink(bomb(number), os.path.join(folder, "Bomb %d.7z" % number))


BOMB_FOLDER = tempfile.mkdtemp(prefix="horlox-bench-bombs-")


def bomb(number):
    """Made once for all builds: 7-Zip packs a file of zeros to a few KB."""
    archive = os.path.join(BOMB_FOLDER, "Bomb %d.7z" % number)
    if not os.path.exists(archive):
        unpacked = os.path.join(BOMB_FOLDER, "unpacked")
        os.makedirs(unpacked, exist_ok=True)
        with open(os.path.join(unpacked, "config"), "w") as file:
            file.write(":watch\nname=Bomb %d\n" % number)
        with open(os.path.join(unpacked, "filler.png"), "wb") as file:
            file.truncate(BOMB_BYTES)
        subprocess.run(["7zz", "a", "-bso0", "-bsp0", archive, "config", "filler.png"], cwd=unpacked, check=True)
    return archive


class Run:
    """The program in a scratch run directory sharing the build's data files:
    offline without a scenario; with one, in VR with the simulated runtime,
    recording its calls only when asked (recording costs time of its own)."""

    def __init__(self, build, arguments=(), scenario=None, record=False, watches=3, environment=None,
                 settings=None):
        """watches: 3, the shipped ones; 3 + BOMBS or 3 + COPIES, those and more.
        settings: the text of settings.conf, if any."""
        self.folder = tempfile.mkdtemp(prefix="horlox-bench-")
        if settings is not None:
            with open(os.path.join(self.folder, "settings.conf"), "w") as file:
                file.write(settings)
        run_dir = os.path.join(build, "run")
        for name in ("dashboard_overlay.png", "app.manifest", "Roboto-Medium.ttf", "fonts"):
            if os.path.exists(os.path.join(run_dir, name)):
                os.symlink(os.path.abspath(os.path.join(run_dir, name)), os.path.join(self.folder, name))
        if watches == 3:
            os.symlink(os.path.abspath(os.path.join(run_dir, "watches")),
                       os.path.join(self.folder, "watches"))
        elif watches == 3 + BOMBS:
            bomb_archives(build, os.path.join(self.folder, "watches"))
        else:
            many_watches(build, os.path.join(self.folder, "watches"))
        environment = dict(os.environ, **(environment or {}))
        if scenario is not None:
            with open(os.path.join(self.folder, "bench.scenario"), "w") as file:
                file.write(scenario)
            environment.update(HORLOX_VR_RUNTIME="simulated", HORLOX_SIM_SCENARIO="bench.scenario")
        if record:
            environment.update(HORLOX_SIM_RECORD="record")
        self.started = time.monotonic()
        self.process = subprocess.Popen(
            [os.path.abspath(os.path.join(run_dir, "horlox"))] + list(arguments), cwd=self.folder,
            env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def calls(self):
        try:
            with open(os.path.join(self.folder, "record", "calls.log")) as file:
                return file.read()
        except FileNotFoundError:
            return ""

    def seconds_until(self, text, limit=30):
        while time.monotonic() - self.started < limit:
            if text in self.calls():
                return time.monotonic() - self.started
            time.sleep(0.002)
        raise RuntimeError("the program never got to " + text)

    def cpu_seconds(self):
        with open("/proc/%d/stat" % self.process.pid) as file:
            fields = file.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def resident_mib(self):
        with open("/proc/%d/status" % self.process.pid) as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024
        return 0

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
        shutil.rmtree(self.folder)


def idle_cpu(build, arguments=(), scenario=None, settings=None, environment=None):
    """Per cent of a core used over IDLE_SECONDS once the start-up is past."""
    run = Run(build, arguments, scenario, settings=settings, environment=environment)
    try:
        time.sleep(3)
        before = run.cpu_seconds()
        time.sleep(IDLE_SECONDS)
        return 100 * (run.cpu_seconds() - before) / IDLE_SECONDS
    finally:
        run.end()


def start_times(build):
    """Seconds to the first loop pass and to the first watch image."""
    run = Run(build, scenario=CONTROLLER_ON, record=True)
    try:
        return run.seconds_until("pass 1:"), run.seconds_until("SetOverlayTexture(1,")
    finally:
        run.end()


def resident_memory(build, watches):
    """Resident memory once the first watch image is out and the start-up done."""
    run = Run(build, scenario=CONTROLLER_ON, record=True, watches=watches)
    try:
        run.seconds_until("SetOverlayTexture(1,", limit=120)
        time.sleep(2)
        return run.resident_mib()
    finally:
        run.end()


# Toasts as players send them, ten scripts.
TOAST_TEXTS = ["フレンドがオンラインになりました", "친구가 온라인 상태입니다", "你的朋友现在在线", "Друг в сети",
               "صديقك متصل الآن", "החבר שלך מחובר", "आपका मित्र ऑनलाइन है", "เพื่อนของคุณออนไลน์แล้ว",
               "Ο φίλος σου είναι συνδεδεμένος", "Alice joined 🎉👍🏽"]


def toast_memory(build):
    """Resident memory offline after 100 toasts in ten scripts, ten a second
    from ten senders (the flood limit lets them all through), once the last
    few have been drawn."""
    run = Run(build, ("--offline",))
    try:
        time.sleep(3)
        sender = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        for number in range(100):
            text = TOAST_TEXTS[number % len(TOAST_TEXTS)]
            message = {"messageType": 1, "title": text, "content": "%s %d" % (text, number), "timeout": 1,
                       "sourceApp": "sender %d" % (number % 10)}
            sender.sendto(json.dumps(message).encode(), ("127.0.0.1", 42069))
            time.sleep(0.1)
        time.sleep(10)
        return run.resident_mib()
    finally:
        run.end()


def start_cpu(build, watches):
    """CPU seconds of a run that quits in its second loop pass."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    run = Run(build, scenario=CONTROLLER_ON + "2 quit\n", watches=watches)
    try:
        run.process.wait(timeout=120)
    finally:
        run.end()
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime


class Monado:
    """A monado-service of its own (runtime folder, remote driver port), with
    the null compositor or with its window on the display; the remote driver
    holds the left controller so that its watch faces the eyes 30 cm ahead."""

    def __init__(self, compositor):
        self.folder = tempfile.mkdtemp(prefix="horlox-bench-monado-")
        runtime = os.path.join(self.folder, "runtime")
        os.mkdir(runtime, 0o700)
        os.makedirs(os.path.join(self.folder, "config", "monado"))
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            port = probe.getsockname()[1]
        with open(os.path.join(self.folder, "config", "monado", "config_v0.json"), "w") as file:
            json.dump({"remote": {"version": 0, "port": port, "view_count": 2}}, file)
        environment = dict(os.environ, XDG_RUNTIME_DIR=runtime, P_OVERRIDE_ACTIVE_CONFIG="remote",
                           XDG_CONFIG_HOME=os.path.join(self.folder, "config"), XRT_NO_STDIN="1")
        if compositor == "null":
            environment.update(XRT_COMPOSITOR_NULL="1")
        else:
            environment.update(XRT_COMPOSITOR_FORCE_XCB="1", XRT_COMPOSITOR_COMPUTE="0")
        self.process = subprocess.Popen(
            [os.path.join(MONADO, "src/xrt/targets/service/monado-service")], cwd=self.folder,
            env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.client = {"XDG_RUNTIME_DIR": runtime, "HORLOX_VR_RUNTIME": "openxr",
                       "XR_RUNTIME_JSON": os.path.join(MONADO, "openxr_monado-dev.json")}
        deadline = time.monotonic() + 20
        while not os.path.exists(os.path.join(runtime, "monado_comp_ipc")):
            if time.monotonic() > deadline:
                raise RuntimeError("monado-service did not start")
            time.sleep(0.05)
        self.hold_watch_before_eyes(port)

    @staticmethod
    def hold_watch_before_eyes(port):
        # The controller pose C with C * P = W, W the watch facing +z 30 cm
        # ahead at eye height, P the left hand's default placement (see
        # source/vr/watch_placement.h): turned a quarter about y, 135 degrees
        # about x, moved (-0.025, 0.07, 0.18).
        def multiply(a, b):
            return [[sum(a[i][k] * b[k][j] for k in range(3)) for j in range(3)] for i in range(3)]
        a, b = math.pi / 2, 2.35619450
        turn = multiply([[1, 0, 0], [0, math.cos(b), -math.sin(b)], [0, math.sin(b), math.cos(b)]],
                        [[math.cos(a), 0, -math.sin(a)], [0, 1, 0], [math.sin(a), 0, math.cos(a)]])
        back = [[turn[j][i] for j in range(3)] for i in range(3)]  # C's turn: P's inverse
        place = [w - sum(back[i][k] * t for k, t in enumerate((-0.025, 0.07, 0.18)))
                 for i, w in enumerate((-0.05, 1.6, -0.3))]
        m = back
        w = math.sqrt(max(0.0, 1 + m[0][0] + m[1][1] + m[2][2])) / 2
        x = math.copysign(math.sqrt(max(0.0, 1 + m[0][0] - m[1][1] - m[2][2])) / 2, m[2][1] - m[1][2])
        y = math.copysign(math.sqrt(max(0.0, 1 - m[0][0] + m[1][1] - m[2][2])) / 2, m[0][2] - m[2][0])
        z = math.copysign(math.sqrt(max(0.0, 1 - m[0][0] - m[1][1] + m[2][2])) / 2, m[1][0] - m[0][1])
        # struct r_remote_data of Monado's r_interface.h: the header, the head's
        # two views and centre pose, then each controller's pose and flags.
        def controller(orientation, position):
            return struct.pack("<7f", *orientation, *position) + bytes(76) + bytes([1, 1]) + bytes(14)
        packet = (b"mndrmt3\0" + bytes(96) + struct.pack("<7f", 0, 0, 0, 1, 0, 1.6, 0) + bytes(4) +
                  controller((x, y, z, w), place) + controller((0, 0, 0, 1), (0.2, 1.3, -0.5)))
        deadline = time.monotonic() + 10
        while True:
            try:
                with socket.create_connection(("127.0.0.1", port), timeout=5) as driver:
                    received = 0
                    while received < 2 * len(packet):
                        received += len(driver.recv(2 * len(packet) - received))
                    driver.sendall(packet)
                    return
            except OSError:
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.1)

    def end(self):
        self.process.kill()
        self.process.wait()
        shutil.rmtree(self.folder)


def monado_idle_cpu(build):
    """idle_cpu of the program on Monado's null compositor, its watch showing."""
    monado = Monado("null")
    try:
        return idle_cpu(build, environment=monado.client)
    finally:
        monado.end()


def left_eye_lit_pixels():
    """Pixels not black in the left eye's half of Monado's window, read with
    ImageMagick; None while there is no such window."""
    window = subprocess.run(["xwininfo", "-name", "Monado"], capture_output=True, text=True).stdout
    found = re.search(r"Window id: (0x[0-9a-f]+)", window)
    if not found:
        return None
    picture = subprocess.run(["import", "-window", found.group(1), "-crop", "480x540+0+0",
                              "-depth", "8", "gray:-"], capture_output=True).stdout
    return sum(1 for value in picture if value > 8)


def monado_first_watch_frame(build):
    """Seconds from the start to the first frame of Monado's compositor that
    shows the watch, seen in its window."""
    monado = Monado("xcb")
    try:
        deadline = time.monotonic() + 20
        while left_eye_lit_pixels() is None and time.monotonic() < deadline:
            time.sleep(0.1)
        run = Run(build, environment=monado.client)
        try:
            while time.monotonic() - run.started < 60:
                if (left_eye_lit_pixels() or 0) > 200:
                    return time.monotonic() - run.started
                time.sleep(0.01)
            raise RuntimeError("the watch never showed on Monado")
        finally:
            run.end()
    finally:
        monado.end()


def on_openxr(measure):
    """measure, for builds with the OpenXR wing (those that link its loader)."""
    def measured(build):
        program = os.path.join(build, "run", "horlox")
        linked = subprocess.run(["ldd", program], capture_output=True, text=True).stdout
        return measure(build) if "libopenxr_loader" in linked else None
    return measured


def figure(form, runs):
    """The median in that form, or "-" where the build could not be measured."""
    return "-" if None in runs else form % median(runs)


def each_build(measure, runs=1):
    """measure(build) for every build, alternating, `runs` times: per build
    the list of results."""
    results = [[] for _ in BUILDS]
    for _ in range(runs):
        for index, (_, build) in enumerate(BUILDS):
            results[index].append(measure(build))
    return results


def main():
    rows = []
    # Each benchmark's median over runs of the whole set, alternating builds:
    # a burst of the machine's other work lands on one run, not on one build.
    benchmarks = [{name: "%.3f ms" % median([run[name] for run in runs]) for name in runs[0]}
                  for runs in each_build(micro_benchmarks, BENCHMARK_RUNS)]
    names = []
    for mark in benchmarks:
        names += [name for name in mark if name not in names]
    rows += [(name, [mark.get(name, "-") for mark in benchmarks]) for name in names]

    starts = each_build(start_times, RUNS)
    rows.append(("start to the first loop pass (median of %d)" % RUNS,
                 ["%.3f s" % median([s[0] for s in runs]) for runs in starts]))
    rows.append(("start to the first watch image (median of %d)" % RUNS,
                 ["%.3f s" % median([s[1] for s in runs]) for runs in starts]))

    glancing = "watchOnRightHand=false\ninitialWatchName=Classic\nwatchVisibility=whenLookedAt\n"
    for name, arguments, scenario, settings in (
            ("CPU, dashboard open, nobody touching it", (), DASHBOARD_OPEN, None),
            ("CPU, dashboard closed", (), CONTROLLER_ON, None),
            ("CPU, \"When I look at it\", not looked at", (), CONTROLLER_ON, glancing),
            ("CPU, offline", ("--offline",), None, None)):
        rows.append(("%s (median of %d x %d s)" % (name, IDLE_RUNS, IDLE_SECONDS),
                     ["%.2f %%" % median(runs) for runs in
                      each_build(lambda b: idle_cpu(b, arguments, scenario, settings), IDLE_RUNS)]))

    # The same on OpenXR: Monado's null compositor paces the frames, the remote
    # driver holds the watch's controller still.
    # A build without the OpenXR wing gets "-" there.
    if MONADO:
        rows.append(("CPU on Monado (null compositor), watch showing, nobody touching it "
                     "(median of %d x %d s)" % (IDLE_RUNS, IDLE_SECONDS),
                     [figure("%.2f %%", runs) for runs in each_build(on_openxr(monado_idle_cpu), IDLE_RUNS)]))
        rows.append(("start to the first Monado frame showing the watch (median of %d)" % RUNS,
                     [figure("%.3f s", runs) for runs in each_build(on_openxr(monado_first_watch_frame), RUNS)]))

    for watches in (3, 3 + COPIES, 3 + BOMBS):
        rows.append(("resident memory, %d watches installed%s" % (watches, BOMBS_NOTE.get(watches, "")),
                     ["%.0f MiB" % runs[0] for runs in
                      each_build(lambda b: resident_memory(b, watches))]))

    rows.append(("resident memory offline after 100 toasts in ten scripts",
                 ["%.0f MiB" % runs[0] for runs in each_build(toast_memory)]))

    few = each_build(lambda b: start_cpu(b, 3), RUNS)
    many = each_build(lambda b: start_cpu(b, 3 + COPIES), RUNS)
    rows.append(("CPU to start, 3 watches installed (median of %d)" % RUNS,
                 ["%.2f s" % median(runs) for runs in few]))
    rows.append(("CPU to start, %d watches installed, more than with 3" % (3 + COPIES),
                 ["%.2f s" % (median(m) - median(f)) for f, m in zip(few, many)]))
    bombs = each_build(lambda b: start_cpu(b, 3 + BOMBS), RUNS)
    rows.append(("CPU to start, %d watches installed%s, more than with 3" % (3 + BOMBS, BOMBS_NOTE[3 + BOMBS]),
                 ["%.2f s" % (median(m) - median(f)) for f, m in zip(few, bombs)]))

    headers = [label for label, _ in BUILDS]
    width = max(len(name) for name, _ in rows)
    print("| %-*s | %s |" % (width, "figure", " | ".join(headers)))
    print("|%s|%s" % ("-" * (width + 2), "---:|" * len(headers)))
    for name, values in rows:
        print("| %-*s | %s |" % (width, name, " | ".join(values)))


try:
    main()
finally:
    shutil.rmtree(BOMB_FOLDER)
