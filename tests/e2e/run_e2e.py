#!/usr/bin/env python3
"""End-to-end tests of keyvane.exe under Wine: the list of cases, run by the harness.

Run by scripts/e2e inside a virtual X display with WINEPREFIX set to a fresh prefix; arguments
select the cases whose names contain them. How a case runs, and why nothing can wait for ever,
is in harness.py; the cases are in the modules below.
"""
import sys

import app_pages
import bad_conditions
import button_words
import everyday_use
import input_method
import key_repeat
import live_button_file
import windows_faults
from harness import run_suite

CASES = (everyday_use.CASES + bad_conditions.CASES + input_method.CASES + windows_faults.CASES + live_button_file.CASES +
         app_pages.CASES + button_words.CASES + key_repeat.CASES)

if __name__ == "__main__":
    sys.exit(run_suite(CASES))
