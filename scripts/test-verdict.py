#!/usr/bin/env python3
"""Judges one ctest run of the test programs and prints the last summary line of scripts/test.sh.

ctest counts a program as passed when it exits with status 0, but under Wine a program that dies part-way
can exit with 0 too. So a gtest program counts as passed only when ctest saw it pass *and* its own XML
report (written by gtest only after the last test has run) exists and records no failure. Programs
without a report option (the service fixtures) are judged by ctest alone. Exits 1 when anything failed.
"""
import argparse
import json
import os
import subprocess
import sys
import xml.etree.ElementTree as ET

REPORT_OPTION = "--gtest_output=xml:"


def report_paths(test_dir):
    """Maps each ctest test that writes a gtest report to the report's path on this machine."""
    listing = subprocess.run(["ctest", "--test-dir", test_dir, "--show-only=json-v1"],
                             check=True, capture_output=True, text=True).stdout
    paths = {}
    for test in json.loads(listing).get("tests", []):
        for arg in test.get("command", []):
            if arg.startswith(REPORT_OPTION):
                path = arg[len(REPORT_OPTION):]
                if len(path) > 2 and path[1] == ":":  # a Wine drive; Z: is the root of this machine
                    path = path[2:]
                paths[test["name"]] = path.replace("\\", "/")
    return paths


def ctest_results(junit):
    """(name, ctest status) of every test ctest selected, in its order; status "run" means passed."""
    root = ET.parse(junit).getroot()
    return [(case.get("name"), case.get("status", "")) for case in root.iter("testcase")]


def judge_report(path):
    """(problem or None, skipped test names) from one gtest XML report."""
    if not os.path.exists(path):
        return "no report: it ended before its last test (crash or early exit)", []
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError as error:
        return "unreadable report (%s)" % error, []
    failed, skipped, ran = [], [], 0
    for case in root.iter("testcase"):
        name = "%s.%s" % (case.get("classname"), case.get("name"))
        if case.find("failure") is not None or case.find("error") is not None:
            failed.append(name)
        elif case.get("result") == "skipped" or case.find("skipped") is not None:
            skipped.append(name)
        if case.get("status") == "run":
            ran += 1
    if failed:
        return "%d failed: %s" % (len(failed), ", ".join(failed)), skipped
    if int(root.get("failures", "0")) or int(root.get("errors", "0")):
        return "the report counts failures", skipped
    if ran == 0:
        return "the report holds no test that ran", skipped
    return None, skipped


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--test-dir", required=True, help="the ctest build folder")
    parser.add_argument("--junit", required=True, help="ctest's --output-junit file of this run")
    parser.add_argument("--note", default="", help="more failures to name on the last line")
    args = parser.parse_args()

    try:
        results = ctest_results(args.junit)
    except (OSError, ET.ParseError) as error:
        print("verdict: no ctest results (%s)" % error)
        results = []
    reports = report_paths(args.test_dir)

    passed, failed, skipped = [], [], []
    for name, status in results:
        if status in ("disabled",):
            continue
        problem = None
        if name in reports:
            problem, skipped_here = judge_report(reports[name])
            skipped += ["%s (%s)" % (test, name) for test in skipped_here]
        if status != "run":
            problem = "ctest: %s%s" % (status or "no status", "; " + problem if problem else "")
        if problem:
            failed.append(name)
            print("verdict: %s FAILED: %s" % (name, problem))
        else:
            passed.append(name)

    line = "executables: %d passed, %d failed" % (len(passed), len(failed))
    if failed:
        line += " (failed: %s)" % ", ".join(failed)
    if skipped:
        line += "; skipped: %s" % ", ".join(skipped)
    if args.note:
        line += "; " + args.note
    print(line)
    return 1 if failed or args.note or not results else 0


if __name__ == "__main__":
    sys.exit(main())
