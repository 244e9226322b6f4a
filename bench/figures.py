"""Prints one table of Horlox's figures on this machine.

Run through bench/run, which builds the Release binaries and starts this on a
virtual X display. Every figure is measured here; nothing is copied in.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

BUILD = sys.argv[1]
RUN_DIR = os.path.join(BUILD, "run")
PROGRAM = os.path.join(RUN_DIR, "horlox")
IDLE_SECONDS = 30
FIRST_FRAME_RUNS = 5


def micro_benchmarks():
    with tempfile.NamedTemporaryFile(suffix=".json") as figures:
        subprocess.run([os.path.join(BUILD, "bench", "horlox_bench"),
                        "--benchmark_out=" + figures.name, "--benchmark_out_format=json"],
                       check=True, stdout=subprocess.DEVNULL)
        results = json.load(figures)["benchmarks"]
    rows = []
    for result in results:
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0}[result["time_unit"]]
        rows.append((result["name"], "%.3f ms" % (result["real_time"] * scale)))
    return rows


def working_directory():
    """A scratch run directory sharing the built watches and data files."""
    folder = tempfile.mkdtemp(prefix="horlox-bench-")
    for name in ("watches", "dashboard_overlay.png", "app.manifest", "Roboto-Medium.ttf"):
        os.symlink(os.path.abspath(os.path.join(RUN_DIR, name)), os.path.join(folder, name))
    return folder


def start(arguments, folder, scenario=None, record=False):
    """Offline without a scenario; with one, in VR with the simulated runtime,
    recording its calls only when asked (recording costs time of its own)."""
    environment = dict(os.environ)
    if scenario is not None:
        with open(os.path.join(folder, "bench.scenario"), "w") as file:
            file.write(scenario)
        environment.update(HORLOX_VR_RUNTIME="simulated", HORLOX_SIM_SCENARIO="bench.scenario")
    if record:
        environment.update(HORLOX_SIM_RECORD="record")
    return subprocess.Popen([os.path.abspath(PROGRAM)] + arguments, cwd=folder, env=environment,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as file:
        fields = file.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def idle_cpu_percent(arguments, scenario=None):
    folder = working_directory()
    program = start(arguments, folder, scenario)
    try:
        time.sleep(3)  # past the start-up
        before = cpu_seconds(program.pid)
        time.sleep(IDLE_SECONDS)
        used = cpu_seconds(program.pid) - before
    finally:
        program.kill()
        program.wait()
        shutil.rmtree(folder)
    return "%.2f %%" % (100 * used / IDLE_SECONDS)


def seconds_until(predicate, started, limit=10):
    while time.monotonic() - started < limit:
        if predicate():
            return time.monotonic() - started
        time.sleep(0.002)
    raise RuntimeError("the program never got there")


def start_figures():
    """Seconds from the start to the first loop pass and to the first watch
    image handed to the runtime, the median of several runs."""
    ready, first_frame = [], []
    for _ in range(FIRST_FRAME_RUNS):
        folder = working_directory()
        log = os.path.join(folder, "record", "calls.log")

        def calls():
            try:
                with open(log) as file:
                    return file.read()
            except FileNotFoundError:
                return ""

        started = time.monotonic()
        program = start([], folder, "1 controller 1 on left\n", record=True)
        try:
            ready.append(seconds_until(lambda: "pass 1:" in calls(), started))
            first_frame.append(seconds_until(lambda: "SetOverlayTexture(1," in calls(), started))
        finally:
            program.kill()
            program.wait()
            shutil.rmtree(folder)
    median = lambda values: sorted(values)[len(values) // 2]
    return [("start to the first loop pass (median of %d)" % FIRST_FRAME_RUNS,
             "%.3f s" % median(ready)),
            ("start to the first watch image, at the next second (median of %d)" % FIRST_FRAME_RUNS,
             "%.3f s" % median(first_frame))]


def main():
    rows = micro_benchmarks()
    rows += start_figures()
    rows.append(("idle CPU, offline, %d s" % IDLE_SECONDS, idle_cpu_percent(["--offline"])))
    rows.append(("idle CPU, simulated VR, dashboard closed, %d s" % IDLE_SECONDS,
                 idle_cpu_percent([], "1 controller 1 on left\n")))
    width = max(len(name) for name, _ in rows)
    print("| %-*s | %s |" % (width, "figure", "value"))
    print("|%s|---:|" % ("-" * (width + 2)))
    for name, value in rows:
        print("| %-*s | %s |" % (width, name, value))


main()
