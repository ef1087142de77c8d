#!/usr/bin/env python3
"""Prints the performance table from one scripts/bench run.

Reads micro.json (Google Benchmark, with median aggregates) and the
/usr/bin/time -v reports bare-N.time, pacing-N.time (the bare program
showing nothing), game-N.time (scale 1), game3-N.time (scale 3) and gamewait-N.time (scale 1,
idle = wait) from
the results directory given as the only argument. Every figure is a median over the
repetitions or runs. Exits 1 when a budget is missed.
"""
import json
import os
import re
import statistics
import sys

LEVELS = ["level1", "level2", "level3", "level4"]


def load_medians(path):
    """name -> (real_time in ns per iteration, counters) of the median rows."""
    with open(path) as f:
        data = json.load(f)
    scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
    medians = {}
    for row in data["benchmarks"]:
        if row.get("aggregate_name", "median") != "median":
            continue
        name = row.get("run_name", row["name"])
        counters = {k: v for k, v in row.items() if isinstance(v, (int, float))}
        counters["label"] = row.get("label") or "input"
        medians[name] = (row["real_time"] * scale[row["time_unit"]], counters)
    return medians


def find(medians, prefix):
    for name, value in medians.items():
        if name == prefix or name.startswith(prefix + "/"):
            return value
    return None


def read_time_report(path):
    fields = {}
    with open(path) as f:
        for line in f:
            key, _, value = line.strip().rpartition(": ")
            fields[key] = value
    elapsed = fields.get("Elapsed (wall clock) time (h:mm:ss or m:ss)", "0:0")
    seconds = 0.0
    for part in elapsed.split(":"):
        seconds = seconds * 60 + float(part)
    cpu = float(fields.get("User time (seconds)", 0)) + float(fields.get("System time (seconds)", 0))
    rss_kib = int(fields.get("Maximum resident set size (kbytes)", 0))
    return cpu, seconds, rss_kib


def fmt_ns(ns):
    if ns >= 1e6:
        return "%.2f ms" % (ns / 1e6)
    if ns >= 1e3:
        return "%.2f µs" % (ns / 1e3)
    return "%.1f ns" % ns


def main():
    results = sys.argv[1]
    rows = []  # (figure, measured, floor, ratio, budget, ok)
    medians = {}
    micro = os.path.join(results, "micro.json")
    if os.path.exists(micro):
        medians = load_medians(micro)

    def add(figure, measured, floor="", ratio="", budget="", ok=None):
        rows.append((figure, measured, floor, ratio, budget, ok))

    for level in LEVELS:
        tick = find(medians, "Tick/" + level)
        floor = find(medians, "TickFloor/" + level)
        if tick:
            per_tick = tick[0] / tick[1]["ticks"]
            floor_per_tick = floor[0] / floor[1]["ticks"] if floor else 0
            add("tick, %s (%d ticks of %s)" % (level, tick[1]["ticks"], tick[1].get("label", "input")),
                fmt_ns(per_tick), fmt_ns(floor_per_tick) + " (keys alone)" if floor else "", "",
                "< 5 µs", per_tick < 5000)

    draw_floor = find(medians, "DrawFloor")
    for level in LEVELS:
        draw = find(medians, "DrawFrame/" + level)
        if draw and draw_floor:
            ratio = draw[0] / draw_floor[0]
            add("drawFrame 640x480, " + level, fmt_ns(draw[0]),
                fmt_ns(draw_floor[0]) + " (two copies)", "%.2fx" % ratio, "≤ 2.0x", ratio <= 2.0)

    # The frame drawn and shown against what the bare program shows each
    # tick (one empty frame copied whole): what showing only what changed
    # saves, free of the pacing loop both programs share.
    empty = find(medians, "EmptyFrame")
    for level in LEVELS:
        for label, scale in (("DrawFrame/", 1), ("DrawFrameScale3/", 3)):
            draw = find(medians, label + level)
            if draw and empty:
                add("frame drawn and shown at scale %d, %s" % (scale, level), fmt_ns(draw[0]),
                    fmt_ns(empty[0]) + " (empty frame copied)", "%.2fx" % (draw[0] / empty[0]))

    rect = {}
    for name, value in medians.items():
        if name.startswith("BM_RectanglesOverlap"):
            rect[name.split("/", 1)[1]] = value[0]
    for name, value in sorted(medians.items()):
        if not name.startswith("BM_ImagesOverlap"):
            continue
        args = name.split("/", 1)[1]
        label = {"dx:32/dy:32": "quarter overlap", "dx:63/dy:63": "corner pixel",
                 "dx:64/dy:0": "side by side, no overlap"}.get(args, args)
        floor = rect.get(args) or rect.get("dx:32/dy:32")
        add("imagesOverlap 64x64 opaque, " + label, fmt_ns(value[0]),
            fmt_ns(floor) + " (rectangles)" if floor else "",
            "%.1fx" % (value[0] / floor) if floor else "")

    build = find(medians, "BuildGame")
    build_floor = find(medians, "BuildFloor")
    if build:
        add("building the Game (media tree)", fmt_ns(build[0]),
            fmt_ns(build_floor[0]) + " (decode files)" if build_floor else "",
            "%.2fx" % (build[0] / build_floor[0]) if build_floor else "", "< 150 ms",
            build[0] < 150e6)
    for level in LEVELS:
        start = find(medians, "LevelStart/" + level)
        life = find(medians, "LifeStart/" + level)
        read = find(medians, "LevelFileRead/" + level)
        floor_text = fmt_ns(read[0]) + " (read file)" if read else ""
        if start:
            add("level start + first life, " + level, fmt_ns(start[0]), floor_text,
                "%.2fx" % (start[0] / read[0]) if read else "")
        if life:
            add("life start, " + level, fmt_ns(life[0]), "", "", "< 5 ms", life[0] < 5e6)

    # Linear growth: past the tenfold level, where the fixed cost of a tick
    # or frame no longer dominates, the cost per element stays within twice
    # that of the tenfold level. Quadratic growth would multiply it by the
    # scale. A level whose tiles were held to the loader's limit has a
    # different mix of elements and is shown without a verdict.
    for kind in ("StressTick", "StressFrame"):
        reference = None
        entries = [(n, v) for n, v in medians.items() if n.startswith(kind + "/")]
        for name, value in sorted(entries, key=lambda kv: int(kv[0].split("/")[1])):
            copies = int(name.split("/")[1])
            elements = value[1]["elements"]
            capped = value[1].get("capped", 0) > 0
            cost = value[0] / value[1]["ticks"] if kind == "StressTick" else value[0]
            per_element = cost / elements
            if copies == 10:
                reference = per_element
            ok = None
            if copies > 10 and reference and not capped:
                ok = per_element <= 2 * reference
            label = "%s, %s x%d (%d elements%s)" % (
                "tick" if kind == "StressTick" else "frame",
                value[1]["label"].replace(".inf", ""), copies, elements,
                ", tiles held to 10000" if capped else "")
            add(label, fmt_ns(cost), "", "%s / element" % fmt_ns(per_element),
                "≤ 2x x10 per element" if ok is not None else "", ok)

    def runs(kind):
        names = sorted(f for f in os.listdir(results) if re.match(kind + r"-\d+\.time$", f))
        return [read_time_report(os.path.join(results, f)) for f in names]

    def share(reports):
        return statistics.median(cpu / wall for cpu, wall, _ in reports)

    def rss(reports):
        return statistics.median(r for _, _, r in reports) / 1024

    # Against the bare program at scale 1, which copies an empty frame
    # whole every tick: showing only what changed must cost less than that
    # at scale 1, and no more at scale 3.
    bare = runs("bare")
    # With [display] idle = wait the loop sleeps until the timer wakes it,
    # so the pacing cost the bare program pays all but goes.
    for kind, scale, budget, idle in (("game", 1, 0.7, ""), ("game3", 3, 1.0, ""),
                                      ("gamewait", 1, 0.3, ", idle = wait")):
        game = runs(kind)
        if not bare or not game:
            continue
        ratio = share(game) / share(bare) if share(bare) > 0 else float("inf")
        add("whole program CPU at scale %d%s (%d runs, %.0f s each)"
            % (scale, idle, len(game), statistics.median(w for _, w, _ in game)),
            "%.1f%% of a core" % (100 * share(game)),
            "%.1f%% (bare program, scale 1)" % (100 * share(bare)),
            "%.2fx" % ratio, "≤ %.1fx" % budget, ratio <= budget)
        add("whole program peak resident memory at scale %d%s" % (scale, idle),
            "%.1f MiB" % rss(game),
            "%.1f MiB (bare program)" % rss(bare), "%.2fx" % (rss(game) / rss(bare)),
            "< 64 MiB", rss(game) < 64)

    # Pacing alone (the bare program showing nothing) is what both programs
    # pay whatever they draw. Above it, the game's ticks and frames against
    # the bare program's empty copies: the part that drawing decides.
    pacing = runs("pacing")
    game = runs("game")
    if bare and pacing:
        add("pacing alone at scale 1 (bare program showing nothing)",
            "%.1f%% of a core" % (100 * share(pacing)),
            "%.1f%% (bare program, scale 1)" % (100 * share(bare)),
            "%.2fx" % (share(pacing) / share(bare)) if share(bare) > 0 else "")
        above_bare = share(bare) - share(pacing)
        if game and above_bare > 0:
            add("whole program CPU above pacing alone at scale 1",
                "%.2f%% of a core" % (100 * (share(game) - share(pacing))),
                "%.2f%% (bare program)" % (100 * above_bare),
                "%.2fx" % ((share(game) - share(pacing)) / above_bare))

    print("| figure | median | floor | ratio | budget | met |")
    print("| --- | --- | --- | --- | --- | --- |")
    missed = False
    for figure, measured, floor, ratio, budget, ok in rows:
        verdict = "" if ok is None else ("yes" if ok else "NO")
        missed = missed or ok is False
        print("| %s | %s | %s | %s | %s | %s |" % (figure, measured, floor, ratio, budget, verdict))
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
