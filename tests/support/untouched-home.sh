#!/bin/sh
# Runs test programs with a fresh, empty home folder and no XDG folders set,
# as on a developer's machine, and fails if any of them wrote into it: the
# tests keep their settings, data and caches in folders of their own.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
for test in "$@"; do
  env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME -u XDG_STATE_HOME -u XDG_DOCUMENTS_DIR \
    HOME="$home" "$test" >/dev/null 2>&1 || { echo "$test failed"; exit 1; }
done
left=$(find "$home" -mindepth 1 | head -5)
if [ -n "$left" ]; then
  echo "Tests wrote into the home folder:"
  echo "$left"
  exit 1
fi
