#!/usr/bin/python3
"""Checks vv-convert --json lines, read from standard input, against the events schema
(the first argument), and that each file of a run has a start, only progress events at
rising percentages, then one done, failed, skipped or stopped event, which ends it.
Prints one line per file, in the order they started: "FILE INDEX LAST-EVENT [STAGE]".
Exits 1, saying why, at the first line or file that breaks a rule."""
import json
import sys

import jsonschema

ENDS = {"done", "failed", "skipped", "stopped"}


def file_summary(events):
    kinds = [event["event"] for event in events]
    if kinds[0] != "start" or kinds[-1] not in ENDS or set(kinds[1:-1]) - {"progress"}:
        return None, "events out of order: %s" % kinds
    percents = [event["percent"] for event in events if event["event"] == "progress"]
    if percents != sorted(set(percents)):
        return None, "percentages not rising: %s" % percents
    last = events[-1]
    return " ".join(filter(None, [last["file"], str(last["index"]), last["event"], last.get("stage")])), None


def main():
    validator = jsonschema.Draft7Validator(json.load(open(sys.argv[1])))
    runs = {}
    for number, line in enumerate(sys.stdin, 1):
        event = json.loads(line)
        errors = [error.message for error in validator.iter_errors(event)]
        if errors:
            sys.exit("line %d: %s: %s" % (number, "; ".join(errors), line.strip()))
        runs.setdefault((event["file"], event["index"]), []).append(event)
    for events in runs.values():
        summary, error = file_summary(events)
        if error:
            sys.exit("%s: %s" % (events[0]["file"], error))
        print(summary)


main()
