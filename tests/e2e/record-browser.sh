#!/bin/sh
# Stands in for the web browser in the end-to-end tests (Wine's winebrowser
# runs it with the address): appends the address to pellix-browser.log in the
# Wine prefix, where the tests look for it.
[ -n "$WINEPREFIX" ] || exit 1
printf '%s\n' "$*" >> "$WINEPREFIX/pellix-browser.log"
