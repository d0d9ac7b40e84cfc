#!/usr/bin/env bash
# map-port.sh INI NAME DEVICE: sets NAME=DEVICE in the [Ports] section of the settings file INI, keeping every
# other line as it is (a new section goes at the end; the file is created when missing; CR LF line ends).
set -euo pipefail
ini="$1" name="$2" device="$3"
touch "$ini"
tmp="$(mktemp "$ini.XXXXXX")"
awk -v name="$name" -v device="$device" '
  BEGIN { lname = tolower(name) }
  {
    line = $0; sub(/\r$/, "", line)
    if (line ~ /^[ \t]*\[/) {
      if (inPorts && !done) { print name "=" device "\r"; done = 1 }
      section = tolower(line); gsub(/[ \t\[\]]/, "", section)
      inPorts = (section == "ports")
      print line "\r"; next
    }
    if (inPorts && !done) {
      key = line; sub(/=.*/, "", key); gsub(/^[ \t]+|[ \t]+$/, "", key)
      if (tolower(key) == lname && line ~ /=/) { print name "=" device "\r"; done = 1; next }
    }
    print line "\r"
  }
  END {
    if (inPorts && !done) { print name "=" device "\r"; done = 1 }
    if (!done) { print "[Ports]\r"; print name "=" device "\r" }
  }
' "$ini" >"$tmp"
mv "$tmp" "$ini"
