"""A long VR session with the menu open: resident memory must stay flat.

The simulated runtime opens the dashboard, so the menu is drawn every pass,
and clicks "Disable" and "Enable" in turn, each click forcing a redraw of the
watch. Run through bench/soak; prints the resident set every minute.
"""
import os
import subprocess
import sys
import tempfile
import time

BUILD = sys.argv[1]
PASSES = int(sys.argv[2]) if len(sys.argv) > 2 else 100000
RUN_DIR = os.path.join(BUILD, "run")


def scenario(passes):
    lines = ["1 controller 1 on left", "2 dashboard open"]
    for start in range(10, passes - 10, 20):
        lines.append("%d mouse click Disable" % start)
        lines.append("%d mouse click Enable" % (start + 10))
    lines.append("%d quit" % passes)
    return "\n".join(lines) + "\n"


def resident_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def main():
    folder = tempfile.mkdtemp(prefix="horlox-soak-")
    for name in ("watches", "dashboard_overlay.png", "app.manifest", "Roboto-Medium.ttf"):
        os.symlink(os.path.abspath(os.path.join(RUN_DIR, name)), os.path.join(folder, name))
    with open(os.path.join(folder, "soak.scenario"), "w") as file:
        file.write(scenario(PASSES))
    environment = dict(os.environ, HORLOX_VR_RUNTIME="simulated",
                       HORLOX_SIM_SCENARIO="soak.scenario")
    started = time.monotonic()
    program = subprocess.Popen([os.path.abspath(os.path.join(RUN_DIR, "horlox"))], cwd=folder,
                               env=environment, stdout=subprocess.DEVNULL,
                               stderr=open(os.path.join(folder, "stderr.txt"), "w"))
    samples = []
    while program.poll() is None:
        time.sleep(1)
        resident = resident_kib(program.pid) if program.poll() is None else 0
        elapsed = time.monotonic() - started
        if resident and (not samples or elapsed - samples[-1][0] >= 60):
            samples.append((elapsed, resident))
            print("%7.0f s  %8d KiB resident" % (elapsed, resident), flush=True)
    print("%d passes in %.0f s, exit status %d" % (PASSES, time.monotonic() - started,
                                                    program.returncode))
    # The first minute still warms up (shader compilation, font atlas, buffers).
    steady = samples[1:] or samples
    print("resident after the first minute: %d KiB, at the end: %d KiB, highest: %d KiB"
          % (steady[0][1], steady[-1][1], max(kib for _, kib in steady)))
    print("working directory kept for a look: %s" % folder)


main()
