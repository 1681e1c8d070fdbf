#!/usr/bin/python3
"""Checks JSON documents against a JSON Schema (draft 2020-12), with Debian's
python3-jsonschema.

    validate_json.py SCHEMA [FILE...]

reads the FILEs, or the standard input without any: JSON documents one after the
other (one a line, or each over several lines). Every document must conform to
SCHEMA. Prints one line for each document that does not (its number from 1, where
in it and why) and exits 1; exits 2 when the input holds no document or text that
is not JSON, or the schema is no valid schema; 0 when all conform.
"""
import json
import sys

import jsonschema


def documents(text):
    decoder = json.JSONDecoder()
    at = 0
    while True:
        while at < len(text) and text[at] in " \t\r\n":
            at += 1
        if at == len(text):
            return
        document, at = decoder.raw_decode(text, at)
        yield document


def deepest(error):
    """Where a document matches none of the alternatives, the complaint that got
    furthest into it says the most."""
    while error.context:
        error = max(error.context, key=lambda inner: len(inner.absolute_path))
    return error


def main(arguments):
    if not arguments:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with open(arguments[0], encoding="utf-8") as schema_file:
        schema = json.load(schema_file)
    validator_class = jsonschema.validators.validator_for(schema)
    try:
        validator_class.check_schema(schema)
    except jsonschema.exceptions.SchemaError as error:
        print(f"{arguments[0]}: not a valid schema: {error.message}", file=sys.stderr)
        return 2
    validator = validator_class(schema)
    texts = []
    if len(arguments) > 1:
        for name in arguments[1:]:
            with open(name, encoding="utf-8") as input_file:
                texts.append((name, input_file.read()))
    else:
        texts.append(("standard input", sys.stdin.read()))
    failed = False
    for name, text in texts:
        count = 0
        try:
            for count, document in enumerate(documents(text), 1):
                error = jsonschema.exceptions.best_match(validator.iter_errors(document))
                if error is not None:
                    error = deepest(error)
                    where = "/".join(str(step) for step in error.absolute_path) or "(the document)"
                    print(f"{name}: document {count}: at {where}: {error.message[:300]}")
                    failed = True
        except json.JSONDecodeError as error:
            print(f"{name}: after document {count}: not JSON: {error}")
            return 2
        if count == 0:
            print(f"{name}: no JSON document")
            return 2
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
